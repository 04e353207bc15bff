// How a run of the program begins and ends: at the main window's first activation the
// places come back and the welcome dialog asks for the name and the role; then the user
// deals (the program's own dealer, joined through "localhost") or joins a dealer by its
// address. "Nasıl Oynamak Istersin" and closing the main window ask first whether to
// leave the game in progress.
#pragma once

#include <QObject>
#include <QString>

#include "sidewindows.h"

class QMainWindow;
class TGameCommands;
class TMainWindowPlace;
class TMenus;
class TOwnDealer;
class TSession;
class TSessionLink;
class TSettings;
class TSideDock;
class TSoundBox;
class TStatusLine;

class TStartFlow : public QObject {
    Q_OBJECT
public:
    struct TParts {
        TSettings& settings;
        TSession& session;
        TSessionLink& link;
        TSoundBox& sounds;
        TMenus& menus;
        TStatusLine& status;
        TOwnDealer& ownDealer;
        TGameCommands& commands;
        TSideDock& dock;
        TMainWindowPlace& place;
    };
    // Watches window (and is owned by it).
    TStartFlow(QMainWindow* window, const TParts& parts);

    // false: the first activation does not run the welcome dialog (tests start by hand).
    void SetAutoStart(bool on) { autoStart_ = on; }
    bool Started() const { return !firstActivation_; }

    void FirstActivation();
    void Run(); // the welcome dialog, then the start it asks for
    void AsDealer(const QString& name);
    void AsPlayer(const QString& name, const QString& host);
    void HowToPlay(); // "Nasıl Oynamak Istersin": Run, once leaving is confirmed
    // Whether the main window may close now; while a game runs it may not, and what
    // "Oyundan Çık" asks is asked instead.
    bool MayClose();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Welcomed(const TSideWindows::TWelcomeAnswer& answer);
    // What both starts do first: remember the name, show the table, forget any seat.
    void Prepare(const QString& name, bool dealer);

    QMainWindow* window_;
    TParts p_;
    bool autoStart_ = true;
    bool firstActivation_ = true;
};

// The program at a server of many tables: the "Masalar" window when the server sends its
// list, a table created, joined or watched from it; the "Masa" menu with the host's acts
// (a seat to the computer, a player out for this game, the table locked, the turn clock);
// and the countdown of the turn clock beside the name of the seat whose move is awaited.
// At a dealer of one table the server never sends a list and the host's acts stay off
// unless the dealer knows them (the program's own dealer does).
#pragma once


#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include "tablemessages.h"
#include "turncountdown.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class TSeatModel;
class TSession;
class TStatusLine;
class TTableView;
class TTablesForm;
class TUserPrompts;

class TServerTables : public QObject {
    Q_OBJECT
public:
    TServerTables(QMainWindow* window, TSession& session, TSeatModel& model, TTableView& view, TStatusLine& status);
    ~TServerTables() override;

    void SetPrompts(TUserPrompts* prompts) { prompts_ = prompts; }

    TTablesForm* Form() const { return form_; }
    QMenu* Menu() const { return menu_; }
    QAction* TablesAction() const { return tables_; }
    QAction* SeatToComputer() const { return seatToComputer_; }
    QAction* RemovePlayer() const { return removePlayer_; }
    QAction* Lock() const { return lock_; }
    QAction* TurnClock() const { return turnClock_; }
    QLabel* CountdownLabel() const { return countdownLabel_; }
    const TTurnCountdown& Countdown() const { return countdown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    void WireForm();
    void UpdateMenu();
    void TablesArrived(const QList<TTableListing>& tables);
    void ShowForm();
    // Leaves the table the program is at (asking first during a game), then does go.
    template <typename Go>
    void LeaveThen(Go go);
    // Asks the host to choose one of items; act(index) runs with the answer only if the
    // program is still the host at the same table by then.
    template <typename Act>
    void AskAsHost(const QString& caption, const QStringList& items, Act act);
    // Asks which other player, then gives the seat to the computer or removes the player.
    void ChooseSeatThen(const QString& caption, bool remove);
    void ChooseTurnClock();
    QString TableName(const QByteArray& code) const;
    void TurnTime(int seat, int msLeft);
    void ShowCountdown();

    QMainWindow* window_;
    TSession& session_;
    TSeatModel& model_;
    TTableView& view_;
    TStatusLine& status_;
    TUserPrompts* prompts_ = nullptr;
    TTablesForm* form_;
    QMenu* menu_ = nullptr;
    QAction* tables_ = nullptr;
    QAction* seatToComputer_ = nullptr;
    QAction* removePlayer_ = nullptr;
    QAction* lock_ = nullptr;
    QAction* turnClock_ = nullptr;
    QList<TTableListing> listed_;
    bool showList_ = false; // the user asked for the list
    bool placed_ = false;   // the window was placed over the table once
    TTurnCountdown countdown_;
    QElapsedTimer clock_;
    QTimer tick_;
    QLabel* countdownLabel_;
};

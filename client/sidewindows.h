// The windows around the main window (about box, help, score table, contract dialog,
// connection dialog, taken-cards window, welcome dialog, best and worst lists) as the main
// window uses them. Every pointer may be empty: the main window then simply goes without.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

#include "gameinfo.h"

class QObject;
class QWidget;
class TAboutBox;
class TScoreForm;
class TOKRightDlgContracts;
class TConnectForm;
class TPenaltyForm;
class TWelcomeForm;
class THelpForm;
class THighForm;

struct TSideWindows {
    TAboutBox* About = nullptr;
    THelpForm* Help = nullptr;
    TScoreForm* Score = nullptr;
    TOKRightDlgContracts* Contracts = nullptr;
    TConnectForm* Connect = nullptr;
    TPenaltyForm* Penalty = nullptr;
    TWelcomeForm* Welcome = nullptr;
    THighForm* High = nullptr;

    QWidget* ScoreWindow() const;
    QWidget* PenaltyWindow() const;
    // Restores a side window to its normal state and brings it up.
    static void ShowNormal(QWidget* w);
    // The score table and the taken-cards window become tool windows of the main window:
    // the desktop keeps them above it, also when it is clicked or maximised. Released
    // again before the main window goes (it does not own them).
    void Adopt(QWidget* mainWindow) const;
    void Release(QWidget* mainWindow) const;
    // The score table and the taken-cards window beside the main window, wholly on its
    // screen, with the size they have beside the smallest main window; where no side has
    // room, over `inside` (screen coordinates: the part of the main window they may cover)
    // and clear of `keepClear` (the user's hand) where they can be.
    void Dock(QWidget* mainWindow, const QRect& inside, const QRect& keepClear) const;

    // Gives the score table and the contract dialog the client's record and seat.
    void Bind(const TGameInfo& g, const uint8_t& seat) const;
    void RefreshScore() const;
    void RepaintScoreGrid() const;
    void RefreshPenalty() const;
    // The score table and the taken-cards window after a record.
    void Show(const TGameInfo& g) const;
    // The next record fills the score table whatever it holds (a seat just taken, say in
    // the middle of a trick).
    void ForgetScore() const { scoreDrawn_ = false; }
    mutable bool scoreDrawn_ = false;

    // Welcome dialog: filled from the settings before it is shown.
    void FillWelcome(const QString& name, bool dealer) const;
    struct TWelcomeAnswer {
        bool quit = false;
        QString name;
        bool dealer = true;
    };
    TWelcomeAnswer RunWelcome() const;

    // Connection dialog: the address when it closes, and whether it was confirmed.
    QString RunConnect(bool* confirmed) const;
    // The same opened without a loop of its own: then(confirmed, address) once it closes,
    // unless context is gone by then.
    void OpenConnect(QObject* context, std::function<void(bool confirmed, const QString& address)> then) const;

    void ShowAbout() const;
    void ShowHelp() const;
    void ShowHigh() const;
    // Offers a finished game to the best and worst lists; returns once the lists window,
    // if it opened, is closed again.
    void OfferFinishedGame(const TGameInfo& g) const;
};

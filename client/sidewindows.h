// The windows around the main window (about box, help, score table, contract dialog,
// connection dialog, taken-cards window, welcome dialog, best and worst lists) as the main
// window uses them. Every pointer may be empty: the main window then simply goes without.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

#include "gameinfo.h"

class QDialog;
class QObject;
class QWidget;
class TPromptReply;
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
    // the desktop keeps them above it, also when it is clicked or maximised; the dialogs of
    // a game (contract, connection, lists, about) become its dialogs, so they open above
    // those tool windows. Released again before the main window goes (it does not own them).
    void Adopt(QWidget* mainWindow) const;
    void Release(QWidget* mainWindow) const;
    QList<QWidget*> Adopted() const;
    // A window that goes before the main window is no longer in the list.
    void Forget(const QObject* window);

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
    // Opens the welcome dialog (null: there is none); WelcomeAnswer reads it once it has
    // finished with the result given.
    QDialog* OpenWelcome() const;
    TWelcomeAnswer WelcomeAnswer(int result) const;

    // Opens the connection dialog: the reply finishes with Yes when it was confirmed, Back
    // otherwise, and the address as it stands when it closed (Back at once without one).
    TPromptReply* OpenConnect() const;

    void ShowAbout() const;
    void ShowHelp() const;
    void ShowHigh() const;
    // Offers a finished game to the best and worst lists; returns the lists window when it
    // opened for it (it finishes when the user closes it), null when nothing is to wait for.
    QDialog* OfferFinishedGame(const TGameInfo& g) const;
};

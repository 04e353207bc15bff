// The windows around the main window (about box, help, score table, contract dialog,
// connection dialog, taken-cards window, welcome dialog, best and worst lists) as the main
// window uses them. Every pointer may be empty: the main window then simply goes without.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

#include "gameinfo.h"

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

    // Gives the score table and the contract dialog the client's record and seat.
    void Bind(const TGameInfo& g, const uint8_t& seat) const;
    void RefreshScore() const;
    void RepaintScoreGrid() const;
    void RefreshPenalty() const;

    bool ContractDialogVisible() const;
    // Shows the contract dialog modally with its inner area where place puts one of that
    // size (screen coordinates); returns the chosen contract (255 when there is no dialog).
    uint8_t RunContractDialog(const std::function<QPoint(QSize)>& place) const;

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

    void ShowAbout() const;
    void ShowHelp() const;
    void ShowHigh() const;
    // Offers a finished game to the best and worst lists; returns once the lists window,
    // if it opened, is closed again.
    void OfferFinishedGame(const TGameInfo& g) const;
};

// The windows around the main window (about box, help, score table, contract dialog,
// connection dialog, taken-cards window, welcome dialog, best and worst lists) as the main
// window uses them. Every pointer may be empty: the main window then simply goes without.
#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>

#include "gameinfo.h"

class QWidget;
class TAboutBox;
class TScoreForm;
class TOKRightDlgContracts;
class TConnectForm;
class TPenaltyForm;
class TWelcomeForm;

struct TSideWindows {
    TAboutBox* About = nullptr;
    QWidget* Help = nullptr;
    TScoreForm* Score = nullptr;
    TOKRightDlgContracts* Contracts = nullptr;
    TConnectForm* Connect = nullptr;
    TPenaltyForm* Penalty = nullptr;
    TWelcomeForm* Welcome = nullptr;
    QWidget* High = nullptr;

    QWidget* ScoreWindow() const;
    QWidget* PenaltyWindow() const;

    // Gives the score table and the contract dialog the client's record and seat.
    void Bind(TGameInfo& g, uint8_t& seat) const;
    void RefreshScore() const;
    void RepaintScoreGrid() const;
    void RefreshPenalty() const;

    bool ContractDialogVisible() const;
    // Shows the contract dialog modally with its centre at the given screen point; returns
    // the chosen contract (255 when there is no dialog).
    uint8_t RunContractDialog(QPoint screenCentre) const;

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
    void ShowHelp(QWidget* parent) const;
    void ShowHigh() const;
};

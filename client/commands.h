// The user's commands at the table: the host's game commands, the connection commands,
// the chat line, and the questions the table puts to its host (the table complete, the
// saved games of a dealer on another machine); a lost connection is taken up again by itself.
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

#include "gameinfo.h"

class QWidget;
class TSession;
class TGameFilePort;
class TSessionLink;
class TMenus;
class TSeatModel;
class TStatusLine;
class TTableView;
class TUserPrompts;
class TReconnector;
class TTimerClock;
struct TSideWindows;

class TGameCommands : public QObject {
    Q_OBJECT
public:
    TGameCommands(QWidget* window, TSession& session, TSessionLink& link, TGameFilePort& files, TSeatModel& model, TTableView& view, TMenus& menus,
                  TStatusLine& status, const TSideWindows& side, quint16 port);

    void SetPrompts(TUserPrompts* prompts) { prompts_ = prompts; }
    // The whole record of the dealer this program runs (saved by "Kaydet"); null: none.
    void SetDealerRecord(const TGameInfo* record) { dealerRecord_ = record; }
    void SetPort(quint16 port) { port_ = port; }
    // "host", "host:port", "[v6]:port": the dealer's host and port (the game port unless given).
    void SetDealerAddress(const QString& text);

    void Start();          // "Başla" and F2
    void NewGame();        // "Yeni"
    void Save() { SaveGame(); } // "Kaydet"
    // "Kaydet": false when nothing was saved (the dialog cancelled, say).
    bool SaveGame();
    void Load();           // "Yükle"
    void Quit();           // "Oyundan Çık"
    void Reconnect();      // "Yeni Bir Oyuna Bağlan"
    void WaitForPlayers(); // "Yeni Oyuncuları Bekle"
    void Chat();           // the chat button
    // While a game is in progress, asks whether to leave it ("Oyundan Çık" and the close
    // box): the host may save first, and a cancelled save goes back to the game; at the
    // program's own dealer the question says the table ends for the others. true: leave.
    bool ConfirmLeaving();
    bool Leaving() const { return leaving_; } // leaving was confirmed: closing asks nothing

private:
    bool GameInProgress() const;
    // Asks "Oyun devam ediyor..." with the question while a game is in progress; true to go on.
    bool ConfirmDroppingGame(const QString& question);
    // A cancelled file dialog starts a new game only where one must start.
    void LoadGame(bool newGameOnCancel);
    void TableComplete();
    void ChooseHostedGame(const QStringList& names);
    void HostedGameChosen(const std::optional<QString>& chosen);
    // A joining player's connection attempt failed: the connection window is offered again,
    // with the reason above the address.
    void OfferConnectAgain(const QString& reason);
    // The dealer's address as the user would write it (the port only where it is not 33471).
    QString DealerAddressText() const;
    void Joined();
    // A dropped connection is taken up again by itself; the status line counts down.
    void StartReconnecting();
    // The finished game offered to the best and worst lists, then the balloons, unless
    // another record came meanwhile.
    void GameOver();
    // Runs the action from the event loop once the current handler has returned.
    void Later(const std::function<void()>& action);

    QWidget* window_;
    TSession& session_;
    TSessionLink& link_;
    TGameFilePort& files_;
    TSeatModel& model_;
    TTableView& view_;
    TMenus& menus_;
    TStatusLine& status_;
    const TSideWindows& side_;
    quint16 port_;
    TUserPrompts* prompts_ = nullptr;
    TTimerClock* reconnectClock_;
    TReconnector* reconnector_;
    const TGameInfo* dealerRecord_ = nullptr;
    bool loadNewGameOnCancel_ = false;
    bool leaving_ = false;
    int recordsShown_ = 0;
    QByteArray listedGame_; // the finished record last offered to the lists
};

// The user's commands at the table: the host's game commands, the connection commands,
// the chat line, and the questions the table puts to its host (the table complete, the
// saved games of a dealer on another machine); a lost connection is taken up again by itself.
#pragma once

#include <QObject>
#include <QStringList>

#include <QPointer>

#include "gameinfo.h"

class QWidget;
class TSession;
class TGameFilePort;
class TSessionLink;
class TMenus;
class TSeatModel;
class TStatusLine;
class TPromptReply;
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
    // "Kaydet": the reply finishes with Yes when the game was saved, Back when nothing was
    // (the dialog cancelled, say).
    TPromptReply* SaveGame();
    void Load();           // "Yükle"
    void Quit();           // "Oyundan Çık"
    void Reconnect();      // "Yeni Bir Oyuna Bağlan"
    void WaitForPlayers(); // "Yeni Oyuncuları Bekle"
    void Chat();           // the chat button
    // While a game is in progress, asks whether to leave it ("Oyundan Çık" and the close
    // box): the host may save first, and a cancelled save goes back to the game; at the
    // program's own dealer the question says the table ends for the others. The reply
    // finishes with Yes to leave (at once from the event loop when nothing is lost).
    TPromptReply* ConfirmLeaving();
    // Leaving would lose a game in progress: ConfirmLeaving asks.
    bool LeavingLosesTheGame() const;
    bool Leaving() const { return leaving_; } // leaving was confirmed: closing asks nothing
    // Closes the main window without asking again.
    void Leave();

private:
    bool GameInProgress() const;
    // Asks "Oyun devam ediyor..." with the question while a game is in progress; Yes to go on.
    TPromptReply* ConfirmDroppingGame(const QString& question);
    // Runs next once the reply finishes with Yes.
    void OnYes(TPromptReply* reply, void (TGameCommands::*next)());
    void StartNewGame();
    // "Yeni Bir Oyuna Bağlan" once leaving is confirmed: the connection window, then the
    // address it names (or the last one).
    void ConnectElsewhere();
    // A cancelled file dialog starts a new game only where one must start.
    void LoadGame(bool newGameOnCancel);
    void TableComplete();
    void ChooseHostedGame(const QStringList& names);
    void HostedGameChosen(bool chosen, const QString& name);
    // A joining player's connection attempt failed: the connection window is offered again,
    // with the reason above the address.
    void OfferConnectAgain(const QString& reason);
    // The dealer's address as the user would write it (the port only where it is not 33471).
    QString DealerAddressText() const;
    void Joined();
    // A dropped connection is taken up again by itself; the status line counts down.
    void StartReconnecting();
    // The result, then the finished game offered to the best and worst lists, then the
    // balloons; a record that comes meanwhile cancels the balloons.
    void GameOver();
    void Cheer();

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
    TGameInfo loaded_{};                // the record read by "Yükle"
    QPointer<QObject> cheerDue_;        // the balloons wait for the lists; the next record drops them
    QByteArray listedGame_;             // the finished record last offered to the lists
};

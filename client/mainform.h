// The main window: the table as the user sits at it, the menu bar, the chat line and the
// status bar. It turns the session's notifications into pictures and the user's clicks and
// commands into messages; the game itself lives at the dealer.
#pragma once

#include <QFont>
#include <QMainWindow>
#include <QPointF>
#include <QString>

#include <array>
#include <functional>
#include <memory>

#include "dealerthread.h"
#include "levelgame.h"
#include "session.h"
#include "tcplink.h"
#include "sidewindows.h"
#include "tablelayout.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TCard;
class TSoundBox;
class TUserPrompts;
class TCheer;

class TMainForm : public QMainWindow {
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- Wiring (before the first activation) ----
    void SetSideWindows(const TSideWindows& w) { side_ = w; }
    // Replaces the message boxes and dialogs (tests answer in place of the user).
    void SetPrompts(TUserPrompts* prompts);
    // The game-over animation while it runs, else null.
    TCheer* Cheer() const { return cheer_.get(); }
    // The TCP port of the dealer this window creates and of the connection it opens.
    void SetGamePort(quint16 port) { gamePort_ = port; }
    // The dealer's settings beyond the port and "Hızlı" (tests shorten the pacing and
    // choose where "LastHand.rvo" goes).
    void SetDealerOptions(const TDealerOptions& options) { dealerOptions_ = options; }
    // false: the first activation does not run the start flow (tests call StartAs...).
    void SetAutoStart(bool on) { autoStart_ = on; }

    // ---- Start ----
    void FirstActivation();
    void StartFlow();
    // The part of the start flow after the welcome dialog.
    void PrepareStart(const QString& name, bool dealer);
    void StartAsDealer(const QString& name);
    void StartAsPlayer(const QString& name, const QString& host);

    // ---- Table ----
    void UpdateTable();
    void CardSlotClick(int slot); // a click on slot k of the bottom row
    void ComputerPlaysForMe();
    int RelativePosition(int seat) const;

    // ---- Commands (menu items, keys, chat button) ----
    void Bala1Click();                // "Başla" and F2
    void Bunubilgisayaroynasn1Click(); // "Sadece bunu bilgisayar oynasın"
    void Yeni1Click();
    void Kaydet1Click();
    void Ykle1Click();
    void k1Click();                   // "Oyundan Çık"
    void YenidenBalan1Click();        // "Yeni Bir Oyuna Bağlan"
    void YeniOyuncularBekle1Click();
    void NaslOynamakIstersin1Click();
    void Sesli1Click();
    void Yerimebilgisayaroynasn1Click();
    void Hzl1Click();
    void ApplyQuick(bool toggle);
    void Oyunsaatynndedner1Click();
    void BitBtn1Click();              // the chat button
    void Yardm1Click();               // "Yardım başlıkları" and F1
    void Tekkartkendisioynasn1Click(); // "Tek kartı kendisi oynasın"
    void Ipucu1Click();               // "İpucu" and H: marks the move Usta would make
    // "Bilgisayar seviyesi": the level of the computer seats and of the computer that
    // plays for the user, kept in the settings.
    void SetComputerLevel(TComputerLevel level);
    TComputerLevel ComputerLevel() const;

    // ---- The last trick (a press on the trick area, or the space bar held) ----
    void ShowLastTrick();
    void EndLastTrick();
    bool ShowingLastTrick() const { return showingLastTrick_; }
    // The trick area on the table, in the table's coordinates.
    QRect TrickArea() const;

    // ---- What tests and the program look at ----
    TSession& Session() { return session_; }
    TTcpLink& Link() { return link_; }
    TDealerThread* Dealer() const { return dealer_.get(); }
    TSoundBox& Sounds() { return *sounds_; }
    QString StatusText() const;
    QString Messages() const;
    QAction* Action(const char* componentName) const;
    QMenu* Menu(const char* title) const;
    TCard* CardSlot(int position, int slot) const { return cardSlots_[position][slot]; }
    TCard* TrickCard(int position) const { return trickCards_[position]; }
    QLabel* NameLabel(int position) const { return nameLabels_[position]; }
    QLabel* HandMarker(int position) const { return handMarkers_[position]; }
    QLabel* LabelGameType() const { return labelGameType_; }
    QTimer* TimerComputerPlayerWait() const { return timerComputerPlayerWait_; }
    bool Clockwise() const;
    // How many times larger than its 470 x 566 design the table is drawn (1 at the
    // smallest window); a point of the design as it lies on the table now.
    double Zoom() const { return zoom_; }
    QPoint OnTable(QPoint design) const;

protected:
    bool event(QEvent* e) override;
    // Closing the main window ends the program, also while it is hidden (as during the
    // welcome dialog), where no last visible window closes.
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // mainform.cpp
    void WireSession();
    void SetStatus(const QString& text);
    void FitStatus();
    void OnSeatName(int seat, const QString& name);
    void TableComplete();
    // "Yükle": a cancelled file dialog starts a new game only where one must start.
    void LoadGame(bool newGameOnCancel);
    // Saved games kept by a dealer on another machine (hostgames.cpp).
    void WireHostedGames();
    void JoinedTable();
    void ChooseHostedGame(const QStringList& names);
    bool loadNewGameOnCancel_ = false;
    // A seated joining player lost the dealer: asks whether to join the same dealer again.
    void OfferReconnect();
    // A joining player's connection attempt failed: the connection window is offered again,
    // with the reason above the address.
    void OfferConnectAgain(const QString& reason);
    // "host", "host:port", "[v6]:port": the dealer's host and port (gamePort_ unless given).
    void SetDealerAddress(const QString& text);
    // The dealer's address as the user would write it (the port only where it is not 33471).
    QString DealerAddressText();
    void PlaceSideWindows();
    void ShowSideWindows();
    void ReadSettings();
    void StartDealer();
    void Inform(const QString& text);
    // Runs the action from the event loop once the current handler has returned.
    void Later(std::function<void()> action);
    // maintable.cpp
    void LayoutTable();
    void PlaceNameLabel(int position);
    void ShowTrickTaker(int seat);
    void ClearTrickTaker();
    void UpdateHands();
    void UpdateTrick();
    void UpdateCursors();
    // A card is awaited from the user's seat and none has been sent for it yet.
    bool MyCardDue() const;
    void GameOverSteps();
    void StartCheer();
    void StopCheer(); // removes the balloons and their trails
    void AskContract();
    void TimerComputerPlayerWaitTimer();
    // turnhelp.cpp
    void RememberTrick();
    // When the user's turn begins: the desktop's attention if the window is in the
    // background, and the user's only legal card played after a pause if so set.
    void HelpWithTurn();
    void PlaySingleCard();
    bool HandleTrickInput(QObject* watched, QEvent* e);
    // ustahint.cpp
    // Asks Usta for the user's move off the window's thread; use(move) runs on this thread
    // if no record arrived in between and the move is still the user's to make.
    void AskUsta(std::function<void(const TMove&)> use);
    void UstaPlaysForMe();
    // Every record reaches Usta's history; a hint on the table goes with the old record.
    void ObserveForUsta();
    void ShowHint(const TMove& move);
    void ClearHint();
    // tablescale.cpp
    // Places and sizes everything on the table for the table's present size.
    void ApplyZoom();
    QRect OnPanel(const QRect& design) const;
    QFont Zoomed(const QFont& font) const;
    // The main window's place and size from the settings (a place off every screen is
    // not taken), and back into them a moment after they change.
    void RestoreGeometry();
    void SaveGeometrySoon();
    // mainmenu.cpp
    void CreateMenus();
    bool GameInProgress() const;
    // Asks "Oyun devam ediyor..." with the question while a game is in progress; true to go on.
    bool ConfirmDroppingGame(const QString& question);
    void SetChecked(const char* componentName, bool on);
    bool IsChecked(const char* componentName) const;

    // TimerComputerPlayerWait: the pause before the computer makes the user's move.
    static constexpr int kComputerWaitMs = 1000;
    static constexpr int kQuickComputerWaitMs = 10; // while "Hızlı" is checked

    TTcpLink link_;
    TSession session_{link_};
    TSideWindows side_;
    std::unique_ptr<TUserPrompts> ownPrompts_;
    TUserPrompts* prompts_ = nullptr;
    std::unique_ptr<TCheer> cheer_;
    int recordsShown_ = 0; // counts UpdateTable calls, so a later record cancels the balloons
    QByteArray listedGame_; // the finished record last offered to the best and worst lists
    std::unique_ptr<TDealerThread> dealer_;
    TDealerOptions dealerOptions_;
    TSoundBox* sounds_ = nullptr;
    quint16 gamePort_;
    bool autoStart_ = true;
    bool firstActivation_ = true;
    bool closing_ = false;
    bool newHandSoundSwitch_ = true;

    // Table components.
    QWidget* table_ = nullptr;
    QPlainTextEdit* userMessages_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QString statusText_; // the text whole, before it is broken into lines
    QPushButton* bitBtn1_ = nullptr;
    QLabel* labelGameType_ = nullptr;
    QWidget* panel_ = nullptr;
    QLabel* panelCaption_ = nullptr;
    QFont tableFont_;
    double zoom_ = 1;
    QPointF origin_; // where the design's (0, 0) lies on the table
    double panelLeft_ = 0;
    QTimer* geometrySaver_ = nullptr;

    // The last trick taken: its cards in the order played, who played them, who took it.
    struct TTakenTrick {
        bool valid = false;
        std::array<uint8_t, 4> suit{}, value{}, seat{};
        uint8_t taker = 0;
    };
    TTakenTrick lastTrick_;
    bool showingLastTrick_ = false;
    std::array<bool, 4> markerWasVisible_{};
    bool turnHelped_ = false; // the present turn of the user was already helped with
    // Usta for the user's seat: the hint and the computer that plays for the user at level
    // Usta; a record's arrival makes every answer still owed stale.
    std::unique_ptr<TMoveSource> usta_;
    quint64 ustaTicket_ = 0;
    QTimer* singleCardTimer_ = nullptr;
    static constexpr int kSingleCardWaitMs = 600;
    static constexpr int kQuickSingleCardWaitMs = 10;
    QTimer* timerComputerPlayerWait_ = nullptr;
    std::array<std::array<TCard*, table::kSlotsPerHand>, 4> cardSlots_{};
    table::HandSlots slots_{};
    std::array<TCard*, 4> trickCards_{};
    std::array<QLabel*, 4> nameLabels_{};
    std::array<QLabel*, 4> handMarkers_{};
};

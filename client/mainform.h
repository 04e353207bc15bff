// The main window: the table, the menu bar and the status bar, put together. It makes the
// settings, the session, the seat model and the classes that listen to them, owns the
// dealer when this copy runs one, runs the start flow and keeps the side windows docked.
#pragma once

#include <QMainWindow>
#include <QString>

#include <memory>

#include "dealerthread.h"
#include "session.h"
#include "sidewindows.h"
#include "tcplink.h"

class QTimer;
class TComputerForMe;
class TContractPrompt;
class TGameCommands;
class THint;
class TMenus;
class TSeatModel;
class TSettings;
class TSoundBox;
class TStatusLine;
class TTableSounds;
class TTableView;
class TUserPrompts;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- Wiring (before the first activation) ----
    void SetSideWindows(const TSideWindows& w);
    // Replaces the message boxes and dialogs (tests answer in place of the user).
    void SetPrompts(TUserPrompts* prompts);
    // The TCP port of the dealer this window creates and of the connection it opens.
    void SetGamePort(quint16 port);
    // The dealer's settings beyond the port and "Hızlı" (tests shorten the pacing and
    // choose where "LastHand.rvo" goes).
    void SetDealerOptions(const TDealerOptions& options) { dealerOptions_ = options; }
    // false: the first activation does not run the start flow (tests call StartAs...).
    void SetAutoStart(bool on) { autoStart_ = on; }

    // ---- Start ----
    void FirstActivation();
    void StartFlow();
    void StartAsDealer(const QString& name);
    void StartAsPlayer(const QString& name, const QString& host);

    // ---- The parts ----
    TSettings& Settings() { return *settings_; }
    TMenus& Menus() { return *menus_; }
    TSession& Session() { return session_; }
    TTcpLink& Link() { return link_; }
    TSeatModel& Model() { return *model_; }
    TTableView& View() { return *view_; }
    TGameCommands& Commands() { return *commands_; }
    TComputerForMe& ComputerForMe() { return *computerForMe_; }
    TDealerThread* Dealer() const { return dealer_.get(); }
    TSoundBox& Sounds() { return *sounds_; }
    QString StatusText() const;

protected:
    bool event(QEvent* e) override;
    // Closing the main window ends the program, also while it is hidden (as during the
    // welcome dialog), where no last visible window closes.
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void ConnectParts();
    void PrepareStart(const QString& name, bool dealer);
    void HowToPlay(); // "Nasıl Oynamak Istersin": the start flow, once leaving is confirmed
    void ChooseDealerPort(); // "Dağıtıcının portu...", kept as "DealerPort"
    void StartDealer();
    void SettingChanged();
    void FunctionKey(int key);
    void PlaceSideWindows();
    void ShowSideWindows();
    // The main window's place and size back into the settings a moment after they change.
    void SaveGeometrySoon();
    // The place, size and maximised state of the last run, before the window first shows.
    void RestoreGeometry();

    TSideWindows side_;
    std::unique_ptr<TUserPrompts> ownPrompts_;
    TUserPrompts* prompts_ = nullptr;
    TSettings* settings_;
    TTcpLink link_;
    TSession session_{link_};
    std::unique_ptr<TDealerThread> dealer_;
    TDealerOptions dealerOptions_;
    quint16 gamePort_;
    quint16 dealerPortInUse_ = 0; // the port the program's own dealer was last started on
    TSeatModel* model_ = nullptr;
    TTableView* view_ = nullptr;
    TMenus* menus_ = nullptr;
    TStatusLine* status_ = nullptr;
    TSoundBox* sounds_ = nullptr;
    TGameCommands* commands_ = nullptr;
    TComputerForMe* computerForMe_ = nullptr;
    TContractPrompt* contractPrompt_ = nullptr;
    THint* hint_ = nullptr;
    QTimer* geometrySaver_ = nullptr;
    bool autoStart_ = true;
    bool geometryRestored_ = false;
    bool maximiseAtShow_ = false; // the window was maximised when the program last ran
    bool firstActivation_ = true;
    bool closing_ = false;
};

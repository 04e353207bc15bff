// The main window: the table, the menu bar and the status bar, put together. It makes the
// settings, the session, the seat model and the classes that listen to them, and connects
// them; the start flow and the docking of the side windows are classes of their own. The
// session goes through the link it is given (a table in process, say) or through a TCP link
// of its own.
#pragma once

#include <QMainWindow>
#include <QString>

#include <memory>

#include "computerforme.h"
#include "menus.h"
#include "owndealer.h"
#include "seatmodel.h"
#include "session.h"
#include "settings.h"
#include "sidedock.h"
#include "sounds.h"
#include "startflow.h"
#include "statusline.h"

class TContractPrompt;
class TGameCommands;
class THint;
class TMainWindowPlace;
class TServerTables;
class TTableView;
class TUserPrompts;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // link: the connection to the table, which outlives the window; none: a TCP link of the
    // window's own, to the dealer the user names or to the program's own dealer.
    explicit TMainForm(TSessionLink* link = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- Wiring (before the first activation) ----
    void SetSideWindows(const TSideWindows& w);
    // Replaces the message boxes and dialogs (tests answer in place of the user).
    void SetPrompts(TUserPrompts* prompts);
    // The TCP port of the dealer this window creates and of the connection it opens.
    void SetGamePort(quint16 port);
    void SetDealerOptions(const TDealerOptions& options) { ownDealer_.SetOptions(options); }
    // false: the first activation does not run the start flow (tests call StartAs...).
    void SetAutoStart(bool on) { start_->SetAutoStart(on); }

    // ---- Start ----
    void FirstActivation() { start_->FirstActivation(); }
    void StartFlow() { start_->Run(); }
    void StartAsDealer(const QString& name) { start_->AsDealer(name); }
    void StartAsPlayer(const QString& name, const QString& host) { start_->AsPlayer(name, host); }

    // ---- The parts ----
    TSettings& Settings() { return settings_; }
    TMenus& Menus() { return menus_; }
    TSession& Session() { return session_; }
    TSessionLink& Link() { return link_; }
    TSeatModel& Model() { return model_; }
    TTableView& View() { return *view_; }
    TGameCommands& Commands() { return *commands_; }
    TComputerForMe& ComputerForMe() { return computerForMe_; }
    TServerTables& ServerTables() { return *serverTables_; }
    TDealerThread* Dealer() const { return ownDealer_.Thread(); }
    TSoundBox& Sounds() { return sounds_; }
    QString StatusText() const { return status_.Text(); }

protected:
    // Closing the main window ends the program, also while it is hidden (as during the
    // welcome dialog), where no last visible window closes.
    void closeEvent(QCloseEvent* e) override;

private:
    void ConnectParts();

    std::unique_ptr<TSessionLink> ownLink_;
    TSessionLink& link_;
    TSession session_{link_};
    TSettings settings_;
    TSoundBox sounds_;
    TSeatModel model_;
    TTableView* view_; // the central widget
    TMenus menus_;
    TStatusLine status_;
    TComputerForMe computerForMe_;
    TOwnDealer ownDealer_{settings_};
    TSideDock* dock_;
    std::unique_ptr<TUserPrompts> ownPrompts_;
    TUserPrompts* prompts_;
    std::unique_ptr<TGameCommands> commands_;
    std::unique_ptr<TContractPrompt> contractPrompt_;
    std::unique_ptr<THint> hint_;
    TMainWindowPlace* place_;
    TStartFlow* start_;
    TServerTables* serverTables_;
};

#include "mainform.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QStatusBar>

#include "commands.h"
#include "contractprompt.h"
#include "hint.h"
#include "prompts.h"
#include "servertables.h"
#include "tablelayout.h"
#include "tablesounds.h"
#include "tableview.h"
#include "tcplink.h"
#include "ustasource.h"
#include "windowplace.h"

TMainForm::TMainForm(TSessionLink* link, QWidget* parent)
    : QMainWindow(parent), ownLink_(link ? nullptr : std::make_unique<TTcpLink>()), link_(link ? *link : *ownLink_),
      model_(session_, MakeUstaSource(GameRandom())), view_(new TTableView(model_, settings_, this)),
      menus_(menuBar(), settings_), status_(statusBar(), session_, model_),
      computerForMe_(model_, settings_, session_), dock_(new TSideDock(this, *view_)),
      ownPrompts_(std::make_unique<TUserPrompts>()), prompts_(ownPrompts_.get()),
      commands_(std::make_unique<TGameCommands>(this, session_, link_, ownDealer_, model_, *view_, menus_, status_,
                                                dock_->Windows(), kGamePort)),
      place_(new TMainWindowPlace(this)),
      start_(new TStartFlow(this, {settings_, session_, link_, sounds_, menus_, status_, ownDealer_, *commands_,
                                   *dock_, *place_})),
      serverTables_(new TServerTables(this, session_, model_, *view_, status_))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zorbela - RUVO Network"));
    setCentralWidget(view_);
    commands_->SetPrompts(prompts_);
    serverTables_->SetPrompts(prompts_);
    new TTableSounds(sounds_, model_, session_, settings_, *view_, this);
    SetSideWindows({});
    ConnectParts();
    // The designed size is the smallest; the table grows with the window.
    setMinimumSize(table::WindowSize());
    resize(table::WindowSize());
    installEventFilter(view_); // the space bar, F1 and F2 anywhere in the window
    move(0, 0);
}

TMainForm::~TMainForm()
{
    // Nothing from the network, and nothing put off until later, reaches a window that is
    // going away; the table view goes before the parts it shows.
    place_->SetSaving(false);
    session_.blockSignals(true);
    session_.Close();
    commands_.reset();
    ownDealer_.Stop();
    dock_->Release(); // the side windows are not the main window's to delete
    delete view_;
}

void TMainForm::ConnectParts()
{
    const TSideWindows& side = dock_->Windows();
    auto on = [this](QAction* a, auto handler) { connect(a, &QAction::triggered, this, handler); };
    on(menus_.ComputerOnce, [this] { computerForMe_.PlayOnce(); });
    on(menus_.Hint, [this] { hint_->Ask(); });
    on(menus_.HowToPlay, [this] { start_->HowToPlay(); });
    on(menus_.DealerPort, [this] { ownDealer_.ChoosePort(this, *prompts_, status_); });
    on(menus_.ScoreWindow, [&side] { side.ShowNormal(side.ScoreWindow()); });
    on(menus_.PenaltyWindow, [&side] { side.ShowNormal(side.PenaltyWindow()); });
    on(menus_.Lists, [&side] { side.ShowHigh(); });
    on(menus_.HelpTopics, [&side] { side.ShowHelp(); });
    on(menus_.About, [&side] { side.ShowAbout(); });
    connect(view_, &TTableView::chatClicked, commands_.get(), &TGameCommands::Chat);
    connect(view_, &TTableView::functionKey, this, [this, &side](int key) {
        if (key == Qt::Key_F2)
            commands_->Start();
        else if (key == Qt::Key_F1)
            side.ShowHelp();
    });
    connect(&session_, &TSession::chat, view_, &TTableView::AddMessage);
    // While players join, each name stands where its seat sits for the user.
    connect(&session_, &TSession::seatName, view_, &TTableView::ShowSeatName);
    connect(&session_, &TSession::joinAccepted, view_, [this, &side] {
        view_->PlaceSeatNames();
        side.ForgetScore(); // the first record at this seat fills the score table
    });
    connect(&session_, &TSession::trickTaker, view_, &TTableView::ShowTrickTaker);
    connect(&session_, &TSession::trickClear, view_, &TTableView::ClearTrickTaker);
    connect(&model_, &TSeatModel::changed, this, [this, &side] { side.Show(model_.Record()); });
    auto inform = [this](const QString& text) { prompts_->Inform(this, text); };
    connect(&model_, &TSeatModel::refused, this, inform);
    connect(&computerForMe_, &TComputerForMe::failed, this, inform);
}

void TMainForm::SetSideWindows(const TSideWindows& w)
{
    dock_->SetWindows(w);
    contractPrompt_.reset();
    hint_.reset();
    contractPrompt_ = std::make_unique<TContractPrompt>(model_, settings_, *view_, w.Contracts, this);
    hint_ = std::make_unique<THint>(model_, *view_, w.Contracts, this);
}

void TMainForm::SetPrompts(TUserPrompts* prompts)
{
    prompts_ = prompts ? prompts : ownPrompts_.get();
    commands_->SetPrompts(prompts_);
    serverTables_->SetPrompts(prompts_);
}

void TMainForm::SetGamePort(quint16 port)
{
    commands_->SetPort(port);
    ownDealer_.SetPort(port);
}

void TMainForm::closeEvent(QCloseEvent* e)
{
    // The close box, Alt+F4 and the desktop's "close" ask what "Oyundan Çık" asks.
    if (commands_ && !start_->MayClose()) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
    if (e->isAccepted())
        QCoreApplication::quit(); // nothing happens outside the application's loop
}

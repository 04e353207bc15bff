#include "mainform.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "commands.h"
#include "contractprompt.h"
#include "helpform.h"
#include "highform.h"
#include "hint.h"
#include "prompts.h"
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
      computerForMe_(model_, settings_, session_), ownPrompts_(std::make_unique<TUserPrompts>()),
      prompts_(ownPrompts_.get()),
      commands_(std::make_unique<TGameCommands>(this, session_, link_, ownDealer_, model_, *view_, menus_, status_, side_,
                                                kGamePort)),
      place_(new TMainWindowPlace(this))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zorbela - RUVO Network"));
    setCentralWidget(view_);
    commands_->SetPrompts(prompts_);
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
    sounds_.PlayToEnd(kSoundClosing, 2500);
    session_.Close();
    commands_.reset();
    ownDealer_.Stop();
    side_.Release(this); // the side windows are not the main window's to delete
    delete view_;
}

void TMainForm::ConnectParts()
{
    auto on = [this](QAction* a, auto handler) { connect(a, &QAction::triggered, this, handler); };
    on(menus_.ComputerOnce, [this] { computerForMe_.PlayOnce(); });
    on(menus_.Hint, [this] { hint_->Ask(); });
    on(menus_.HowToPlay, &TMainForm::HowToPlay);
    on(menus_.DealerPort, [this] { ownDealer_.ChoosePort(this, *prompts_, status_); });
    on(menus_.ScoreWindow, [this] { side_.ShowNormal(side_.ScoreWindow()); });
    on(menus_.PenaltyWindow, [this] { side_.ShowNormal(side_.PenaltyWindow()); });
    on(menus_.Lists, [this] { side_.ShowHigh(); });
    on(menus_.HelpTopics, [this] { side_.ShowHelp(); });
    on(menus_.About, [this] { side_.ShowAbout(); });
    connect(view_, &TTableView::chatClicked, commands_.get(), &TGameCommands::Chat);
    connect(view_, &TTableView::functionKey, this, &TMainForm::FunctionKey);
    connect(&session_, &TSession::chat, view_, &TTableView::AddMessage);
    // While players join, each name stands where its seat sits for the user.
    connect(&session_, &TSession::seatName, view_, &TTableView::ShowSeatName);
    connect(&session_, &TSession::joinAccepted, view_, [this] {
        view_->PlaceSeatNames();
        side_.ForgetScore(); // the first record at this seat fills the score table
    });
    connect(&session_, &TSession::trickTaker, view_, &TTableView::ShowTrickTaker);
    connect(&session_, &TSession::trickClear, view_, &TTableView::ClearTrickTaker);
    connect(&model_, &TSeatModel::changed, this, [this] { side_.Show(model_.Record()); });
    auto inform = [this](const QString& text) { prompts_->Inform(this, text); };
    connect(&model_, &TSeatModel::refused, this, inform);
    connect(&computerForMe_, &TComputerForMe::failed, this, inform);
}

void TMainForm::SetSideWindows(const TSideWindows& w)
{
    side_.Release(this);
    side_ = w;
    side_.Adopt(this);
    // A side window that goes before the main window (its owner decides) is no longer its.
    for (QWidget* window : {side_.ScoreWindow(), side_.PenaltyWindow()})
        if (window)
            connect(window, &QObject::destroyed, this, [this, window] {
                if (side_.ScoreWindow() == window)
                    side_.Score = nullptr;
                if (side_.PenaltyWindow() == window)
                    side_.Penalty = nullptr;
            });
    contractPrompt_.reset();
    hint_.reset();
    contractPrompt_ = std::make_unique<TContractPrompt>(model_, settings_, *view_, side_.Contracts, this);
    hint_ = std::make_unique<THint>(model_, *view_, side_.Contracts, this);
}

void TMainForm::SetPrompts(TUserPrompts* prompts)
{
    prompts_ = prompts ? prompts : ownPrompts_.get();
    commands_->SetPrompts(prompts_);
}

void TMainForm::SetGamePort(quint16 port)
{
    gamePort_ = port;
    commands_->SetPort(port);
    ownDealer_.SetPort(port);
}

void TMainForm::FunctionKey(int key)
{
    if (key == Qt::Key_F2)
        commands_->Start();
    else if (key == Qt::Key_F1)
        side_.ShowHelp();
}

// ---- First activation and start flow ----

bool TMainForm::event(QEvent* e)
{
    // The first activation (or the first showing, where nothing activates windows).
    if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) && firstActivation_ && autoStart_)
        QTimer::singleShot(0, this, [this] {
            if (firstActivation_)
                FirstActivation();
        });
    return QMainWindow::event(e);
}

void TMainForm::FirstActivation()
{
    if (!firstActivation_)
        return;
    firstActivation_ = false;
    hide();
    for (QWidget* w : {side_.ScoreWindow(), side_.PenaltyWindow()})
        if (w)
            w->hide();
    place_->RestoreOnce();
    place_->SetSaving(true);
    PlaceSideWindows();
    // The help and the lists stay where the user put them, also in the next run.
    if (side_.Help)
        new TWindowPlace(side_.Help, QStringLiteral("Help"));
    if (side_.High)
        new TWindowPlace(side_.High, QStringLiteral("Lists"));
    side_.Bind(session_.Record(), session_.SeatByte());
    side_.RefreshScore();
    side_.FillWelcome(settings_.UserName(), TSettings::IamDealer());
    session_.UserName = settings_.UserName();
    if (autoStart_)
        StartFlow();
}

void TMainForm::StartFlow()
{
    sounds_.Play(kSoundStart);
    const TSideWindows::TWelcomeAnswer answer = side_.RunWelcome();
    if (answer.quit) {
        close();
        return;
    }
    if (answer.dealer)
        StartAsDealer(answer.name);
    else
        StartAsPlayer(answer.name, QString());
}

// What both start flows do first: remember the name, show the table, forget any seat.
void TMainForm::PrepareStart(const QString& name, bool dealer)
{
    settings_.SetUserName(name);
    session_.UserName = settings_.UserName();
    session_.IsDealer = dealer;
    // Maximised again where it was (the desktop forgets it while the window is hidden).
    if (place_->TakeMaximised())
        showMaximized();
    else
        show();
    ShowSideWindows();
    session_.ForgetSeat();
    menus_.SetHost(dealer);
    menus_.Reconnect->setEnabled(!dealer);
}

void TMainForm::StartAsDealer(const QString& name)
{
    PrepareStart(name, true);
    session_.NamedSeat = 0;
    commands_->SetDealerRecord(nullptr);
    if (!ownDealer_.Start()) {
        // Another program holds the port: connecting to "localhost" now would join its
        // table while this window believes it deals.
        status_.SetText(tr("Dağıtıcı başlatılamadı! %1 numaralı port kullanımda; \"Ayarlar\" menüsünden "
                                       "başka bir port seçebilirsin.")
                            .arg(ownDealer_.PortTried()));
        return;
    }
    commands_->SetDealerRecord(&ownDealer_.Thread()->GameInfo());
    status_.SetText(TStatusLine::WaitingText());
    link_.SetAddress(QStringLiteral("localhost"), ownDealer_.Thread()->Port());
    session_.Open();
}

void TMainForm::StartAsPlayer(const QString& name, const QString& host)
{
    PrepareStart(name, false);
    // Without a host given, the connection dialog asks for it (its address is used as it
    // stands when it closes).
    commands_->SetDealerAddress(host.isEmpty() && side_.Connect ? side_.RunConnect(nullptr) : host);
    session_.Open();
}

void TMainForm::HowToPlay()
{
    if (commands_->ConfirmLeaving())
        StartFlow();
}

void TMainForm::closeEvent(QCloseEvent* e)
{
    // The close box, Alt+F4 and the desktop's "close" ask what "Oyundan Çık" asks.
    if (commands_ && !commands_->Leaving() && !commands_->ConfirmLeaving()) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
    if (e->isAccepted())
        QCoreApplication::quit(); // nothing happens outside the application's loop
}

// ---- Side windows ----

void TMainForm::PlaceSideWindows() { side_.Dock(this, view_->Inside(), view_->UserHand()); }

void TMainForm::ShowSideWindows()
{
    for (QWidget* w : {side_.ScoreWindow(), side_.PenaltyWindow()})
        if (w)
            w->show();
    // Placed again once shown: a window may have grown to its own minimum size.
    PlaceSideWindows();
    activateWindow();
}

void TMainForm::moveEvent(QMoveEvent* e)
{
    QMainWindow::moveEvent(e);
    // The score table and the taken-cards window stay docked at the right edge.
    if (!firstActivation_)
        PlaceSideWindows();
}

void TMainForm::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    status_.Fit();
    if (!firstActivation_)
        PlaceSideWindows();
}

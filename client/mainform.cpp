#include "mainform.h"

#include <QAction>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "commands.h"
#include "regeasy.h"
#include "computerforme.h"
#include "contractprompt.h"
#include "helpform.h"
#include "highform.h"
#include "hint.h"
#include "menus.h"
#include "prompts.h"
#include "seatmodel.h"
#include "settings.h"
#include "sounds.h"
#include "statusline.h"
#include "tablelayout.h"
#include "tablesounds.h"
#include "tableview.h"
#include "dealerlevel.h"
#include "ustasource.h"
#include "windowplace.h"

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), ownPrompts_(std::make_unique<TUserPrompts>()), prompts_(ownPrompts_.get()),
      settings_(new TSettings(this)), gamePort_(kGamePort)
{
    setObjectName(QStringLiteral("MainForm"));
    // The transport's own English texts go to the log only; the window says what happened
    // in one Turkish sentence.
    link_.Socket().OnMessage = [](const QString&) {};
    setWindowTitle(QStringLiteral("Zorbela - RUVO Network"));
    sounds_ = new TSoundBox(this);
    model_ = new TSeatModel(session_, MakeUstaSource(GameRandom()), this);
    view_ = new TTableView(*model_, *settings_, this);
    setCentralWidget(view_);
    menus_ = new TMenus(menuBar(), *settings_);
    status_ = new TStatusLine(statusBar(), session_, *model_);
    commands_ = new TGameCommands(this, session_, link_, *model_, *view_, *menus_, *status_, side_, gamePort_);
    commands_->SetPrompts(prompts_);
    computerForMe_ = new TComputerForMe(*model_, *settings_, session_, this);
    new TTableSounds(*sounds_, *model_, session_, *settings_, *view_, this);
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
    // going away.
    closing_ = true;
    session_.blockSignals(true);
    sounds_->PlayToEnd(kSoundClosing, 2500);
    session_.Close();
    delete commands_;
    dealer_.reset();
    side_.Release(this); // the side windows are not the main window's to delete
}

void TMainForm::ConnectParts()
{
    const TMenus& m = *menus_;
    auto on = [this](QAction* a, auto handler) { connect(a, &QAction::triggered, this, handler); };
    on(m.ComputerOnce, [this] { computerForMe_->PlayOnce(); });
    on(m.Hint, [this] { hint_->Ask(); });
    on(m.HowToPlay, &TMainForm::HowToPlay);
    on(m.DealerPort, &TMainForm::ChooseDealerPort);
    on(m.ScoreWindow, [this] { side_.ShowNormal(side_.ScoreWindow()); });
    on(m.PenaltyWindow, [this] { side_.ShowNormal(side_.PenaltyWindow()); });
    on(m.Lists, [this] { side_.ShowHigh(); });
    on(m.HelpTopics, [this] { side_.ShowHelp(); });
    on(m.About, [this] { side_.ShowAbout(); });
    connect(view_, &TTableView::chatClicked, commands_, &TGameCommands::Chat);
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
    connect(model_, &TSeatModel::changed, this, [this] { side_.Show(model_->Record()); });
    auto inform = [this](const QString& text) { prompts_->Inform(this, text); };
    connect(model_, &TSeatModel::refused, this, inform);
    connect(computerForMe_, &TComputerForMe::failed, this, inform);
    connect(settings_, &TSettings::changed, this, &TMainForm::SettingChanged);
}

void TMainForm::SetSideWindows(const TSideWindows& w)
{
    side_.Release(this);
    side_ = w;
    side_.Adopt(this);
    delete contractPrompt_;
    delete hint_;
    contractPrompt_ = new TContractPrompt(*model_, *settings_, *view_, side_.Contracts, this);
    hint_ = new THint(*model_, *view_, side_.Contracts, this);
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
}

QString TMainForm::StatusText() const { return status_->Text(); }

void TMainForm::FunctionKey(int key)
{
    if (key == Qt::Key_F2)
        commands_->Start();
    else if (key == Qt::Key_F1)
        side_.ShowHelp();
}

void TMainForm::SettingChanged()
{
    // "Hızlı" changes the running timers of the dealer at once; its computer seats play at
    // the new level from their next move on, and seats filled from now on carry its name.
    if (!dealer_)
        return;
    dealer_->ApplyQuick(settings_->Quick());
    TRandom& random = dealerOptions_.Random ? *dealerOptions_.Random : GameRandom();
    dealer_->SetMoveSource(MakeLevelSource(settings_->ComputerLevel(), random));
    dealer_->SetComputerName(ComputerSeatName(settings_->ComputerLevel()));
}

// ---- First activation and start flow ----

bool TMainForm::event(QEvent* e)
{
    // The stored place and size before the window first appears (the Show event comes
    // before the desktop maps it), so that nothing races to the designed size.
    if (e->type() == QEvent::Show && !geometryRestored_)
        RestoreGeometry();
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
    if (!geometryRestored_)
        RestoreGeometry();
    PlaceSideWindows();
    // The help and the lists stay where the user put them, also in the next run.
    if (side_.Help)
        new TWindowPlace(side_.Help, QStringLiteral("Help"));
    if (side_.High)
        new TWindowPlace(side_.High, QStringLiteral("Lists"));
    side_.Bind(session_.Record(), session_.SeatByte());
    side_.RefreshScore();
    side_.FillWelcome(settings_->UserName(), TSettings::IamDealer());
    session_.UserName = settings_->UserName();
    if (autoStart_)
        StartFlow();
}

void TMainForm::StartFlow()
{
    sounds_->Play(kSoundStart);
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
    settings_->SetUserName(name);
    session_.UserName = settings_->UserName();
    session_.IsDealer = dealer;
    // Maximised again where it was (the desktop forgets it while the window is hidden).
    if (maximiseAtShow_)
        showMaximized();
    else
        show();
    maximiseAtShow_ = false; // the first start only
    ShowSideWindows();
    session_.ForgetSeat();
    menus_->SetHost(dealer);
    menus_->Reconnect->setEnabled(!dealer);
}

void TMainForm::StartAsDealer(const QString& name)
{
    PrepareStart(name, true);
    session_.NamedSeat = 0;
    StartDealer();
    if (!dealer_->Listening()) {
        // Another program holds the port: connecting to "localhost" now would join its
        // table while this window believes it deals.
        status_->SetText(QStringLiteral("Dağıtıcı başlatılamadı! %1 numaralı port kullanımda; \"Ayarlar\" menüsünden "
                                        "başka bir port seçebilirsin.")
                             .arg(dealerPortInUse_));
        return;
    }
    status_->SetText(TStatusLine::WaitingText());
    link_.SetHost(QStringLiteral("localhost"));
    link_.SetPort(dealer_->Port());
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

void TMainForm::StartDealer()
{
    commands_->SetDealerRecord(nullptr);
    dealer_.reset();
    TDealerOptions options = dealerOptions_;
    // The port chosen in "Ayarlar", where one is; tests give theirs with SetGamePort.
    const int chosen = ReadRegInteger(kRegKey, kRegDealerPort, 0);
    options.Port = gamePort_ == kGamePort && chosen > 0 && chosen <= 65535 ? quint16(chosen) : gamePort_;
    dealerPortInUse_ = options.Port;
    options.Quick = settings_->Quick();
    options.OpenHands = options.OpenHands || settings_->OpenHands();
    if (!options.ComputerLevel && settings_->ComputerLevel() == TComputerLevel::Usta)
        ::SetComputerLevel(options, TComputerLevel::Usta);
    dealer_ = std::make_unique<TDealerThread>(options);
    commands_->SetDealerRecord(&dealer_->GameInfo());
}

void TMainForm::ChooseDealerPort()
{
    const int now = ReadRegInteger(kRegKey, kRegDealerPort, kGamePort);
    const std::optional<QString> line = prompts_->AskLine(
        this, QStringLiteral("Masayı bu programda kurarken kullanılacak port (şu an %1, olağanı %2). "
                             "Katılanlar adrese \":port\" ekler.")
                  .arg(now)
                  .arg(kGamePort));
    if (!line)
        return;
    bool ok = false;
    const uint port = line->trimmed().toUInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        prompts_->Inform(this, QStringLiteral("Port 1 ile 65535 arasında bir sayı olmalı."));
        return;
    }
    WriteRegInteger(kRegKey, kRegDealerPort, int(port));
    status_->SetText(QStringLiteral("Dağıtıcı bundan sonra %1 numaralı portu kullanacak.").arg(port));
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

// ---- Side windows and the window's place ----

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
    SaveGeometrySoon();
}

void TMainForm::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    status_->Fit();
    if (!firstActivation_)
        PlaceSideWindows();
    SaveGeometrySoon();
}

void TMainForm::RestoreGeometry()
{
    geometryRestored_ = true;
    maximiseAtShow_ = RestoreMainWindow(this);
    if (maximiseAtShow_)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TMainForm::SaveGeometrySoon()
{
    if (firstActivation_ || closing_ || !isVisible())
        return;
    if (!geometrySaver_) {
        geometrySaver_ = new QTimer(this);
        geometrySaver_->setSingleShot(true);
        geometrySaver_->setInterval(500);
        connect(geometrySaver_, &QTimer::timeout, this, [this] { StoreMainWindow(this); });
    }
    geometrySaver_->start();
}

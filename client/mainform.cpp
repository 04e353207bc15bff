#include "mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "cheer.h"
#include "helpform.h"
#include "highform.h"
#include "prompts.h"
#include "contractsdlg.h"
#include "regeasy.h"
#include "ustasource.h"
#include "sounds.h"
#include "windowplace.h"

namespace {

const QString kWaitingText = QStringLiteral("Diğerlerinin bağlanması bekleniyor...");
const QString kNoDealerText = QStringLiteral("Dağıtıcı başlatılamadı!");

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), ownPrompts_(std::make_unique<TUserPrompts>()),
      prompts_(ownPrompts_.get()), settings_(new TSettings(this)), gamePort_(kGamePort)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zorbela - RUVO Network"));
    sounds_ = new TSoundBox(this);
    statusBar()->setSizeGripEnabled(true); // the table grows with the window
    // One simple text that menu hints do not wipe out.
    statusLabel_ = new QLabel(statusBar());
    statusLabel_->setObjectName(QStringLiteral("StatusBar"));
    statusLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusLabel_->setTextFormat(Qt::PlainText); // it shows players' names

    statusBar()->addWidget(statusLabel_, 1);
    WireSession();
    LayoutTable();
    menus_ = new TMenus(menuBar(), *settings_);
    ConnectMenus();
    connect(settings_, &TSettings::changed, this, &TMainForm::SettingChanged);
    sounds_->SetEnabled(settings_->Sound());
    move(0, 0);
}

TMainForm::~TMainForm()
{
    // Nothing from the network, and nothing put off until later, reaches a window that is
    // going away.
    closing_ = true;
    session_.disconnect(this);
    timerComputerPlayerWait_->stop();
    sounds_->PlayToEnd(kSoundClosing, 2500);
    cheer_.reset();
    session_.Close();
    dealer_.reset();
}

void TMainForm::SetPrompts(TUserPrompts* prompts) { prompts_ = prompts ? prompts : ownPrompts_.get(); }

void TMainForm::Inform(const QString& text) { prompts_->Inform(this, text); }

void TMainForm::Later(std::function<void()> action)
{
    QTimer::singleShot(0, this, [this, action = std::move(action)] {
        if (!closing_)
            action();
    });
}

QString TMainForm::StatusText() const { return statusText_; }

void TMainForm::SetStatus(const QString& text)
{
    statusText_ = text;
    FitStatus();
}

// The status text whole: broken into lines at spaces where it is wider than the window.
void TMainForm::FitStatus()
{
    const QFontMetrics metrics(statusLabel_->font());
    const int width = std::max(100, statusBar()->width() - 24); // margins and the size grip
    QStringList lines;
    QString line;
    for (const QString& word : statusText_.split(QLatin1Char(' '))) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + QLatin1Char(' ') + word) > width) {
            lines << line;
            line = word;
        } else {
            line = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        }
    }
    lines << line;
    statusLabel_->setText(lines.join(QLatin1Char('\n')));
}

QString TMainForm::Messages() const { return userMessages_->toPlainText(); }

// ---- Session notifications ----

void TMainForm::WireSession()
{
    WireHostedGames(); // the seat key is read before the connection is made
    connect(&session_, &TClientSession::connecting, this, [this] {
        if (!session_.IsDealer)
            SetStatus(session_.Host() + QStringLiteral(" : bağlanmaya çalışılıyor..."));
    });
    connect(&session_, &TClientSession::connected, this, [this] {
        if (!session_.IsDealer)
            SetStatus(QStringLiteral("Bağlandı"));
    });
    connect(&session_, &TClientSession::disconnected, this, [this] {
        if (session_.IsDealer)
            return;
        SetStatus(session_.Host() + QStringLiteral(" : Bağlantı kesildi!"));
        // Only a player who had a seat is offered to join again; a refused one is not.
        if (session_.MySeat >= 0)
            Later([this] { OfferReconnect(); });
    });
    connect(&session_, &TClientSession::connectFailed, this, [this] {
        if (session_.IsDealer)
            return;
        SetStatus(session_.Host() + QStringLiteral(" : bağlantı kurulamadı!"));
        Later([this] { OfferConnectAgain(); });
    });
    connect(&session_, &TClientSession::recordArrived, this, [this] {
        cardSent_ = contractSent_ = false;
        ObserveForUsta();
        UpdateTable();
    });
    connect(&session_, &TClientSession::chat, this, [this](const QString& text) {
        userMessages_->appendPlainText(text);
        userMessages_->setPlainText(userMessages_->toPlainText().trimmed());
        userMessages_->moveCursor(QTextCursor::End);
        userMessages_->ensureCursorVisible();
    });
    connect(&session_, &TClientSession::joinAccepted, this, [this](int seat, const QString& text) {
        if (seat != 0)
            SetStatus(text);
        JoinedTable();
    });
    connect(&session_, &TClientSession::statusText, this, [this](const QString& text) {
        // Once the table is full, the count of missing players is over.
        if (!(session_.IsHost() && session_.NamedSeat >= 3))
            SetStatus(text);
    });
    connect(&session_, &TClientSession::seatName, this, &TMainForm::OnSeatName);
    // Boxes and questions caused by a message wait until its handling is over.
    connect(&session_, &TClientSession::tableFull, this,
            [this] { Later([this] { Inform(QStringLiteral("Masada boş yer yok!")); }); });
    connect(&session_, &TClientSession::trickTaker, this, &TMainForm::ShowTrickTaker);
    connect(&session_, &TClientSession::trickClear, this, [this] {
        sounds_->Play(kSoundTrickCleared);
        ClearTrickTaker();
    });
    connect(&session_, &TClientSession::unknownPacket, this,
            [this] { Later([this] { Inform(QStringLiteral("Player: Bilinmeyen bir paket alındı")); }); });
}

void TMainForm::OnSeatName(int seat, const QString& name)
{
    // While players join, labels stand by seat number: 0 bottom, 1 right, 2 top, 3 left.
    QLabel* label = nameLabels_[seat & 3];
    label->setText(name);
    PlaceNameLabel(seat & 3);
    label->show();
    // A seat given up before the game comes with an empty name: the table is not complete.
    if (session_.IsHost() && seat == 3 && !name.isEmpty()) {
        SetStatus(QStringLiteral("Masa tamamlandı."));
        Later([this] { TableComplete(); });
    }
}

void TMainForm::TableComplete()
{
    const bool fresh = prompts_->Ask(
        this, QStringLiteral("Kare tamamlandı!\r\rYeni bir oyuna başlamak için 'Evet'\r"
                             "Dosyadan yüklemek için 'Hayır'\rtuşuna bas...")
                  .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    if (fresh)
        session_.SendNewGame();
    else
        LoadGame(true);
}

void TMainForm::OfferReconnect()
{
    // The seat is forgotten first: a second loss of the connection before a new seat is
    // given asks nothing more (the "Bağlantı" menu still reconnects).
    session_.ForgetSeat();
    if (session_.PlayerSocket().Active())
        return; // connected again meanwhile
    const bool again = prompts_->Ask(
        this, QStringLiteral("%1 ile bağlantı koptu.\n\nAynı dağıtıcıya \"%2\" adıyla yeniden "
                             "bağlanmak ister misin?")
                  .arg(session_.Host(), session_.UserName));
    if (again && !session_.PlayerSocket().Active())
        session_.Open();
}

void TMainForm::OfferConnectAgain()
{
    // The connection window again: "OK" with an address tries that address; closed any
    // other way, the failure stays in the status bar.
    if (session_.PlayerSocket().Active() || !side_.Connect)
        return;
    bool confirmed = false;
    const QString address = side_.RunConnect(&confirmed);
    if (!confirmed || session_.PlayerSocket().Active())
        return;
    session_.SetHost(address);
    session_.Open();
}

// ---- First activation and start flow ----

bool TMainForm::event(QEvent* e)
{
    // The first activation (or the first showing, where nothing activates windows).
    if ((e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) && firstActivation_ &&
        autoStart_)
        QTimer::singleShot(0, this, [this] {
            if (firstActivation_)
                FirstActivation();
        });
    return QMainWindow::event(e);
}

void TMainForm::PlaceSideWindows()
{
    const QRect f = frameGeometry();
    const int width = std::max(100, 800 - f.width());
    const int height = f.height() / 2;
    // Their size is fixed: the user does not resize them.
    if (QWidget* score = side_.ScoreWindow()) {
        score->setFixedSize(width, height);
        score->move(f.left() + f.width(), f.top());
    }
    if (QWidget* penalty = side_.PenaltyWindow()) {
        penalty->setFixedSize(width, height);
        const QWidget* score = side_.ScoreWindow();
        penalty->move(f.left() + f.width(), score ? score->frameGeometry().bottom() + 1 : f.top() + height);
    }
}

void TMainForm::moveEvent(QMoveEvent* e)
{
    QMainWindow::moveEvent(e);
    // The score table and the taken-cards window stay docked at the right edge.
    if (!firstActivation_)
        PlaceSideWindows();
    SaveGeometrySoon();
}

void TMainForm::FirstActivation()
{
    if (!firstActivation_)
        return;
    firstActivation_ = false;
    if (side_.Contracts)
        side_.Contracts->OnHint = [this] { Ipucu1Click(); };
    hide();
    if (QWidget* w = side_.ScoreWindow())
        w->hide();
    if (QWidget* w = side_.PenaltyWindow())
        w->hide();
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

void TMainForm::ShowSideWindows()
{
    for (QWidget* w : {side_.ScoreWindow(), side_.PenaltyWindow()})
        if (w)
            w->show();
    // Placed again once shown: a window may have grown to its own minimum size.
    PlaceSideWindows();
    activateWindow();
}

// What both start flows do first: remember the name, show the table, forget any seat.
void TMainForm::PrepareStart(const QString& name, bool dealer)
{
    settings_->SetUserName(name);
    session_.UserName = settings_->UserName();
    session_.IsDealer = dealer;
    show();
    ShowSideWindows();
    session_.ForgetSeat();
    if (settings_->Quick())
        timerComputerPlayerWait_->setInterval(kQuickComputerWaitMs);
}

void TMainForm::StartAsDealer(const QString& name)
{
    PrepareStart(name, true);
    session_.NamedSeat = 0;
    StartDealer();
    if (!dealer_->Listening()) {
        // Another program holds the port: connecting to "localhost" now would join its
        // table while this window believes it deals.
        SetStatus(kNoDealerText);
        return;
    }
    SetStatus(kWaitingText);
    session_.SetHost(QStringLiteral("localhost"));
    menus_->SetHost(true);
    menus_->Reconnect->setEnabled(false);
    session_.SetPort(dealer_->Port());
    session_.Open();
    ApplyQuick();
}

void TMainForm::StartAsPlayer(const QString& name, const QString& host)
{
    PrepareStart(name, false);
    // Without a host given, the connection dialog asks for it (its address is used as it
    // stands when it closes).
    session_.SetHost(host.isEmpty() && side_.Connect ? side_.RunConnect(nullptr) : host);
    menus_->SetHost(false);
    menus_->Reconnect->setEnabled(true);
    session_.SetPort(gamePort_);
    session_.Open();
    ApplyQuick();
}

void TMainForm::StartDealer()
{
    dealer_.reset();
    TDealerOptions options = dealerOptions_;
    options.Port = gamePort_;
    options.Quick = settings_->Quick();
    options.OpenHands = options.OpenHands || settings_->OpenHands();
    if (!options.ComputerLevel && ComputerLevel() == TComputerLevel::Usta)
        ::SetComputerLevel(options, TComputerLevel::Usta);
    dealer_ = std::make_unique<TDealerThread>(options);
}

void TMainForm::closeEvent(QCloseEvent* e)
{
    QMainWindow::closeEvent(e);
    if (e->isAccepted())
        QCoreApplication::quit(); // nothing happens outside the application's loop
}

void TMainForm::mousePressEvent(QMouseEvent* e)
{
    StopCheer();
    QMainWindow::mousePressEvent(e);
}

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
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "cheer.h"
#include "connectform.h"
#include "helpform.h"
#include "highform.h"
#include "prompts.h"
#include "contractsdlg.h"
#include "regeasy.h"
#include "sideplace.h"
#include "dealerlevel.h"
#include "sounds.h"
#include "windowplace.h"

namespace {

const QString kWaitingText = QStringLiteral("Diğerlerinin bağlanması bekleniyor...");
const QString kNoDealerText = QStringLiteral("Dağıtıcı başlatılamadı!");

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), ownPrompts_(std::make_unique<TUserPrompts>()),
      prompts_(ownPrompts_.get()), gamePort_(kGamePort)
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
    CreateMenus();
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
    connect(&session_, &TSession::connecting, this, [this] {
        if (!session_.IsDealer)
            SetStatus(session_.Host() + QStringLiteral(" : bağlanmaya çalışılıyor..."));
    });
    connect(&session_, &TSession::connected, this, [this] {
        if (!session_.IsDealer)
            SetStatus(QStringLiteral("Bağlandı"));
    });
    connect(&session_, &TSession::disconnected, this, [this] {
        if (session_.IsDealer)
            return;
        SetStatus(session_.Host() + QStringLiteral(" : Bağlantı kesildi!"));
        // Only a player who had a seat is offered to join again; a refused one is not.
        if (session_.Seated())
            Later([this] { OfferReconnect(); });
    });
    // The transport's own English texts go to the log only; the window says what happened
    // in one Turkish sentence.
    link_.Socket().OnMessage = [](const QString&) {};
    connect(&session_, &TSession::connectFailed, this, [this] {
        if (session_.IsDealer)
            return;
        const QTcpSocket* attempt = link_.Socket().Socket();
        const QString reason = ConnectFailureText(attempt ? attempt->error() : QAbstractSocket::UnknownSocketError,
                                                  DealerAddressText(), false);
        SetStatus(reason);
        Later([this, reason] { OfferConnectAgain(reason); });
    });
    connect(&session_, &TSession::recordChanged, this, [this] {
        ObserveForUsta();
        UpdateTable();
    });
    connect(&session_, &TSession::chat, this, [this](const QString& text) {
        userMessages_->appendPlainText(text);
        userMessages_->setPlainText(userMessages_->toPlainText().trimmed());
        userMessages_->moveCursor(QTextCursor::End);
        userMessages_->ensureCursorVisible();
    });
    connect(&session_, &TSession::joinAccepted, this, [this](int seat, const QString& text) {
        if (seat != 0)
            SetStatus(text);
        JoinedTable();
    });
    WireHostedGames();
    connect(&session_, &TSession::statusText, this, [this](const QString& text) {
        // Once the table is full, the count of missing players is over.
        if (!(session_.IsHost() && session_.NamedSeat >= kSeatCount - 1))
            SetStatus(text);
    });
    connect(&session_, &TSession::seatName, this, &TMainForm::OnSeatName);
    // Boxes and questions caused by a message wait until its handling is over.
    connect(&session_, &TSession::tableFull, this,
            [this] { Later([this] { Inform(QStringLiteral("Masada boş yer yok!")); }); });
    connect(&session_, &TSession::trickTaker, this, &TMainForm::ShowTrickTaker);
    connect(&session_, &TSession::trickClear, this, [this] {
        sounds_->Play(kSoundTrickCleared);
        ClearTrickTaker();
    });
    connect(&session_, &TSession::unknownPacket, this, [this] {
        Later([this] { Inform(QStringLiteral("Player: Bilinmeyen bir paket alındı")); });
    });
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
    if (session_.Active())
        return; // connected again meanwhile
    const bool again = prompts_->Ask(
        this, QStringLiteral("%1 ile bağlantı koptu.\n\nAynı dağıtıcıya \"%2\" adıyla yeniden "
                             "bağlanmak ister misin?")
                  .arg(session_.Host(), session_.UserName));
    if (again && !session_.Active())
        session_.Open();
}

void TMainForm::OfferConnectAgain(const QString& reason)
{
    // The connection window again, saying why: "OK" with an address tries that address;
    // closed any other way, the failure stays in the status bar.
    if (session_.Active() || !side_.Connect)
        return;
    side_.Connect->SetReason(reason);
    bool confirmed = false;
    const QString address = side_.RunConnect(&confirmed);
    side_.Connect->SetReason(QString());
    if (!confirmed || session_.Active())
        return;
    SetDealerAddress(address);
    session_.Open();
}

void TMainForm::SetDealerAddress(const QString& text)
{
    const std::optional<TDealerAddress> address = ParseDealerAddress(text, gamePort_);
    link_.SetHost(address ? address->host : text.trimmed());
    link_.SetPort(address ? address->port : gamePort_);
}

QString TMainForm::DealerAddressText()
{
    const QString host = session_.Host();
    const quint16 port = link_.Port();
    if (port == kGamePort)
        return host;
    return (host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host) +
           QStringLiteral(":%1").arg(port);
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
    QWidget* score = side_.ScoreWindow();
    QWidget* penalty = side_.PenaltyWindow();
    if (!score && !penalty)
        return;
    // They keep the size they have beside the smallest main window, whatever its size now;
    // the user does not resize them.
    const QSize design(800 - table::WindowSize().width(), table::WindowSize().height() / 2);
    const QRect frame = frameGeometry();
    // A window not yet shown has no frame: the main window's stands in for it.
    const QPoint clientOffset = geometry().topLeft() - frame.topLeft();
    const QSize decoration = frame.size() - size();
    const auto frameSize = [&](QWidget* w) {
        return w ? (w->isVisible() ? w->frameGeometry().size() : design + decoration) : QSize(0, 0);
    };
    const QScreen* screen = this->screen();
    const QRect available = screen ? screen->availableGeometry() : frame;
    const QRect inside(table_->mapToGlobal(QPoint(0, panel_->height())),
                       QSize(table_->width(), table_->height() - panel_->height()));
    const TSidePlaces places = ::PlaceSideWindows(available, frame, inside, frameSize(score), frameSize(penalty));
    const auto put = [&](QWidget* w, QPoint frameTopLeft) {
        if (!w)
            return;
        w->setFixedSize(design);
        const QPoint offset = w->isVisible() ? w->geometry().topLeft() - w->frameGeometry().topLeft() : clientOffset;
        w->setGeometry(QRect(frameTopLeft + offset, design));
    };
    put(score, places.score);
    put(penalty, places.penalty);
}

void TMainForm::moveEvent(QMoveEvent* e)
{
    QMainWindow::moveEvent(e);
    // The score table and the taken-cards window stay docked at the right edge.
    if (!firstActivation_)
        PlaceSideWindows();
    SaveGeometrySoon();
}

void TMainForm::ReadSettings()
{
    // The name fills the welcome dialog and stays the user's name unless the dialog gives another.
    const QString name = ReadRegString(kRegKey, kRegUserName, LoginName());
    side_.FillWelcome(name, ReadRegBool(kRegKey, kRegIamDealer, kDefIamDealer));
    SetChecked("Sesli1", ReadRegBool(kRegKey, kRegSound, kDefSound));
    SetChecked("Hzl1", ReadRegBool(kRegKey, kRegQuick, kDefQuick));
    SetChecked("Oyunsaatynndedner1", ReadRegBool(kRegKey, kRegClockwise, kDefClockwise));
    SetChecked("Yerimebilgisayaroynasn1",
               ReadRegBool(kRegKey, kRegComputerPlayer, kDefComputerPlayer));
    SetChecked("Tekkartkendisioynasn1", ReadRegBool(kRegKey, kRegPlaySingleCard, kDefPlaySingleCard));
    SetChecked("Elleracik1", ReadRegBool(kRegKey, kRegOpenHands, kDefOpenHands));
    const bool usta = ReadRegInteger(kRegKey, kRegComputerLevel, kDefComputerLevel) ==
                      static_cast<int>(TComputerLevel::Usta);
    SetChecked("Acemi1", !usta);
    SetChecked("Usta1", usta);
    Action("Bunubilgisayaroynasn1")->setEnabled(!IsChecked("Yerimebilgisayaroynasn1"));
    sounds_->SetEnabled(IsChecked("Sesli1"));
    session_.UserName = name;
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
    ReadSettings();
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
    if (!name.isEmpty()) {
        session_.UserName = name;
        WriteRegString(kRegKey, kRegUserName, name);
    }
    session_.IsDealer = dealer;
    show();
    ShowSideWindows();
    session_.ForgetSeat();
    if (IsChecked("Hzl1"))
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
    link_.SetHost(QStringLiteral("localhost"));
    Menu("&Oyun")->setEnabled(true);
    Action("YeniOyuncularBekle1")->setEnabled(true);
    Action("YenidenBalan1")->setEnabled(false);
    link_.SetPort(dealer_->Port());
    session_.Open();
    ApplyQuick(false);
}

void TMainForm::StartAsPlayer(const QString& name, const QString& host)
{
    PrepareStart(name, false);
    // Without a host given, the connection dialog asks for it (its address is used as it
    // stands when it closes).
    SetDealerAddress(host.isEmpty() && side_.Connect ? side_.RunConnect(nullptr) : host);
    Menu("&Oyun")->setEnabled(false);
    Action("YeniOyuncularBekle1")->setEnabled(false);
    Action("YenidenBalan1")->setEnabled(true);
    session_.Open();
    ApplyQuick(false);
}

void TMainForm::StartDealer()
{
    dealer_.reset();
    TDealerOptions options = dealerOptions_;
    options.Port = gamePort_;
    options.Quick = IsChecked("Hzl1");
    options.OpenHands = options.OpenHands || IsChecked("Elleracik1");
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

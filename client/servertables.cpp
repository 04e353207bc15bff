#include "servertables.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include "dealertext.h"
#include "move.h"
#include "prompts.h"
#include "recordtext.h"
#include "seatmodel.h"
#include "session.h"
#include "statusline.h"
#include "tablelayout.h"
#include "tablesform.h"
#include "tableview.h"

namespace {

// The turn clocks the host may choose: seconds for a card and for a contract.
constexpr int kClockChoices[][2] = {{0, 0}, {15, 30}, {30, 45}, {60, 90}, {120, 180}};

} // namespace

TServerTables::TServerTables(QMainWindow* window, TSession& session, TSeatModel& model, TTableView& view,
                             TStatusLine& status)
    : QObject(window), window_(window), session_(session), model_(model), view_(view), status_(status),
      form_(new TTablesForm(window)), countdownLabel_(new QLabel(&view))
{
    // Our program asks a server of many tables for its list before it takes any seat.
    session_.TablesFirst = true;
    form_->setWindowFlag(Qt::Window); // a window of its own beside the table, not a box
    BuildMenu();
    WireForm();

    countdownLabel_->setObjectName(QStringLiteral("TurnCountdown"));
    countdownLabel_->setAlignment(Qt::AlignCenter);
    countdownLabel_->setStyleSheet(QStringLiteral(
        "QLabel { background: #fff3b0; color: #5a3b00; border: 1px solid #b08a00; border-radius: 4px;"
        " padding: 1px 6px; }"));
    countdownLabel_->hide();
    clock_.start();
    tick_.setSingleShot(true);
    connect(&tick_, &QTimer::timeout, this, &TServerTables::ShowCountdown);
    connect(&session_, &TSession::turnTime, this, &TServerTables::TurnTime);
    connect(&model_, &TSeatModel::changed, this, [this] {
        // Another seat's turn: what was counted is over (a computer's move is not timed).
        if (countdown_.Running() && AwaitedSeat(model_.Record()) != countdown_.Seat())
            countdown_.Clear();
        ShowCountdown();
    });
    connect(&session_, &TSession::disconnected, this, [this] {
        countdown_.Clear();
        ShowCountdown();
    });
    view_.installEventFilter(this); // the names move when the table is zoomed
}

bool TServerTables::eventFilter(QObject* watched, QEvent* event)
{
    // The view places its names in its own handler, after this one.
    if (watched == &view_ && event->type() == QEvent::Resize && countdown_.Running())
        QTimer::singleShot(0, this, &TServerTables::ShowCountdown);
    return QObject::eventFilter(watched, event);
}

TServerTables::~TServerTables() = default;

// ---- The "Masa" menu ----

void TServerTables::BuildMenu()
{
    menu_ = new QMenu(tr("&Masa"), window_);
    menu_->setObjectName(QStringLiteral("MasaMenu"));
    // Before "Yardım", the last menu.
    const QList<QAction*> menus = window_->menuBar()->actions();
    window_->menuBar()->insertMenu(menus.isEmpty() ? nullptr : menus.back(), menu_);
    tables_ = menu_->addAction(tr("Masalar..."));
    menu_->addSeparator();
    seatToComputer_ = menu_->addAction(tr("Bir oyuncunun yerine bilgisayar oynasın..."));
    removePlayer_ = menu_->addAction(tr("Bir oyuncuyu bu oyundan çıkar..."));
    lock_ = menu_->addAction(tr("Masayı kilitle"));
    lock_->setCheckable(true);
    turnClock_ = menu_->addAction(tr("Hamle süresi..."));

    connect(tables_, &QAction::triggered, this, [this] {
        showList_ = true;
        ShowForm();
        session_.ListTables();
    });
    connect(seatToComputer_, &QAction::triggered, this, [this] {
        ChooseSeatThen(tr("Yerine bilgisayar oynayacak oyuncu:"), false);
    });
    connect(removePlayer_, &QAction::triggered, this, [this] {
        ChooseSeatThen(tr("Bu oyundan çıkarılacak oyuncu:"), true);
    });
    connect(lock_, &QAction::triggered, this, [this](bool locked) { session_.SendLockTable(locked); });
    connect(turnClock_, &QAction::triggered, this, &TServerTables::ChooseTurnClock);
    for (auto signal : {&TSession::connecting, &TSession::disconnected})
        connect(&session_, signal, this, &TServerTables::UpdateMenu);
    connect(&session_, &TSession::joinAccepted, this, [this] {
        lock_->setChecked(false); // a table starts open
        UpdateMenu();
    });
    UpdateMenu();
}

void TServerTables::UpdateMenu()
{
    tables_->setEnabled(session_.ServerHasTables());
    // The host's acts, where the table knows them.
    const bool host = session_.Seated() && session_.IsHost() &&
                      (session_.Joined.Flags & TJoinExtension::kKnowsMessages) && session_.Active();
    for (QAction* act : {seatToComputer_, removePlayer_, lock_, turnClock_})
        act->setEnabled(host);
}

template <typename Act>
void TServerTables::AskAsHost(const QString& caption, const QStringList& items, Act act)
{
    if (!prompts_)
        return;
    connect(prompts_->AskChoice(window_, caption, items), &TPromptReply::finished, this,
            [this, items, act, table = session_.AtTable()](TPromptAnswer answer, const QString& chosen) {
        const qsizetype at = answer == TPromptAnswer::Yes ? items.indexOf(chosen) : -1;
        if (at >= 0 && session_.Seated() && session_.IsHost() && session_.AtTable() == table)
            act(int(at));
    });
}

void TServerTables::ChooseSeatThen(const QString& caption, bool remove)
{
    QStringList names;
    QList<int> seats;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const QString name = RecordText(model_.Record().PlayerName[seat], int(kNameSize));
        if (seat != session_.MySeat && !name.isEmpty())
            names << name, seats << seat;
    }
    if (names.isEmpty())
        return;
    // The act is only for the player chosen: someone else may have taken the seat meanwhile.
    AskAsHost(caption, names, [this, names, seats, remove](int at) {
        const int seat = seats[at];
        if (RecordText(model_.Record().PlayerName[seat], int(kNameSize)) != names[at])
            return;
        if (remove)
            session_.SendRemovePlayer(seat);
        else
            session_.SendSeatToComputer(seat);
    });
}

void TServerTables::ChooseTurnClock()
{
    QStringList items;
    for (const auto& [cardS, contractS] : kClockChoices)
        items << (cardS == 0 ? tr("Süre yok") : tr("Kağıt %1 sn, oyun seçimi %2 sn").arg(cardS).arg(contractS));
    AskAsHost(tr("Hamle süresi:"), items, [this](int at) { session_.SendTurnClock(kClockChoices[at][0], kClockChoices[at][1]); });
}

// ---- The "Masalar" window ----

void TServerTables::WireForm()
{
    connect(&session_, &TSession::tableList, this, &TServerTables::TablesArrived);
    connect(form_, &TTablesForm::refresh, this, [this] {
        showList_ = true;
        session_.ListTables();
    });
    connect(form_, &TTablesForm::createTable, this, [this](const TTableSettings& settings) {
        LeaveThen([this, settings] {
            form_->SetMessage(tr("Masa kuruluyor..."));
            session_.CreateTable(settings);
        });
    });
    connect(form_, &TTablesForm::joinTable, this, [this](const QByteArray& code) {
        LeaveThen([this, code] {
            form_->SetMessage(tr("%1 masasına katılınıyor...").arg(TableName(code)));
            session_.JoinTable(code);
        });
    });
    connect(form_, &TTablesForm::watchTable, this, [this](const QByteArray& code) {
        LeaveThen([this, code] { session_.WatchTable(code); });
    });
    connect(&session_, &TSession::tableCreated, this, [this](bool ok, const QString& text) {
        if (!ok)
            form_->SetMessage(DealerText(text));
    });
    connect(&session_, &TSession::watching, this, [this](bool ok, const QString& text) {
        if (!ok)
            return form_->SetMessage(DealerText(text));
        form_->hide();
        status_.SetText(tr("%1 masasını izliyorsun.").arg(TableName(text.toLatin1())));
        UpdateMenu();
    });
    connect(&session_, &TSession::joinAccepted, this, [this] {
        if (!session_.Joined.TableCode.isEmpty()) {
            form_->SetMessage(QString());
            form_->hide();
        }
    });
}

void TServerTables::TablesArrived(const QList<TTableListing>& tables)
{
    listed_ = tables;
    form_->ProposeName(tr("%1 masası").arg(session_.UserName));
    form_->SetMessage(QString());
    form_->SetTables(tables);
    UpdateMenu();
    if (session_.InLobby()) {
        status_.SetText(tr("Sunucuda %1 masa var: \"Masalar\" penceresinden birine katıl ya da yeni bir masa kur.")
                            .arg(tables.size()));
        showList_ = true;
    }
    if (std::exchange(showList_, false)) {
        ShowForm();
    }
}

void TServerTables::ShowForm()
{
    // The first time over the middle of the table; later where the user left it.
    if (!form_->isVisible() && !placed_) {
        placed_ = true;
        form_->adjustSize();
        QPoint at = window_->frameGeometry().center() - form_->rect().center();
        if (const QScreen* screen = window_->screen()) {
            const QRect room = screen->availableGeometry();
            at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - form_->width())));
            at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - form_->height())));
        }
        form_->move(at);
    }
    form_->show();
    form_->raise();
    form_->activateWindow();
}

QString TServerTables::TableName(const QByteArray& code) const
{
    for (const TTableListing& t : listed_)
        if (t.Code == code)
            return t.Settings.Name;
    return QString::fromLatin1(code);
}

template <typename Go>
void TServerTables::LeaveThen(Go go)
{
    const uint8_t phase = model_.Record().Phase;
    const bool playing = session_.Seated() && (phase == psChoosing || phase == psPlaying || phase == psTrickComplete);
    if (!playing || !prompts_)
        return go();
    const QString question =
        tr("Oyun devam ediyor...\n\nBu masadan ayrılırsan yerine bilgisayar oynar. Ayrılmak istiyor musun?");
    connect(prompts_->Ask(window_, question), &TPromptReply::finished, this, [go](TPromptAnswer yes) {
        if (yes == TPromptAnswer::Yes)
            go();
    });
}

// ---- The countdown ----

void TServerTables::TurnTime(int seat, int msLeft)
{
    countdown_.Start(seat, msLeft, clock_.elapsed());
    ShowCountdown();
}

void TServerTables::ShowCountdown()
{
    const qint64 now = clock_.elapsed();
    const int seconds = countdown_.SecondsLeft(now);
    if (seconds <= 0) {
        tick_.stop();
        countdownLabel_->hide();
        return;
    }
    const QLabel* name = view_.NameLabel(view_.RelativePosition(countdown_.Seat()));
    QFont font = name->font(); // as large as the names, which grow with the table
    font.setPointSizeF(font.pointSizeF() * 0.85);
    font.setBold(true);
    countdownLabel_->setFont(font);
    countdownLabel_->setText(tr("%1 sn kaldı").arg(seconds));
    countdownLabel_->adjustSize();
    // Centred under the name of the seat that is to move, or over it for the user's own.
    const int position = view_.RelativePosition(countdown_.Seat());
    const QRect place = name->geometry();
    const QSize size = countdownLabel_->sizeHint();
    const int left = place.center().x() - size.width() / 2;
    QPoint at = position == table::kBottom ? QPoint(left, place.top() - size.height() - 2) : QPoint(left, place.bottom() + 3);
    at.setX(std::clamp(at.x(), 0, std::max(0, view_.width() - size.width())));
    at.setY(std::clamp(at.y(), 0, std::max(0, view_.height() - size.height())));
    countdownLabel_->move(at);
    countdownLabel_->show();
    countdownLabel_->raise();
    tick_.start(int(countdown_.NextChangeMs(now) - now));
}

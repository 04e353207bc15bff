// The table's connections and seats: joining, unique names, computer seats, refusals; its
// timers and the messages it sends.
#include "table.h"
#include "privatehands.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "cp1254.h"
#include "payload.h"
#include "seatnames.h"

// Its lines are information: shown by zorbela-dealer, silent in the program unless asked
// for (QT_LOGGING_RULES="zorbela.dealer.info=true").
Q_LOGGING_CATEGORY(lcDealer, "zorbela.dealer", QtWarningMsg)

TTable::TTable(TTableLink& link, TTableClock& clock, TTableFiles& files, const TTableOptions& options)
    : link_(link),
      clock_(clock),
      files_(files),
      ownRandom_(TRandom::System()),
      random_(options.Random ? options.Random : &ownRandom_),
      trickResolveExtraMs_(options.TrickResolveExtraMs),
      joinTimeoutMs_(options.JoinTimeoutMs),
      probeMs_(options.ProbeMs),
      computerName_(options.ComputerName),
      openHands_(options.OpenHands),
      hostSendsRecords_(options.HostSendsRecords),
      gamesFolder_(options.GamesFolder),
      seatKeys_(options.SeatKeys),
      store_(options.Store),
      level_(options.Level),
      name_(options.Name),
      default_(options.Default),
      code_(options.Code),
      source_(options.ComputerLevel ? options.ComputerLevel(*random_) : std::make_unique<TAcemiSource>(*random_))
{
    ApplyQuick(options.Quick);
    InitGameInfo(game_);
    turnClock_.Set(options.TurnClock);

    // Three numbers below 10 are drawn and discarded, as the dealer always has: a table
    // replayed from a seed deals the games it always dealt.
    for (int i = 0; i < 3; ++i)
        random_->Next(10);
}

TTable::~TTable() = default;

void TTable::ApplyQuick(bool quick)
{
    // A timer that runs is restarted with its new interval.
    const auto set = [this](TTableTimer& timer, int interval) {
        timer.Interval = interval;
        if (timer.isActive())
            timer.At = clock_.NowMs() + interval;
    };
    quick_ = quick;
    set(computerMoveTimer_, ComputerPaceMs());
    set(trickWinnerTimer_, quick ? kQuickTrickWinnerMs : kTrickWinnerMs);
    set(trickClearTimer_, quick ? kQuickTrickClearMs : kTrickClearMs);
    set(trickResolveTimer_, trickWinnerTimer_.Interval + trickClearTimer_.Interval + trickResolveExtraMs_);
    Reschedule();
}

void TTable::SetMoveSource(std::unique_ptr<TMoveSource> source)
{
    source_ = std::move(source);
    Changed();
    thinkTimes_.fill(0);
    computerMoveTimer_.Interval = ComputerPaceMs();
}

int TTable::ComputerPaceMs() const
{
    // What the computer's decisions nominally take, and what the slowest of the recent ones
    // really took, with a margin: a busy machine thinks slower than the nominal time.
    const int slowest = *std::max_element(thinkTimes_.begin(), thinkTimes_.end());
    return std::max({quick_ ? kQuickComputerMoveMs : kComputerMoveMs, source_->ThinkMs(), slowest + slowest / 4});
}

// ---- Time ----

void TTable::Start(TTableTimer& timer)
{
    timer.At = clock_.NowMs() + timer.Interval;
    Reschedule();
}

void TTable::Stop(TTableTimer& timer)
{
    timer.At = -1;
}

void TTable::Reschedule()
{
    if (ticking_)
        return; // Tick asks once it is done
    qint64 next = -1;
    const auto consider = [&next](qint64 at) {
        if (at >= 0 && (next < 0 || at < next))
            next = at;
    };
    for (const TTableTimer* timer :
         {&computerMoveTimer_, &trickWinnerTimer_, &trickClearTimer_, &trickResolveTimer_, &turnTimer_})
        consider(timer->At);
    for (const TConnection& connection : connections_)
        consider(connection.JoinBy);
    for (const TProbe& probe : probes_)
        consider(probe.Until);
    consider(newsAt_);
    clock_.WakeAt(next);
}

void TTable::Tick()
{
    if (closed_)
        return; // the server stops: the table stays as it was kept
    ticking_ = true;
    // Every due timer fires, the earliest first; at the same moment in the order below.
    const std::array<std::pair<TTableTimer*, void (TTable::*)()>, 5> timers{{
        {&trickWinnerTimer_, &TTable::TrickWinnerTick},
        {&trickClearTimer_, &TTable::TrickClearTick},
        {&trickResolveTimer_, &TTable::TrickResolveTick},
        {&computerMoveTimer_, &TTable::ComputerMoveTick},
        {&turnTimer_, &TTable::TurnClockTick},
    }};
    for (int guard = 0; guard < 1000; ++guard) {
        const qint64 now = clock_.NowMs();
        std::pair<TTableTimer*, void (TTable::*)()> due{nullptr, nullptr};
        for (const auto& timer : timers)
            if (timer.first->isActive() && timer.first->At <= now && (!due.first || timer.first->At < due.first->At))
                due = timer;
        if (!due.first)
            break;
        (this->*due.second)();
    }
    JoinTimeouts();
    ProbeTimeouts();
    NewsTimeout();
    ticking_ = false;
    Reschedule();
    Keep();
}

// ---- Messages ----

void TTable::Send(TConnectionId id, TPacketType type, const QByteArray& payload)
{
    link_.Send(id, type, payload);
}

void TTable::SendSeatName(TConnectionId id, int seat, const QString& name)
{
    Send(id, SEAT_NAME, TPayloadWriter().Byte(uint8_t(seat)).Text(name).Bytes());
}

void TTable::SendText(TConnectionId id, TPacketType type, const QString& text)
{
    Send(id, type, TPayloadWriter().Text(text).Bytes());
}

void TTable::SendRecord(TConnectionId id)
{
    // Each player sees its own hand; the other hands hold the cards nobody has seen yet.
    const TGameInfo& sent = openHands_ ? game_ : PrivateRecord(game_, SeatOf(id));
    Send(id, GAME_RECORD, TPayloadWriter().Record(sent).Bytes());
}

void TTable::Log(const QString& line)
{
    qCInfo(lcDealer).noquote() << line;
    emit Event(line);
}

void TTable::Drop(const char* message, const QString& why)
{
    Log(QStringLiteral("dropped %1: %2").arg(QLatin1String(message), why));
}

QString TTable::Peer(TConnectionId id) const
{
    const auto it = connections_.constFind(id);
    if (it == connections_.constEnd())
        return QStringLiteral("connection %1").arg(id);
    return it->Host + QLatin1Char(':') + QString::number(it->Port);
}

// ---- Seats ----

int TTable::SeatOf(TConnectionId id) const
{
    if (id == kNoConnection)
        return kNoSeat;
    for (const SeatEntry& entry : seats_)
        if (entry.Kind == SeatEntry::Human && entry.Connection == id)
            return entry.Seat;
    return kNoSeat;
}

QList<TConnectionId> TTable::HumanConnections() const
{
    QList<TConnectionId> connections;
    for (const SeatEntry& entry : seats_)
        if (entry.Kind == SeatEntry::Human && entry.Connection != kNoConnection)
            connections.append(entry.Connection);
    return connections;
}

TConnectionId TTable::OwnUser() const
{
    if (seats_.isEmpty() || seats_.front().Seat != 0 || seats_.front().Kind != SeatEntry::Human)
        return kNoConnection;
    return seats_.front().Connection;
}

int TTable::FreeSeat() const
{
    int seat = 0;
    for (const SeatEntry& entry : seats_) { // in seat order
        if (entry.Seat != seat)
            break;
        ++seat;
    }
    return seat;
}

void TTable::SendMissing()
{
    if (const TConnectionId own = OwnUser())
        SendText(own, STATUS_TEXT,
                 QStringLiteral("Oyuna başlamak için %1 kişi bekleniyor... (Mevcut oyuncularla "
                                "başlamak için F2 tuşuna basın)")
                     .arg(kSeatCount - SeatCount()));
}

void TTable::Connected(TConnectionId id, const QString& host, quint16 port)
{
    if (closed_)
        return; // the server stops: the table stays as it was kept
    TConnection& connection = connections_[id];
    connection.Host = host;
    connection.Port = port;
    Log(QStringLiteral("connection from %1").arg(Peer(id)));
    // A full table still waits for the join of a connection that may take back a seat
    // whose player dropped, or that comes from the address of a seated player.
    if (SeatCount() >= kSeatCount && !SeatDropped() && !SeatFromSameAddress(id)) {
        Refuse(id);
    } else {
        connection.JoinBy = clock_.NowMs() + joinTimeoutMs_;
        Reschedule();
    }
}

void TTable::Refuse(TConnectionId id, const QString& why)
{
    Log(QStringLiteral("table full: refusing %1").arg(Peer(id)));
    if (auto it = connections_.find(id); it != connections_.end()) {
        it->Refused = true;
        it->JoinBy = -1;
    }
    // The connection is closed once TABLE_FULL has arrived, so that the player learns why.
    Send(id, TABLE_FULL, why.isEmpty() ? QByteArray() : TPayloadWriter().Text(why).Bytes());
    link_.Close(id, true);
}

void TTable::Disconnected(TConnectionId id)
{
    if (closed_)
        return; // the server stops: the table stays as it was kept
    told_.remove(id);
    if (watchers_.contains(id))
        return Unwatch(id);
    const QString peer = Peer(id);
    connections_.remove(id);
    for (TProbe& probe : probes_) {
        if (probe.Newcomer == id)
            probe.Newcomer = kNoConnection;
        if (probe.Old == id)
            probe.Until = clock_.NowMs(); // gone: the newcomer's turn at once
    }
    for (qsizetype i = 0; i < seats_.size(); ++i) {
        if (seats_[i].Kind == SeatEntry::Human && seats_[i].Connection == id) {
            if (SeatCount() < kSeatCount)
                FreeSeatOf(int(i));
            else
                ComputerTakesOver(seats_[i]);
            Reschedule();
            Keep();
            return;
        }
    }
    Log(QStringLiteral("connection closed: %1").arg(peer));
    Reschedule();
}

void TTable::Received(TConnectionId id, TPacketType type, const uint8_t* buf, int32_t count)
{
    if (closed_)
        return; // the server stops: the table stays as it was kept
    if (watchers_.contains(id))
        return Drop("a watcher's message", QStringLiteral("type %1 from %2").arg(int(type)).arg(Peer(id)));
    Handle(id, type, buf, count);
    Keep();
}

void TTable::Handle(TConnectionId id, TPacketType type, const uint8_t* buf, int32_t count)
{
    const int seat = SeatOf(id);
    if (type == CARD_PLAY || type == CONTRACT_CHOICE || type == CHAT_TEXT)
        PlayerActs(seat);
    switch (static_cast<uint8_t>(type)) {
    case JOIN_REQUEST:
        JoinRequest(id, buf, count);
        return;
    case START_NOW:
        if (id != OwnUser())
            return Drop("START_NOW", QStringLiteral("not from the dealer's own user"));
        StartNow();
        return;
    case GAME_RECORD:
        GameRecordMessage(seat, buf, count);
        return;
    case CHAT_TEXT:
        ChatText(seat, buf, count);
        return;
    case NEW_GAME:
        NewGameMessage(seat);
        return;
    case CONTRACT_CHOICE:
        ContractChoice(seat, buf, count);
        return;
    case CARD_PLAY:
        CardPlay(seat, buf, count);
        return;
    case WAIT_FOR_PLAYERS:
        WaitForPlayers(seat);
        return;
    case SAVE_GAME:
    case LOAD_GAME:
    case LIST_GAMES:
    case SEAT_TO_COMPUTER:
    case REMOVE_PLAYER:
    case LOCK_TABLE:
    case SET_TURN_CLOCK:
        // Ours only from a program that announced them; from any other, unknown as before.
        if (std::any_of(seats_.begin(), seats_.end(), [id](const SeatEntry& e) { return e.Connection == id && e.Extended; }))
            return IsHostAct(type) ? HostAct(id, type, buf, count) : HostMessage(id, type, buf, count);
        [[fallthrough]];
    default:
        Log(QStringLiteral("unknown message type %1 from %2").arg(int(type)).arg(Peer(id)));
        // Only a seated player's program shows the dealer's user a box; a stranger's
        // messages are in the log alone.
        if (seat != kNoSeat)
            link_.Notice(QStringLiteral("Dealer: Bilinmeyen bir paket alındı"));
        return;
    }
}

void TTable::JoinRequest(TConnectionId id, const uint8_t* buf, int32_t count)
{
    if (SeatOf(id) != kNoSeat)
        return Drop("JOIN_REQUEST", QStringLiteral("the connection holds a seat already"));
    const auto it = connections_.constFind(id);
    if (it != connections_.constEnd() && it->Refused)
        return Drop("JOIN_REQUEST", QStringLiteral("the table is full"));
    if (std::any_of(probes_.begin(), probes_.end(), [id](const TProbe& p) { return p.Newcomer == id; }))
        return Drop("JOIN_REQUEST", QStringLiteral("its seat's old connection is being asked"));
    TPayloadReader reader(buf, count);
    QByteArray name;
    if (!reader.Text(name))
        return Drop("JOIN_REQUEST", QStringLiteral("payload too short"));
    TJoinExtension extension; // all zero from a program that adds nothing to the name
    ReadJoinRequestExtension(buf, count, extension);
    if (SeatCount() >= kSeatCount) {
        if (!Rejoin(id, name, extension))
            Refuse(id);
        return;
    }
    if (locked_) {
        Log(QStringLiteral("the table is locked"));
        return Refuse(id);
    }

    SeatEntry entry;
    entry.Connection = id;
    entry.Seat = uint8_t(FreeSeat());
    entry.Kind = SeatEntry::Human;
    entry.Name = name;
    entry.Requested = FitSeatName(name);
    GiveKey(entry, id, extension);
    AddSeat(entry);

    // The others learn of the newcomer now or with the next telling (everyone knows every
    // name before the first record); the newcomer learns how things stand at once.
    MarkTold(id);
    TellNews(SeatCount() == kSeatCount);
    const int newSeat = entry.Seat;
    SendSeatName(id, newSeat, FromCp1254(SeatNameInRecord(game_, newSeat)));
    if (newSeat == 0)
        SendMissing();
    Send(id, JOIN_ACCEPTED, JoinAcceptedPayload(entry));
    for (const SeatEntry& other : seats_)
        if (other.Seat != newSeat)
            SendSeatName(id, other.Seat, FromCp1254(SeatNameInRecord(game_, other.Seat)));
    SendTurnTime(entry);
}

void TTable::StartNow()
{
    if (SeatCount() >= kSeatCount)
        return Drop("START_NOW", QStringLiteral("the table is full"));
    while (SeatCount() < kSeatCount) {
        ++computerCount_;
        SeatEntry entry;
        entry.Seat = uint8_t(FreeSeat());
        entry.Kind = SeatEntry::Computer;
        entry.Name = computerName_ + QByteArray::number(computerCount_);
        AddSeat(entry);
    }
    TellNews(true);
}

void TTable::AddSeat(SeatEntry entry)
{
    QList<QByteArray> taken;
    if (entry.Kind == SeatEntry::Human) {
        // A player never looks like a free seat or like a computer seat.
        taken.append(QByteArray());
        for (const QByteArray& computer : {QByteArray("Acemi"), QByteArray("Usta"), computerName_})
            for (int n = 1; n < kSeatCount; ++n)
                taken.append(computer + QByteArray::number(n));
    }
    qsizetype at = 0; // the seat list stays in seat order
    for (const SeatEntry& other : seats_) {
        taken.append(SeatNameInRecord(game_, other.Seat));
        at += other.Seat < entry.Seat;
    }
    entry.Name = UniqueSeatName(entry.Name, taken);

    seats_.insert(at, entry);
    if (auto it = connections_.find(entry.Connection); it != connections_.end())
        it->JoinBy = -1;
    if (SeatCount() < kSeatCount)
        game_.Phase = psWaiting;
    char* field = game_.PlayerName[entry.Seat];
    std::memset(field, 0, kNameSize);
    std::memcpy(field, entry.Name.constData(), std::size_t(entry.Name.size()));

    Log(QStringLiteral("seat %1: %2 (%3)")
            .arg(entry.Seat)
            .arg(FromCp1254(entry.Name), entry.Kind == SeatEntry::Human ? QStringLiteral("player") : QStringLiteral("computer")));
}

#include "tablehouse.h"

#include <algorithm>

#include "cp1254.h"
#include "dealerlevel.h"
#include "payload.h"
#include "seatnames.h"

// One table of the house, and the ports the table talks to.
struct TTableHouse::TSlot final : TTableLink, TTableClock, TTableFiles {
    TSlot(TTableHouse& house, const QByteArray& code, const TTableSettings& settings, bool isDefault)
        : House(house), Code(code), Settings(settings), Default(isDefault)
    {
    }

    TTableHouse& House;
    QByteArray Code;
    TTableSettings Settings;
    bool Default;
    qint64 Wake = -1;
    qint64 EmptySince = -1; // -1 while a connection of the house is at the table
    int Guests = 0;
    TTableListing Listed;
    std::unique_ptr<TTable> Table;

    void Send(TConnectionId id, TPacketType type, const QByteArray& payload) override { House.link_.Send(id, type, payload); }
    void Close(TConnectionId id, bool afterDelivery) override { House.link_.Close(id, afterDelivery); }
    void Probe(TConnectionId id) override { House.link_.Probe(id); }
    int Backlog(TConnectionId id) const override { return House.link_.Backlog(id); }
    qint64 BacklogBytes(TConnectionId id) const override { return House.link_.BacklogBytes(id); }
    // A server shows nobody a box: the notice goes into the log.
    void Notice(const QString& text) override { House.Log(QStringLiteral("table %1: %2").arg(QString::fromLatin1(Code), text)); }
    qint64 NowMs() const override { return House.clock_.NowMs(); }
    void WakeAt(qint64 atMs) override { House.Schedule(*this, atMs); }
    // Only the default table writes "LastHand.rvo"; each other table's record lives with it.
    QString WriteLastHand(const TGameInfo& g) override
    {
        return Default ? House.lastHand_.WriteLastHand(g) : QStringLiteral("(table %1: not written)").arg(QString::fromLatin1(Code));
    }
};

namespace {

// A table's name obeys the rules of a seat's name: code page 1254 bytes that fit the
// record's name field; and it must show something, with no control characters.
bool IsTableName(const QString& name)
{
    const QByteArray bytes = ToCp1254(name);
    return !name.trimmed().isEmpty() && FitSeatName(bytes) == bytes
        && std::none_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace

TTableHouse::TTableHouse(int index, THouseLink& link, TTableClock& clock, TTableFiles& lastHand,
                         TTableDirectory& directory, const THouseOptions& options)
    : index_(index), link_(link), clock_(clock), lastHand_(lastHand), directory_(directory), options_(options)
{
    nextHousekeeping_ = clock_.NowMs() + options_.HousekeepingMs;
    const auto kept = std::find_if(options_.Kept.begin(), options_.Kept.end(), [](const TTableState& t) { return t.Default; });
    if (index_ == 0 && options_.DefaultTable && kept != options_.Kept.end()) {
        RestoreTable(*kept);
    } else if (index_ == 0 && options_.DefaultTable) {
        TTableSettings settings;
        settings.Name = options_.DefaultName;
        settings.Level = options_.Table.ComputerName == "Usta" ? 1 : 0;
        settings.CardS = uint16_t(options_.Table.TurnClock.CardS);
        settings.ContractS = uint16_t(options_.Table.TurnClock.ContractS);
        settings.Flags = TTableSettings::kDefault | (options_.Table.OpenHands ? 0 : TTableSettings::kPrivateHands);
        QByteArray code;
        do
            code = NewTableCode();
        while (directory_.HouseOf(code) >= 0);
        directory_.SetDefaultCode(code);
        MakeTable(code, settings, true);
    }
    for (const TTableState& state : options_.Kept)
        if (!state.Default)
            RestoreTable(state);
    options_.Kept.clear();
    WakeHouse();
}

void TTableHouse::RestoreTable(const TTableState& state)
{
    const QByteArray code = state.Code.toLatin1();
    if (code.isEmpty() || directory_.HouseOf(code) >= 0)
        return Log(QStringLiteral("a kept table without a code of its own is not restored"));
    TTableSettings settings;
    settings.Name = state.Name;
    settings.Level = state.Level;
    settings.CardS = uint16_t(state.TurnClock.CardS);
    settings.ContractS = uint16_t(state.TurnClock.ContractS);
    settings.Flags = uint8_t((state.OpenHands ? 0 : TTableSettings::kPrivateHands) | (state.Default ? TTableSettings::kDefault : 0));
    if (state.Default) {
        directory_.SetDefaultCode(code);
    } else {
        TTableListing listing;
        listing.Code = code;
        listing.Settings = settings;
        directory_.Add(code, index_, listing);
    }
    TSlot& slot = MakeTable(code, settings, state.Default);
    slot.Table->Restore(state);
    Refresh(slot);
}

void TTableHouse::Closing()
{
    for (const auto& [code, slot] : tables_)
        slot->Table->Closing();
}

TTableHouse::~TTableHouse()
{
    for (const auto& [code, slot] : tables_)
        directory_.Remove(code);
}

TTable* TTableHouse::Table(const QByteArray& code) const
{
    const auto it = tables_.find(code);
    return it == tables_.end() ? nullptr : it->second->Table.get();
}

void TTableHouse::Log(const QString& line) const
{
    qCInfo(lcDealer).noquote() << line;
}

// ---- Tables ----

TTableHouse::TSlot& TTableHouse::MakeTable(const QByteArray& code, const TTableSettings& settings, bool isDefault)
{
    TTableOptions table = options_.Table;
    table.Code = code;
    table.Name = settings.Name;
    table.Default = isDefault;
    if (!isDefault) {
        // The creator chose these; saved games and whole records stay with the default table.
        table.TurnClock = {settings.CardS, settings.ContractS};
        SetComputerLevel(table, settings.Level == 1 ? TComputerLevel::Usta : TComputerLevel::Acemi);
        table.OpenHands = !(settings.Flags & TTableSettings::kPrivateHands);
        table.GamesFolder.clear();
        table.HostSendsRecords = false;
    } else if (settings.Level != table.Level) {
        // A kept default table keeps its own level, whatever the command line says now.
        SetComputerLevel(table, settings.Level == 1 ? TComputerLevel::Usta : TComputerLevel::Acemi);
    }
    auto slot = std::make_unique<TSlot>(*this, code, settings, isDefault);
    TSlot& made = *slot;
    tables_[code] = std::move(slot);
    made.EmptySince = clock_.NowMs();
    made.Listed.Code = code;
    made.Listed.Settings = settings;
    if (isDefault)
        directory_.Add(code, index_, made.Listed);
    made.Table = std::make_unique<TTable>(made, made, made, table);
    Log(QStringLiteral("table %1 \"%2\" opened").arg(QString::fromLatin1(code), settings.Name));
    Refresh(made);
    return made;
}

void TTableHouse::Create(const QByteArray& code, const TTableSettings& settings)
{
    if (tables_.count(code) == 0)
        MakeTable(code, settings, false);
}

void TTableHouse::CloseTable(TSlot& slot)
{
    Log(QStringLiteral("table %1 closed: nobody there for %2 s").arg(QString::fromLatin1(slot.Code)).arg(options_.EmptyCloseMs / 1000));
    directory_.Remove(slot.Code);
    if (options_.Table.Store)
        options_.Table.Store->Forget(QString::fromLatin1(slot.Code));
    timers_.erase({slot.Wake, &slot});
    tables_.erase(slot.Code);
}

void TTableHouse::Refresh(TSlot& slot)
{
    TTableListing now;
    now.Code = slot.Code;
    now.Settings = slot.Settings;
    const TTable& table = *slot.Table;
    now.Settings.Flags &= TTableSettings::kPrivateHands | TTableSettings::kDefault;
    if (table.GameInfo().Phase != psWaiting && table.SeatCount() == kSeatCount)
        now.Settings.Flags |= TTableSettings::kStarted;
    if (table.Locked())
        now.Settings.Flags |= TTableSettings::kLocked;
    const TTurnClockSetting clock = table.TurnClock().Setting();
    now.Settings.CardS = uint16_t(clock.CardS);
    now.Settings.ContractS = uint16_t(clock.ContractS);
    now.Watchers = uint8_t(std::min(table.WatcherCount(), 255));
    for (const SeatEntry& entry : table.Seats())
        now.Seats[entry.Seat] = SeatNameInRecord(table.GameInfo(), entry.Seat);
    if (!(now == slot.Listed)) {
        slot.Listed = now;
        directory_.Update(now);
    }
    slot.EmptySince = slot.Guests > 0 ? -1 : (slot.EmptySince >= 0 ? slot.EmptySince : clock_.NowMs());
}

// ---- Time ----

void TTableHouse::Schedule(TSlot& slot, qint64 atMs)
{
    timers_.erase({slot.Wake, &slot});
    slot.Wake = atMs;
    if (atMs >= 0)
        timers_.insert({atMs, &slot});
    if (!ticking_)
        WakeHouse();
}

void TTableHouse::WakeHouse()
{
    qint64 next = nextHousekeeping_;
    if (!timers_.empty())
        next = std::min(next, timers_.begin()->first);
    clock_.WakeAt(next);
}

void TTableHouse::Tick()
{
    ticking_ = true;
    const qint64 now = clock_.NowMs();
    // A table that asks again for a time already due waits for the next tick.
    std::vector<TSlot*> due;
    for (auto it = timers_.begin(); it != timers_.end() && it->first <= now; it = timers_.erase(it))
        due.push_back(it->second);
    for (TSlot* slot : due)
        slot->Wake = -1;
    for (TSlot* slot : due) {
        slot->Table->Tick();
        Refresh(*slot);
    }
    if (now >= nextHousekeeping_)
        Housekeeping();
    ticking_ = false;
    WakeHouse();
}

void TTableHouse::Housekeeping()
{
    const qint64 now = clock_.NowMs();
    nextHousekeeping_ = now + options_.HousekeepingMs;
    QList<TConnectionId> late;
    for (auto it = guests_.cbegin(); it != guests_.cend(); ++it)
        if (it->Table == nullptr && it->JoinBy >= 0 && it->JoinBy <= now)
            late.append(it.key());
    for (const TConnectionId id : late) {
        Log(QStringLiteral("closing connection %1: no table joined within %2 ms").arg(id).arg(options_.JoinTimeoutMs));
        LeaveLobby(id, guests_[id]);
        link_.Close(id, false);
    }
    std::vector<TSlot*> empty;
    for (const auto& [code, slot] : tables_)
        if (!slot->Default && slot->Guests == 0 && slot->EmptySince >= 0 && now - slot->EmptySince >= options_.EmptyCloseMs)
            empty.push_back(slot.get());
    for (TSlot* slot : empty)
        CloseTable(*slot);
}

// ---- Connections ----

void TTableHouse::Connected(TConnectionId id, const QString& host, quint16 port)
{
    std::set<TConnectionId>& waiting = lobby_[host];
    if (options_.MaxUnjoinedPerAddress > 0 && int(waiting.size()) >= options_.MaxUnjoinedPerAddress) {
        const TConnectionId oldest = *waiting.begin();
        Log(QStringLiteral("closing connection %1: %2 connections without a table from %3")
                .arg(oldest).arg(waiting.size() + 1).arg(host));
        waiting.erase(waiting.begin());
        guests_[oldest].JoinBy = -1;
        link_.Close(oldest, false);
    }
    waiting.insert(id);
    guests_.insert(id, {host, port, nullptr, false, clock_.NowMs() + options_.JoinTimeoutMs});
}

void TTableHouse::Adopt(TConnectionId id, const QString& host, quint16 port, TPacketType type, const QByteArray& payload)
{
    guests_.insert(id, {host, port, nullptr, false, clock_.NowMs() + options_.JoinTimeoutMs});
    lobby_[host].insert(id);
    Lobby(id, guests_[id], type, reinterpret_cast<const uint8_t*>(payload.constData()), int32_t(payload.size()));
}

void TTableHouse::LeaveLobby(TConnectionId id, TGuest& guest)
{
    guest.JoinBy = -1;
    const auto it = lobby_.find(guest.Host);
    if (it == lobby_.end())
        return;
    it->erase(id);
    if (it->empty())
        lobby_.erase(it);
}

void TTableHouse::Disconnected(TConnectionId id)
{
    const auto it = guests_.find(id);
    if (it == guests_.end())
        return;
    TGuest guest = it.value();
    guests_.erase(it);
    LeaveLobby(id, guest);
    if (TSlot* slot = guest.Table) {
        --slot->Guests;
        slot->Table->Disconnected(id);
        Refresh(*slot);
    }
}

void TTableHouse::Answered(TConnectionId id)
{
    const auto it = guests_.constFind(id);
    if (it != guests_.constEnd() && it->Table)
        it->Table->Table->Answered(id);
}

void TTableHouse::Received(TConnectionId id, TPacketType type, const uint8_t* buf, int32_t count)
{
    const auto it = guests_.find(id);
    if (it == guests_.end())
        return;
    TSlot* slot = it->Table;
    if (slot == nullptr)
        return Lobby(id, *it, type, buf, count);
    if (type == LIST_TABLES)
        return SendList(id);
    if (type == CREATE_TABLE || type == WATCH_TABLE || (type == JOIN_REQUEST && it->Watcher)) {
        Log(QStringLiteral("dropped message %1 of connection %2: only before joining a table").arg(int(type)).arg(id));
        return;
    }
    slot->Table->Received(id, type, buf, count);
    Refresh(*slot);
}

void TTableHouse::Lobby(TConnectionId id, TGuest& guest, TPacketType type, const uint8_t* buf, int32_t count)
{
    switch (static_cast<uint8_t>(type)) {
    case LIST_TABLES:
        return SendList(id);
    case CREATE_TABLE:
        return CreateTable(id, guest, buf, count);
    case WATCH_TABLE:
        return WatchTable(id, guest, buf, count);
    case JOIN_REQUEST:
        return JoinTable(id, guest, buf, count);
    default:
        Log(QStringLiteral("dropped message %1 of connection %2: it is at no table").arg(int(type)).arg(id));
    }
}

void TTableHouse::SendList(TConnectionId id)
{
    link_.Send(id, TABLE_LIST, directory_.ListPayload(clock_.NowMs()));
}

void TTableHouse::Answer(TConnectionId id, TPacketType type, bool ok, const QString& text)
{
    link_.Send(id, type, TableAnswerPayload(ok, text));
}

void TTableHouse::CreateTable(TConnectionId id, const TGuest& guest, const uint8_t* buf, int32_t count)
{
    TTableSettings settings;
    if (!ReadCreateTable(buf, count, settings) || settings.Level > 1 || settings.CardS > kMaxTurnClockS
        || settings.ContractS > kMaxTurnClockS)
        return Answer(id, TABLE_CREATED, false, QStringLiteral("Masa ayarları geçersiz."));
    if (!IsTableName(settings.Name))
        return Answer(id, TABLE_CREATED, false, QStringLiteral("Masa adı geçersiz."));
    settings.Flags &= TTableSettings::kPrivateHands;
    const TTableDirectory::TPlace place = directory_.Reserve(guest.Host, clock_.NowMs());
    if (place.House < 0) {
        Log(QStringLiteral("no table for %1: %2").arg(guest.Host, place.Refusal));
        return Answer(id, TABLE_CREATED, false, place.Refusal);
    }
    if (place.House == index_)
        Create(place.Code, settings);
    else
        link_.Create(place.House, place.Code, settings);
    Answer(id, TABLE_CREATED, true, QString::fromLatin1(place.Code));
}

void TTableHouse::WatchTable(TConnectionId id, TGuest& guest, const uint8_t* buf, int32_t count)
{
    QByteArray code;
    if (!ReadWatchTable(buf, count, code) || !IsTableCode(code))
        return Answer(id, WATCHING, false, QStringLiteral("Böyle bir masa yok."));
    Route(id, guest, code, WATCH_TABLE, buf, count);
}

void TTableHouse::JoinTable(TConnectionId id, TGuest& guest, const uint8_t* buf, int32_t count)
{
    TJoinExtension extension;
    ReadJoinRequestExtension(buf, count, extension);
    // Our program asks for the list before it takes a seat anywhere.
    if ((extension.Flags & TJoinExtension::kTablesFirst) && extension.TableCode.isEmpty())
        return SendList(id);
    Route(id, guest, extension.TableCode.isEmpty() ? directory_.DefaultCode() : extension.TableCode, JOIN_REQUEST,
          buf, count);
}

void TTableHouse::Route(TConnectionId id, TGuest& guest, const QByteArray& code, TPacketType type, const uint8_t* buf,
                        int32_t count)
{
    const int house = code.isEmpty() ? -1 : directory_.HouseOf(code);
    if (house >= 0 && house != index_) {
        const TGuest moving = guest;
        LeaveLobby(id, guest);
        guests_.remove(id);
        link_.Move(id, house, type, QByteArray(reinterpret_cast<const char*>(buf), count));
        Log(QStringLiteral("connection %1 from %2 goes to table %3").arg(id).arg(moving.Host, QString::fromLatin1(code)));
        return;
    }
    const auto found = tables_.find(code);
    if (house < 0 || found == tables_.end()) {
        if (type == WATCH_TABLE)
            return Answer(id, WATCHING, false, QStringLiteral("Böyle bir masa yok."));
        Log(QStringLiteral("connection %1 asked for table %2, which is not here").arg(id).arg(QString::fromLatin1(code.toHex())));
        // Only our program names a table: the refusal says why, in the status line and with TABLE_FULL.
        const QByteArray why = TPayloadWriter().Text(QStringLiteral("Böyle bir masa yok.")).Bytes();
        link_.Send(id, STATUS_TEXT, why);
        link_.Send(id, TABLE_FULL, why);
        LeaveLobby(id, guest);
        return link_.Close(id, true);
    }
    TSlot& slot = *found->second;
    if (type == WATCH_TABLE && slot.Table->WatcherCount() >= options_.MaxWatchers)
        return Answer(id, WATCHING, false, QStringLiteral("Bu masada izleyici yeri kalmadı."));
    LeaveLobby(id, guest);
    guest.Table = &slot;
    ++slot.Guests;
    if (type == WATCH_TABLE) {
        guest.Watcher = true;
        Answer(id, WATCHING, true, QString::fromLatin1(code));
        slot.Table->Watch(id);
    } else {
        slot.Table->Connected(id, guest.Host, guest.Port);
        slot.Table->Received(id, JOIN_REQUEST, buf, count);
    }
    Refresh(slot);
}

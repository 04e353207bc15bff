// Watchers of a table, and the time left for a move sent to the players' programs.
#include <algorithm>

#include "cp1254.h"
#include "payload.h"
#include "seatnames.h"
#include "table.h"
#include "tableaudience.h"
#include "tablemessages.h"

TGameInfo WatcherRecord(const TGameInfo& full)
{
    TGameInfo out = full;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        out.CardCount[seat] = 0;
        std::fill(std::begin(out.CardValue[seat]), std::end(out.CardValue[seat]), kNone);
        std::fill(std::begin(out.CardSuit[seat]), std::end(out.CardSuit[seat]), kNone);
    }
    return out;
}

QList<TConnectionId> TTable::Audience() const
{
    return HumanConnections() + watchers_;
}

void TTable::SendWatchers(TPacketType type, const QByteArray& payload)
{
    for (const TConnectionId watcher : std::as_const(watchers_))
        Send(watcher, type, payload);
}

void TTable::Watch(TConnectionId id)
{
    if (watchers_.contains(id) || SeatOf(id) != kNoSeat)
        return Drop("WATCH_TABLE", QStringLiteral("%1 watches or plays already").arg(Peer(id)));
    connections_.remove(id); // a watcher is never asked to join
    watchers_.append(id);
    Log(QStringLiteral("connection %1 watches the table (%2 watching)").arg(id).arg(watchers_.size()));
    for (int seat = 0; seat < kSeatCount; ++seat)
        SendSeatName(id, seat, FromCp1254(SeatNameInRecord(game_, seat)));
    if (SeatCount() == kSeatCount && game_.Phase != psWaiting)
        Send(id, GAME_RECORD, TPayloadWriter().Record(WatcherRecord(game_)).Bytes());
    if (turnTimer_.isActive()) // mid-turn: the countdown from now
        Send(id, TURN_TIME, TurnTimeNow());
    MarkTold(id);
}

void TTable::Unwatch(TConnectionId id)
{
    told_.remove(id);
    if (watchers_.removeAll(id) > 0)
        Log(QStringLiteral("connection %1 stops watching (%2 watching)").arg(id).arg(watchers_.size()));
}

QByteArray TTable::TurnTimeNow() const
{
    const int seat = SeatCount() == kSeatCount ? AwaitedSeat(game_) : kNoSeat;
    const qint64 left = turnTimer_.isActive() ? std::max<qint64>(turnTimer_.At - clock_.NowMs(), 1) : 0;
    return TurnTimePayload(uint8_t(seat == kNoSeat ? kNone : seat), uint32_t(left));
}

void TTable::SendTurnTime(const SeatEntry& entry)
{
    if (entry.Extended && entry.Connection != kNoConnection && entry.Kind == SeatEntry::Human)
        Send(entry.Connection, TURN_TIME, TurnTimeNow());
}

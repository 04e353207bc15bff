// Connections that close or never join: a seat is freed while the table is still being
// filled, played by the computer once it is full and taken back by a player of its name;
// a seat whose connection still answers is never handed over; a connection that does not
// join in time is closed.
#include <algorithm>
#include <cstring>

#include "cp1254.h"
#include "payload.h"
#include "seatnames.h"
#include "table.h"

void TTable::JoinTimeouts()
{
    const qint64 now = clock_.NowMs();
    QList<TConnectionId> late;
    for (auto it = connections_.begin(); it != connections_.end(); ++it) {
        if (it->JoinBy >= 0 && it->JoinBy <= now) {
            it->JoinBy = -1;
            if (SeatOf(it.key()) == kNoSeat && !it->Refused)
                late.append(it.key());
        }
    }
    for (const TConnectionId id : late) {
        Log(QStringLiteral("closing %1: no join within %2 ms").arg(Peer(id)).arg(joinTimeoutMs_));
        link_.Close(id);
    }
}

bool TTable::Probed(TConnectionId id) const
{
    return std::any_of(probes_.begin(), probes_.end(), [id](const TProbe& p) { return p.Old == id; });
}

void TTable::StartProbe(const SeatEntry& entry, TConnectionId newcomer, const QByteArray& name,
                        const TJoinExtension& extension)
{
    Log(QStringLiteral("seat %1: %2 asks for it under its name; asking %3 for a sign of life")
            .arg(entry.Seat)
            .arg(Peer(newcomer), Peer(entry.Connection)));
    probes_.push_back({entry.Connection, newcomer, name, extension, clock_.NowMs() + probeMs_});
    link_.Probe(entry.Connection);
    Reschedule();
}

void TTable::Answered(TConnectionId id)
{
    if (closed_)
        return;
    const auto probe = std::find_if(probes_.begin(), probes_.end(), [id](const TProbe& p) { return p.Old == id; });
    if (probe == probes_.end())
        return;
    const TConnectionId newcomer = probe->Newcomer;
    probes_.erase(probe);
    Log(QStringLiteral("seat %1: %2 answered; the seat stays with it").arg(SeatOf(id)).arg(Peer(id)));
    if (newcomer != kNoConnection)
        Refuse(newcomer);
    Reschedule();
}

void TTable::ProbeTimeouts()
{
    const qint64 now = clock_.NowMs();
    std::vector<TProbe> due;
    for (auto it = probes_.begin(); it != probes_.end();) {
        if (it->Until <= now) {
            due.push_back(*it);
            it = probes_.erase(it);
        } else {
            ++it;
        }
    }
    // Silence: the seat goes to the newcomer, as if its old connection had closed.
    for (const TProbe& probe : due)
        if (probe.Newcomer != kNoConnection && SeatOf(probe.Newcomer) == kNoSeat && !Rejoin(probe.Newcomer, probe.Name, probe.Extension, false))
            Refuse(probe.Newcomer);
}

bool TTable::SeatDropped() const
{
    if (SeatCount() < kSeatCount)
        return false;
    return std::any_of(seats_.begin(), seats_.end(), [](const SeatEntry& e) {
        return e.Kind == SeatEntry::Human && e.Connection == kNoConnection;
    });
}

void TTable::TellOthers(TConnectionId except, const QString& line)
{
    for (const TConnectionId connection : Audience())
        if (connection != except && !BackedUp(connection))
            SendText(connection, CHAT_TEXT, line);
}

void TTable::FreeSeatOf(int index)
{
    const SeatEntry entry = seats_.takeAt(index);
    Log(QStringLiteral("seat %1 (%2) left before the game; the seat is free")
            .arg(entry.Seat)
            .arg(FromCp1254(entry.Name)));
    std::memset(game_.PlayerName[entry.Seat], 0, kNameSize);
    TellNews();
}

void TTable::ComputerTakesOver(SeatEntry& entry)
{
    entry.Connection = kNoConnection;
    Changed();
    const QString name = FromCp1254(SeatNameInRecord(game_, entry.Seat));
    Log(QStringLiteral("seat %1 (%2) lost its connection; the computer plays it").arg(entry.Seat).arg(name));
    TellNews();
    ComputerMayAct();
}

bool TTable::SeatFromSameAddress(TConnectionId id) const
{
    const QString host = connections_.value(id).Host;
    return std::any_of(seats_.begin(), seats_.end(), [&](const SeatEntry& e) {
        return e.Kind == SeatEntry::Human && e.Connection != kNoConnection && e.Connection != id &&
               connections_.value(e.Connection).Host == host;
    });
}

bool TTable::Rejoin(TConnectionId id, const QByteArray& name, const TJoinExtension& extension, bool probe)
{
    const QByteArray wanted = FitSeatName(name);
    const QString host = connections_.value(id).Host;
    // The seat's key takes it back from anywhere. By name alone, only a seat whose program
    // was given no key (one without our extension), and only from the address that held
    // it: a dropped seat first, then a seat whose connection may have been lost without the
    // dealer noticing yet. A stranger who knows a name gets nothing, and neither does a
    // second player behind the same address as the seat's owner once the owner holds a key.
    SeatEntry* found = SeatOfKey(extension);
    for (const bool live : {false, true}) {
        for (SeatEntry& entry : seats_) {
            if (found)
                break;
            if (entry.Kind != SeatEntry::Human || (entry.Connection != kNoConnection) != live)
                continue;
            if (entry.Extended || entry.Host != host)
                continue;
            // The name asked for at the first join, the unique one given, or the one a
            // loaded game shows at the seat.
            const QByteArray shown = SeatNameInRecord(game_, entry.Seat);
            if (wanted == entry.Requested || wanted == entry.Name || wanted == shown) {
                found = &entry;
                break;
            }
        }
        if (found)
            break;
    }
    if (found && found->Removed) {
        Log(QStringLiteral("seat %1 was removed by the host for this game: refusing %2").arg(found->Seat).arg(Peer(id)));
        if (!(extension.Flags & TJoinExtension::kKnowsMessages))
            return false;
        // Our program is told why, so that it does not take the refusal for a full table
        // (nor try again): the same words it was given when it was removed.
        Refuse(id, QStringLiteral("Masa sahibi seni bu oyundan çıkardı."));
        return true;
    }
    if (found && found->Connection != kNoConnection && probe && probeMs_ > 0) {
        // A seat whose connection still answers is never handed over: ask it first.
        StartProbe(*found, id, name, extension);
        return true;
    }
    if (found) {
        HandOver(*found, id, extension);
        return true;
    }
    Log(QStringLiteral("no seat to take back under that name: refusing %1").arg(Peer(id)));
    return false;
}

void TTable::HandOver(SeatEntry& entry, TConnectionId id, const TJoinExtension& extension)
{
    const QByteArray shown = SeatNameInRecord(game_, entry.Seat);
    const bool dropped = entry.Connection == kNoConnection;
    if (!dropped) {
        // The seat is handed over without a word to the others: it never looked dropped.
        const TConnectionId old = entry.Connection;
        Log(QStringLiteral("seat %1 (%2): its old connection %3 is replaced")
                .arg(entry.Seat)
                .arg(FromCp1254(shown), Peer(old)));
        entry.Connection = kNoConnection;
        link_.Close(old);
    }
    entry.Connection = id;
    // The turn clock's time-outs stay: coming back (as a program does by itself after a drop
    // or a restart) is no act of the player; its first move or chat line is.
    // A new key: the one the seat had is worth nothing from now on, whoever knew it.
    GiveKey(entry, id, extension, true);
    if (auto it = connections_.find(id); it != connections_.end())
        it->JoinBy = -1;
    Changed(); // a computer's answer for the seat is not wanted any more
    Log(QStringLiteral("seat %1 (%2) taken back by %3").arg(entry.Seat).arg(FromCp1254(shown), Peer(id)));
    for (int k = 0; k < kSeatCount; ++k)
        SendSeatName(id, k, FromCp1254(SeatNameInRecord(game_, k)));
    Send(id, JOIN_ACCEPTED, JoinAcceptedPayload(entry));
    // Before the first deal nobody has been sent a record.
    if (game_.Phase != psWaiting)
        SendRecord(id);
    SendTurnTime(entry);
    MarkTold(id);
    TellNews(); // the others learn that it came back, if they were told it had gone
    // A game whose players had all left goes on.
    if (leftAlone_) {
        leftAlone_ = false;
        Log(QStringLiteral("a player is back: the game goes on"));
        PaceComputer();
    }
}

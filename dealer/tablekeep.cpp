// A table that outlives its server: its state after every change, the table built again
// from a kept state, and the word to its players when the server stops.
#include <algorithm>
#include <cstring>

#include "cp1254.h"
#include "tabletext.h"
#include "table.h"

TTableState TTable::State() const
{
    TTableState state{.Record = game_, .Seats = {}, .TurnClock = turnClock_.Setting(), .Level = level_,
                      .OpenHands = openHands_, .Locked = locked_, .Code = QString::fromLatin1(code_), .Name = name_,
                      .Default = default_};
    for (const SeatEntry& entry : seats_)
        state.Seats.append({entry.Seat, entry.Kind, entry.Name, entry.Requested, entry.Host, entry.Key,
                            entry.Extended, entry.Removed, uint8_t(turnClock_.TimeoutsInARow(entry.Seat)),
                            turnClock_.TakenOver(entry.Seat)});
    return state;
}

void TTable::Keep()
{
    if (!store_)
        return;
    TTableState state = State();
    if (state == kept_)
        return;
    kept_ = std::move(state);
    store_->Keep(kept_);
}

void TTable::Restore(const TTableState& state)
{
    game_ = state.Record;
    turnClock_.Set(state.TurnClock);
    level_ = state.Level;
    openHands_ = state.OpenHands;
    locked_ = state.Locked;
    code_ = state.Code.toLatin1();
    name_ = state.Name;
    seats_.clear();
    computerCount_ = 0;
    if (state.Seats.size() == kSeatCount) {
        for (const TSeatState& kept : state.Seats) {
            // No connection: the seat waits for its player.
            seats_.append({.Connection = kNoConnection, .Seat = kept.Seat, .Kind = kept.Kind, .Name = kept.Name,
                           .Requested = kept.Requested, .Host = kept.Host, .Key = kept.Key,
                           .Extended = kept.Extended, .Removed = kept.Removed});
            computerCount_ += kept.Kind == SeatEntry::Computer;
            turnClock_.Restore(kept.Seat, kept.TimeoutsInARow, kept.ComputerPlays);
        }
    } else {
        // A table still being filled gives a seat up with its connection: every seat is free.
        std::memset(game_.PlayerName, 0, sizeof game_.PlayerName);
        game_.Phase = psWaiting;
    }
    Changed();
    Log(QStringLiteral("table restored: %1 seats, %2").arg(seats_.size()).arg(PhaseText(game_)));
    if (SeatCount() == kSeatCount) {
        graceUntil_ = clock_.NowMs() + kRestoreGraceMs;
        source_->Observe(game_);
        if (game_.Phase == psTrickComplete && game_.TrickCount == kSeatCount)
            StartTrickTimers();
        else if (game_.Phase == psChoosing || game_.Phase == psPlaying)
            Start(computerMoveTimer_);
    }
    kept_ = State();
}

void TTable::Closing()
{
    Log(QStringLiteral("the server stops; the table is kept"));
    TellOthers(kNoConnection, QStringLiteral("Sunucu kapanıyor; yeniden açıldığında oyun kaldığı yerden sürecek."));
    Keep();
    closed_ = true;
}

bool TTable::WaitsForReturn(const SeatEntry& entry)
{
    // A seat the computer played before the restart (its player let the time run out, or the
    // host gave it away) goes on at once.
    if (entry.Kind != SeatEntry::Human || entry.Connection != kNoConnection || entry.Removed ||
        turnClock_.TakenOver(entry.Seat) || clock_.NowMs() >= graceUntil_)
        return false;
    computerMoveTimer_.At = graceUntil_;
    Reschedule();
    return true;
}

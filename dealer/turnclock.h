// The turn clock of a table: how long the awaited seat has for its move, and who plays a
// seat whose player lets the time run out. Plain bookkeeping; the table runs the timer on
// its own clock and asks this object what to do.
//
// When the time for a move runs out, the computer makes that one move for the seat. After
// kTimeoutsInARow such moves in a row the computer plays the seat until its player acts
// again (a move or a chat line of its own); a move the player makes in time starts the
// count again.
#pragma once

#include <array>

#include <QString>

#include "gameinfo.h"

struct TTurnClockSetting {
    int CardS = 0;     // seconds for a card; 0: no limit
    int ContractS = 0; // seconds for a contract; 0: no limit
    bool On() const { return CardS > 0 || ContractS > 0; }
    bool operator==(const TTurnClockSetting&) const = default;
};

// What a server table gives unless told otherwise; the program's own dealer has none.
constexpr TTurnClockSetting kServerTurnClock{30, 45};
constexpr int kTimeoutsInARow = 3;
constexpr int kMaxTurnClockS = 3600;

// "30,45" (card seconds, contract seconds), "0" or "off" for none. False for anything else.
bool ParseTurnClock(const QString& text, TTurnClockSetting& setting);

class TTurnClock {
public:
    enum class TOutcome { Once, FromNowOn };

    const TTurnClockSetting& Setting() const { return setting_; }
    void Set(const TTurnClockSetting& setting) { setting_ = setting; }
    // The milliseconds the record gives its awaited seat; 0 when the clock does not run.
    int AllowanceMs(const TGameInfo& g) const;

    // The seat's time ran out: the computer owes it one move. FromNowOn on the last of
    // kTimeoutsInARow in a row: the computer plays it from now on.
    TOutcome TimedOut(int seat);
    // The computer made the move it owed the seat.
    void ComputerMoved(int seat) { owed_[std::size_t(seat)] = false; }
    // The seat's player made a move in time or said something: true when the computer
    // played the seat until now.
    bool PlayerActed(int seat);
    // The host gave the seat to the computer until its player acts again.
    void TakeOver(int seat) { taken_[std::size_t(seat)] = true; }
    // Whether the computer is to make the seat's next move.
    bool ComputerPlays(int seat) const { return owed_[std::size_t(seat)] || taken_[std::size_t(seat)]; }
    bool TakenOver(int seat) const { return taken_[std::size_t(seat)]; }
    // What a restart keeps of a seat: its time-outs in a row and whether the computer plays it.
    int TimeoutsInARow(int seat) const { return inARow_[std::size_t(seat)]; }
    void Restore(int seat, int timeoutsInARow, bool takenOver);
    // The seat has a new player, or none: nothing of the last one counts.
    void Forget(int seat);

private:
    TTurnClockSetting setting_;
    std::array<int, kSeatCount> inARow_{};
    std::array<bool, kSeatCount> owed_{};
    std::array<bool, kSeatCount> taken_{};
};

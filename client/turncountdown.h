// The time left for the move that is awaited, as the server's turn clock told it: plain
// arithmetic on the times it is given, so that the window's timer only asks it.
#pragma once

#include <QtGlobal>

#include "cards.h"

class TTurnCountdown {
public:
    // seat has msLeft milliseconds from nowMs; no seat or no time: nothing runs.
    void Start(int seat, int msLeft, qint64 nowMs)
    {
        seat_ = seat >= 0 && seat < kSeatCount && msLeft > 0 ? seat : kNoSeat;
        endMs_ = Running() ? nowMs + msLeft : -1;
    }
    void Clear() { seat_ = kNoSeat, endMs_ = -1; }
    int Seat() const { return seat_; } // kNoSeat: none
    bool Running() const { return seat_ != kNoSeat; }
    // Whole seconds left, rounded up (25 while 24.2 s are left); 0 once the time is up.
    int SecondsLeft(qint64 nowMs) const
    {
        return Running() && endMs_ > nowMs ? int((endMs_ - nowMs + 999) / 1000) : 0;
    }
    // When SecondsLeft changes next; -1: never.
    qint64 NextChangeMs(qint64 nowMs) const
    {
        if (SecondsLeft(nowMs) == 0)
            return -1;
        return nowMs + (endMs_ - nowMs - 1) % 1000 + 1;
    }

private:
    int seat_ = kNoSeat;
    qint64 endMs_ = -1;
};

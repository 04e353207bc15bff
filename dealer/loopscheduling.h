// How the threads that answer players are scheduled. On a machine that is busy with other
// work, a thread of normal priority that wakes for a player's card may wait a few
// milliseconds for a core; a real-time thread of the lowest priority runs at once, ahead
// of every normal one. The dealer's threads only ever work in short bursts: a table's
// thread answers messages and timers, the file writers hand bytes to the disk. A computer's
// thinking, which may take long, runs on threads started by a table's thread, and those
// are always of normal priority.
//
// A normal user may not ask for it unless its limit allows (RLIMIT_RTPRIO, e.g.
// LimitRTPRIO=1 in a service); the thread then stays as it was and the reason is returned.
#pragma once

#include <QString>

// Asks for round-robin real-time scheduling at priority 1 for the calling thread. Threads
// it starts afterwards inherit it when startedInherit is set, otherwise they get normal
// scheduling. Returns an empty string when granted, otherwise why not.
QString AskRealTimeScheduling(bool startedInherit = false);

// The calling thread's scheduling: real-time (round-robin or first-in first-out) or not.
bool ThreadIsRealTime();

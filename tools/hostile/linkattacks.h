// Attacks on a dealer's links and slots, each against a fresh dealer in this process, on
// loopback, ending by itself; each returns the figures that tell whether it worked.
//
//   const TFreezeResult f = RunFreezeAttack(3, 10);
//   if (!f.StillServes) ... the dealer froze (a frozen dealer ends the process instead:
//                           its event loop cannot come back to say so)
#pragma once

#include <QtGlobal>

// Frames the dealer answers (JOIN_REQUEST, CHAT_TEXT, CRCERROR, one failing its CRC), each
// followed at once by a reset, rounds times; then seated players who send a chat line and
// reset with the dealer's frames unread, quits times. Then a player must still be seated.
struct TFreezeResult {
    int Resets = 0;            // connections reset right after a frame
    bool StillServes = false;  // a player joined afterwards
};
TFreezeResult RunFreezeAttack(int rounds, int quits);

// Three players and a fourth, seated, that writes lines chat lines of the largest size at
// once and acknowledges nothing.
struct TChatBurstResult {
    int Players = 3;
    int PlayersDropped = 0;    // of the three others
    bool SenderDropped = false;
};
TChatBurstResult RunChatBurst(int lines);

// The host joins through a link delayMs away (each way) while a stranger joins and leaves,
// cycles times, as fast as the dealer seats it.
struct TJoinStormResult {
    int Cycles = 0;            // join-and-leave cycles the stranger made
    int CyclesWithHost = 0;    // of them, while the host was still connected
    bool HostKept = false;     // the host still connected, on seat 0, at the end
    int HostSeatNames = 0;     // SEAT_NAME messages the host received during the storm
};
TJoinStormResult RunJoinStorm(int delayMs, int cycles);

// idle connections that never join, each opened again as soon as the dealer closes it,
// while four players join one after the other; then the game starts, the last player
// drops and comes back.
struct TSlotFillResult {
    int JoinAttempts = 0;
    int Joined = 0;            // seated within a few seconds
    bool CameBack = false;     // the dropped player got its seat again
    int IdleOpened = 0;        // idle connections the attacker opened in all
};
TSlotFillResult RunSlotFiller(int idle);

// Two players and two computer seats play; a connection without a seat floods the dealer
// with ACKs and CRCERRORs for floodMs (opened again whenever it is closed).
struct TControlFloodResult {
    double RecordsPerSecondBefore = 0; // at a player, in the same time before the flood
    double RecordsPerSecondDuring = 0;
    qint64 FloodBytes = 0;             // what the flooder got written
    int FlooderConnections = 0;
    qint64 LogBytes = 0;               // the dealer's log and transport messages meanwhile
};
TControlFloodResult RunControlFlood(int floodMs);

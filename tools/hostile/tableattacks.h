// Attacks on a table's fairness over TCP, each against a dealer of its own set up as
// zorbela-dealer runs (the first to join is the host; games come from its games folder
// only), and the timing of its computer seats' moves. Each ends by itself and returns the
// figures that tell whether it worked.
#pragma once

// The host sends a stacked deal as GAME_RECORD instead of NEW_GAME: the cards it chose for
// the other player. hostSendsRecords: the dealer takes records from its host (the program's
// own dealer does; zorbela-dealer does not).
struct TStackedDeckResult {
    bool Dealt = false;            // the game was dealt before the attack
    bool VictimGotTheStack = false; // the other player then held the cards chosen for it
};
TStackedDeckResult RunStackedDeck(bool hostSendsRecords = false);

// Two players behind one address: while Elif's program is silent, Mert asks for her seat
// under her name from a second connection; then Elif's program comes back with her key.
struct TNatTakeoverResult {
    bool ElifSeated = false;     // Elif held a seat and a key before the attack
    bool MertTookTheSeat = false; // the grab was seated
    bool MertGotAKey = false;     // and was given a key of that seat
    bool ElifCameBack = false;    // her key took the seat back afterwards
};
TNatTakeoverResult RunNatTakeover();

// During a game, a seated player of ours leaves and comes back with its key, cycles times,
// while another player is delayMs away (each way).
struct TRejoinStormResult {
    int Cycles = 0;             // leave-and-return cycles made
    int CyclesWithVictim = 0;   // of them, while the delayed player was still connected
    bool VictimKept = false;    // still connected at the end
    int VictimChats = 0;        // the "left" and "came back" lines it received
};
TRejoinStormResult RunRejoinStorm(int delayMs, int cycles);

// A player of ours with three Usta seats at "Hızlı" pacing; the time from each record that
// awaits a computer seat's card to the record with that card, by whether the seat had one
// legal card or more.
struct TUstaPacingResult {
    int One = 0, Many = 0;                  // moves measured
    double OneMeanMs = 0, ManyMeanMs = 0;
    double OneMinMs = 0, OneMaxMs = 0, ManyMinMs = 0, ManyMaxMs = 0;
};
TUstaPacingResult RunUstaPacing(int singles, int timeoutMs);

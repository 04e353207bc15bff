// The moves of the latency benchmark: when each card was sent and when the record holding
// it reached each player. Any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

class TMoveLog {
public:
    using TClock = std::chrono::steady_clock;

    TMoveLog(int players, int moves) : players_(players), moves_(moves) {}

    // The key of a card within a game: the hand (contracts chosen so far) and the card.
    static int Key(int hand, int suit, int value) { return hand * 52 + suit * 13 + value; }

    void Sent(int key);
    void Seen(int key);
    // Raised once, on the thread of the last Seen, when the wanted number of moves is complete.
    std::function<void()> OnDone;
    // Milliseconds from each card sent to its record at every player, in the order completed.
    std::vector<double> Samples() const;

private:
    struct TMove {
        TClock::time_point sent;
        TClock::time_point last;
        int seen = 0;
    };

    mutable std::mutex lock_;
    int players_;
    int moves_;
    std::map<int, TMove> open_;
    std::vector<double> samples_;
};

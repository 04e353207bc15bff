// Helpers of the computer player's tests, on top of the record helpers of the rule tests.
#pragma once

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "computerplayer.h"
#include "rules_test_util.h"

namespace ai_test {

// "KS": one card, as the rule tests write cards.
inline rules_test::Card C(const std::string& text) { return rules_test::Cards(text).at(0); }

// Deals every card that no seat holds yet to the seats with room, in seat order.
inline void DealRest(TGameInfo& g)
{
    for (uint8_t suit = 0; suit < 4; ++suit)
        for (uint8_t value = 0; value < 13; ++value) {
            bool held = false;
            for (int seat = 0; seat < 4; ++seat)
                held = held || HasCard(g, seat, suit, value);
            for (int seat = 0; seat < 4 && !held; ++seat)
                if ((held = g.CardCount[seat] < 13))
                    AddCard(g.CardValue, g.CardSuit, g.CardCount, seat, suit, value);
        }
}

// How many numbers were taken from a source that started with seed: its next numbers are
// compared with those of a fresh source after 0, 1, 2 ... draws.
inline int DrawsTaken(TRandom after, uint32_t seed)
{
    int next[4];
    for (int& n : next)
        n = after.Next(INT_MAX);
    for (int draws = 0; draws <= 8; ++draws) {
        TRandom fresh(seed);
        for (int i = 0; i < draws; ++i)
            fresh.Next(INT_MAX);
        bool same = true;
        for (int n : next)
            same = same && fresh.Next(INT_MAX) == n;
        if (same)
            return draws;
    }
    return -1;
}

// Runs a test inside a fresh folder of its own, so that "_error.rvo" lands there.
class InTempDir {
public:
    InTempDir() : old_(std::filesystem::current_path())
    {
        std::string name = (std::filesystem::temp_directory_path() / "zorbela_ai_XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("no temporary folder");
        dir_ = name;
        std::filesystem::current_path(dir_);
    }
    ~InTempDir()
    {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        std::filesystem::remove_all(dir_, ec);
    }

private:
    std::filesystem::path old_, dir_;
};

} // namespace ai_test

// Helpers of the computer player's tests: records written by hand, deals, random draws.
#pragma once

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "computerplayer.h"
#include "notify.h"

namespace ai_test {

struct Card {
    uint8_t suit;
    uint8_t value;
    bool operator==(const Card&) const = default;
};

inline void PrintTo(const Card& c, std::ostream* os)
{
    *os << "A23456789TJQK?"[c.value < 13 ? c.value : 13] << "CDHS?"[c.suit < 4 ? c.suit : 4];
}

// "AS KH TD 2C": value (A 2-9 T J Q K) then suit (C D H S), separated by single spaces.
inline std::vector<Card> Cards(const std::string& text)
{
    static const std::string kValues = "A23456789TJQK";
    static const std::string kSuits = "CDHS";
    std::vector<Card> cards;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        const auto v = kValues.find(text[i]);
        const auto s = kSuits.find(text[i + 1]);
        if (v == std::string::npos || s == std::string::npos)
            throw std::invalid_argument("bad card text: " + text);
        cards.push_back({static_cast<uint8_t>(s), static_cast<uint8_t>(v)});
    }
    return cards;
}

inline Card C(const std::string& text) { return Cards(text).at(0); }

// A zeroed record in the middle of a hand of that contract: empty hands and trick.
inline TGameInfo Table(uint8_t contract)
{
    TGameInfo g{};
    InitGameInfo(g);
    ResetScores(g.Score);
    StartHand(g, 0);
    g.Contract = contract;
    g.Chooser = kNone;
    g.Phase = psPlaying;
    return g;
}

inline void SetHand(TGameInfo& g, int seat, const std::string& text)
{
    g.CardCount[seat] = 0;
    for (const Card& c : Cards(text))
        AddCard(g.CardValue, g.CardSuit, g.CardCount, seat, c.suit, c.value);
}

// Lays the cards into the trick as played by leader, leader + 1, ...; the next seat moves.
inline void SetTrick(TGameInfo& g, int leader, const std::string& text)
{
    const auto cards = Cards(text);
    g.TrickCount = 0;
    for (const Card& c : cards) {
        g.TrickSuit[g.TrickCount] = c.suit;
        g.TrickValue[g.TrickCount++] = c.value;
    }
    g.Leader = cards.empty() ? kNone : static_cast<uint8_t>(leader);
    g.LeadSuit = cards.empty() ? kNone : cards[0].suit;
    g.Turn = static_cast<uint8_t>((leader + cards.size()) % 4);
}

// Records every notice while alive; the default notifier is back afterwards.
class NoticeRecorder {
public:
    NoticeRecorder()
    {
        SetNotifier([this](const std::string& text, int) { notices.push_back(text); });
    }
    ~NoticeRecorder() { SetNotifier(nullptr); }
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;
    std::vector<std::string> notices;
};


// Deals every card that no seat holds yet to the other seats, 13 at most each.
inline void DealRest(TGameInfo& g)
{
    for (uint8_t suit = 0; suit < 4; ++suit) {
        for (uint8_t value = 0; value < 13; ++value) {
            bool held = false;
            for (int seat = 0; seat < 4; ++seat)
                held = held || HasCard(g, seat, suit, value);
            for (int seat = 0; seat < 4 && !held; ++seat) {
                if (g.CardCount[seat] < 13) {
                    AddCard(g.CardValue, g.CardSuit, g.CardCount, seat, suit, value);
                    held = true;
                }
            }
        }
    }
}

// How many numbers a run took from a source that started with seed: the source's next
// numbers are compared with those of a fresh source after 0, 1, 2 ... draws.
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

// Runs the test inside a fresh folder of its own, so that "_error.rvo" lands there.
class InTempDir {
public:
    InTempDir() : old_(std::filesystem::current_path())
    {
        std::string templ = (std::filesystem::temp_directory_path() / "zorbela_ai_XXXXXX").string();
        if (!mkdtemp(templ.data()))
            throw std::runtime_error("no temporary folder");
        dir_ = templ;
        std::filesystem::current_path(dir_);
    }
    ~InTempDir()
    {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    InTempDir(const InTempDir&) = delete;
    InTempDir& operator=(const InTempDir&) = delete;
    const std::filesystem::path& Path() const { return dir_; }

private:
    std::filesystem::path old_;
    std::filesystem::path dir_;
};

} // namespace ai_test

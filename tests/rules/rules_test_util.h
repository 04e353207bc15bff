// Small helpers to write records by hand in the rule tests.
#pragma once

#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "gameinfo.h"
#include "notify.h"

namespace rules_test {

struct Card {
    uint8_t suit;
    uint8_t value;
    bool operator==(const Card&) const = default;
};

inline void PrintTo(const Card& c, std::ostream* os)
{
    *os << "A23456789TJQK?"[c.value < 13 ? c.value : 13] << "CDHS?"[c.suit < 4 ? c.suit : 4];
}

// "AS KH TD 2C": value (A 2-9 T J Q K) then suit (C D H S).
inline std::vector<Card> Cards(const std::string& text)
{
    static const std::string kValues = "A23456789TJQK";
    static const std::string kSuits = "CDHS";
    std::vector<Card> cards;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        const auto v = kValues.find(text[i]);
        const auto s = i + 1 < text.size() ? kSuits.find(text[i + 1]) : std::string::npos;
        if (v == std::string::npos || s == std::string::npos)
            throw std::invalid_argument("bad card text: " + text);
        cards.push_back({static_cast<uint8_t>(s), static_cast<uint8_t>(v)});
        i += 2;
    }
    return cards;
}

inline Card C(const std::string& text) { return Cards(text).at(0); }

// A record in the middle of a hand: no cards anywhere, the given contract, empty trick.
inline TGameInfo Table(uint8_t contract)
{
    TGameInfo g;
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

// Lays the cards into the trick as played by leader, leader + 1, ...
inline void SetTrick(TGameInfo& g, int leader, const std::string& text)
{
    const auto cards = Cards(text);
    g.TrickCount = 0;
    for (const Card& c : cards) {
        g.TrickSuit[g.TrickCount] = c.suit;
        g.TrickValue[g.TrickCount] = c.value;
        ++g.TrickCount;
    }
    g.Leader = cards.empty() ? kNone : static_cast<uint8_t>(leader);
    g.LeadSuit = cards.empty() ? kNone : cards[0].suit;
    g.Turn = static_cast<uint8_t>((leader + cards.size()) % 4);
}

inline std::vector<Card> Hand(const TGameInfo& g, int seat)
{
    std::vector<Card> cards;
    for (int i = 0; i < HandCount(g, seat); ++i)
        cards.push_back({HandSuit(g, seat, i), HandValue(g, seat, i)});
    return cards;
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

} // namespace rules_test

// Helpers to write records by hand in the rule tests.
#pragma once

#include <algorithm>
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
    *os << "A23456789TJQK?"[std::min<int>(c.value, 13)] << "CDHS?"[std::min<int>(c.suit, 4)];
}

// "AS KH TD 2C": value (A 2-9 T J Q K) and suit (C D H S), one space between cards.
inline std::vector<Card> Cards(const std::string& text)
{
    static const std::string kValues = "A23456789TJQK", kSuits = "CDHS";
    std::vector<Card> cards;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        const auto v = kValues.find(text[i]), s = kSuits.find(text[i + 1]);
        if (v == std::string::npos || s == std::string::npos)
            throw std::invalid_argument("bad card text: " + text);
        cards.push_back({static_cast<uint8_t>(s), static_cast<uint8_t>(v)});
    }
    return cards;
}

// A record in the middle of a hand of that contract: empty hands, empty trick.
inline TGameInfo Table(uint8_t contract)
{
    TGameInfo g;
    InitGameInfo(g);
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
        g.TrickValue[g.TrickCount++] = c.value;
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

// The cards of the seat's hand that the legality rule lets it play, and the contracts it may
// still choose.
inline std::vector<Card> LegalCards(const TGameInfo& g, int seat)
{
    std::vector<Card> legal;
    std::string message;
    for (const Card& c : Hand(g, seat))
        if (IsPlayable(g, seat, c.suit, c.value, message))
            legal.push_back(c);
    return legal;
}

inline std::vector<int> AvailableContracts(const TGameInfo& g, int seat)
{
    std::vector<int> available;
    for (int c = 0; c < kContractCount; ++c)
        if (ContractAvailable(g, seat, c))
            available.push_back(c);
    return available;
}

// Records every notice while alive; the default notifier is back afterwards.
struct NoticeRecorder {
    NoticeRecorder() { SetNotifier([this](const std::string& t, int) { notices.push_back(t); }); }
    ~NoticeRecorder() { SetNotifier(nullptr); }
    std::vector<std::string> notices;
};

} // namespace rules_test

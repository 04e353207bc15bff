// Shuffling, dealing and sorting the four hands.
#include "gameinfo.h"

#include <utility>

namespace {

constexpr int kDeckSize = 52;
constexpr int kShufflePasses = 10;

void SwapCards(TGameInfo& g, int seat, int a, int b)
{
    std::swap(g.CardValue[seat][a], g.CardValue[seat][b]);
    std::swap(g.CardSuit[seat][a], g.CardSuit[seat][b]);
}

void SortHand(TGameInfo& g, int seat)
{
    static constexpr uint8_t kGroupOrder[4] = {Spades, Diamonds, Clubs, Hearts};
    const int count = g.CardCount[seat] > 13 ? 13 : g.CardCount[seat];
    int grouped = 0;
    for (uint8_t suit : kGroupOrder) {
        const int first = grouped;
        for (int i = grouped; i < count; ++i) {
            if (g.CardSuit[seat][i] == suit) {
                SwapCards(g, seat, i, grouped);
                ++grouped;
            }
        }
        // Descending rank within the group.
        for (int i = first; i < grouped; ++i)
            for (int j = i + 1; j < grouped; ++j)
                if (Rank(g.CardValue[seat][i]) < Rank(g.CardValue[seat][j]))
                    SwapCards(g, seat, i, j);
    }
}

} // namespace

void DealCards(TGameInfo& g, TRandom& rnd)
{
    for (auto& count : g.CardCount)
        count = 0;

    int deck[kDeckSize];
    for (int i = 0; i < kDeckSize; ++i)
        deck[i] = i;
    for (int pass = 0; pass < kShufflePasses; ++pass) {
        for (int i = 0; i < kDeckSize; ++i) {
            const int r = rnd.Next(kDeckSize);
            std::swap(deck[i], deck[r]);
        }
    }

    // By position: seat 0 gets positions 0-12, seat 1 positions 13-25, and so on.
    for (int i = 0; i < kDeckSize; ++i) {
        const int code = deck[i];
        AddCard(g.CardValue, g.CardSuit, g.CardCount, i / 13, static_cast<uint8_t>(code / 13),
                static_cast<uint8_t>(code % 13));
    }
    SortHands(g);
}

void SortHands(TGameInfo& g)
{
    for (int seat = 0; seat < kSeatCount; ++seat)
        SortHand(g, seat);
}

void RedealHands(TGameInfo& g, TRandom& rnd)
{
    int cards[kDeckSize];
    int count = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        for (int i = 0; i < g.CardCount[seat] && i < 13; ++i)
            cards[count++] = g.CardSuit[seat][i] * 13 + g.CardValue[seat][i];
    for (int i = count - 1; i > 0; --i)
        std::swap(cards[i], cards[rnd.Next(i + 1)]);
    int next = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        for (int i = 0; i < g.CardCount[seat] && i < 13; ++i, ++next) {
            g.CardSuit[seat][i] = static_cast<uint8_t>(cards[next] / 13);
            g.CardValue[seat][i] = static_cast<uint8_t>(cards[next] % 13);
        }
    SortHands(g);
}

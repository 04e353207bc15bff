// Bounds-safe reading of the record's rows, shared by the rule sources only.
#pragma once

#include "gameinfo.h"

namespace rules_detail {

constexpr int kRowSize = 13;

inline bool IsSeat(int seat) { return seat >= 0 && seat < kSeatCount; }

inline int RowCount(uint8_t count) { return count > kRowSize ? kRowSize : count; }

// Cards a seat holds; never more than a row can carry, 0 for no seat.
inline int HeldCount(const TGameInfo& g, int seat)
{
    return IsSeat(seat) ? RowCount(g.CardCount[seat]) : 0;
}

inline int TrickCards(const TGameInfo& g)
{
    return g.TrickCount > kTrickSize ? kTrickSize : g.TrickCount;
}

inline bool TrickHolds(const TGameInfo& g, uint8_t suit, uint8_t value)
{
    for (int i = 0; i < TrickCards(g); ++i)
        if (g.TrickSuit[i] == suit && g.TrickValue[i] == value)
            return true;
    return false;
}

inline bool IsTrumpContract(uint8_t contract)
{
    return contract >= KozSinek && contract <= KozMaca;
}

} // namespace rules_detail

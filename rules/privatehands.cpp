#include "privatehands.h"

#include <algorithm>
#include <vector>

TGameInfo PrivateRecord(const TGameInfo& full, int seat)
{
    TGameInfo out = full;
    std::vector<int> unseen; // suit * 13 + value
    int room[kSeatCount] = {};
    for (int other = 0; other < kSeatCount; ++other) {
        if (other == seat)
            continue;
        const int count = std::min<int>(full.CardCount[other], 13);
        for (int i = 0; i < count; ++i)
            unseen.push_back(full.CardSuit[other][i] * 13 + full.CardValue[other][i]);
        room[other] = count;
        out.CardCount[other] = 0;
        std::fill(std::begin(out.CardValue[other]), std::end(out.CardValue[other]), kNone);
        std::fill(std::begin(out.CardSuit[other]), std::end(out.CardSuit[other]), kNone);
    }
    std::sort(unseen.begin(), unseen.end());

    int next = (seat >= 0 && seat < kSeatCount) ? seat : kSeatCount - 1;
    for (const int code : unseen) {
        do
            next = (next + 1) % kSeatCount;
        while (next == seat || out.CardCount[next] >= room[next]);
        AddCard(out.CardValue, out.CardSuit, out.CardCount, next, static_cast<uint8_t>(code / 13),
                static_cast<uint8_t>(code % 13));
    }

    // Sort the dealt hands as a deal is sorted; the seat's own hand keeps its order.
    TGameInfo sorted = out;
    SortHands(sorted);
    for (int other = 0; other < kSeatCount; ++other) {
        if (other == seat)
            continue;
        std::copy(std::begin(sorted.CardValue[other]), std::end(sorted.CardValue[other]),
                  out.CardValue[other]);
        std::copy(std::begin(sorted.CardSuit[other]), std::end(sorted.CardSuit[other]),
                  out.CardSuit[other]);
    }
    return out;
}

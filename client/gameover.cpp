#include "gameover.h"

#include <algorithm>

#include "recordtext.h"

std::vector<TCheerEntry> CheerEntries(const TGameInfo& g)
{
    std::vector<TCheerEntry> entries(4);
    int best = g.Score.Totals[0].Total;
    for (int seat = 1; seat < 4; ++seat)
        best = std::max<int>(best, g.Score.Totals[seat].Total);
    for (int seat = 0; seat < 4; ++seat) {
        entries[seat].name = RecordText(g.PlayerName[seat], int(kNameSize));
        entries[seat].total = g.Score.Totals[seat].Total;
        entries[seat].winner = entries[seat].total == best;
    }
    return entries;
}

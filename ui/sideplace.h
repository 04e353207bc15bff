// Where the score table and the taken-cards window go beside the main window. Plain
// geometry in screen coordinates, frames with their title bars, so it can be checked for
// every screen and window size.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

struct TSidePlaces {
    QPoint score;   // frame top-left of "Puan Tablosu"
    QPoint penalty; // frame top-left of "Alınanlar"
};

// The two windows keep their frame sizes and lie wholly inside `available` (the screen's
// area for windows), the score table above or left of the taken cards. Beside the main
// window where a side has room, the right side first; otherwise where they cover the least
// of it: over its edge, or over `inside` (the part of the main window they may cover, e.g.
// the table below its top panel), never over `keepClear` (the user's own hand) where
// another place avoids it, then least over `cards` (where the table's cards and names lie),
// then over the menu and the top panel. A screen too low for the stack puts them side by
// side, or lets the taken cards overlap the foot of the score table, whichever covers less.
TSidePlaces PlaceSideWindows(const QRect& available, const QRect& mainFrame, const QRect& inside, const QRect& cards,
                             const QRect& keepClear, QSize scoreFrame, QSize penaltyFrame);

// Where neither side of the main window has room for the two windows stacked, the strip at
// its edge that they will cover (on the side with more room), so the table can keep its
// cards out of it; none where a side has room.
struct TSideStrips {
    int left = 0, right = 0;
};
TSideStrips CoveredStrips(const QRect& available, const QRect& mainFrame, QSize scoreFrame, QSize penaltyFrame);

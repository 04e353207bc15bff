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
// area for windows): stacked, the score table on top, at the main window's right edge, or
// at its left edge where the right has no room; where neither side has room they go over
// the main window, at the right edge of `inside` (the part of the main window they may
// cover, e.g. the table below its top panel). A screen too low for the stack puts them
// side by side.
TSidePlaces PlaceSideWindows(const QRect& available, const QRect& mainFrame, const QRect& inside,
                             QSize scoreFrame, QSize penaltyFrame);

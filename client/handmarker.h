// The 32 x 32 picture of a hand shown next to the taker of the last trick.
#pragma once

#include <QPixmap>

// A drawn open hand; rotated so that it points at the trick from the given table position;
// `ratio` device pixels per pixel.
QPixmap HandMarkerPixmap(int position, qreal ratio = 1);

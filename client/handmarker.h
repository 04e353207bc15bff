// Pictures drawn for the table: the 32 x 32 hand shown next to the taker of the last
// trick, and the speech balloon of the chat button.
#pragma once

#include <QIcon>
#include <QPixmap>

// A drawn open hand; rotated so that it points at the trick from the given table position;
// `ratio` device pixels per pixel.
QPixmap HandMarkerPixmap(int position, qreal ratio = 1);

// A white speech balloon with three dots, 24 x 18 pixels, at every screen scale.
QIcon ChatBalloonIcon();

// Drawing of one card face, the back and the mask, each 71 x 96 card pixels; the face and
// the back also at 2 or 3 device pixels per card pixel, for screens scaled to 200 % or 300 %.
#pragma once

#include <QImage>

inline constexpr int kCardW = 71;
inline constexpr int kCardH = 96;

// Face of (suit 0..3 clubs, diamonds, hearts, spades; value 0..12 Ace..King).
QImage DrawFace(int suit, int value, int scale = 1);
QImage DrawBack(int scale = 1);
// Black where the card is, white in its four corner pixels; one bit per pixel.
QImage DrawMask();

// Suit symbols drawn as filled shapes, so no font glyph is needed for them.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QPainter;

// The outline of a suit (0 clubs, 1 diamonds, 2 hearts, 3 spades) in a unit box centred
// on the origin (x and y from -0.5 to 0.5, y downwards).
QPainterPath SuitPath(int suit);

// Red for hearts and diamonds, black for clubs and spades.
QColor SuitColor(int suit);

// Fills the suit symbol centred on c, size pixels high; upside down when flipped.
void DrawSuit(QPainter& p, int suit, QPointF c, double size, bool flipped = false);

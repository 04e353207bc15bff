// Where everything on the table goes, and which card each hand slot shows. No widgets here:
// the main window mirrors the slot model into its card components.
#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <array>
#include <cstdint>

#include "gameinfo.h"

namespace table {

constexpr int kCardWidth = 71;
constexpr int kCardHeight = 96;
constexpr int kTopPanelHeight = 49;
constexpr int kSlotStep = 15;
constexpr int kSlotsPerHand = 13;
constexpr int kMarkerSize = 32;

// Table positions as seen by the user: 0 bottom (the user), 1 right, 2 top, 3 left.
enum Position : int { kBottom = 0, kRight = 1, kTop = 2, kLeft = 3 };

// Left, top, right and bottom of a position's rectangle (the bottom one's right is unused).
struct Rect {
    int left, top, right, bottom;
};

Rect PositionRect(int position);
QPoint SlotTopLeft(int position, int slot);
QPoint TrickCardTopLeft(int position);
QPoint HandMarkerTopLeft(int position);
// Top-left of a name label of the given size at that position, and the widest it may be
// there without running off the table or over a hand.
QPoint NameLabelTopLeft(int position, QSize labelSize);
int NameLabelRoom(int position);
// Size of the whole window: 470 x 566, the smallest the main window gets.
QSize WindowSize();

// How many times larger than its design the table is drawn in an area of `area` pixels
// whose design size is `design`: the smaller ratio of the two sides (so the proportions
// stay), never below 1.
double TableZoom(QSize area, QSize design);

// Where a table of design size `design` lies in a view of `view` pixels that keeps strips
// `freeLeft` and `freeRight` wide at its edges free of it where it can: its zoom (TableZoom
// of the room between the strips) and where the design's (0, 0) lies, centred between the
// strips and never past the view's edges.
struct Placement {
    double zoom = 1;
    QPointF origin;
};
Placement TablePlacement(QSize view, QSize design, int freeLeft, int freeRight);

// Top-left of the contract dialog's inner area in table coordinates: centred across a
// table `tableWidth` wide and between the top and bottom hands (gapTop, gapBottom). The
// dialog's frame (`frame` around its inner `size`, title bar included) is what must fit:
// a dialog taller than the gap keeps the user's own hand in sight and covers the top hand
// instead, never rising above `highest` (the top panel's bottom).
QPoint ContractDialogPlace(int tableWidth, int highest, int gapTop, int gapBottom, QSize size,
                           const QMargins& frame);

// Whether a window with this frame can be seen and grabbed: a strip at the top of it (its
// title, 30 pixels high and 60 wide at least) lies on one of the screens.
bool ReachableOnScreens(const QRect& frame, const QList<QRect>& screens);

// The position where a seat is drawn for the user sitting at mySeat. Play runs
// counter-clockwise on screen unless clockwise is set, which exchanges right and left.
int RelativePosition(int seat, int mySeat, bool clockwise);
// Position of the i-th card of the trick (leader 255: nobody has led; i itself is used).
int TrickPosition(const TGameInfo& g, int i, int mySeat, bool clockwise);

// The 52 hand slots: which card each shows and whether it is visible.
struct Slot {
    bool visible = false;
    uint8_t suit = kNone;
    uint8_t value = kNone;
};
using HandSlots = std::array<std::array<Slot, kSlotsPerHand>, 4>;

// Brings the slots in line with the record: a fresh deal (13 cards) empties the row, the
// cards still held keep their order and close up from slot 0 where cards left, new cards
// follow them.
void UpdateHandSlots(HandSlots& rows, const TGameInfo& g, int mySeat, bool clockwise);

} // namespace table

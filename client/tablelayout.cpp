#include "tablelayout.h"

namespace table {

namespace {

constexpr int kLeftRectWidth = kCardWidth + 8;
constexpr int kSideRectHeight = kCardHeight + 188;
constexpr int kLeftRectTop = (2 * (kCardHeight + 8)) / 3 + kTopPanelHeight + 15;

constexpr Rect kLeftRect{4, kLeftRectTop, 4 + kLeftRectWidth, kLeftRectTop + kSideRectHeight};
constexpr Rect kTopRect{kLeftRect.right + 15, kTopPanelHeight + 4,
                        kLeftRect.right + 15 + kCardWidth + 188,
                        kTopPanelHeight + 4 + kCardHeight + 8};
constexpr Rect kRightRect{kTopRect.right + 15, kLeftRect.top,
                          kTopRect.right + 15 + kCardWidth + 8 + 15, kLeftRect.bottom};
constexpr Rect kBottomRect{kTopRect.left, kLeftRect.bottom - (kCardHeight + 8) / 3,
                           kTopRect.right, kLeftRect.bottom - (kCardHeight + 8) / 3 + kCardHeight + 8};

static_assert(kLeftRect.left == 4 && kLeftRect.top == 133 && kLeftRect.right == 83 &&
              kLeftRect.bottom == 417);
static_assert(kTopRect.left == 98 && kTopRect.top == 53 && kTopRect.right == 357 &&
              kTopRect.bottom == 157);
static_assert(kRightRect.left == 372 && kRightRect.right == 466);
static_assert(kBottomRect.top == 383 && kBottomRect.bottom == 487);

// The reference point of the trick, between the four hands.
constexpr int kTrickX = kLeftRect.right + (kRightRect.left - kLeftRect.right) / 2 - kCardWidth / 2;
constexpr int kTrickY = kTopRect.bottom + (kBottomRect.top - kTopRect.bottom) / 2 - kCardHeight / 2;
static_assert(kTrickX == 192 && kTrickY == 222);

} // namespace

Rect PositionRect(int position)
{
    switch (position & 3) {
    case kBottom: return kBottomRect;
    case kRight: return kRightRect;
    case kTop: return kTopRect;
    default: return kLeftRect;
    }
}

QPoint SlotTopLeft(int position, int slot)
{
    const Rect r = PositionRect(position);
    const int step = kSlotStep * slot;
    switch (position & 3) {
    case kBottom: return {r.left + 4 + step, r.top + 4};
    case kRight: return {r.left + 4, r.bottom - kCardHeight - 4 - step};
    case kTop: return {r.right - kCardWidth - 4 - step, r.top + 4};
    default: return {r.left + 4, r.top + 4 + step};
    }
}

QPoint TrickCardTopLeft(int position)
{
    switch (position & 3) {
    case kBottom: return {kTrickX - kCardWidth / 16, kTrickY + 2 * kCardHeight / 8};
    case kRight: return {kTrickX + 3 * kCardWidth / 8, kTrickY + kCardHeight / 16};
    case kTop: return {kTrickX + kCardWidth / 16, kTrickY - 2 * kCardHeight / 8};
    default: return {kTrickX - 3 * kCardWidth / 8, kTrickY - kCardHeight / 16};
    }
}

QPoint HandMarkerTopLeft(int position)
{
    const QPoint c = TrickCardTopLeft(position);
    const int half = kMarkerSize / 2;
    switch (position & 3) {
    case kBottom: return {c.x() + kCardWidth / 2 - half, c.y() + kCardHeight};
    case kRight: return {c.x() + kCardWidth, c.y() + kCardHeight / 2 - half};
    case kTop: return {c.x() + kCardWidth / 2 - half, c.y() - kMarkerSize};
    default: return {c.x() - kMarkerSize, c.y() + kCardHeight / 2 - half};
    }
}

QPoint NameLabelTopLeft(int position, QSize size)
{
    const Rect r = PositionRect(position);
    switch (position & 3) {
    case kBottom: return {r.left - size.width(), r.bottom - size.height() - 4};
    case kRight: return {r.right - size.width() - 4, r.bottom};
    case kTop: return {r.right, r.top + size.height()};
    default: return {r.left + 4, r.top - size.height()};
    }
}

int NameLabelRoom(int position)
{
    const Rect r = PositionRect(position);
    switch (position & 3) {
    case kBottom: return r.left - 4;                             // left of the user's hand
    case kRight: return r.right - 4 - (kBottomRect.right + 4);   // right of the user's hand
    case kTop: return kRightRect.right - r.right;                // right of the top hand
    default: return kTopRect.left - 4 - (r.left + 4);            // left of the top hand
    }
}

QSize WindowSize()
{
    return {kRightRect.right + 4, kBottomRect.bottom + kTopPanelHeight + 30};
}

double TableZoom(QSize area, QSize design)
{
    if (design.isEmpty())
        return 1;
    const double zoom = std::min(double(area.width()) / design.width(), double(area.height()) / design.height());
    return std::max(1.0, zoom);
}

Placement TablePlacement(QSize view, QSize design, int freeLeft, int freeRight)
{
    const int between = std::max(0, view.width() - freeLeft - freeRight);
    Placement p;
    p.zoom = TableZoom(QSize(between, view.height()), design);
    const double width = design.width() * p.zoom;
    const double left = freeLeft + std::max(0.0, (between - width) / 2);
    p.origin = QPointF(std::max(0.0, std::min(left, view.width() - width)),
                       std::max(0.0, (view.height() - design.height() * p.zoom) / 2));
    return p;
}

QPoint ContractDialogPlace(int tableWidth, int highest, int gapTop, int gapBottom, QSize size,
                           const QMargins& frame)
{
    const int outer = size.height() + frame.top() + frame.bottom();
    int frameTop = (gapTop + gapBottom) / 2 - outer / 2;
    frameTop = std::max(highest, std::min(frameTop, gapBottom - outer));
    return {(tableWidth - size.width()) / 2, frameTop + frame.top()};
}

bool ReachableOnScreens(const QRect& frame, const QList<QRect>& screens)
{
    const QRect title(frame.topLeft(), QSize(frame.width(), 30));
    for (const QRect& screen : screens) {
        const QRect shown = title.intersected(screen);
        if (shown.width() >= std::min(60, frame.width()) && shown.height() >= 10)
            return true;
    }
    return false;
}

int RelativePosition(int seat, int mySeat, bool clockwise)
{
    int r = ((seat - mySeat) % kSeatCount + 2 * kSeatCount) % kSeatCount;
    if (clockwise && (r & 1))
        r = 4 - r;
    return r;
}

int TrickPosition(const TGameInfo& g, int i, int mySeat, bool clockwise)
{
    // Before anyone has led, the i-th card stands where seat i would for seat 0.
    if (static_cast<int8_t>(g.Leader) < 0)
        return RelativePosition(i, 0, clockwise);
    return RelativePosition((g.Leader + i) % kSeatCount, mySeat, clockwise);
}

void UpdateHandSlots(HandSlots& rows, const TGameInfo& g, int mySeat, bool clockwise)
{
    for (int seat = 0; seat < kSeatCount; ++seat) {
        auto& row = rows[RelativePosition(seat, mySeat, clockwise)];
        const int count = std::min<int>(g.CardCount[seat], kSlotsPerHand);
        if (count == kSlotsPerHand)
            for (Slot& s : row)
                s.visible = false;
        for (Slot& s : row)
            if (s.visible && !HasCard(g, seat, s.suit, s.value))
                s.visible = false;
        for (int i = 0; i < count; ++i) {
            const uint8_t suit = g.CardSuit[seat][i];
            const uint8_t value = g.CardValue[seat][i];
            bool shown = false;
            for (const Slot& s : row)
                shown = shown || (s.visible && s.suit == suit && s.value == value);
            if (shown)
                continue;
            for (Slot& s : row) {
                if (!s.visible) {
                    s = Slot{true, suit, value};
                    break;
                }
            }
        }
        // No gaps: the cards still held close up in the order they stood.
        std::stable_partition(row.begin(), row.end(), [](const Slot& s) { return s.visible; });
    }
}

} // namespace table

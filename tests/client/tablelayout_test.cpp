// Where the table puts hands, trick cards, markers and names, and how the hand slots follow
// the record.
#include <gtest/gtest.h>

#include "client_test_util.h"
#include "sideplace.h"
#include "tablelayout.h"

using namespace table;

TEST(TableLayout, PositionRectanglesSlotsAndWindow)
{
    const Rect left = PositionRect(kLeft), top = PositionRect(kTop), right = PositionRect(kRight),
               bottom = PositionRect(kBottom);
    EXPECT_EQ((std::array{left.left, left.top, left.right, left.bottom}), (std::array{4, 133, 83, 417}));
    EXPECT_EQ((std::array{top.left, top.top, top.right, top.bottom}), (std::array{98, 53, 357, 157}));
    EXPECT_EQ((std::array{right.left, right.top, right.right, right.bottom}),
              (std::array{372, 133, 466, 417}));
    EXPECT_EQ((std::array{bottom.left, bottom.top, bottom.bottom}), (std::array{98, 383, 487}));

    // Slots step by 15: the bottom row to the right, the right row upwards, the top row to
    // the left, the left row downwards.
    EXPECT_EQ(SlotTopLeft(kBottom, 0), QPoint(102, 387));
    EXPECT_EQ(SlotTopLeft(kBottom, 12), QPoint(102 + 180, 387));
    EXPECT_EQ(SlotTopLeft(kRight, 0), QPoint(376, 417 - 96 - 4));
    EXPECT_EQ(SlotTopLeft(kRight, 3), QPoint(376, 417 - 96 - 4 - 45));
    EXPECT_EQ(SlotTopLeft(kTop, 0), QPoint(357 - 71 - 4, 57));
    EXPECT_EQ(SlotTopLeft(kTop, 12), QPoint(357 - 71 - 4 - 180, 57));
    EXPECT_EQ(SlotTopLeft(kLeft, 12), QPoint(8, 137 + 180));

    EXPECT_EQ(WindowSize(), QSize(470, 566));
}

TEST(TableLayout, TrickCardsMarkersAndNameLabels)
{
    EXPECT_EQ(TrickCardTopLeft(kBottom), QPoint(188, 246));
    EXPECT_EQ(TrickCardTopLeft(kRight), QPoint(218, 228));
    EXPECT_EQ(TrickCardTopLeft(kTop), QPoint(196, 198));
    EXPECT_EQ(TrickCardTopLeft(kLeft), QPoint(166, 216));

    EXPECT_EQ(HandMarkerTopLeft(kBottom), QPoint(207, 342));
    EXPECT_EQ(HandMarkerTopLeft(kRight), QPoint(289, 260));
    EXPECT_EQ(HandMarkerTopLeft(kTop), QPoint(215, 166));
    EXPECT_EQ(HandMarkerTopLeft(kLeft), QPoint(134, 248));

    const QSize label(50, 14);
    EXPECT_EQ(NameLabelTopLeft(kBottom, label), QPoint(98 - 50, 487 - 14 - 4));
    EXPECT_EQ(NameLabelTopLeft(kRight, label), QPoint(466 - 50 - 4, 417));
    EXPECT_EQ(NameLabelTopLeft(kTop, label), QPoint(357, 53 + 14));
    EXPECT_EQ(NameLabelTopLeft(kLeft, label), QPoint(8, 133 - 14));
}

TEST(TableLayout, ZoomKeepsTheProportionsAndPlacesOnScreens)
{
    const QSize design(470, 520);
    EXPECT_DOUBLE_EQ(TableZoom(design, design), 1.0);
    EXPECT_DOUBLE_EQ(TableZoom(QSize(940, 1040), design), 2.0);
    EXPECT_DOUBLE_EQ(TableZoom(QSize(1410, 1040), design), 2.0); // the height decides
    EXPECT_DOUBLE_EQ(TableZoom(QSize(705, 2000), design), 1.5);  // the width decides
    EXPECT_DOUBLE_EQ(TableZoom(QSize(300, 200), design), 1.0);   // never smaller
    EXPECT_DOUBLE_EQ(TableZoom(QSize(300, 200), QSize()), 1.0);

    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_TRUE(ReachableOnScreens(QRect(0, 0, 470, 566), screens));
    EXPECT_TRUE(ReachableOnScreens(QRect(2500, 900, 470, 566), screens)); // the second screen
    EXPECT_TRUE(ReachableOnScreens(QRect(-400, 10, 470, 566), screens));  // 70 pixels of title in sight
    EXPECT_FALSE(ReachableOnScreens(QRect(-440, 10, 470, 566), screens)); // 30 pixels are too few
    EXPECT_FALSE(ReachableOnScreens(QRect(100, 1075, 470, 566), screens)); // title below the first screen
    EXPECT_FALSE(ReachableOnScreens(QRect(4000, 100, 470, 566), screens)); // a screen unplugged
    EXPECT_FALSE(ReachableOnScreens(QRect(100, -200, 470, 566), screens));
}

TEST(TableLayout, TheContractDialogWithItsTitleBarNeverCoversTheUsersHand)
{
    // At the smallest table and twice as large, without a frame and with a desktop's title
    // bar, a dialog of the usual height and one taller than the gap between the hands.
    for (const int zoom : {1, 2})
        for (const QMargins& frame : {QMargins(), QMargins(2, 25, 2, 2)})
            for (const QSize& size : {QSize(278, 197), QSize(278, 300 * zoom)}) {
                const int width = 470 * zoom, highest = kTopPanelHeight * zoom;
                const int gapTop = PositionRect(kTop).bottom * zoom, gapBottom = PositionRect(kBottom).top * zoom;
                const QPoint inner = ContractDialogPlace(width, highest, gapTop, gapBottom, size, frame);
                const QRect outer = QRect(inner, size).marginsAdded(frame);
                const auto where = testing::Message() << zoom << " " << frame.top() << " " << size.height();
                EXPECT_LE(outer.bottom(), gapBottom - 1) << where;
                EXPECT_GE(outer.top(), highest) << where;
                EXPECT_EQ(inner.x() + size.width() / 2, width / 2) << where;
                if (outer.height() <= gapBottom - gapTop) { // it fits: between the two hands
                    EXPECT_GE(outer.top(), gapTop) << where;
                    EXPECT_LE(std::abs(outer.center().y() - (gapTop + gapBottom) / 2), 1) << where;
                }
            }
}

// The main window from its smallest size to maximised on a 1600 x 1200 screen at scale
// factors 1, 1.5 and 2, with the score table and the taken-cards window docked as the main
// window docks them: both stay whole on the screen, clear of each other and of the user's
// hand, and where the screen is wide enough for the table and them, clear of every hand
// and of the trick; the table stays whole in its view.
TEST(TableLayout, SideWindowsAndTheTableShareEveryScreenSizeAndScale)
{
    for (const double scale : {1.0, 1.5, 2.0}) {
        const QRect screen(0, 0, qRound(1600 / scale), qRound(1200 / scale));
        const QSize decoration(2, qRound(25 / scale)); // the desktop draws title bars in device pixels
        const QSize side = QSize(330, 283) + decoration;
        const QRect maximised = screen.adjusted(0, 0, -decoration.width(), -decoration.height());
        for (const QRect& client : {QRect(QPoint(1, decoration.height()), WindowSize()),
                                    QRect(QPoint(screen.width() / 4, decoration.height()),
                                          WindowSize().expandedTo(maximised.size() * 3 / 4)),
                                    maximised}) {
            const auto where = testing::Message() << scale << " " << client.width() << "x" << client.height();
            const QRect frame = client.adjusted(-1, 1 - decoration.height(), 1, 1);
            const QRect view = client.adjusted(0, 22, 0, -20); // below the menu, above the status bar
            const TSideStrips strips = CoveredStrips(screen, frame, side, side);
            const QSize design(470, view.height() - client.height() + WindowSize().height());
            const Placement p = TablePlacement(view.size(), design, std::max(0, strips.left - 1),
                                               std::max(0, strips.right - 1));
            const auto on = [&](int x, int y, int w, int h) {
                return QRect(view.topLeft() + QPoint(qRound(p.origin.x() + x * p.zoom), qRound(p.origin.y() + y * p.zoom)),
                             QSize(qRound(w * p.zoom), qRound(h * p.zoom)));
            };
            EXPECT_TRUE(view.contains(on(0, 0, design.width(), design.height()))) << where;
            const Rect b = PositionRect(kBottom);
            const QRect hand = on(b.left, b.top, b.right - b.left, b.bottom - b.top);
            const TSidePlaces at = PlaceSideWindows(screen, frame, view.adjusted(0, 49, 0, 0),
                                                    on(0, kTopPanelHeight, design.width(), design.height()), hand, side, side);
            const QRect score(at.score, side), penalty(at.penalty, side);
            EXPECT_TRUE(screen.contains(score) && screen.contains(penalty)) << where;
            EXPECT_FALSE(score.intersects(penalty)) << where;
            QList<QRect> cards{hand};
            for (int position = 0; position < 4; ++position) {
                const Rect r = PositionRect(position);
                cards << on(r.left, r.top, r.right - r.left, r.bottom - r.top);
                const QPoint trick = TrickCardTopLeft(position);
                cards << on(trick.x(), trick.y(), kCardWidth, kCardHeight);
            }
            const bool room = screen.width() >= PositionRect(kRight).right + decoration.width() + side.width();
            for (const QRect& c : room ? cards : QList<QRect>{hand})
                EXPECT_FALSE(score.intersects(c) || penalty.intersects(c)) << where << " " << c.x() << "," << c.y();
        }
    }
}

TEST(TableLayout, RelativePositionTurnsTheTableForEachSeat)
{
    // The user always sits at the bottom.
    for (int me = 0; me < 4; ++me) {
        EXPECT_EQ(RelativePosition(me, me, false), kBottom);
        EXPECT_EQ(RelativePosition(me, me, true), kBottom);
    }
    // The user in seat 2: counter-clockwise seat 3 right, 0 top, 1 left.
    EXPECT_EQ(RelativePosition(3, 2, false), kRight);
    EXPECT_EQ(RelativePosition(0, 2, false), kTop);
    EXPECT_EQ(RelativePosition(1, 2, false), kLeft);
    // Clockwise: seat 3 left, seat 1 right, the opposite seat stays on top.
    EXPECT_EQ(RelativePosition(3, 2, true), kLeft);
    EXPECT_EQ(RelativePosition(1, 2, true), kRight);
    EXPECT_EQ(RelativePosition(0, 2, true), kTop);
}

TEST(TableLayout, TrickCardsArePlacedByWhoPlayedThem)
{
    TGameInfo g = DealtRecord(5);
    ChooseContract(g, KozKupa);
    // Before anyone leads, the place follows the card's index (with the clockwise swap).
    EXPECT_EQ(TrickPosition(g, 1, 0, false), kRight);
    EXPECT_EQ(TrickPosition(g, 1, 0, true), kLeft);
    // A trick led by seat 1, seen by seat 0: its first card lies at the right.
    g.Leader = 1;
    EXPECT_EQ(TrickPosition(g, 0, 0, false), kRight);
    EXPECT_EQ(TrickPosition(g, 1, 0, false), kTop);
    EXPECT_EQ(TrickPosition(g, 3, 0, false), kBottom);
    // Seen by seat 3: seat 1 sits on top.
    EXPECT_EQ(TrickPosition(g, 0, 3, false), kTop);
}

namespace {

int VisibleCount(const std::array<Slot, kSlotsPerHand>& row)
{
    int n = 0;
    for (const Slot& s : row)
        n += s.visible;
    return n;
}

} // namespace

TEST(TableLayout, PlayedCardsCloseUpAndAFreshDealRefillsTheRow)
{
    TGameInfo g = DealtRecord(11);
    HandSlots rows{};
    UpdateHandSlots(rows, g, 0, false);
    for (int k = 0; k < kSlotsPerHand; ++k) {
        ASSERT_TRUE(rows[kBottom][k].visible);
        EXPECT_EQ(rows[kBottom][k].suit, g.CardSuit[0][k]);
        EXPECT_EQ(rows[kBottom][k].value, g.CardValue[0][k]);
    }
    // The fifth card of seat 0 is played: the cards after it move up one slot, in order,
    // and the last slot empties.
    const HandSlots before = rows;
    RemoveCard(g, 0, g.CardSuit[0][4], g.CardValue[0][4]);
    UpdateHandSlots(rows, g, 0, false);
    for (int k = 0; k < kSlotsPerHand - 1; ++k) {
        const Slot& was = before[kBottom][k < 4 ? k : k + 1];
        EXPECT_TRUE(rows[kBottom][k].visible) << k;
        EXPECT_EQ(rows[kBottom][k].value, was.value) << k;
        EXPECT_EQ(rows[kBottom][k].suit, was.suit) << k;
    }
    EXPECT_FALSE(rows[kBottom][12].visible);
    // Seat 1 (right) loses its first card: the row closes up from its first slot.
    RemoveCard(g, 1, g.CardSuit[1][0], g.CardValue[1][0]);
    UpdateHandSlots(rows, g, 0, false);
    EXPECT_EQ(rows[kRight][0].value, before[kRight][1].value);
    EXPECT_EQ(VisibleCount(rows[kRight]), 12);
    for (int k = 0; k < kSlotsPerHand; ++k)
        EXPECT_EQ(rows[kRight][k].visible, k < 12) << k;

    // A new deal of 13 cards rebuilds every row from slot 0, without gaps.
    TGameInfo next = DealtRecord(12);
    UpdateHandSlots(rows, next, 0, false);
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(VisibleCount(rows[p]), 13);
    for (int k = 0; k < kSlotsPerHand; ++k)
        EXPECT_EQ(rows[kBottom][k].value, next.CardValue[0][k]);
}

TEST(TableLayout, ALoadedGameWithThirteenCardsAfterThirteenRebuildsTheRow)
{
    TGameInfo a = DealtRecord(21);
    TGameInfo b = DealtRecord(22);
    HandSlots rows{};
    UpdateHandSlots(rows, a, 0, false);
    // Same number of cards, other cards: the row is rebuilt from the left in hand order.
    UpdateHandSlots(rows, b, 0, false);
    for (int k = 0; k < kSlotsPerHand; ++k) {
        EXPECT_TRUE(rows[kBottom][k].visible);
        EXPECT_EQ(rows[kBottom][k].suit, b.CardSuit[0][k]);
        EXPECT_EQ(rows[kBottom][k].value, b.CardValue[0][k]);
    }
}

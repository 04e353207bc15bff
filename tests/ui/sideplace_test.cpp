#include "sideplace.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QSize kScore(332, 308), kPenalty(332, 308); // 330 x 283 inside a frame with a title bar

// Both windows keep their sizes, lie wholly on the screen and do not cover each other.
void ExpectWhole(const QRect& screen, const TSidePlaces& at, const char* where)
{
    const QRect score(at.score, kScore), penalty(at.penalty, kPenalty);
    EXPECT_TRUE(screen.contains(score)) << where;
    EXPECT_TRUE(screen.contains(penalty)) << where;
    EXPECT_FALSE(score.intersects(penalty)) << where;
}

TEST(SideWindows, BesideTheMainWindowWhereThereIsRoomElseOverItsEdgeNeverOffTheScreen)
{
    const QRect screen(0, 0, 1600, 1200);
    const QSize decoration(2, 25);

    // The designed main window in the corner: at its right edge, stacked, top aligned.
    QRect main(QPoint(0, 0), QSize(470, 566) + decoration);
    TSidePlaces at = PlaceSideWindows(screen, main, main, QRect(), QRect(), kScore, kPenalty);
    EXPECT_EQ(at.score, QPoint(472, 0));
    EXPECT_EQ(at.penalty, QPoint(472, 308));
    ExpectWhole(screen, at, "design");

    // Every size from the smallest to maximised, anywhere across the screen.
    for (int width = 470; width <= 1600; width += 113)
        for (int left = 0; left + width <= 1600; left += 211) {
            main = QRect(QPoint(left, 40), QSize(width, 900));
            const QRect inside = main.adjusted(1, 120, -1, -1);
            // The user's hand, low in the middle of the table.
            const QRect hand(main.center().x() - 130, main.bottom() - 200, 260, 110);
            at = PlaceSideWindows(screen, main, inside, QRect(), hand, kScore, kPenalty);
            ExpectWhole(screen, at, "sizes");
            const int roomRight = 1599 - main.right(), roomLeft = main.left();
            const QRect score(at.score, kScore);
            if (roomRight >= kScore.width()) {
                EXPECT_EQ(at.score.x(), main.right() + 1) << width << " " << left;
            } else if (roomLeft >= kScore.width()) {
                EXPECT_EQ(at.score.x() + kScore.width(), main.left()) << width << " " << left;
            } else { // over its edge, on the side with more room, below its menu and panel
                EXPECT_EQ(score.intersected(main).width(), kScore.width() - std::max(roomLeft, roomRight))
                    << width << " " << left;
                EXPECT_EQ(at.score.y(), inside.top()) << width << " " << left;
            }
            EXPECT_FALSE(score.intersects(hand) || QRect(at.penalty, kPenalty).intersects(hand)) << width << " " << left;
        }

    // Maximised under a panel of the desktop: inside, below the table's top panel.
    const QRect work(0, 38, 1600, 1162);
    main = work;
    at = PlaceSideWindows(work, main, QRect(0, 38 + 25 + 110, 1600, 1000), QRect(), QRect(560, 900, 520, 200), kScore,
                          kPenalty);
    EXPECT_EQ(at.score, QPoint(1600 - 332, 173));
    ExpectWhole(work, at, "maximised");

    // A main window dragged below the screen's bottom: the stack stays on the screen.
    at = PlaceSideWindows(screen, QRect(100, 1000, 472, 591), QRect(), QRect(), QRect(), kScore, kPenalty);
    EXPECT_EQ(at.score.y(), 1200 - 2 * 308);
    ExpectWhole(screen, at, "low");

    // The same screen at scale factor 2 (800 x 600 logical pixels) has room neither for the
    // stack nor beside the main window: at the screen's edge, over the main window's edge
    // alone, the taken cards overlapping the foot of the score table (blank below its grid).
    const QRect half(0, 0, 800, 600);
    main = QRect(QPoint(0, 0), QSize(470, 566) + decoration);
    at = PlaceSideWindows(half, main, main.adjusted(0, 100, 0, 0), QRect(), QRect(100, 430, 260, 104), kScore, kPenalty);
    EXPECT_EQ(at.score, QPoint(800 - 332, 0));
    EXPECT_EQ(at.penalty, QPoint(800 - 332, 600 - 308));
}

} // namespace

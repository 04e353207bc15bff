#include "cheer.h"

#include "shapetext.h"
#include "ui_test_util.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TBalloonState Balloon(double x, double y, double radius, double speed, double heading)
{
    TBalloonState b;
    b.x = b.prevX = x;
    b.y = b.prevY = y;
    b.radius = radius;
    b.mass = 3.14159265358979 * radius * radius;
    b.speed = speed;
    b.heading = heading;
    return b;
}

TEST(CheerSizes, ScaleFromFiftyToAHundredWithTheLastHighestWinning)
{
    int sizes[4];
    const int mixed[4] = {-80, 130, 0, -50};
    EXPECT_EQ(CheerSizes(mixed, sizes), 1);
    EXPECT_EQ(std::vector<int>(sizes, sizes + 4), (std::vector<int>{50, 100, 89, 52}));

    const int tied[4] = {-300, 250, 250, -10};
    EXPECT_EQ(CheerSizes(tied, sizes), 2) << "the later seat wins a tie";
    EXPECT_EQ(sizes[1], 100);
    EXPECT_EQ(sizes[2], 100);
    EXPECT_EQ(sizes[0], 50);

    const int equal[4] = {-40, -40, -40, -40};
    EXPECT_EQ(CheerSizes(equal, sizes), 3);
    EXPECT_EQ(std::vector<int>(sizes, sizes + 4), (std::vector<int>{75, 75, 75, 75}));
}

TEST(CheerMotion, StepsLeaveRingsAndBounceOffTheEdges)
{
    const TCheerArea area{0, 40, 600, 400};
    // A winner heading up and to the right, just short of the right edge.
    TBalloonState b = Balloon(560, 200, 40, 20, 45.1);
    const int d = Advance(b);
    EXPECT_EQ(d, 20);
    EXPECT_GT(b.x, b.prevX);
    EXPECT_LT(b.y, b.prevY) << "a heading of 45 moves up the screen";
    const std::vector<QPoint> rings = TrailCentres(b, d);
    ASSERT_EQ(rings.size(), 3u);
    EXPECT_EQ(rings[0], QPoint(563, 196));
    Bounce(b, area);
    EXPECT_EQ(b.heading, -225.0);
    Advance(b);
    EXPECT_LT(b.x, b.prevX) << "continues to the left";
    EXPECT_LT(b.y, b.prevY) << "and up";

    // Speed 5 leaves no ring, 7 one.
    TBalloonState slow = Balloon(300, 200, 30, 5, -30.1);
    EXPECT_TRUE(TrailCentres(slow, Advance(slow)).empty());
    slow.speed = 7;
    EXPECT_EQ(TrailCentres(slow, Advance(slow)).size(), 1u);

    // {x, y, heading before, heading after} for balloons of radius 30 at speed 8.
    const double bounces[][4] = {
        {590, 200, 150.1, 150.1},  // past the right edge but moving away: kept
        {300, 65, 60.1, -60.1},    // top edge
        {300, 375, -20.1, 20.1},   // bottom edge
        {25, 200, -200.1, 20.0},   // left edge: -200.1 + 180 truncates to -20, negated
    };
    for (const auto& c : bounces) {
        TBalloonState edge = Balloon(c[0], c[1], 30, 8, c[2]);
        Advance(edge);
        Bounce(edge, area);
        EXPECT_EQ(edge.heading, c[3]) << c[2];
    }
}

TEST(CheerMotion, CollisionsKeepTheTotalSpeedAndNeedApproach)
{
    // Head on, equal sizes: the balloons swap their motion.
    TBalloonState a = Balloon(100, 100, 30, 7, 0);
    TBalloonState b = Balloon(150, 100, 30, 7, 180);
    double previous = 0;
    EXPECT_FALSE(Collide(a, b, previous)) << "no distance measured before";
    EXPECT_DOUBLE_EQ(previous, 50);
    a.x += 1;
    EXPECT_TRUE(Collide(a, b, previous));
    EXPECT_NEAR(std::fabs(a.heading), 180, 1e-9);
    EXPECT_NEAR(b.heading, 0, 1e-9);
    EXPECT_DOUBLE_EQ(a.speed + b.speed, 14);

    // Glancing, unequal: the sum of the speeds is kept.
    TBalloonState big = Balloon(200, 200, 50, 20, 45.1);
    TBalloonState small = Balloon(265, 170, 25, 6, -160.1);
    previous = 1000;
    ASSERT_TRUE(Collide(big, small, previous));
    EXPECT_NEAR(big.speed + small.speed, 26, 1e-9);
    EXPECT_NE(big.heading, 45.1);

    // Still overlapping afterwards: no new collision until they come closer again.
    EXPECT_FALSE(Collide(big, small, previous));
    small.x += 3;
    EXPECT_FALSE(Collide(big, small, previous)) << "moving apart";
    small.x -= 1;
    EXPECT_TRUE(Collide(big, small, previous)) << "approaching again";

    small.x += 100; // apart by more than the radii: never
    previous = 1000;
    EXPECT_FALSE(Collide(big, small, previous));
}

TEST(Cheer, BalloonsOverTheTableAreRemovedWithTheAnimation)
{
    QWidget owner;
    owner.resize(640, 480);
    owner.show();
    const QRect area(0, 40, 640, 400);
    TGameInfo g = SampleRecord();
    const int totals[4] = {-80, 130, 0, -50};
    for (int p = 0; p < 4; ++p)
        g.Score.Totals[p].Total = int16_t(totals[p]);
    {
        TCheer cheer(&owner, area);
        cheer.Random() = TRandom(11);
        EXPECT_FALSE(cheer.TimerEnabled());
        cheer.Start(g);
        EXPECT_TRUE(cheer.TimerEnabled());
        ASSERT_EQ(cheer.BalloonCount(), 4);
        EXPECT_EQ(cheer.Control(0)->Text(), QStringLiteral("Ayşe"));
        EXPECT_EQ(cheer.Control(0)->pos(), QPoint(10, 50));
        EXPECT_EQ(cheer.Control(2)->pos(), QPoint(640 - 89 - 10, 440 - 89 - 10));
        EXPECT_EQ(cheer.Control(1)->BrushColor(), QColor(255, 0, 0));
        EXPECT_EQ(cheer.State(1).speed, 20);
        for (int p : {0, 2, 3}) {
            EXPECT_GE(cheer.State(p).speed, 5);
            EXPECT_LE(cheer.State(p).speed, 9);
            const double h = std::fmod(std::fabs(cheer.State(p).heading), 180.0);
            EXPECT_TRUE(h > 20 && h < 70) << cheer.State(p).heading;
        }

        QImage img = Grab(owner);
        EXPECT_EQ(Pixel(img, 320, 240), QColor(0, 0, 0)) << "the area turns black";
        const double startX = cheer.State(1).x;
        EXPECT_TRUE(QTest::qWaitFor([&] { return cheer.State(1).x != startX; }, 3000)) << "the timer moves it";
        const TBalloonState before = cheer.State(1);
        cheer.Tick();
        const TBalloonState& after = cheer.State(1);
        EXPECT_EQ(cheer.Control(1)->pos(), QPoint(int(after.x - after.radius), int(after.y - after.radius)));
        // The winner's first ring, 5 pixels along, shows outside the balloon's new place.
        img = owner.grab().toImage(); // no event processing: no further tick
        const double rad = before.heading * 3.14159265358979 / 180;
        const int cx = int(before.x + std::cos(rad) * 5), cy = int(before.y - std::sin(rad) * 5);
        const int back = int(before.radius) - 2; // on the ring, on the side away from the move
        const QColor ring = Pixel(img, cx - int(std::cos(rad) * back), cy + int(std::sin(rad) * back));
        EXPECT_TRUE(ring == QColor(255, 0, 0) || ring == QColor(255, 255, 255)) << qPrintable(ring.name());
    }
    EXPECT_TRUE(owner.findChildren<TShapeText*>().isEmpty());
    EXPECT_TRUE(owner.findChildren<QWidget*>().isEmpty()) << "the black canvas goes too";
}

} // namespace

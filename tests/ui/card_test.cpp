#include "card.h"
#include "ui_test_util.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

const QColor kTable(0, 120, 40);
constexpr int kX = 10, kY = 12;

// A coloured window with one card at (kX, kY).
struct Table {
    QWidget window;
    TCard* card;
    Table()
    {
        window.resize(100, 130);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, kTable);
        window.setPalette(pal);
        window.setAutoFillBackground(true);
        card = new TCard(&window);
        card->move(kX, kY);
    }
};

QImage Sheet() { return QImage(":/cards/cardset.png").convertToFormat(QImage::Format_RGB32); }
QImage Back() { return QImage(":/cards/cardback.png").convertToFormat(QImage::Format_RGB32); }

// Compares the card's pixels (corners left out) with a 71 x 96 picture, or its negative.
::testing::AssertionResult ShowsPicture(const QImage& shot, const QImage& picture, QPoint from,
                                        bool negative)
{
    for (int y = 0; y < TCard::kHeight; ++y)
        for (int x = 0; x < TCard::kWidth; ++x) {
            const bool corner = (x == 0 || x == TCard::kWidth - 1) && (y == 0 || y == TCard::kHeight - 1);
            if (corner)
                continue;
            QColor want = Pixel(picture, from.x() + x, from.y() + y);
            if (negative)
                want = Negative(want);
            const QColor got = Pixel(shot, kX + x, kY + y);
            if (got != want)
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << qPrintable(got.name())
                                                     << ", expected " << qPrintable(want.name());
        }
    return ::testing::AssertionSuccess();
}

void ExpectCornersShowTable(const QImage& shot)
{
    for (QPoint c : {QPoint(0, 0), QPoint(70, 0), QPoint(0, 95), QPoint(70, 95)})
        EXPECT_EQ(Pixel(shot, kX + c.x(), kY + c.y()), kTable) << c.x() << "," << c.y();
}

TEST(Card, PicturesAreCompiledInWithTheirSizes)
{
    EXPECT_EQ(Sheet().size(), QSize(923, 384));
    EXPECT_EQ(Back().size(), QSize(71, 96));
    const QImage mask(":/cards/cardmask.png");
    ASSERT_EQ(mask.size(), QSize(71, 96));
    int white = 0;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 71; ++x)
            white += (mask.pixel(x, y) & 0xffffff) == 0xffffff;
    EXPECT_EQ(white, 4);
    EXPECT_EQ(mask.pixel(0, 0) & 0xffffff, 0xffffffu);
    EXPECT_EQ(mask.pixel(70, 95) & 0xffffff, 0xffffffu);
    // Every face and the back are black in the four corner pixels.
    const QImage sheet = Sheet();
    for (int s = 0; s < 4; ++s)
        for (int v = 0; v < 13; ++v)
            for (QPoint c : {QPoint(0, 0), QPoint(70, 0), QPoint(0, 95), QPoint(70, 95)})
                ASSERT_EQ(sheet.pixel(v * 71 + c.x(), s * 96 + c.y()) & 0xffffff, 0u) << s << " " << v;
}

TEST(Card, StartsAsAceOfClubsFaceUpAndShowsItsSheetCell)
{
    Table t;
    EXPECT_EQ(t.card->size(), QSize(71, 96));
    EXPECT_EQ(t.card->Card(), Ace);
    EXPECT_EQ(t.card->Suit(), Clubs);
    EXPECT_TRUE(t.card->ShowCard());
    EXPECT_FALSE(t.card->SelectedCard());
    const QImage shot = Grab(t.window);
    EXPECT_TRUE(ShowsPicture(shot, Sheet(), QPoint(0, 0), false));
    ExpectCornersShowTable(shot);
}

TEST(Card, KingOfSpadesComesFromTheBottomRightCell)
{
    Table t;
    t.card->SetSuit(Spades);
    t.card->SetCard(King);
    EXPECT_TRUE(ShowsPicture(Grab(t.window), Sheet(), QPoint(852, 288), false));
}

TEST(Card, SelectedCardIsTheExactNegativeWithTheTableInItsCorners)
{
    Table t;
    t.card->SetSuit(Hearts);
    t.card->SetCard(Queen);
    t.card->SetSelectedCard(true);
    QImage shot = Grab(t.window);
    EXPECT_TRUE(ShowsPicture(shot, Sheet(), QPoint(11 * 71, 2 * 96), true));
    ExpectCornersShowTable(shot);

    t.card->SetShowCard(false);
    shot = Grab(t.window);
    EXPECT_TRUE(ShowsPicture(shot, Back(), QPoint(0, 0), true));
    ExpectCornersShowTable(shot);

    t.card->SetSelectedCard(false);
    shot = Grab(t.window);
    EXPECT_TRUE(ShowsPicture(shot, Back(), QPoint(0, 0), false));
    ExpectCornersShowTable(shot);
}

TEST(Card, FaceDownCardIgnoresNewFaceUntilTurned)
{
    Table t;
    t.card->SetShowCard(false);
    const QImage before = Grab(t.window);
    EXPECT_TRUE(ShowsPicture(before, Back(), QPoint(0, 0), false));
    t.card->SetSuit(Diamonds);
    t.card->SetCard(Seven);
    EXPECT_EQ(Grab(t.window), before);
    t.card->SetShowCard(true);
    EXPECT_TRUE(ShowsPicture(Grab(t.window), Sheet(), QPoint(6 * 71, 96), false));
}

TEST(Card, ByteOutsideTheSheetShowsTheBack)
{
    Table t;
    t.card->SetCard(255);
    EXPECT_TRUE(ShowsPicture(Grab(t.window), Back(), QPoint(0, 0), false));
}

TEST(Card, PicturesAreFreedWithTheLastCardAndReloadedByTheNext)
{
    ASSERT_EQ(TCard::InstanceCount(), 0);
    EXPECT_FALSE(TCard::PicturesLoaded());
    {
        auto a = std::make_unique<TCard>();
        auto b = std::make_unique<TCard>();
        EXPECT_EQ(TCard::InstanceCount(), 2);
        EXPECT_TRUE(TCard::PicturesLoaded());
        a.reset();
        EXPECT_TRUE(TCard::PicturesLoaded());
    }
    EXPECT_EQ(TCard::InstanceCount(), 0);
    EXPECT_FALSE(TCard::PicturesLoaded());

    Table t;
    t.card->SetSuit(Diamonds);
    t.card->SetCard(Ten);
    const QImage shot = Grab(t.window);
    EXPECT_TRUE(ShowsPicture(shot, Sheet(), QPoint(9 * 71, 96), false));
    ExpectCornersShowTable(shot);
}

// The window rendered with `ratio` device pixels per pixel, as on a scaled screen.
QImage GrabAt(QWidget& w, int ratio)
{
    Grab(w);
    QImage img(w.size() * ratio, QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    {
        QPainter p(&img);
        w.render(&p);
    }
    img.setDevicePixelRatio(1);
    return img;
}

// The card's device pixels out of a window shot at `ratio`.
QImage CardOf(const QImage& shot, int ratio)
{
    return shot.copy(kX * ratio, kY * ratio, TCard::kWidth * ratio, TCard::kHeight * ratio);
}

// How many device pixels of the 2x card differ from the 1x card doubled pixel by pixel,
// inside `area` (card pixels); and how many of those lie where the 1x picture is one
// flat colour around the pixel (so not on any edge).
struct Differences {
    int total = 0;
    int offEdges = 0;
};

Differences DoubledAgainstSharp(const QImage& one, const QImage& two, const QRect& area)
{
    Differences d;
    for (int y = area.top() * 2; y <= area.bottom() * 2 + 1; ++y)
        for (int x = area.left() * 2; x <= area.right() * 2 + 1; ++x) {
            const int cx = x / 2, cy = y / 2;
            if (Pixel(two, x, y) == Pixel(one, cx, cy))
                continue;
            ++d.total;
            bool flat = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = std::clamp(cx + dx, 0, one.width() - 1), ny = std::clamp(cy + dy, 0, one.height() - 1);
                    flat = flat && Pixel(one, nx, ny) == Pixel(one, cx, cy);
                }
            d.offEdges += flat;
        }
    return d;
}

TEST(CardAtScale, TwiceTheDeviceBitsAlongTheEdgesOfLettersAndPips)
{
    Table t;
    t.card->SetSuit(Hearts);
    t.card->SetCard(Ten);
    const QImage one = CardOf(Grab(t.window), 1);
    const QImage two = CardOf(GrabAt(t.window, 2), 2);
    ASSERT_EQ(two.size(), QSize(142, 192));
    // The "10" and small heart of the corner index, and the top left pip.
    const QRect index(1, 2, 14, 25), pip(17, 11, 14, 14);
    for (const QRect& area : {index, pip}) {
        const Differences d = DoubledAgainstSharp(one, two, area);
        EXPECT_GT(d.total, 40) << "a 2x card must not be the 1x card doubled";
        EXPECT_LT(d.offEdges, d.total / 20 + 1) << "the same picture, only finer at the edges";
    }
    // The corner pixels show the table as 2 x 2 blocks; the frame is black.
    for (QPoint c : {QPoint(0, 0), QPoint(141, 0), QPoint(0, 191), QPoint(140, 190)})
        EXPECT_EQ(Pixel(two, c.x(), c.y()), kTable) << c.x() << "," << c.y();
    EXPECT_EQ(Pixel(two, 2, 0), QColor(Qt::black));
    EXPECT_EQ(Pixel(two, 2, 2), QColor(Qt::black));
}

TEST(CardAtScale, SelectedCardIsTheNegativeOfTheSameScaleAndBacksAreSharpToo)
{
    Table t;
    t.card->SetSuit(Spades);
    t.card->SetCard(King);
    for (const int ratio : {2, 3}) {
        t.card->SetSelectedCard(false);
        const QImage plain = CardOf(GrabAt(t.window, ratio), ratio);
        t.card->SetSelectedCard(true);
        const QImage selected = CardOf(GrabAt(t.window, ratio), ratio);
        int wrong = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) {
                const bool corner = (x < ratio || x >= plain.width() - ratio) && (y < ratio || y >= plain.height() - ratio);
                const QColor want = corner ? kTable : Negative(Pixel(plain, x, y));
                wrong += Pixel(selected, x, y) != want;
            }
        EXPECT_EQ(wrong, 0) << "at " << ratio << "x";
    }
    t.card->SetSelectedCard(false);
    t.card->SetShowCard(false);
    const QImage back = CardOf(GrabAt(t.window, 2), 2);
    const QImage backOne = CardOf(Grab(t.window), 1);
    EXPECT_GT(DoubledAgainstSharp(backOne, back, QRect(20, 28, 32, 40)).total, 40);
}

} // namespace

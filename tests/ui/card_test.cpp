#include "card.h"
#include "ui_test_util.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

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

} // namespace

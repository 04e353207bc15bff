// The last trick shown again, the nudge when the user's turn comes while the window is in
// the background, and the only legal card played by itself.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include "card.h"
#include "mainform_fixture.h"
#include "regeasy.h"
#include "sounds.h"

namespace {

// Plays the first legal card of whoever is to play until `cards` cards are down.
void PlayCards(TGameInfo& g, int cards)
{
    TRandom rnd(5);
    for (int n = 0; n < cards; ++n) {
        if (g.Phase == psTrickComplete)
            ResolveTrick(g, rnd);
        const int seat = g.Turn;
        for (int i = 0; i < g.CardCount[seat]; ++i)
            if (CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i])) {
                PlayCard(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]);
                break;
            }
    }
}

int LegalCards(const TGameInfo& g, int seat)
{
    int n = 0;
    for (int i = 0; i < g.CardCount[seat]; ++i)
        n += CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]);
    return n;
}

TEST_F(MainFormTest, PressOnTheTrickAreaOrSpaceShowsTheTrickJustTakenAndWhoTookIt)
{
    TGameInfo g = DealtRecord(17);
    ChooseContract(g, KozSinek);
    PlayCards(g, 4);
    ASSERT_EQ(g.TrickCount, 4);
    const TGameInfo full = g;
    const int taker = WhoBiggest(full);
    Seat(0);
    Record(full);
    TRandom rnd(5);
    ResolveTrick(g, rnd);
    PlayCards(g, 1); // the taker leads the next trick
    Record(g);
    const int leadPlace = form->View().RelativePosition(g.Leader);
    ASSERT_TRUE(form->View().TrickCard(leadPlace)->isVisible());

    const auto expectTakenTrick = [&] {
        for (int i = 0; i < 4; ++i) {
            const TCard* card = form->View().TrickCard(form->View().RelativePosition((full.Leader + i) % 4));
            EXPECT_TRUE(card->isVisible());
            EXPECT_EQ(card->Suit(), full.TrickSuit[i]);
            EXPECT_EQ(card->Card(), full.TrickValue[i]);
        }
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(form->View().HandMarker(p)->isVisible(), p == form->View().RelativePosition(taker)) << p;
    };
    const auto expectTrickInPlay = [&] {
        for (int p = 0; p < 4; ++p) {
            EXPECT_EQ(form->View().TrickCard(p)->isVisible(), p == leadPlace) << p;
            EXPECT_FALSE(form->View().HandMarker(p)->isVisible());
        }
        EXPECT_EQ(form->View().TrickCard(leadPlace)->Suit(), g.TrickSuit[0]);
        EXPECT_EQ(form->View().TrickCard(leadPlace)->Card(), g.TrickValue[0]);
    };

    // Pressed on the card in play: the taken trick until the button is released.
    QWidget* table = form->centralWidget();
    QTest::mousePress(form->View().TrickCard(leadPlace), Qt::LeftButton);
    EXPECT_TRUE(form->View().ShowingLastTrick());
    expectTakenTrick();
    QTest::mouseRelease(form->View().TrickCard(leadPlace), Qt::LeftButton);
    expectTrickInPlay();
    // Wherever the button is let go (here over a name), the look ends; so it does when the
    // window loses the focus with the button still down.
    QTest::mousePress(form->View().TrickCard(leadPlace), Qt::LeftButton);
    ASSERT_TRUE(form->View().ShowingLastTrick());
    QTest::mouseRelease(form->View().NameLabel(table::kTop), Qt::LeftButton);
    expectTrickInPlay();
    QTest::mousePress(form->View().TrickCard(leadPlace), Qt::LeftButton);
    ASSERT_TRUE(form->View().ShowingLastTrick());
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(form.get(), &deactivate);
    expectTrickInPlay();
    // Pressed on the empty part of the trick area, then elsewhere on the table.
    const QRect area = form->View().TrickArea();
    QTest::mousePress(table, Qt::LeftButton, {}, area.topLeft() + QPoint(2, 2));
    EXPECT_TRUE(form->View().ShowingLastTrick());
    QTest::mouseRelease(table, Qt::LeftButton, {}, area.topLeft() + QPoint(2, 2));
    EXPECT_FALSE(form->View().ShowingLastTrick());
    QTest::mousePress(table, Qt::LeftButton, {}, QPoint(area.right() + 40, area.top()));
    EXPECT_FALSE(form->View().ShowingLastTrick());
    QTest::mouseRelease(table, Qt::LeftButton, {}, QPoint(area.right() + 40, area.top()));

    // The space bar held; the next card played ends the look.
    QTest::keyPress(form.get(), Qt::Key_Space);
    expectTakenTrick();
    PlayCards(g, 1);
    Record(g);
    EXPECT_FALSE(form->View().ShowingLastTrick());
    EXPECT_TRUE(form->View().TrickCard(form->View().RelativePosition((g.Leader + 1) % 4))->isVisible());
    QTest::keyRelease(form.get(), Qt::Key_Space);
    EXPECT_FALSE(form->View().HandMarker(form->View().RelativePosition(taker))->isVisible());

    // While the full trick itself lies on the table there is nothing else to show.
    Record(full);
    QTest::keyPress(form.get(), Qt::Key_Space);
    EXPECT_FALSE(form->View().ShowingLastTrick());
    QTest::keyRelease(form.get(), Qt::Key_Space);
}

TEST_F(MainFormTest, TurnInTheBackgroundAsksForAttentionOnceWithItsSound)
{
    TGameInfo g = DealtRecord(23);
    ChooseContract(g, KozSinek);
    const int me = g.Turn;
    Seat(me);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(WaitFor([&] { return !form->isActiveWindow(); }, 3000));
    TSoundBox& sounds = form->Sounds();
    const TGameInfo myTurn = g;
    TGameInfo theirTurn = g;
    PlayCards(theirTurn, 1);
    Record(myTurn);
    EXPECT_EQ(sounds.Requests(kSoundYourTurn), 1);
    Record(myTurn); // the same turn: no second nudge
    EXPECT_EQ(sounds.Requests(kSoundYourTurn), 1);
    Record(theirTurn);
    Record(myTurn); // a new turn of the user
    EXPECT_EQ(sounds.Requests(kSoundYourTurn), 2);

    // With the window in front the turn needs no nudge.
    Record(theirTurn);
    form->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return form->isActiveWindow(); }, 3000));
    Record(myTurn);
    EXPECT_EQ(sounds.Requests(kSoundYourTurn), 2);
    // Choosing the contract is a turn too.
    TGameInfo choosing = DealtRecord(23);
    Seat(choosing.Chooser);
    Record(theirTurn);
    other.activateWindow();
    ASSERT_TRUE(WaitFor([&] { return !form->isActiveWindow(); }, 3000));
    Record(choosing);
    EXPECT_EQ(sounds.Requests(kSoundYourTurn), 3);
}

TEST_F(MainFormTest, TheOnlyLegalCardIsPlayedAfterAPauseWhenSoSet)
{
    EXPECT_FALSE(form->Menus().SingleCard->isChecked()); // off by default
    // A position where the user must follow with the one card of the led suit.
    TGameInfo g;
    int me = -1;
    for (uint32_t seed = 1; seed < 400 && me < 0; ++seed) {
        g = DealtRecord(seed);
        ChooseContract(g, ElAlmaz);
        PlayCards(g, 1);
        if (LegalCards(g, g.Turn) == 1)
            me = g.Turn;
    }
    ASSERT_GE(me, 0);
    form->Menus().Quick->trigger(); // quick: a short pause
    Seat(me);
    Record(g);
    Settle(100);
    EXPECT_EQ(sent.Count(CARD_PLAY), 0);

    form->Menus().SingleCard->trigger(); // during the turn: it counts
    EXPECT_TRUE(ReadRegBool(kRegKey, kRegPlaySingleCard, false));
    ASSERT_TRUE(WaitFor([&] { return sent.Count(CARD_PLAY) == 1; }, 2000));
    Settle(50);
    EXPECT_EQ(sent.Count(CARD_PLAY), 1);

    // Two or more legal cards: the user chooses.
    TGameInfo lead = DealtRecord(3);
    ChooseContract(lead, KozSinek);
    Seat(lead.Turn);
    Record(lead);
    Settle(100);
    EXPECT_EQ(sent.Count(CARD_PLAY), 1);
}

} // namespace

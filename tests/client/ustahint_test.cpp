// "Bilgisayar seviyesi" and "İpucu": the level kept in the settings, the hint that marks the
// card Usta would play without playing it, and Usta playing for the user when asked.
#include <QAction>
#include <QTest>

#include "card.h"
#include "mainform_fixture.h"
#include "regeasy.h"

namespace {

// The bottom row's marked cards, as (suit, value) pairs.
std::vector<std::pair<int, int>> MarkedCards(TMainForm& form)
{
    std::vector<std::pair<int, int>> marked;
    for (int slot = 0; slot < 13; ++slot) {
        const TCard* card = form.View().CardSlot(0, slot);
        if (card && card->isVisible() && card->SelectedCard())
            marked.emplace_back(card->Suit(), card->Card());
    }
    return marked;
}

TEST_F(MainFormTest, TheComputerLevelIsAcemiUntilUstaIsChosenAndThenStaysUsta)
{
    EXPECT_TRUE(form->Menus().Acemi->isChecked());
    EXPECT_FALSE(form->Menus().Usta->isChecked());
    EXPECT_EQ(form->Settings().ComputerLevel(), TComputerLevel::Acemi);
    form->Menus().Usta->trigger();
    EXPECT_FALSE(form->Menus().Acemi->isChecked());
    EXPECT_EQ(ReadRegInteger(kRegKey, kRegComputerLevel, -1), 1);
    // The next window reads it back.
    form = std::make_unique<TMainForm>();
    form->SetPrompts(&user);
    form->SetAutoStart(false);
    form->FirstActivation();
    EXPECT_EQ(form->Settings().ComputerLevel(), TComputerLevel::Usta);
    EXPECT_TRUE(form->Menus().Usta->isChecked());
}

TEST_F(MainFormTest, TheHintMarksOneLegalCardUntilTheNextRecordAndSendsNothing)
{
    TGameInfo g = DealtRecord(21);
    ChooseContract(g, KizAlmaz);
    Seat(g.Turn);
    const int seat = g.Turn;
    Record(g);
    form->Menus().Hint->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !MarkedCards(*form).empty(); }, 20000));
    const auto marked = MarkedCards(*form);
    ASSERT_EQ(marked.size(), 1u);
    EXPECT_TRUE(CanPlay(g, seat, uint8_t(marked[0].first), uint8_t(marked[0].second)));
    EXPECT_EQ(sent.Count(CARD_PLAY), 0);
    // The user plays; the record that follows takes the mark away.
    PlayCard(g, seat, uint8_t(marked[0].first), uint8_t(marked[0].second));
    Record(g);
    EXPECT_TRUE(MarkedCards(*form).empty());
}

TEST_F(MainFormTest, AtLevelUstaTheComputerPlaysForTheUserOnlyWhileTheMoveIsStillDue)
{
    form->Menus().Usta->trigger();
    TGameInfo g = DealtRecord(22);
    Seat(g.Chooser);
    Record(g);
    form->Menus().ComputerOnce->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sent.Count(CONTRACT_CHOICE) == 1; }, 20000));
    // Asked, then overtaken by the next record: the stale answer is dropped.
    ChooseContract(g, ElAlmaz);
    Seat(g.Turn);
    Record(g);
    form->Menus().ComputerOnce->trigger();
    TGameInfo other = g;
    other.Turn = uint8_t((g.Turn + 1) % 4);
    Record(other);
    QTest::qWait(1500);
    EXPECT_EQ(sent.Count(CARD_PLAY), 0);
}

} // namespace

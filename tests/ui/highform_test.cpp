#include "highform.h"
#include "regeasy.h"
#include "ui_test_util.h"

#include <gtest/gtest.h>

namespace {

class TopLists : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
};

// SampleRecord's players ("Ayşe", "Bora", "Cem", "Derya") with final penalty and trump
// totals per seat.
TGameInfo Finished(const std::array<std::array<int, 2>, 4>& totals)
{
    TGameInfo g = SampleRecord();
    for (int p = 0; p < 4; ++p) {
        TSeatTotals& t = g.Score.Totals[p];
        t.PenaltyTotal = int16_t(totals[size_t(p)][0]);
        t.TrumpTotal = int16_t(totals[size_t(p)][1]);
        t.Total = int16_t(t.PenaltyTotal + t.TrumpTotal);
    }
    return g;
}

// What the window showed while it was open after a game: items and red entries per list.
struct Shown {
    int times = 0;
    std::array<QStringList, 4> items;
    std::array<QList<int>, 4> red{};
    // Reads the window if the offer opened it, then the user closes it.
    void Take(THighForm& form)
    {
        if (!form.isVisible())
            return;
        ++times;
        EXPECT_TRUE(form.isModal());
        for (int n = 0; n < 4; ++n) {
            items[size_t(n)] = form.ListBox(n)->Items();
            red[size_t(n)] = form.ListBox(n)->RedIndices();
        }
        form.close();
    }
};

QByteArray StoredBlock(int list)
{
    QByteArray block(240, '\0');
    EXPECT_TRUE(ReadRegBinary(kRegKey, RegListName(kRegTopListsScores, list), block.data(), 240));
    return block;
}

TEST_F(TopLists, FirstGameEverAndASecondGame)
{
    THighForm form;
    Shown shown;
    // Totals: Ayşe 100, Bora 300, Cem -600, Derya 0.
    const TGameInfo g = Finished({{{-300, 400}, {-200, 500}, {-600, 0}, {0, 0}}});
    // The empty lists take every result, each in its place, and all of them are red.
    EXPECT_EQ(form.OfferGame(g), 16);
    shown.Take(form);
    ASSERT_EQ(shown.times, 1);
    EXPECT_EQ(shown.items[0], QStringList({"Bora   300", "Ayşe   100", "Derya   0", "Cem   -600"}));
    EXPECT_EQ(shown.items[1], QStringList({"Cem   -600", "Derya   0", "Ayşe   100", "Bora   300"}));
    EXPECT_EQ(shown.items[2], QStringList({"Bora   500", "Ayşe   400", "Cem   0", "Derya   0"}));
    EXPECT_EQ(shown.items[3], QStringList({"Cem   -600", "Ayşe   -300", "Bora   -200", "Derya   0"}));
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(shown.red[size_t(n)], QList<int>({0, 1, 2, 3})) << n;
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(form.Lists().Lists[size_t(n)].LastInserted, -1);

    // The second game starts from what the first saved. Only two players have a name now;
    // their results enter between the stored ones, and only they are red.
    TGameInfo g2 = Finished({{{-100, 0}, {-400, 50}, {0, 0}, {0, 0}}});
    g2.PlayerName[2][0] = g2.PlayerName[3][0] = '\0';
    EXPECT_EQ(form.OfferGame(g2), 8);
    shown.Take(form);
    EXPECT_EQ(shown.items[0], QStringList({"Bora   300", "Ayşe   100", "Derya   0", "Ayşe   -100",
                                            "Bora   -350", "Cem   -600"}));
    EXPECT_EQ(shown.red[0], QList<int>({3, 4}));
    EXPECT_EQ(shown.red[1], QList<int>({1, 2}));
    EXPECT_EQ(shown.items[1].mid(1, 2), QStringList({"Bora   -350", "Ayşe   -100"}));
    EXPECT_EQ(shown.red[3], QList<int>({1, 4}));
    EXPECT_EQ(shown.items[3].value(1), "Bora   -400");

    // From the menu: filled afresh, nothing red. A game ending while the window is open
    // only brings it to the front.
    form.ShowLists();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(form.ListBox(1)->Items().size(), 6);
    for (int n = 0; n < 4; ++n)
        EXPECT_TRUE(form.ListBox(n)->RedIndices().isEmpty());
    const TGameInfo g3 = Finished({{{0, 900}, {-2000, 0}, {-300, 0}, {-50, 0}}});
    EXPECT_GT(form.OfferGame(g3), 0);
    EXPECT_EQ(shown.times, 2);
    EXPECT_FALSE(form.isModal()) << "only brought to the front";
    form.hide();
}

TEST_F(TopLists, OnlyPlayersWithANameAreOfferedAndNothingEnteredOpensNothing)
{
    THighForm form;
    TGameInfo g = Finished({{{-100, 0}, {-200, 50}, {-300, 0}, {0, 0}}});
    for (int p = 0; p < 4; ++p)
        g.PlayerName[p][0] = '\0';
    EXPECT_EQ(form.OfferGame(g), 0);
    EXPECT_FALSE(form.isVisible());
    TTopLists lists;
    lists.Load();
    for (const TTopList& list : lists.Lists)
        EXPECT_EQ(list.Count, 0);
    EXPECT_EQ(ReadRegInteger(kRegKey, RegListName(kRegTopListsCount, 0), -1), -1);
}

TEST_F(TopLists, RankingRules)
{
    TTopList best; // highest first
    best.InsertAt(0, "A", 300);
    best.InsertAt(1, "B", 200);
    best.InsertAt(2, "C", 100);
    best.LastInserted = -1;
    best.NewEntries = 0;
    EXPECT_TRUE(best.Insert("D", 50)); // beats nothing: taken at the end while there is room
    EXPECT_TRUE(best.Insert("E", 200)); // equal goes below the stored 200
    EXPECT_EQ(best.ItemText(1), "B   200");
    EXPECT_EQ(best.ItemText(2), "E   200");
    EXPECT_EQ(best.ItemText(3), "C   100");
    EXPECT_EQ(best.ItemText(4), "D   50");
    EXPECT_EQ(best.LastInserted, 2);
    EXPECT_EQ(best.NewIndices(), QList<int>({2, 4})); // D moved down with E above it

    TTopList worst;
    worst.Descending = false;
    EXPECT_TRUE(worst.Insert("A", -300));
    EXPECT_TRUE(worst.Insert("B", -400));
    EXPECT_TRUE(worst.Insert("C", -300));
    EXPECT_EQ(worst.ItemText(0), "B   -400");
    EXPECT_EQ(worst.ItemText(2), "C   -300");
    // A full list takes only what beats an entry; the marks of pushed-out entries go.
    for (int i = 3; i < 10; ++i)
        EXPECT_TRUE(worst.Insert("F", i));
    EXPECT_FALSE(worst.Insert("G", 100));
    EXPECT_EQ(worst.Count, 10);
    EXPECT_TRUE(worst.Insert("H", -500));
    EXPECT_EQ(worst.ItemText(9), "F   8");
    EXPECT_EQ(worst.NewIndices().size(), 10);

    // Eleven ever better totals through the store: the tenth falls out, the count stays 10;
    // the worst list takes each one after the others until it is full.
    TTopLists lists;
    for (int i = 0; i <= 10; ++i)
        lists.OfferPlayer(QStringLiteral("P%1").arg(i), i * 10, 0, 0);
    TTopLists stored;
    stored.Load();
    EXPECT_EQ(stored.Lists[0].Count, 10);
    EXPECT_EQ(stored.Lists[0].ItemText(0), "P10   100");
    EXPECT_EQ(stored.Lists[0].ItemText(9), "P1   10");
    EXPECT_EQ(stored.Lists[1].Count, 10);
    EXPECT_EQ(stored.Lists[1].ItemText(9), "P9   90");
}

TEST_F(TopLists, StoredForm)
{
    TTopLists lists;
    lists.OfferPlayer(QStringLiteral("Çağla"), -1234, 7, 0);
    lists.OfferPlayer(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"), 100, 7, 0);
    // Worst totals: Çağla first; best totals: the long name first.
    EXPECT_EQ(StoredBlock(1).left(10), QByteArray("\x2E\xFB\xFF\xFF" "\xC7" "a\xF0la\0", 10));
    EXPECT_EQ(StoredBlock(0).mid(4, 20), QByteArray("ABCDEFGHIJKLMNOPQRS\0", 20));
    EXPECT_EQ(ReadRegInteger(kRegKey, RegListName(kRegTopListsCount, 0), 0), 2);

    // Counts altered outside the program are brought into range; a block of the wrong
    // size leaves the entries in memory as they were.
    WriteRegInteger(kRegKey, RegListName(kRegTopListsCount, 0), 57);
    WriteRegInteger(kRegKey, RegListName(kRegTopListsCount, 1), -3);
    WriteRegBinary(kRegKey, RegListName(kRegTopListsScores, 2), "short", 5);
    TTopLists loaded;
    loaded.Lists[2].Entries[0].Score = 77;
    loaded.Load();
    EXPECT_EQ(loaded.Lists[0].Count, 10);
    EXPECT_EQ(loaded.Lists[1].Count, 0);
    EXPECT_EQ(loaded.Lists[2].Entries[0].Score, 77);
}

TEST(TopListBox, ItemsShrinkDownTheBoxAndTheNewEntryIsRed)
{
    EXPECT_EQ(TTopListBox::ItemHeight(185, 0), 27);
    EXPECT_EQ(TTopListBox::ItemHeight(185, 9), 9);

    THighForm form;
    TTopListBox* box = form.ListBoxTrumpBest;
    EXPECT_EQ(box->size(), QSize(193, 185));
    EXPECT_FALSE(box->isEnabled());
    auto redPixels = [&](const QList<int>& red) {
        box->SetItems({"Ayşe   400", "Bora   350"}, red);
        const QImage img = Grab(*box);
        int count = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = Pixel(img, x, y);
                count += c.red() > 180 && c.green() < 80 && c.blue() < 80;
            }
        return count;
    };
    EXPECT_EQ(redPixels({}), 0);
    const int second = redPixels({1});
    EXPECT_GT(second, 20);
    EXPECT_GT(redPixels({0, 1}), second + 20);
    EXPECT_EQ(Pixel(Grab(*box), 10, 175), TTopListBox::kBackground);
}

} // namespace

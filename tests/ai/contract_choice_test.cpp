// The computer's choice of the contract: which step decides and what it draws.
#include <gtest/gtest.h>

#include "ai_test_util.h"

namespace {

constexpr uint32_t kSeed = 4242;

struct Outcome {
    int contract;
    int draws;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os)
{
    *os << "contract " << o.contract << " after " << o.draws << " draw(s)";
}

// Seat 0 chooses, holding hand; the other seats hold the rest of the deck.
TGameInfo Choosing(const std::string& hand)
{
    TGameInfo g = rules_test::Table(kNone);
    ResetScores(g.Score);
    rules_test::SetHand(g, 0, hand);
    ai_test::DealRest(g);
    StartHand(g, 0);
    return g;
}

Outcome Select(TGameInfo& g)
{
    TRandom rnd(kSeed);
    TComputerPlayer p;
    p.Game = &g;
    const uint8_t c = SelectContract(p, 0, rnd);
    return {c, ai_test::DrawsTaken(rnd, kSeed)};
}

// The numbers a source seeded with kSeed gives for the ranges in turn.
std::vector<int> Draws(std::initializer_list<int> ranges)
{
    TRandom rnd(kSeed);
    std::vector<int> out;
    for (int range : ranges)
        out.push_back(rnd.Next(range));
    return out;
}

// Whether the test of penalty contract c holds for hand: with c the only contract left,
// c is chosen in any case, after one draw when its test holds.
bool Passes(int c, const std::string& hand)
{
    TGameInfo g = Choosing(hand);
    g.Score.UsedOnce = g.Score.UsedTwice = static_cast<uint8_t>(0x3F & ~(1 << c));
    g.Score.TrumpsChosen[0] = 2;
    const Outcome o = Select(g);
    EXPECT_EQ(o.contract, c);
    return o.draws == 1;
}

class ContractChoice : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(notices.notices.empty()); }
    rules_test::NoticeRecorder notices;
};

TEST_F(ContractChoice, StrongHandTakesItsLongestSuitAsTrumpWithoutDrawing)
{
    TGameInfo g = Choosing("AS QS JS TS 9S 8S AH KH QH AD KD 2C 3C");
    EXPECT_EQ(Select(g), (Outcome{KozMaca, 0}));
    // Clubs and hearts both four long: the heavier hearts win.
    g = Choosing("2C 3C 4C 5C QH JH TH 9H AS KS QS AD KD");
    EXPECT_EQ(Select(g), (Outcome{KozKupa, 0}));
}

TEST_F(ContractChoice, TrumpStepPassesOverAHeldAceAndKingAndChosenTrumps)
{
    // Spades are the longest and heaviest, but the seat holds both their Ace and King;
    // the penalty tests follow and only the one of Rıfkı Almaz holds.
    TGameInfo g = Choosing("QC JC TC 9C QH JH TH 9H AS KS QS JS 2D");
    EXPECT_EQ(Select(g), (Outcome{RifkiAlmaz, 1}));

    g = Choosing("AS QS JS TS 9S 8S AH KH QH AD KD 2C 3C");
    g.Score.TrumpsChosen[0] = 2;
    const int r = Draws({6, 10})[1]; // no test holds: anything from a random start
    EXPECT_EQ(Select(g), (Outcome{r < 6 ? r : 0, 2}));
}

TEST_F(ContractChoice, PassingTestsAreTriedFromARandomStart)
{
    // Both Kupa Almaz and Rıfkı Almaz hold for this hand.
    TGameInfo g = Choosing("2H 5H 9H TH AS KS QS JS AD KD QD AC KC");
    g.Score.TrumpsChosen[0] = 2;
    const int r = Draws({6})[0];
    const int first = (r <= 1 || r > 5) ? 1 : 5;
    EXPECT_EQ(Select(g), (Outcome{first, 1}));
    MarkChosen(g.Score, first); // chosen twice: never offered again, even though it holds
    MarkChosen(g.Score, first);
    EXPECT_EQ(Select(g), (Outcome{first == 1 ? 5 : 1, 1}));
}

TEST_F(ContractChoice, PenaltyTests)
{
    EXPECT_TRUE(Passes(ElAlmaz, "AS 2S 3S QS TD 8D 9C TC 8C KH 2H JH QH")); // diamonds just 8.0
    EXPECT_FALSE(Passes(ElAlmaz, "AS 2S 3S QS TD 7D 9C TC 8C KH 2H JH QH"));
    EXPECT_TRUE(Passes(KupaAlmaz, "2H 5H 9H TH AS KS QS JS AD KD QD AC KC"));
    EXPECT_FALSE(Passes(KupaAlmaz, "2H 5H 9H TH AS KS QS JS AD KD QD JH KC"));
    EXPECT_TRUE(Passes(KizAlmaz, "QS 5S 4S KD 9D 8D 2C 3C 4C 2H 3H 4H 5H"));
    EXPECT_FALSE(Passes(KizAlmaz, "QS 5S 4S KD 9D 5C 2C 3C 4C 2H 3H 4H 5H")); // bare King
    EXPECT_TRUE(Passes(ErkekAlmaz, "JS 5S 4S QD 9D 8D KC 3C 4C 2H 3H 4H 5H"));
    EXPECT_FALSE(Passes(ErkekAlmaz, "JS 5S 4S QD 9D 8D KC 3C 4C AH 3H 4H 5H"));
    EXPECT_TRUE(Passes(SonikiAlmaz, "2S 3S 2D 3D 2C 5C 2H 3H AS KS QS JS TS"));
    EXPECT_FALSE(Passes(SonikiAlmaz, "2S 6S 2D 3D 2C 5C 2H 3H AS KS QS JS TS"));
    EXPECT_TRUE(Passes(RifkiAlmaz, "QH 9H 5H 2H AS 3S 4S AD 3D 4D AC 3C 4C"));
    EXPECT_FALSE(Passes(RifkiAlmaz, "KH 9H 5H 2H AS 3S 4S AD 3D 4D AC 3C 4C"));
    // The King of hearts elsewhere, four hearts and a short side suit.
    EXPECT_TRUE(Passes(RifkiAlmaz, "AH 9H 5H 2H AS 3S 4S 5S 6S AD 3D 4D AC"));
    EXPECT_FALSE(Passes(RifkiAlmaz, "AH KH 5H 2H AS 3S 4S 5S 6S AD 3D 4D AC"));
}

TEST_F(ContractChoice, WeakHandFallsBackToAnyPenaltyThenToAnything)
{
    // Weight 8.5 and no test holds: any penalty contract from a second random start.
    TGameInfo g = Choosing("AS KS QD JD 9D 8D 7D 6D 5D 4D 3D 2D 2C");
    const auto r = Draws({6, 6, 10});
    EXPECT_EQ(Select(g), (Outcome{r[1], 2}));
    MarkChosen(g.Score, r[1]);
    MarkChosen(g.Score, r[1]);
    EXPECT_EQ(Select(g), (Outcome{(r[1] + 1) % 6, 2}));

    g.Score.PenaltiesChosen[0] = 3; // only trumps left: the last step finds one
    EXPECT_EQ(Select(g), (Outcome{r[2] >= 6 ? r[2] : 6, 3}));

    ai_test::InTempDir dir;
    g.Score.TrumpsChosen[0] = 2; // nothing left at all
    EXPECT_EQ(Select(g), (Outcome{kNone, 3}));
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0], AIErrorMessage("Bilgisayar oyun seçemedi!"));
    EXPECT_EQ(std::filesystem::file_size("_error.rvo"), kGameInfoSize);
    notices.notices.clear();
}

TEST_F(ContractChoice, HandWeightOfExactlyTenSkipsTheTrumpAndTheWeakSteps)
{
    // Four spades without the King would make spades trump in a stronger hand.
    TGameInfo g = Choosing("AS QS JS TS KD TD 9D 8D 7D 9C 6C 4C 2C");
    TComputerPlayer p;
    p.Game = &g;
    ASSERT_EQ(HandWeight(p, 0, kNone), 10.0f);
    const int r = Draws({6, 10})[1];
    EXPECT_EQ(Select(g), (Outcome{r, 2}));
    g.Score.PenaltiesChosen[0] = 3; // only trumps left: still no draw of the weak step
    EXPECT_EQ(Select(g), (Outcome{r >= 6 ? r : 6, 2}));
}

} // namespace

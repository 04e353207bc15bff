// The card the computer chooses, contract by contract.
#include <gtest/gtest.h>

#include <cstring>

#include "ai_test_util.h"

using ai_test::C;
using rules_test::Card;
using rules_test::Cards;

namespace {

constexpr int kSeat = 2;

// Seat 2 is to move after the cards of trick were laid (none: seat 2 leads).
TGameInfo Deal(uint8_t contract, const std::string& hand, const std::string& trick = "")
{
    TGameInfo g = rules_test::Table(contract);
    rules_test::SetHand(g, kSeat, hand);
    rules_test::SetTrick(g, (kSeat - static_cast<int>(Cards(trick).size()) + 4) % 4, trick);
    return g;
}

Card ChooseIn(TGameInfo& g)
{
    TComputerPlayer p;
    p.Game = &g;
    Card c{kNone, kNone};
    SelectCard(p, g.Turn, c.suit, c.value);
    return c;
}

class CardChoice : public ::testing::Test {
protected:
    // ledTwice: a suit already led in two tricks of the hand; tricks: tricks played.
    Card Choose(uint8_t contract, const std::string& hand, const std::string& trick = "",
                int ledTwice = -1, uint8_t tricks = 0)
    {
        TGameInfo g = Deal(contract, hand, trick);
        if (ledTwice >= 0)
            g.LedCount[ledTwice] = 2;
        g.TricksPlayed = tricks;
        return ChooseIn(g);
    }
    void TearDown() override { EXPECT_TRUE(notices.notices.empty()); }
    rules_test::NoticeRecorder notices;
};

TEST_F(CardChoice, ElAlmaz)
{
    EXPECT_EQ(Choose(ElAlmaz, "2C 9C TH KH"), C("2C")); // clubs 4.5 against hearts 14.5
    EXPECT_EQ(Choose(ElAlmaz, "KS 9S 5S", "JS"), C("9S"));
    EXPECT_EQ(Choose(ElAlmaz, "AS KS", "JS"), C("KS"));       // others still to play
    EXPECT_EQ(Choose(ElAlmaz, "AS KS", "JS 2S 3S"), C("AS")); // the seat plays last
    EXPECT_EQ(Choose(ElAlmaz, "AD 2C KS", "5C"), C("2C"));    // the only legal card
}

TEST_F(CardChoice, EqualWeightsKeepTheEarlierSuit)
{
    EXPECT_EQ(Choose(ElAlmaz, "5S 5D"), C("5S"));       // the lightest suit when leading
    EXPECT_EQ(Choose(ElAlmaz, "5S 5D", "3C"), C("5S")); // the heaviest when discarding
    EXPECT_EQ(Choose(ElAlmaz, "5D 5S", "3C"), C("5D"));
}

TEST_F(CardChoice, KupaAlmaz)
{
    EXPECT_EQ(Choose(KupaAlmaz, "QD 3C JC", "5S"), C("QD")); // diamonds 16 against clubs 7.5
    EXPECT_EQ(Choose(KupaAlmaz, "2H 9H QD", "5S"), C("9H")); // void: only hearts may go
    EXPECT_EQ(Choose(KupaAlmaz, "KS 4S 3D 2D"), C("3D"));    // suit led less than twice
    EXPECT_EQ(Choose(KupaAlmaz, "KS 4S 3D 2D", "", Diamonds), C("2D"));
    EXPECT_EQ(Choose(KupaAlmaz, "KC 9C 3C", "5C 7H"), C("3C")); // a heart lies: stay under
    EXPECT_EQ(Choose(KupaAlmaz, "KC 9C 3C", "5C 7D"), C("KC"));
    EXPECT_EQ(Choose(KupaAlmaz, "KC 9C 3C", "5C 7D", Clubs), C("3C"));
}

TEST_F(CardChoice, KizAlmaz)
{
    EXPECT_EQ(Choose(KizAlmaz, "AS QS JS 7S"), C("JS"));
    EXPECT_EQ(Choose(KizAlmaz, "AS QS JS 7S", "", Spades), C("7S"));
    EXPECT_EQ(Choose(KizAlmaz, "AS QS"), C("AS"));
    EXPECT_EQ(Choose(KizAlmaz, "KC 9C 3C", "5C QH"), C("3C"));    // a queen lies: stay under
    EXPECT_EQ(Choose(KizAlmaz, "QD 8D 3D", "5D 7D 9D"), C("8D")); // last: keep the queen
    EXPECT_EQ(Choose(KizAlmaz, "KD 3D", "5D 7D 9D"), C("KD"));
    EXPECT_EQ(Choose(KizAlmaz, "KD 3D 2S", "5C"), C("KD"));       // discard the heaviest
    EXPECT_EQ(Choose(KizAlmaz, "KD 5D", "AD"), C("KD"));          // under the winning Ace
    EXPECT_EQ(Choose(KizAlmaz, "KD 8D 3D", "5D"), C("8D"));       // highest below the queen
    EXPECT_EQ(Choose(KizAlmaz, "AD KD", "5D"), C("KD"));          // none below: cheapest take
}

TEST_F(CardChoice, ErkekAlmaz)
{
    EXPECT_EQ(Choose(ErkekAlmaz, "KS QS 9S 4S"), C("9S"));
    EXPECT_EQ(Choose(ErkekAlmaz, "KS QS 9S 4S", "", Spades), C("4S"));
    EXPECT_EQ(Choose(ErkekAlmaz, "KS QS"), C("QS"));
    EXPECT_EQ(Choose(ErkekAlmaz, "KS JS 9S", "2S 3S 4S"), C("9S")); // last: keep King and Jack
    EXPECT_EQ(Choose(ErkekAlmaz, "AS 9S 3S", "5S KH"), C("3S"));    // a King lies: stay under
    EXPECT_EQ(Choose(ErkekAlmaz, "AS 9S 3S", "5S"), C("9S"));       // highest below the Jack
    EXPECT_EQ(Choose(ErkekAlmaz, "KS JS 5S", "QS"), C("JS"));       // drop the Jack under the Queen
    EXPECT_EQ(Choose(ErkekAlmaz, "AS QS", "9S"), C("QS"));          // none below the Jack
    EXPECT_EQ(Choose(ErkekAlmaz, "AD 3D 2S", "5C"), C("AD"));
}

TEST_F(CardChoice, SonikiAlmazHighUntilTheTwelfthTrick)
{
    EXPECT_EQ(Choose(SonikiAlmaz, "AS 2S 9D 8D", "", -1, 10), C("AS")); // heaviest suit, highest
    EXPECT_EQ(Choose(SonikiAlmaz, "AS 2S 9D 8D", "", -1, 11), C("8D")); // now as in El Almaz
    EXPECT_EQ(Choose(SonikiAlmaz, "AS 2S 9D 8D", "5C", -1, 10), C("AS"));
    EXPECT_EQ(Choose(SonikiAlmaz, "AS 2S 9D 8D", "5C", -1, 11), C("9D"));
}

TEST_F(CardChoice, RifkiAlmaz)
{
    EXPECT_EQ(Choose(RifkiAlmaz, "AH 9H 2H", "5H KH"), C("2H")); // the King has fallen
    EXPECT_EQ(Choose(RifkiAlmaz, "KH 9H 4H"), C("9H"));          // lead hearts under the King
    EXPECT_EQ(Choose(RifkiAlmaz, "KH 9H 4H", "", Hearts), C("4H"));
    EXPECT_EQ(Choose(RifkiAlmaz, "KH 9H 4H", "5H"), C("9H"));
    EXPECT_EQ(Choose(RifkiAlmaz, "KH 9H 4H", "5H 6H 7H"), C("KH")); // last: away with it
    EXPECT_EQ(Choose(RifkiAlmaz, "AD 2D KS", "5C"), C("KS"));
    EXPECT_EQ(Choose(RifkiAlmaz, "AS 9S", "5S"), C("AS"));
    EXPECT_EQ(Choose(RifkiAlmaz, "AS 9S", "5S", Spades), C("9S"));
}

TEST_F(CardChoice, Trump)
{
    TGameInfo g = Deal(KozMaca, "KS 4S");
    rules_test::SetHand(g, 0, "AS");
    EXPECT_EQ(ChooseIn(g), C("4S")); // the Ace is out
    EXPECT_EQ(Choose(KozMaca, "AS KS 4S"), C("AS"));
    EXPECT_EQ(Choose(KozMaca, "AC 4D 3D"), C("AC")); // a single card weighs nothing
    g = Deal(KozMaca, "AC 4D 3D");
    TComputerPlayer p;
    p.Game = &g;
    FindPlayableCards(p, kSeat);
    EXPECT_EQ(PlayableWeight(p, Clubs), 0.0f);
    EXPECT_EQ(PlayableWeight(p, Diamonds), 2.5f);
    g.Contract = ElAlmaz;
    EXPECT_EQ(PlayableWeight(p, Clubs), 25.0f);
    EXPECT_EQ(Choose(KozMaca, "9S 3S 8D", "5C"), C("3S"));
    EXPECT_EQ(Choose(KozMaca, "KH 9H", "7H 2S"), C("9H")); // the trick is trumped
    EXPECT_EQ(Choose(KozMaca, "5H 3H", "7H"), C("3H"));
    g = Deal(KozMaca, "KH JH 9H 5H", "7H");
    rules_test::SetHand(g, 0, "AH");
    EXPECT_EQ(ChooseIn(g), C("JH"));
    EXPECT_EQ(Choose(KozMaca, "AH KH JH 9H 5H", "7H"), C("AH"));
    EXPECT_EQ(Choose(KozMaca, "KH JH 9H 5H", "7H 8H 2H"), C("9H")); // last: just enough
    EXPECT_EQ(Choose(KozSinek, "QC 5C", "TC"), C("QC"));             // must overtake in trump
}

TEST_F(CardChoice, ComputerMoveActsOnlyForTheSeatToMove)
{
    TGameInfo g = Deal(ElAlmaz, "KS 9S 5S", "JS");
    TComputerPlayer p;
    EXPECT_EQ(ComputerMove(p, 1, g, GameRandom()), 0);
    EXPECT_EQ(g.TrickCount, 1);
    EXPECT_EQ(ComputerMove(p, kSeat, g, GameRandom()), 1);
    EXPECT_EQ(p.Game, &g);
    EXPECT_EQ(g.TrickCount, 2);
    EXPECT_EQ((Card{g.TrickSuit[1], g.TrickValue[1]}), C("9S"));
    EXPECT_EQ(HandCount(g, kSeat), 2);

    g = Deal(ElAlmaz, "KS", "JS 2S 3S 4S");
    g.Turn = kSeat; // a full trick waits for its resolution
    EXPECT_EQ(ComputerMove(p, kSeat, g, GameRandom()), 0);

    TRandom rnd(1);
    g = Deal(ElAlmaz, "");
    ai_test::DealRest(g);
    ResetScores(g.Score);
    StartHand(g, 3);
    EXPECT_EQ(ComputerMove(p, 3, g, rnd), 2);
    EXPECT_EQ(g.Phase, psPlaying);
    EXPECT_EQ(g.Turn, 3);
    EXPECT_LT(g.Contract, kContractCount);
}

TEST_F(CardChoice, ComputerChoiceNamesTheMoveAndLeavesTheRecordAsItIs)
{
    TGameInfo g = Deal(ElAlmaz, "KS 9S 5S", "JS");
    const TGameInfo dealt = g;
    TComputerPlayer p;
    EXPECT_EQ(ComputerChoice(p, 1, g, GameRandom()), TMove{});
    EXPECT_EQ(ComputerChoice(p, kSeat, g, GameRandom()), TMove::PlayCard(Spades, Nine));
    EXPECT_EQ(std::memcmp(&g, &dealt, sizeof g), 0);
    EXPECT_EQ(p.Game, nullptr); // it keeps no pointer to a copy that is gone

    // The contract: the same draws as ComputerMove, the record still waiting for it.
    g = Deal(ElAlmaz, "");
    ai_test::DealRest(g);
    ResetScores(g.Score);
    StartHand(g, 2);
    TGameInfo applied = g;
    TRandom a(5), b(5);
    const TMove choice = ComputerChoice(p, 2, g, a);
    ASSERT_EQ(choice.Kind, TMove::TKind::Contract);
    EXPECT_EQ(g.Phase, psChoosing);
    EXPECT_EQ(ComputerMove(p, 2, applied, b), 2);
    EXPECT_EQ(choice.Contract, applied.Contract);
    EXPECT_EQ(a.Next(1000), b.Next(1000));
}

} // namespace

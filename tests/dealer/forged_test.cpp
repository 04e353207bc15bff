// Messages a connection has no right to send, or that carry impossible values: each is
// dropped, the record stays as it was and nothing is broadcast.
#include <string>

#include "dealer_test_util.h"

namespace {

QByteArray Bytes(std::initializer_list<int> bytes)
{
    QByteArray b;
    for (int x : bytes)
        b.append(char(x));
    return b;
}

// The first card of seat's hand that the legality rule accepts.
std::pair<uint8_t, uint8_t> FirstPlayable(const TGameInfo& g, int seat)
{
    std::string why;
    for (int i = 0; i < g.CardCount[seat]; ++i)
        if (IsPlayable(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i], why))
            return {g.CardSuit[seat][i], g.CardValue[seat][i]};
    return {kNone, kNone};
}

// Four human players, a game dealt; the trick stays on the table for a long while.
struct Forged : TDealerFixture {
    int syncs = 0;

    void SetUp() override
    {
        StartDealer(false, 20000);
        for (const char* name : {"Ayşe", "Ömer", "Çiğdem", "Ali"})
            Join(name);
        SendNewGame(players[0]->Socket);
        for (auto& p : players)
            ASSERT_TRUE(p->WaitCount(GAME_RECORD, 1));
    }

    TTestPlayer& P(int seat) { return *players[std::size_t(seat)]; }

    // Waits until everything `from` sent has been handled and any broadcast has arrived.
    void Sync(TTestPlayer& from)
    {
        const QString mark = QStringLiteral("sync %1").arg(++syncs);
        ASSERT_TRUE(from.Sync(mark));
        for (auto& p : players)
            ASSERT_TRUE(p->WaitLine("CHAT_TEXT " + mark));
    }

    // Sends through `from` and checks that nothing changed.
    void ExpectDropped(TTestPlayer& from, const std::function<void()>& send, const char* what)
    {
        const TGameInfo before = dealer->GameInfo();
        const int records = P(0).Count(GAME_RECORD);
        const int seats = dealer->SeatCount();
        send();
        Sync(from);
        EXPECT_TRUE(SameRecord(dealer->GameInfo(), before)) << what;
        EXPECT_EQ(P(0).Count(GAME_RECORD), records) << what;
        EXPECT_EQ(dealer->SeatCount(), seats) << what;
    }

    // Sends through `from` and waits for the broadcast of the change.
    void ExpectApplied(TTestPlayer& from, const std::function<void()>& send)
    {
        const int records = P(0).Count(GAME_RECORD);
        send();
        ASSERT_TRUE(P(0).WaitCount(GAME_RECORD, records + 1));
        Sync(from);
        EXPECT_TRUE(SameRecord(P(0).LastRecord(), dealer->GameInfo()));
    }
};

TEST_F(Forged, CommandsOfTheDealersUserFromAnyoneElseAreDropped)
{
    TGameInfo valid = dealer->GameInfo();
    ExpectDropped(P(1), [&] { SendNewGame(P(1).Socket); }, "NEW_GAME");
    ExpectDropped(P(2), [&] { SendGameRecord(P(2).Socket, valid); }, "GAME_RECORD");
    ExpectDropped(P(3), [&] { SendStartNow(P(3).Socket); }, "START_NOW");
    ExpectDropped(P(1), [&] { SendWaitForPlayers(P(1).Socket); }, "WAIT_FOR_PLAYERS");
    for (auto& p : players)
        EXPECT_FALSE(p->Disconnected);
    EXPECT_TRUE(dealer->Listening());

    // The dealer's own user may not load an inconsistent or short record either.
    TGameInfo bad = valid;
    bad.CardCount[2] = 14;
    ExpectDropped(P(0), [&] { SendGameRecord(P(0).Socket, bad); }, "inconsistent GAME_RECORD");
    bad = valid;
    bad.Phase = 4;
    ExpectDropped(P(0), [&] { SendGameRecord(P(0).Socket, bad); }, "GAME_RECORD in phase 4");
    const QByteArray shortRecord(reinterpret_cast<const char*>(&valid), 439);
    ExpectDropped(P(0), [&] { P(0).SendRaw(GAME_RECORD, shortRecord); }, "short GAME_RECORD");
}

TEST_F(Forged, OnlyTheChooserChoosesAndOnlyWhatIsAvailable)
{
    const int chooser = dealer->GameInfo().Chooser;
    ASSERT_GE(chooser, 0);
    ASSERT_LT(chooser, 4);
    const int other = (chooser + 1) % 4;
    ExpectDropped(P(other), [&] { SendContractChoice(P(other).Socket, ElAlmaz); }, "not the chooser");
    ExpectDropped(P(chooser), [&] { SendContractChoice(P(chooser).Socket, 10); }, "contract 10");
    ExpectDropped(P(chooser), [&] { SendContractChoice(P(chooser).Socket, 255); }, "contract 255");
    ExpectDropped(P(chooser), [&] { P(chooser).SendRaw(CONTRACT_CHOICE); }, "empty payload");
    const auto [suit, value] = std::pair{dealer->GameInfo().CardSuit[chooser][0],
                                         dealer->GameInfo().CardValue[chooser][0]};
    ExpectDropped(P(chooser), [&] { SendCardPlay(P(chooser).Socket, uint8_t(chooser), suit, value); },
                  "a card while the contract is chosen");

    // A seat that has chosen both its trump contracts may not choose a third.
    TGameInfo loaded = dealer->GameInfo();
    loaded.Score.TrumpsChosen[chooser] = 2;
    ExpectApplied(P(0), [&] { SendGameRecord(P(0).Socket, loaded); });
    ExpectDropped(P(chooser), [&] { SendContractChoice(P(chooser).Socket, KozKupa); }, "third trump");
    ExpectApplied(P(chooser), [&] { SendContractChoice(P(chooser).Socket, KupaAlmaz); });
    EXPECT_EQ(dealer->GameInfo().Contract, KupaAlmaz);
    EXPECT_EQ(dealer->GameInfo().Phase, psPlaying);
    // Once chosen, a second choice is not the chooser's any more.
    ExpectDropped(P(chooser), [&] { SendContractChoice(P(chooser).Socket, ElAlmaz); }, "second choice");
}

TEST_F(Forged, CardsAreTakenOnlyFromTheSeatToPlayAndOnlyWhenLegal)
{
    const int leader = dealer->GameInfo().Chooser;
    ExpectApplied(P(leader), [&] { SendContractChoice(P(leader).Socket, ElAlmaz); });
    const TGameInfo g = dealer->GameInfo();
    ASSERT_EQ(g.Turn, leader);
    const int next = (leader + 1) % 4;

    // Lead with a suit that the next seat holds along with another suit, if there is one.
    int lead = 0;
    for (int i = 0; i < g.CardCount[leader]; ++i) {
        const int n = SuitCount(g, next, g.CardSuit[leader][i]);
        if (n > 0 && n < g.CardCount[next]) {
            lead = i;
            break;
        }
    }
    const uint8_t suit = g.CardSuit[leader][lead], value = g.CardValue[leader][lead];
    const auto [otherSuit, otherValue] = FirstPlayable(g, next); // anything but the leader's card

    ExpectDropped(P(next), [&] { SendCardPlay(P(next).Socket, uint8_t(next), otherSuit, otherValue); },
                  "not its turn");
    ExpectDropped(P(next), [&] { SendCardPlay(P(next).Socket, uint8_t(leader), suit, value); },
                  "for another seat");
    ExpectDropped(P(leader), [&] { SendCardPlay(P(leader).Socket, uint8_t(leader), otherSuit, otherValue); },
                  "a card it does not hold");
    ExpectDropped(P(leader), [&] { SendCardPlay(P(leader).Socket, uint8_t(leader), 9, value); }, "suit 9");
    ExpectDropped(P(leader), [&] { SendCardPlay(P(leader).Socket, uint8_t(leader), suit, 200); }, "value 200");
    ExpectDropped(P(leader), [&] { SendCardPlay(P(leader).Socket, 7, suit, value); }, "seat 7");
    ExpectDropped(P(leader), [&] { P(leader).SendRaw(CARD_PLAY, Bytes({leader, suit})); }, "short payload");
    ExpectApplied(P(leader), [&] { SendCardPlay(P(leader).Socket, uint8_t(leader), suit, value); });
    EXPECT_EQ(dealer->GameInfo().TrickCount, 1);

    // A card of another suit while holding the led one is refused.
    const TGameInfo after = dealer->GameInfo();
    std::string why;
    for (int i = 0; i < after.CardCount[next]; ++i) {
        const uint8_t s = after.CardSuit[next][i], v = after.CardValue[next][i];
        if (s != suit && SuitCount(after, next, suit) > 0) {
            ASSERT_FALSE(IsPlayable(after, next, s, v, why));
            ExpectDropped(P(next), [&] { SendCardPlay(P(next).Socket, uint8_t(next), s, v); }, "illegal card");
            break;
        }
    }
    for (int k = 1; k < 4; ++k) {
        const int seat = (leader + k) % 4;
        const auto [s, v] = FirstPlayable(dealer->GameInfo(), seat);
        ExpectApplied(P(seat), [&] { SendCardPlay(P(seat).Socket, uint8_t(seat), s, v); });
    }
    ASSERT_EQ(dealer->GameInfo().Phase, psTrickComplete);
    ASSERT_EQ(dealer->GameInfo().Turn, leader);
    EXPECT_TRUE(dealer->TrickResolveTimer().isActive());

    // The trick is full: nobody plays until it is resolved, the seat named by Turn included.
    const auto [s, v] = FirstPlayable(dealer->GameInfo(), leader);
    ExpectDropped(P(leader), [&] { SendCardPlay(P(leader).Socket, uint8_t(leader), s, v); }, "full trick");
}

TEST_F(Forged, AJoinWhileTheTableIsFullAndStartNowFromAnotherSeatChangeNothing)
{
    // START_NOW from a seat other than 0 before the table was full is covered by a fresh
    // dealer here: only two players, the second asks to start.
    players.clear();
    dealer.reset();
    StartDealer();
    Join("Ayşe");
    Join("Ömer");
    ExpectDropped(P(1), [&] { SendStartNow(P(1).Socket); }, "START_NOW from seat 1");
    EXPECT_EQ(dealer->SeatCount(), 2);
    EXPECT_EQ(dealer->ComputerCount(), 0);
    ExpectDropped(P(1), [&] { SendNewGame(P(1).Socket); }, "NEW_GAME from seat 1");
    ExpectDropped(P(0), [&] { SendCardPlay(P(0).Socket, 0, 0, 0); }, "card before the table is full");
}

} // namespace

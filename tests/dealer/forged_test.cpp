// Messages a connection has no right to send, or that carry impossible values: each is
// dropped, the record stays as it was and nothing is broadcast.
#include "dealer_test_util.h"
#include "tabletext.h"

namespace {

// Four human players and a game dealt; a full trick stays on the table for a long while.
struct Forged : TTableFixture {
    int syncs = 0;

    void SetUp() override
    {
        StartDealer(false, 20000);
        for (const char* name : {"Ayşe", "Ömer", "Çiğdem", "Ali"})
            Join(name);
        P(0).NewGame();
        ASSERT_TRUE(P(3).WaitCount(GAME_RECORD, 1));
    }

    // Sends through `from` and waits until it is handled and any broadcast has arrived.
    void Send(TTestPlayer& from, const std::function<void()>& send)
    {
        send();
        const QString mark = QStringLiteral("sync %1").arg(++syncs);
        ASSERT_TRUE(from.Sync(mark));
        for (auto& p : players)
            ASSERT_TRUE(p->WaitChat(mark));
    }
    void ExpectDropped(TTestPlayer& from, const std::function<void()>& send, const char* what)
    {
        const TGameInfo before = dealer->GameInfo();
        const int records = P(0).Count(GAME_RECORD);
        Send(from, send);
        EXPECT_TRUE(SameRecord(dealer->GameInfo(), before)) << what;
        EXPECT_EQ(P(0).Count(GAME_RECORD), records) << what;
    }
    void ExpectApplied(TTestPlayer& from, const std::function<void()>& send)
    {
        const int records = P(0).Count(GAME_RECORD);
        Send(from, send);
        EXPECT_EQ(P(0).Count(GAME_RECORD), records + 1);
        EXPECT_TRUE(SameRecord(P(0).LastRecord(), dealer->GameInfo()));
    }
    void Play(int seat, uint8_t suit, uint8_t value) { P(seat).Card(uint8_t(seat), suit, value); }
};

TEST_F(Forged, CommandsOfTheDealersUserFromAnyoneElseAreDropped)
{
    const TGameInfo valid = dealer->GameInfo();
    ExpectDropped(P(1), [&] { P(1).NewGame(); }, "NEW_GAME");
    ExpectDropped(P(2), [&] { P(2).Load(valid); }, "GAME_RECORD");
    ExpectDropped(P(3), [&] { P(3).WaitForPlayers(); }, "WAIT_FOR_PLAYERS");
    for (auto& p : players)
        EXPECT_FALSE(p->Disconnected);

    // Nor may the dealer's own user load an inconsistent or short record.
    TGameInfo bad = valid;
    bad.CardCount[2] = 14;
    ExpectDropped(P(0), [&] { P(0).Load(bad); }, "inconsistent GAME_RECORD");
    bad = valid;
    bad.Phase = 4;
    ExpectDropped(P(0), [&] { P(0).Load(bad); }, "GAME_RECORD in phase 4");
    ExpectDropped(P(0), [&] { P(0).SendRaw(GAME_RECORD, QByteArray(reinterpret_cast<const char*>(&valid), 439)); },
                  "short GAME_RECORD");

    // START_NOW from another seat while seats are free.
    StartDealer();
    Join("Ayşe");
    Join("Ömer");
    ExpectDropped(P(1), [&] { P(1).StartNow(); }, "START_NOW from seat 1");
    EXPECT_EQ(dealer->SeatCount(), 2);
}

TEST_F(Forged, OnlyTheChooserChoosesAndOnlyWhatIsAvailable)
{
    const int chooser = dealer->GameInfo().Chooser;
    ASSERT_LT(chooser, 4);
    const int other = (chooser + 1) % 4;
    ExpectDropped(P(other), [&] { P(other).Contract(ElAlmaz); }, "not the chooser");
    ExpectDropped(P(chooser), [&] { P(chooser).Contract(10); }, "contract 10");
    ExpectDropped(P(chooser), [&] { P(chooser).Contract(255); }, "contract 255");
    ExpectDropped(P(chooser), [&] { P(chooser).SendRaw(CONTRACT_CHOICE); }, "empty payload");
    const TGameInfo g = dealer->GameInfo();
    ExpectDropped(P(chooser), [&] { Play(chooser, g.CardSuit[chooser][0], g.CardValue[chooser][0]); },
                  "a card while the contract is awaited");

    // A seat that has chosen both its trump contracts may not choose a third.
    TGameInfo loaded = g;
    loaded.Score.TrumpsChosen[chooser] = 2;
    ExpectApplied(P(0), [&] { P(0).Load(loaded); });
    ExpectDropped(P(chooser), [&] { P(chooser).Contract(KozKupa); }, "third trump");
    ExpectApplied(P(chooser), [&] { P(chooser).Contract(KupaAlmaz); });
    EXPECT_EQ(dealer->GameInfo().Contract, KupaAlmaz);
    ExpectDropped(P(chooser), [&] { P(chooser).Contract(ElAlmaz); }, "second choice");
}

TEST_F(Forged, CardsAreTakenOnlyFromTheSeatToPlayAndOnlyWhenLegal)
{
    const int leader = dealer->GameInfo().Chooser;
    ExpectApplied(P(leader), [&] { P(leader).Contract(ElAlmaz); });
    const TGameInfo g = dealer->GameInfo();
    const int next = (leader + 1) % 4;
    // Lead a suit that the next seat holds along with another suit, if there is one.
    int lead = 0;
    for (int i = 0; i < g.CardCount[leader]; ++i) {
        const int n = SuitCount(g, next, g.CardSuit[leader][i]);
        if (n > 0 && n < g.CardCount[next]) {
            lead = i;
            break;
        }
    }
    const uint8_t suit = g.CardSuit[leader][lead], value = g.CardValue[leader][lead];
    const uint8_t notHeldSuit = g.CardSuit[next][0], notHeldValue = g.CardValue[next][0];

    ExpectDropped(P(next), [&] { Play(next, notHeldSuit, notHeldValue); }, "not its turn");
    ExpectDropped(P(next), [&] { P(next).Card(uint8_t(leader), suit, value); }, "for another seat");
    ExpectDropped(P(leader), [&] { Play(leader, notHeldSuit, notHeldValue); }, "a card it does not hold");
    ExpectDropped(P(leader), [&] { Play(leader, 9, value); }, "suit 9");
    ExpectDropped(P(leader), [&] { Play(leader, suit, 200); }, "value 200");
    ExpectDropped(P(leader), [&] { P(leader).Card(7, suit, value); }, "seat 7");
    ExpectDropped(P(leader), [&] { P(leader).SendRaw(CARD_PLAY, QByteArray(1, char(leader)) + char(suit)); },
                  "short payload");
    ExpectApplied(P(leader), [&] { Play(leader, suit, value); });
    // The log names the card as the players do ("Karo 4", "Maça Papaz").
    EXPECT_GE(EventAt({QStringLiteral("seat %1 played %2").arg(leader).arg(CardName(suit, value))}), 0);

    const TGameInfo after = dealer->GameInfo();
    std::string why;
    for (int i = 0; i < after.CardCount[next]; ++i) {
        const uint8_t s = after.CardSuit[next][i], v = after.CardValue[next][i];
        if (s != suit && SuitCount(after, next, suit) > 0) { // another suit while holding the led one
            ASSERT_FALSE(IsPlayable(after, next, s, v, why));
            ExpectDropped(P(next), [&] { Play(next, s, v); }, "illegal card");
            break;
        }
    }
    for (int k = 1; k < 4; ++k) {
        const int seat = (leader + k) % 4;
        const auto [s, v] = FirstPlayable(dealer->GameInfo(), seat);
        ExpectApplied(P(seat), [&] { Play(seat, s, v); });
    }
    ASSERT_EQ(dealer->GameInfo().Phase, psTrickComplete);
    ASSERT_EQ(dealer->GameInfo().Turn, leader);
    // The trick is full: nobody plays until it is resolved, the seat named by Turn included.
    const auto [s, v] = FirstPlayable(dealer->GameInfo(), leader);
    ExpectDropped(P(leader), [&] { Play(leader, s, v); }, "full trick");
}

} // namespace

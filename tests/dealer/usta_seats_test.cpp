// Computer seats at level Usta: named after the level, deciding off the table's thread,
// and every move they give is one the table applies.
#include "dealer_test_util.h"
#include "ustasource.h"

namespace {

TEST_F(TDealerFixture, UstaSeatsCarryTheLevelsNameAndPlayHandsThroughTheTable)
{
    level = [](TRandom& r) { return MakeUstaSource(r, TUstaOptions{2}); };
    StartDealer(true, 5);
    dealer->SetComputerName(ComputerSeatName(TComputerLevel::Usta));
    TRandom mine(8);
    TTestPlayer& own = Join("Ayşe");
    own.OnReceived = [&](const TReceived& r) {
        if (r.Type == GAME_RECORD)
            own.SendOwnMove(0, r.Record(), mine);
    };
    own.StartNow();
    EXPECT_TRUE(own.WaitLine("SEAT_NAME 1 Usta1"));
    EXPECT_TRUE(own.WaitLine("SEAT_NAME 3 Usta3"));
    own.NewGame();
    // Two hands played to their end; the three computer seats play most of their cards.
    ASSERT_TRUE(WaitFor([&] { return ContractsPlayed(dealer->GameInfo()) >= 3; }, 60000));
    EXPECT_GE(EventCount("(computer) played"), 6);
    EXPECT_EQ(EventCount("found no move"), 0);
}

} // namespace

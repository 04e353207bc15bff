// What a player or a stranger can try at a table to learn or choose the cards, take a seat
// that is not theirs or drive the others away, and what the table makes of it.
#include <chrono>

#include "private_table_fixture.h"

namespace {

using TableAttacks = PrivateTable;

bool SameHands(const TGameInfo& a, const TGameInfo& b)
{
    return std::memcmp(a.CardValue, b.CardValue, sizeof a.CardValue + sizeof a.CardSuit) == 0;
}

// An attacker who knows when the cards were dealt tries every seed of the clock within an
// hour either side of it. Two tables started in the same second must deal different hands,
// and neither deal may be among those the attacker tries.
TEST_F(TableAttacks, DealsCannotBeWorkedOutFromTheClock)
{
    systemRandom = true;
    openHands = true;
    std::vector<TGameInfo> deals;
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch()).count();
    for (int table = 0; table < 2; ++table) {
        StartDealer();
        TLocalPlayer& host = Join(QStringLiteral("Ayşe"));
        host.StartNow();
        host.NewGame();
        ASSERT_TRUE(WaitFor([&] { return host.Count(GAME_RECORD) > 0; }));
        deals.push_back(host.LastRecord());
    }
    EXPECT_FALSE(SameHands(deals[0], deals[1]));
    int found = 0;
    for (auto seed = now - 3600; seed <= now + 3600; ++seed) {
        TRandom guess{uint32_t(seed)};
        TGameInfo g{};
        DealCards(g, guess);
        found += int(std::count_if(deals.begin(), deals.end(), [&](const TGameInfo& d) { return SameHands(g, d); }));
    }
    EXPECT_EQ(found, 0);
}

} // namespace

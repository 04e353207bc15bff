// The computer-played seats ask a move source: one that answers at once, one that answers
// later from a thread of its own, and one whose move the rules refuse.
#include <atomic>
#include <future>

#include "dealer_test_util.h"

namespace {

// A source that gives no usable move, and counts how often it is asked.
struct TNoMove : TMoveSource {
    int* asked;
    explicit TNoMove(int* counter) : asked(counter) {}
    std::optional<TMove> Request(const TGameInfo&, int, TMoveReply) override
    {
        ++*asked;
        return TMove::ChooseContract(kNone);
    }
};

template <class TBase>
struct SeatDriverOn : TBase {
    TRandom mine{3};

    // The dealer's own user alone with three computers; it plays its own moves at once.
    TTestPlayer& StartAlone()
    {
        TTestPlayer& own = this->Join("Ayşe");
        own.OnReceived = [this, &own](const TReceived& r) {
            if (r.Type == GAME_RECORD)
                own.SendOwnMove(0, r.Record(), mine);
        };
        own.StartNow();
        EXPECT_TRUE(own.WaitLine("SEAT_NAME 3 Acemi3"));
        own.NewGame();
        return own;
    }
};

using SeatDriver = SeatDriverOn<TTableFixture>;
// A source on a thread of its own answers through the event loop, which runs only over TCP.
using SeatDriverOverTcp = SeatDriverOn<TDealerFixture>;

TEST_F(SeatDriver, AComputerMoveThatAppliesNothingIsReportedOnceAndTheGameWaits)
{
    int asked = 0;
    level = [&asked](TRandom&) { return std::make_unique<TNoMove>(&asked); };
    StartDealer(true, 5);
    TTestPlayer& own = StartAlone();
    ASSERT_TRUE(WaitFor([&] { return asked == 1; }));
    const TGameInfo stuck = dealer->GameInfo();
    Settle(300); // thirty ticks of the quick computer timer
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(EventCount("found no move"), 1);
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), stuck));
    EXPECT_NE(AwaitedSeat(stuck), 0);
    EXPECT_FALSE(dealer->ComputerMoveTimer().isActive());
    // A new record is a new question.
    own.NewGame();
    EXPECT_TRUE(WaitFor([&] { return asked == 2; }));
}

// A source that answers only when the test lets it, with the move Acemi would make, and
// whose decisions nominally take 200 ms.
struct THeldSource : TMoveSource {
    std::vector<std::pair<TMoveReply, TMove>> owed;
    std::optional<TMove> Request(const TGameInfo& g, int seat, TMoveReply reply) override
    {
        TComputerPlayer p;
        TRandom random{uint32_t(seat)};
        owed.emplace_back(std::move(reply), ComputerChoice(p, seat, g, random));
        return std::nullopt;
    }
    int ThinkMs() const override { return 200; }
};

// However long the computer thinks, its move is applied on the table's pacing, which is
// never shorter than the source's nominal thinking time even with "Hızlı" (200 ms after the
// record that asked for it), nor than the slowest recent decision took with a margin; a
// move found later waits for the next tick. So the time of a move says nothing of the hand.
TEST_F(SeatDriver, AComputerMoveIsAppliedOnThePacingWhateverTheThinkingTook)
{
    THeldSource* held = nullptr;
    level = [&held](TRandom&) {
        auto source = std::make_unique<THeldSource>();
        held = source.get();
        return source;
    };
    StartDealer(true, 5);
    StartAlone();
    EXPECT_EQ(dealer->ComputerMoveTimer().interval(), 200);
    for (const auto& [think, pace] : {std::pair{0, 200}, {3, 200}, {150, 200}, {199, 200}, {260, 496}, {0, 325}}) {
        ASSERT_TRUE(WaitFor([&] { return !held->owed.empty(); }));
        const qint64 asked = Now(); // the record that asks for the move has just gone out
        const int applied = EventCount(QStringLiteral("(computer) "));
        Settle(think);
        const auto [reply, move] = held->owed.back();
        held->owed.clear();
        reply(move);
        ASSERT_TRUE(WaitFor([&] { return EventCount(QStringLiteral("(computer) ")) > applied; }));
        EXPECT_EQ(Now() - asked, pace) << think;
    }
}

TEST_F(SeatDriverOverTcp, AnAnswerFromAnotherThreadIsAppliedUnlessTheRecordChangedMeanwhile)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> decided = 0;
    level = [&](TRandom&) {
        return std::make_unique<TThreadedMoveSource>([&, released](const TGameInfo& g, int seat) {
            TComputerPlayer p;
            TRandom own(seat);
            if (decided++ == 0)
                released.wait(); // the first decision takes until the test lets it go
            return ComputerChoice(p, seat, g, own);
        });
    };
    StartDealer(true, 5);
    TTestPlayer& own = StartAlone();
    ASSERT_TRUE(WaitFor([&] { return decided == 1; }));
    const TGameInfo asked = dealer->GameInfo();
    own.NewGame(); // the record changes under the pending decision
    ASSERT_TRUE(WaitFor([&] { return EventCount("new game") == 2; }));
    release.set_value();
    ASSERT_TRUE(WaitFor([&] { return EventCount("an answer for an earlier state is discarded") == 1; }));
    // The new deal's moves come from the thread and are applied one by one.
    ASSERT_TRUE(WaitFor([&] { return EventCount("(computer) played") >= 6; }));
    EXPECT_GE(decided, 7);
    EXPECT_FALSE(SameRecord(dealer->GameInfo(), asked));
}

TEST(ThreadedMoveSource, AnAnswerOwedWhenTheSourceGoesIsNeverGiven)
{
    std::promise<void> started, go;
    std::shared_future<void> going = go.get_future().share();
    bool replied = false;
    {
        TThreadedMoveSource source([&started, going](const TGameInfo&, int) {
            started.set_value();
            going.wait();
            return TMove::ChooseContract(ElAlmaz);
        });
        TGameInfo g{};
        EXPECT_FALSE(source.Request(g, 0, [&replied](const TMove&) { replied = true; }).has_value());
        started.get_future().wait();
        go.set_value(); // the decision ends while the source is being destroyed
    }
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(replied);
}

} // namespace

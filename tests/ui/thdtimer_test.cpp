#include "thdtimer.h"

#include "eventwait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// A handler that counts its calls and notes the thread it ran on.
struct Counter {
    int calls = 0;
    QThread* thread = nullptr;
    QMetaObject::Connection Listen(TThreadedTimer& t)
    {
        return QObject::connect(&t, &TThreadedTimer::timeout, [this] {
            ++calls;
            thread = QThread::currentThread();
        });
    }
};

TEST(ThreadedTimer, RunsOnlyWithIntervalEnabledAndHandler)
{
    TThreadedTimer t;
    Counter c;
    t.SetInterval(0);
    t.SetEnabled(true);
    t.SetPeriodic(true);
    const QMetaObject::Connection first = c.Listen(t);
    Settle(200);
    EXPECT_FALSE(t.Running());
    EXPECT_EQ(c.calls, 0) << "an interval of 0 never fires";

    QObject::disconnect(first);
    t.SetInterval(20);
    EXPECT_FALSE(t.Running()) << "no handler";
    c.Listen(t);
    ASSERT_TRUE(WaitFor([&] { return c.calls >= 2; }));
    EXPECT_EQ(c.thread, QCoreApplication::instance()->thread()) << "ticks run on the owning thread";

    // Equal values leave the thread alone; a real change suspends and resumes it.
    const int switches = t.ThreadSwitches();
    t.SetEnabled(true);
    t.SetPeriodic(true);
    t.SetInterval(20);
    t.SetThreadPriority(t.ThreadPriority());
    EXPECT_EQ(t.ThreadSwitches(), switches);
    t.SetThreadPriority(QThread::LowPriority);
    EXPECT_EQ(t.ThreadSwitches(), switches + 2);
    EXPECT_TRUE(t.Running());
}

TEST(ThreadedTimer, OneShotFiresOnceAndAgainWhenEnabledAgain)
{
    TThreadedTimer t;
    Counter c;
    t.SetInterval(30);
    c.Listen(t);
    for (int round = 1; round <= 2; ++round) {
        t.SetEnabled(true);
        ASSERT_TRUE(WaitFor([&] { return c.calls == round; }));
        EXPECT_FALSE(t.Enabled());
        EXPECT_FALSE(t.Running());
        Settle(150);
        EXPECT_EQ(c.calls, round);
    }
}

// Start-to-start gaps of a periodic timer whose handler takes `work` ms.
std::vector<qint64> Gaps(uint32_t interval, int work, int calls)
{
    TThreadedTimer t;
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> starts;
    t.SetInterval(interval);
    t.SetPeriodic(true);
    QObject::connect(&t, &TThreadedTimer::timeout, [&] {
        starts.push_back(clock.elapsed());
        QThread::msleep(static_cast<unsigned long>(work));
    });
    t.SetEnabled(true);
    WaitFor([&] { return int(starts.size()) >= calls; }, 20000);
    t.SetEnabled(false);
    std::vector<qint64> gaps;
    for (size_t i = 1; i < starts.size(); ++i)
        gaps.push_back(starts[i] - starts[i - 1]);
    return gaps;
}

qint64 Median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

TEST(ThreadedTimer, PeriodicCallsStartIntervalApart)
{
    // A quick handler: the sleep is shortened by its duration, so the calls start about
    // 150 ms apart, not 150 + 60.
    std::vector<qint64> gaps = Gaps(150, 60, 7);
    ASSERT_EQ(gaps.size(), 6u);
    EXPECT_GE(*std::min_element(gaps.begin(), gaps.end()), 140);
    EXPECT_LT(Median(gaps), 195);

    // A handler slower than the interval is called again at once.
    gaps = Gaps(50, 90, 6);
    ASSERT_EQ(gaps.size(), 5u);
    EXPECT_GE(*std::min_element(gaps.begin(), gaps.end()), 85);
    EXPECT_LT(Median(gaps), 125);
}

TEST(ThreadedTimer, HandlerCanDisableOrDestroyItsTimer)
{
    // A periodic timer switched off by its own handler stays off; one deleted by its own
    // handler goes quietly.
    TThreadedTimer t;
    auto* own = new TThreadedTimer;
    int calls = 0, ownCalls = 0;
    QObject::connect(&t, &TThreadedTimer::timeout, [&] {
        ++calls;
        t.SetEnabled(false);
    });
    QObject::connect(own, &TThreadedTimer::timeout, [&] {
        ++ownCalls;
        delete own;
    });
    for (TThreadedTimer* timer : {&t, own}) {
        timer->SetInterval(20);
        timer->SetPeriodic(true);
        timer->SetEnabled(true);
    }
    ASSERT_TRUE(WaitFor([&] { return calls == 1 && ownCalls == 1; }));
    Settle(150);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(ownCalls, 1);
    EXPECT_FALSE(t.Enabled());
}

TEST(ThreadedTimer, DestroyedWhileATickWaitsForTheOwningThread)
{
    int calls = 0;
    {
        TThreadedTimer t;
        t.SetInterval(10);
        t.SetPeriodic(true);
        QObject::connect(&t, &TThreadedTimer::timeout, [&] { ++calls; });
        t.SetEnabled(true);
        // The owning thread is busy: the tick is posted and the timing thread waits for it.
        QThread::msleep(100);
    } // must not deadlock
    Settle(50);
    EXPECT_EQ(calls, 0) << "the pending tick goes with its timer";
}

} // namespace

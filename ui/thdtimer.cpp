#include "thdtimer.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

// The state the owning thread and the timing thread share, under one lock. It outlives the
// timer while a delivered tick still runs (the handler may destroy its own timer).
struct TTimerShared {
    std::mutex lock;
    std::condition_variable signal;
    bool enabled = false;
    bool periodic = false;
    uint32_t interval = 1000;
    QThread::Priority priority = QThread::NormalPriority;
    bool suspended = true;  // the timing thread waits for a resumption
    bool stop = false;      // the timer is being destroyed
    bool started = false;   // the timing thread has been started (at the first resumption)
    bool tickDone = false;  // the last delivered tick has finished on the owning thread
    uint64_t resumes = 0;   // counts resumptions: a change during a sleep restarts it
    int switches = 0;
};

class TTimerThread : public QThread {
public:
    TTimerThread(TThreadedTimer* timer, std::shared_ptr<TTimerShared> shared)
        : timer_(timer), shared_(std::move(shared))
    {
    }

protected:
    void run() override;

private:
    // Posts one tick to the owning thread and waits until it has run or the timer goes.
    void Deliver(std::unique_lock<std::mutex>& held);

    TThreadedTimer* timer_;
    std::shared_ptr<TTimerShared> shared_;
};

void TTimerThread::run()
{
    using Clock = std::chrono::steady_clock;
    TTimerShared& s = *shared_;
    std::unique_lock held(s.lock);
    const QThread::Priority priority = s.priority;
    held.unlock();
    setPriority(priority);
    held.lock();

    uint32_t elapsed = 0; // how long the previous handler took, in milliseconds
    while (!s.stop) {
        s.signal.wait(held, [&] { return s.stop || !s.suspended; });
        if (s.stop)
            break;
        if (s.interval > elapsed) {
            // Sleep; a suspension, a change of the timer or its destruction ends the sleep
            // early, and the loop then waits or sleeps again from the start.
            const uint64_t resumes = s.resumes;
            const auto deadline = Clock::now() + std::chrono::milliseconds(s.interval - elapsed);
            if (s.signal.wait_until(held, deadline,
                                    [&] { return s.stop || s.suspended || s.resumes != resumes; }))
                continue;
        }
        const auto started = Clock::now();
        Deliver(held);
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
        elapsed = static_cast<uint32_t>(std::min<int64_t>(took.count(), UINT32_MAX));
    }
}

void TTimerThread::Deliver(std::unique_lock<std::mutex>& held)
{
    TTimerShared& s = *shared_;
    s.tickDone = false;
    // Queued with the timer as context: a tick still waiting when the timer is destroyed is
    // dropped with it, so the destructor never waits for a tick that cannot run.
    QMetaObject::invokeMethod(
        timer_,
        [timer = timer_, shared = shared_] {
            bool fire;
            {
                std::lock_guard guard(shared->lock);
                fire = !shared->suspended && !shared->stop;
            }
            if (fire) {
                QPointer<TThreadedTimer> alive(timer);
                timer->Timer();
                // A one-shot timer disables itself; a periodic one is left as its handler left it.
                if (alive && !alive->Periodic())
                    alive->SetEnabled(false);
            }
            {
                std::lock_guard guard(shared->lock);
                shared->tickDone = true;
            }
            shared->signal.notify_all();
        },
        Qt::QueuedConnection);
    s.signal.wait(held, [&] { return s.stop || s.tickDone; });
}

TThreadedTimer::TThreadedTimer(QObject* owner)
    : QObject(owner), shared_(std::make_shared<TTimerShared>()),
      thread_(std::make_unique<TTimerThread>(this, shared_))
{
}

TThreadedTimer::~TThreadedTimer()
{
    {
        std::lock_guard guard(shared_->lock);
        shared_->enabled = false;
    }
    UpdateTimer();
    {
        std::lock_guard guard(shared_->lock);
        shared_->stop = true;
    }
    shared_->signal.notify_all();
    thread_->wait();
}

bool TThreadedTimer::Enabled() const
{
    std::lock_guard guard(shared_->lock);
    return shared_->enabled;
}

bool TThreadedTimer::Periodic() const
{
    std::lock_guard guard(shared_->lock);
    return shared_->periodic;
}

uint32_t TThreadedTimer::Interval() const
{
    std::lock_guard guard(shared_->lock);
    return shared_->interval;
}

QThread::Priority TThreadedTimer::ThreadPriority() const
{
    std::lock_guard guard(shared_->lock);
    return shared_->priority;
}

namespace {
// Stores value into field under the lock; true when it changed.
template <typename T>
bool Store(TTimerShared& s, T TTimerShared::*field, T value)
{
    std::lock_guard guard(s.lock);
    if (s.*field == value)
        return false;
    s.*field = value;
    return true;
}
} // namespace

void TThreadedTimer::SetEnabled(bool value)
{
    if (Store(*shared_, &TTimerShared::enabled, value))
        UpdateTimer();
}

void TThreadedTimer::SetPeriodic(bool value)
{
    if (Store(*shared_, &TTimerShared::periodic, value))
        UpdateTimer();
}

void TThreadedTimer::SetInterval(uint32_t value)
{
    if (Store(*shared_, &TTimerShared::interval, value))
        UpdateTimer();
}

void TThreadedTimer::SetThreadPriority(QThread::Priority value)
{
    if (Store(*shared_, &TTimerShared::priority, value))
        UpdateTimer();
}

// Qt may hold its connection lock here: the timer looks at its connections afterwards.
void TThreadedTimer::connectNotify(const QMetaMethod&)
{
    QMetaObject::invokeMethod(this, &TThreadedTimer::UpdateTimer, Qt::QueuedConnection);
}

void TThreadedTimer::disconnectNotify(const QMetaMethod&)
{
    QMetaObject::invokeMethod(this, &TThreadedTimer::UpdateTimer, Qt::QueuedConnection);
}

void TThreadedTimer::Timer() { emit timeout(); }

bool TThreadedTimer::Running() const
{
    std::lock_guard guard(shared_->lock);
    return !shared_->suspended;
}

int TThreadedTimer::ThreadSwitches() const
{
    std::lock_guard guard(shared_->lock);
    return shared_->switches;
}

void TThreadedTimer::UpdateTimer()
{
    bool start = false;
    const bool connected = isSignalConnected(QMetaMethod::fromSignal(&TThreadedTimer::timeout));
    {
        std::lock_guard guard(shared_->lock);
        TTimerShared& s = *shared_;
        if (!s.suspended) {
            s.suspended = true;
            ++s.switches;
        }
        if (s.interval != 0 && s.enabled && connected && !s.stop) {
            s.suspended = false;
            ++s.switches;
            ++s.resumes;
            start = !s.started;
            s.started = true;
        }
    }
    shared_->signal.notify_all();
    if (start)
        thread_->start();
}

// A timer whose intervals are counted by a thread of its own, while its handler runs on the
// thread that owns the timer (the user-interface thread). It fires once or periodically.
#pragma once

#include <QObject>
#include <QThread>

#include <cstdint>
#include <functional>
#include <memory>

class TTimerThread;
struct TTimerShared;

class TThreadedTimer : public QObject {
public:
    using TNotifyEvent = std::function<void(TThreadedTimer*)>;

    explicit TThreadedTimer(QObject* owner = nullptr);
    ~TThreadedTimer() override;
    TThreadedTimer(const TThreadedTimer&) = delete;
    TThreadedTimer& operator=(const TThreadedTimer&) = delete;

    bool Enabled() const;
    bool Periodic() const;
    uint32_t Interval() const; // milliseconds from the start of one call to the next
    QThread::Priority ThreadPriority() const;
    const TNotifyEvent& OnTimer() const { return onTimer_; }

    // Each does nothing when the value is unchanged; otherwise it stores it and runs
    // UpdateTimer. Call them from the owning thread.
    void SetEnabled(bool value);
    void SetPeriodic(bool value);
    void SetInterval(uint32_t value);
    // Read by the timing thread once, when it first runs.
    void SetThreadPriority(QThread::Priority value);
    // Always stores the handler and runs UpdateTimer.
    void SetOnTimer(TNotifyEvent handler);

    // Calls OnTimer with this timer, if a handler is set.
    void Timer();

    // True while the timing thread counts (Interval != 0, Enabled and a handler set).
    bool Running() const;
    // How often the timing thread has been suspended or resumed so far.
    int ThreadSwitches() const;

private:
    // Suspends the timing thread, then resumes it exactly when it should run.
    void UpdateTimer();

    std::shared_ptr<TTimerShared> shared_;
    std::unique_ptr<TTimerThread> thread_;
    TNotifyEvent onTimer_;
};

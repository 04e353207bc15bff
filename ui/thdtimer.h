// A timer whose intervals are counted by a thread of its own, while its `timeout` signal is
// emitted on the thread that owns the timer (the user-interface thread). It fires once or
// periodically, and only while something is connected to `timeout`.
#pragma once

#include <QObject>
#include <QThread>

#include <cstdint>
#include <memory>

class TTimerThread;
struct TTimerShared;

class TThreadedTimer : public QObject {
    Q_OBJECT
public:
    explicit TThreadedTimer(QObject* owner = nullptr);
    ~TThreadedTimer() override;
    TThreadedTimer(const TThreadedTimer&) = delete;
    TThreadedTimer& operator=(const TThreadedTimer&) = delete;

    bool Enabled() const;
    bool Periodic() const;
    uint32_t Interval() const; // milliseconds from the start of one call to the next
    QThread::Priority ThreadPriority() const;

    // Each does nothing when the value is unchanged; otherwise it stores it and runs
    // UpdateTimer. Call them from the owning thread.
    void SetEnabled(bool value);
    void SetPeriodic(bool value);
    void SetInterval(uint32_t value);
    // Read by the timing thread once, when it first runs.
    void SetThreadPriority(QThread::Priority value);
    // Emits timeout.
    void Timer();

    // True while the timing thread counts (Interval != 0, Enabled and timeout connected).
    bool Running() const;
    // How often the timing thread has been suspended or resumed so far.
    int ThreadSwitches() const;

signals:
    void timeout();

protected:
    // A connection made or removed starts or stops the timing thread (from the event loop).
    void connectNotify(const QMetaMethod& signal) override;
    void disconnectNotify(const QMetaMethod& signal) override;

private:
    // Suspends the timing thread, then resumes it exactly when it should run.
    void UpdateTimer();

    std::shared_ptr<TTimerShared> shared_;
    std::unique_ptr<TTimerThread> thread_;
};

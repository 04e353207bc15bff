// A player's program whose connection to its table drops goes back by itself: it tries
// again after 1 s, then 2, 4, 8 ... up to 30 s between attempts, with its seat's key, until
// the table seats it again, the table refuses it (the seat is gone), or the user stops it.
// A connection the program closes on purpose (the user leaves: the seat is forgotten
// first) and the dealer's own connection to itself are never taken up again.
//
// Plain bookkeeping on an injected clock: the window's clock is a timer, a test's is turned
// by hand.
//
//   TTimerClock clock;
//   TReconnector reconnector(session, clock);
//   connect(&reconnector, &TReconnector::waiting, status, [](int s) { ... "(%1 sn)" ... });
//   stopAction -> reconnector.Stop();
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class TSession;

// The time, and a call to Tick at the moment asked for.
class TReconnectClock {
public:
    virtual ~TReconnectClock() = default;
    virtual qint64 NowMs() const = 0;
    // A later call replaces the earlier one; -1 cancels it.
    virtual void WakeAt(qint64 atMs) = 0;
};

class TReconnector : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstWaitS = 1;
    static constexpr int kLongestWaitS = 30;

    // The session and the clock must outlive the reconnector.
    TReconnector(TSession& session, TReconnectClock& clock, QObject* parent = nullptr);

    // Waiting for the next attempt, or making one.
    bool Active() const { return active_; }
    int Attempts() const { return attempts_; } // since the connection dropped
    int WaitS() const { return waitS_; }       // the present wait between attempts
    // The user gives up: no more attempts; an attempt under way is dropped.
    void Stop();
    // The clock's call.
    void Tick();

signals:
    // Seconds left until the next attempt, once when the wait starts and every second after.
    void waiting(int seconds);
    void back();    // the table seated the program again
    void stopped(); // by the user, or the table refused to seat it

private:
    void Dropped();
    void AttemptFailed();
    void Wait();
    // Ends the attempts, without a word; false when none were under way.
    bool Finish();

    TSession& session_;
    TReconnectClock& clock_;
    bool active_ = false;
    bool attempting_ = false;
    int attempts_ = 0;
    int waitS_ = kFirstWaitS;
    qint64 due_ = -1;
};

// The real clock: a precise single-shot timer.
class TTimerClock : public QObject, public TReconnectClock {
    Q_OBJECT
public:
    explicit TTimerClock(QObject* parent = nullptr);
    qint64 NowMs() const override { return elapsed_.elapsed(); }
    void WakeAt(qint64 atMs) override;

signals:
    void tick();

private:
    QElapsedTimer elapsed_;
    QTimer timer_;
};

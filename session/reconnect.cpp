#include "reconnect.h"

#include <algorithm>

#include "session.h"

TReconnector::TReconnector(TSession& session, TReconnectClock& clock, QObject* parent)
    : QObject(parent), session_(session), clock_(clock)
{
    // Connected before the window's own handlers, which may forget the seat.
    connect(&session_, &TSession::disconnected, this, [this] {
        if (active_)
            AttemptFailed();
        else if (session_.Seated() && !session_.IsDealer)
            Dropped();
    });
    connect(&session_, &TSession::connectFailed, this, [this] {
        if (active_)
            AttemptFailed();
    });
    connect(&session_, &TSession::joinAccepted, this, [this] {
        if (Finish())
            emit back();
    });
    // The user went to another table (or to the list): the seat left behind is not taken up
    // again, and no attempt of ours closes the connection the user's choice opened.
    connect(&session_, &TSession::reopening, this, [this] {
        if (Finish())
            emit stopped();
    });
    // The seat went to someone else, or the host removed this player: nothing to go back to.
    connect(&session_, &TSession::tableFull, this, [this] {
        if (active_)
            Stop();
    });
}

void TReconnector::Dropped()
{
    // The seat's key takes it back from wherever the program is now.
    if (session_.Joined.HasKey())
        session_.JoinKey = session_.Joined.Key;
    const QByteArray table = session_.AtTable(); // at a server of many tables, the same one
    session_.ForgetSeat();
    session_.TableCode = table;
    active_ = true;
    attempts_ = 0;
    waitS_ = kFirstWaitS;
    Wait();
}

void TReconnector::AttemptFailed()
{
    if (!attempting_)
        return; // the word of a connection that is already given up
    attempting_ = false;
    waitS_ = std::min(waitS_ * 2, kLongestWaitS);
    Wait();
}

void TReconnector::Wait()
{
    due_ = clock_.NowMs() + qint64(waitS_) * 1000;
    emit waiting(waitS_);
    clock_.WakeAt(clock_.NowMs() + 1000);
}

void TReconnector::Tick()
{
    if (!active_ || attempting_)
        return;
    const qint64 now = clock_.NowMs();
    if (now < due_) {
        const qint64 left = due_ - now;
        emit waiting(int((left + 999) / 1000));
        clock_.WakeAt(now + ((left - 1) % 1000) + 1); // the next whole second before the attempt
        return;
    }
    attempting_ = true;
    ++attempts_;
    session_.Open();
}

bool TReconnector::Finish()
{
    if (!active_)
        return false;
    active_ = attempting_ = false;
    clock_.WakeAt(-1);
    return true;
}

void TReconnector::Stop()
{
    const bool attempting = attempting_;
    if (!Finish())
        return;
    if (attempting)
        session_.Close(); // its word of the closed connection finds nothing under way
    emit stopped();
}

TTimerClock::TTimerClock(QObject* parent) : QObject(parent)
{
    elapsed_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TTimerClock::tick);
}

void TTimerClock::WakeAt(qint64 atMs)
{
    if (atMs < 0)
        return timer_.stop();
    timer_.start(int(std::clamp<qint64>(atMs - NowMs(), 0, 1 << 30)));
}

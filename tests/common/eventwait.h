// The one way the tests wait for something that happens on Qt's event loop (a socket, a
// thread's answer, a timer on the real clock): the loop runs until it holds or time is up.
// Tests on a table's manual clock never need it.
#pragma once

#include <functional>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

// Runs the event loop until done() holds or timeoutMs passes; returns done().
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1); // events of other threads get their turn
    }
    return done();
}

// Runs the event loop for a while (to see that nothing more happens).
inline void Settle(int ms = 200)
{
    WaitFor([] { return false; }, ms);
}

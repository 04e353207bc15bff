// Helpers shared by the transport tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QThread>

#include "packet.h"

inline QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

inline TPacketHeader HeaderOf(const QByteArray& frame)
{
    return ReadHeader(frame.constData());
}

inline QByteArray DataFrame(uint8_t type, uint32_t stamp, const QByteArray& payload = {})
{
    return BuildFrame(type, stamp, payload.constData(), int32_t(payload.size()));
}

// Runs the event loop until done() holds or timeoutMs passes; returns done().
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return done();
}

// Runs the event loop for a while (to see that nothing more happens).
inline void Settle(int ms = 150)
{
    WaitFor([] { return false; }, ms);
}

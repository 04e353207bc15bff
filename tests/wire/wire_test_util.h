// Helpers shared by the tests of the byte codec and of the transport.
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

#include "eventwait.h"
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


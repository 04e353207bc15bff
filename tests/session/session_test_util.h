// Helpers of the session tests: a link that goes nowhere, payloads as a dealer sends them.
#pragma once

#include <cstring>

#include "extension.h"
#include "payload.h"
#include "session.h"

namespace session_test {

// A link without a connection: messages are handed to the session by hand.
class TNoLink : public TSessionLink {
public:
    void Open() override {}
    void Close() override {}
    bool Active() const override { return false; }
    void Send(TPacketType, const QByteArray&) override {}
    QString Host() const override { return {}; }
};

inline void Deliver(TSession& s, TPacketType type, const QByteArray& payload) { s.HandlePacket(type, payload); }

// A record after NewGame with a fixed seed.
inline TGameInfo DealtRecord(uint32_t seed)
{
    TGameInfo g;
    std::memset(&g, 0, sizeof g);
    InitGameInfo(g);
    TRandom rnd(seed);
    NewGame(g, rnd);
    return g;
}

inline QByteArray JoinAcceptedPayload(uint8_t seat, const QString& text)
{
    return TPayloadWriter().Byte(seat).Text(text).Bytes();
}

inline QByteArray RecordPayload(const TGameInfo& g) { return TPayloadWriter().Record(g).Bytes(); }

inline bool SameRecord(const TGameInfo& a, const TGameInfo& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace session_test

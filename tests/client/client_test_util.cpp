#include "client_test_util.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSettings>
#include <QTcpServer>
#include <QThread>

#include <cstring>

#include "payload.h"

int TSentLog::Count(TPacketType t) const
{
    int n = 0;
    for (TPacketType x : types)
        n += x == t;
    return n;
}

TGameInfo DealtRecord(uint32_t seed)
{
    TGameInfo g;
    std::memset(&g, 0, sizeof g);
    InitGameInfo(g);
    TRandom rnd(seed);
    NewGame(g, rnd);
    const char* names[4] = {"Ali", "Veli", "Ayse", "Can"};
    for (int s = 0; s < 4; ++s)
        std::strncpy(g.PlayerName[s], names[s], kNameSize - 1);
    return g;
}

QByteArray JoinAcceptedPayload(uint8_t seat, const QString& text)
{
    TPayloadWriter w;
    w.Byte(seat).Text(text);
    return w.Bytes();
}

QByteArray RecordPayload(const TGameInfo& g)
{
    TPayloadWriter w;
    w.Record(g);
    return w.Bytes();
}

bool SameRecord(const TGameInfo& a, const TGameInfo& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void ClearSettings()
{
    QSettings settings(QStringLiteral("Fendral"), QStringLiteral("Zorbela"));
    settings.clear();
    settings.sync();
}

quint16 ListenablePort()
{
    // Outgoing connections take their ports from 32768 up; start somewhere in the 20000s that
    // differs between test processes.
    const int start = int(QCoreApplication::applicationPid() % 10000);
    for (int i = 0; i < 10000; i += 7) {
        const auto port = quint16(20000 + (start + i) % 10000);
        QTcpServer probe;
        if (probe.listen(QHostAddress::Any, port))
            return port;
    }
    return 0;
}

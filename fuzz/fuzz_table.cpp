// The table core on random sequences of what several connections can do (connect, send any
// message, join under a few names with or without a key, play the awaited move, answer a
// sign-of-life request, hang up) and of the clock moving on, in process through fake
// ports. Nothing may crash, the table's record stays consistent once a game is dealt,
// every record sent passes the record check, no message is too long to be sent, and
// nothing goes to a connection, nor does a seat keep one, after the table was told that
// it closed.
#include <algorithm>
#include <string>
#include <vector>

#include "extension.h"
#include "fuzz_util.h"
#include "payload.h"
#include "table_ports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    TFuzzInput in(data, size);
    TFakePorts ports;
    const uint8_t flags = in.Byte();
    TRandom random(in.Word());
    uint8_t keys = 0;
    TTableOptions options;
    options.Quick = flags & 1;
    options.OpenHands = flags & 2;
    options.HostSendsRecords = flags & 4;
    options.ProbeMs = (flags & 8) ? 0 : 50;
    options.JoinTimeoutMs = 500;
    options.Random = &random;
    options.SeatKeys = [&keys] {
        TSeatKey key{};
        key.fill(++keys);
        return key;
    };
    TTable table(ports, ports, ports, options);

    static const char* const kHosts[] = {"10.0.0.1", "10.0.0.2", "10.0.0.3"};
    static const char* const kNames[] = {"Ali", "Veli", "", "Acemi1", "AliX", "Ayşe"};
    std::vector<TConnectionId> open;
    TConnectionId lastId = 0;
    const auto pick = [&]() -> TConnectionId { return open.empty() ? kNoConnection : open[in.Byte() % open.size()]; };

    for (int step = 0; step < 2000 && !in.Empty(); ++step) {
        switch (in.Byte() % 9) {
        case 0:
            if (open.size() < 8) {
                open.push_back(++lastId);
                table.Connected(lastId, QString::fromLatin1(kHosts[in.Byte() % 3]), quint16(40000 + lastId));
            }
            break;
        case 1:
            if (const TConnectionId id = pick()) {
                open.erase(std::find(open.begin(), open.end(), id));
                ports.gone.insert(id);
                table.Disconnected(id);
            }
            break;
        case 2:
            if (const TConnectionId id = pick()) {
                const auto type = TPacketType(in.Byte() % 40);
                const int length = in.Byte() | in.Byte() << 8;
                const QByteArray payload = in.Bytes(std::size_t(length % 9000));
                table.Received(id, type, reinterpret_cast<const uint8_t*>(payload.constData()), int32_t(payload.size()));
            }
            break;
        case 3:
            if (const TConnectionId id = pick()) {
                QByteArray payload = TPayloadWriter().Text(QString::fromUtf8(kNames[in.Byte() % 6])).Bytes();
                const uint8_t extended = in.Byte();
                if (extended & 1) {
                    TJoinExtension e;
                    e.Flags = TJoinExtension::kKnowsMessages;
                    e.Key.fill(uint8_t(extended >> 1 & 7)); // 0: none; others: keys the table may have given
                    payload += JoinExtensionBytes(e);
                }
                table.Received(id, JOIN_REQUEST, reinterpret_cast<const uint8_t*>(payload.constData()), int32_t(payload.size()));
            }
            break;
        case 4:
        case 5:
            if (const TConnectionId id = pick()) {
                TPacketType type = NEW_GAME;
                const QByteArray payload = AwaitedMove(table.GameInfo(), type);
                table.Received(id, type, reinterpret_cast<const uint8_t*>(payload.constData()), int32_t(payload.size()));
            }
            break;
        case 6:
            ports.Advance(table, in.Byte() * 10);
            break;
        case 7:
            if (!ports.probed.empty()) {
                const TConnectionId id = ports.probed.front();
                ports.probed.erase(ports.probed.begin());
                if (std::find(open.begin(), open.end(), id) != open.end())
                    table.Answered(id);
            }
            break;
        case 8:
            ports.backlog = in.Byte() % 40;
            ports.backlogBytes = qint64(in.Byte()) * 128;
            break;
        }
        ports.CloseWhatTheTableClosed(table, open);
        CheckTable(table, ports);
    }
    return 0;
}

// The reader of a table's kept state on any bytes, and a table restored from whatever it
// accepts. The first byte chooses how the rest is read: as a whole file, or as a body
// sealed with its right length and checksum under version 1 or 2, so that the checks of
// the fields are reached. A refused file gives its reason. An accepted one holds a
// consistent record and is written back as read; the table restored from it takes its
// players back by key and by name, plays on through the clock, and every state it keeps
// is read back.
#include "cp1254.h"
#include "extension.h"
#include "fuzz_util.h"
#include "table_ports.h"
#include "tablestate.h"

namespace {

struct TCheckingStore : TTableStore {
    void Keep(const TTableState& state) override
    {
        const QByteArray bytes = TableStateBytes(state);
        TTableState read;
        QString why;
        FUZZ_CHECK(ReadTableState(bytes, read, why));
        FUZZ_CHECK(TableStateBytes(read) == bytes);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (data[0] & 1)
        bytes = SealTableState(bytes, data[0] & 2 ? 1 : 2);
    TTableState state;
    QString why;
    if (!ReadTableState(bytes, state, why)) {
        FUZZ_CHECK(!why.isEmpty());
        return 0;
    }
    FUZZ_CHECK(IsValidGameInfo(state.Record));
    TTableState again;
    FUZZ_CHECK(ReadTableState(TableStateBytes(state), again, why));
    FUZZ_CHECK(TableStateBytes(again) == TableStateBytes(state));

    TFakePorts ports;
    TCheckingStore store;
    TRandom random(7);
    TTableOptions options;
    options.Quick = true;
    options.Random = &random;
    options.Store = &store;
    TTable table(ports, ports, ports, options);
    table.Restore(state);
    CheckTable(table, ports);

    // Half the players come back at once, the others after the grace; each by its key from
    // a new address if it is our program, else by its name from its address.
    std::vector<TConnectionId> open;
    TConnectionId lastId = 0;
    for (int round = 0; round < 2; ++round) {
        for (const TSeatState& seat : state.Seats) {
            if ((seat.Seat + round) % 2 == 0)
                continue;
            open.push_back(++lastId);
            table.Connected(lastId, seat.Extended ? QStringLiteral("10.9.9.9") : seat.Host, quint16(40000 + lastId));
            QByteArray join = TPayloadWriter().Text(FromCp1254(seat.Requested)).Bytes();
            if (seat.Extended) {
                TJoinExtension e;
                e.Flags = TJoinExtension::kKnowsMessages;
                e.Key = seat.Key;
                join += JoinExtensionBytes(e);
            }
            table.Received(lastId, JOIN_REQUEST, reinterpret_cast<const uint8_t*>(join.constData()), int32_t(join.size()));
            ports.CloseWhatTheTableClosed(table, open);
            CheckTable(table, ports);
        }
        ports.Advance(table, round == 0 ? 1000 : kRestoreGraceMs);
    }
    // They play what is awaited, and the clock runs.
    for (int step = 0; step < 300; ++step) {
        for (std::size_t i = 0; i < open.size(); ++i) {
            TPacketType type = NEW_GAME;
            const QByteArray move = AwaitedMove(table.GameInfo(), type);
            table.Received(open[i], type, reinterpret_cast<const uint8_t*>(move.constData()), int32_t(move.size()));
            ports.CloseWhatTheTableClosed(table, open);
        }
        ports.Advance(table, 700);
        ports.CloseWhatTheTableClosed(table, open);
        CheckTable(table, ports);
    }
    return 0;
}

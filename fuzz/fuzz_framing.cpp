// The receiving side of a connection on arbitrary byte streams. The input is a list of
// steps; most build frames with correct CRCs so that the fuzzer gets past the check.
#include <vector>

#include "fuzz_util.h"
#include "packetlink.h"
#include "payload.h"

namespace {

void ReadAny(const TPacketLink& link)
{
    const uint8_t* buf = link.RecvPayload();
    const int32_t n = link.RecvCount();
    uint8_t a, b, c;
    QString text;
    TGameInfo record;
    switch (link.RecvType()) {
    case GAME_RECORD: ReadGameRecord(buf, n, record); break;
    case CHAT_TEXT: ReadChatText(buf, n, text); break;
    case JOIN_ACCEPTED: ReadJoinAccepted(buf, n, a, text); break;
    case STATUS_TEXT: ReadStatusText(buf, n, text); break;
    case SEAT_NAME: ReadSeatName(buf, n, a, text); break;
    case TRICK_TAKER: ReadTrickTaker(buf, n, a); break;
    case CONTRACT_CHOICE: ReadContractChoice(buf, n, a); break;
    case CARD_PLAY: ReadCardPlay(buf, n, a, b, c); break;
    case JOIN_REQUEST: ReadJoinRequest(buf, n, text); break;
    default: break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    TFuzzInput in(data, size);
    std::size_t written = 0;
    TPacketLink link(QStringLiteral("FuzzSocket"), [&](const QByteArray& frame) {
        FUZZ_CHECK(frame.size() >= kHeaderSize);
        written += std::size_t(frame.size());
    });
    qsizetype appended = 0;
    while (!in.Empty()) {
        QByteArray chunk;
        switch (in.Byte() % 5) {
        case 0: { // a data frame with its CRC
            const uint8_t type = in.Byte();
            const uint32_t stamp = in.Word();
            std::size_t length = in.Byte();
            length += 256 * (in.Byte() % 2); // up to 511: a whole GAME_RECORD fits
            const QByteArray payload = in.Bytes(length);
            chunk = BuildFrame(type, stamp, payload.constData(), int32_t(payload.size()));
            break;
        }
        case 1: { // a control frame with its CRC
            const uint8_t type = uint8_t(15 + in.Byte() % 3);
            chunk = BuildControlFrame(type, in.Word());
            break;
        }
        case 2: { // a frame with one byte changed
            const uint8_t type = in.Byte();
            const QByteArray payload = in.Bytes(in.Byte() % 32);
            chunk = BuildFrame(type, in.Word(), payload.constData(), int32_t(payload.size()));
            const uint8_t at = in.Byte();
            chunk[at % chunk.size()] = char(chunk[at % chunk.size()] ^ (in.Byte() | 1));
            break;
        }
        case 3: // raw bytes
            chunk = in.Bytes(in.Byte());
            break;
        case 4: { // queue a frame of our own, so ACK and CRCERROR find one in flight
            const uint8_t type = in.Byte();
            link.AppendWaiting(BuildFrame(type, in.Word(), nullptr, 0));
            link.SelectOutgoing();
            continue;
        }
        }
        // Deliver the chunk in up to two reads, cut where the input says.
        const qsizetype cut = chunk.isEmpty() ? 0 : in.Byte() % (chunk.size() + 1);
        for (const QByteArray& part : {chunk.left(cut), chunk.mid(cut)}) {
            link.AppendIncoming(part);
            appended += part.size();
            while (link.CheckIncomingBuffer()) {
                const QByteArray& frame = link.RecvPacketBuffer();
                FUZZ_CHECK(frame.size() >= kHeaderSize && frame.size() <= kMaxFrameSize);
                FUZZ_CHECK(ReadHeader(frame.constData()).size == frame.size());
                FUZZ_CHECK(VerifyFrame(frame.constData(), int32_t(frame.size())));
                ReadAny(link);
            }
            FUZZ_CHECK(link.IncomingSize() <= appended);
            if (link.Broken())
                FUZZ_CHECK(link.IncomingSize() == 0);
        }
    }
    return 0;
}

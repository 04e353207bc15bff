// Every payload reader on arbitrary bytes. A reader that succeeds must have read exactly
// what the writer would produce for the values it returned.
#include <cstring>

#include "extension.h"
#include "fuzz_util.h"
#include "payload.h"
#include "tablemessages.h"

namespace {

void CheckPrefix(const TPayloadWriter& w, const uint8_t* data, std::size_t size)
{
    FUZZ_CHECK(std::size_t(w.Size()) <= size);
    FUZZ_CHECK(std::memcmp(w.Data(), data, std::size_t(w.Size())) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const auto count = int32_t(size);
    uint8_t a = 0, b = 0, c = 0;
    QString text;
    TGameInfo record;
    if (ReadGameRecord(data, count, record))
        CheckPrefix(TPayloadWriter().Record(record), data, size);
    if (ReadChatText(data, count, text))
        CheckPrefix(TPayloadWriter().Text(text), data, size);
    if (ReadStatusText(data, count, text))
        CheckPrefix(TPayloadWriter().Text(text), data, size);
    if (ReadJoinRequest(data, count, text)) {
        FUZZ_CHECK(text.size() <= kMaxTextLength);
        CheckPrefix(TPayloadWriter().Text(text), data, size);
    }
    if (ReadJoinAccepted(data, count, a, text))
        CheckPrefix(TPayloadWriter().Byte(a).Text(text), data, size);
    if (ReadSeatName(data, count, a, text))
        CheckPrefix(TPayloadWriter().Byte(a).Text(text), data, size);
    if (ReadTrickTaker(data, count, a))
        CheckPrefix(TPayloadWriter().Byte(a), data, size);
    if (ReadContractChoice(data, count, a))
        CheckPrefix(TPayloadWriter().Byte(a), data, size);
    if (ReadCardPlay(data, count, a, b, c))
        CheckPrefix(TPayloadWriter().Byte(a).Byte(b).Byte(c), data, size);
    TJoinExtension extension;
    if (ReadJoinRequestExtension(data, count, extension)) {
        FUZZ_CHECK(ReadJoinRequest(data, count, text));
        FUZZ_CHECK(extension.TableCode.size() <= kMaxTableCodeBytes);
    }
    if (ReadJoinAcceptedExtension(data, count, extension))
        FUZZ_CHECK(ReadJoinAccepted(data, count, a, text));
    QStringList names;
    if (ReadGameList(data, count, names)) {
        const QByteArray written = GameListPayload(names);
        FUZZ_CHECK(std::size_t(written.size()) <= size && std::memcmp(written.constData(), data, std::size_t(written.size())) == 0);
    }
    bool ok = false;
    if (ReadGameFileResult(data, count, ok, text))
        FUZZ_CHECK(text.size() <= kMaxTextLength);
    // The messages of a server of many tables.
    QList<TTableListing> tables;
    if (ReadTableList(data, count, tables))
        FUZZ_CHECK(tables.size() <= 0xFFFF);
    TTableSettings settings;
    if (ReadCreateTable(data, count, settings))
        FUZZ_CHECK(settings.Name.size() <= kMaxTextLength);
    if (ReadTableAnswer(data, count, ok, text))
        FUZZ_CHECK(text.size() <= kMaxTextLength);
    QByteArray code;
    if (ReadWatchTable(data, count, code))
        CheckPrefix(TPayloadWriter().Text(code), data, size);
    uint32_t ms = 0;
    if (ReadTurnTime(data, count, a, ms)) {
        const QByteArray written = TurnTimePayload(a, ms);
        FUZZ_CHECK(std::memcmp(written.constData(), data, 5) == 0);
    }
    return 0;
}

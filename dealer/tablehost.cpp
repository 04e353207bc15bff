// What our own programs add at a table: a key for every seat, so that only its owner takes
// it back; the games the host saves and loads on the dealer's machine; and a game that
// waits while every player is away. A program that knows none of it sends no extension
// block with its name, gets none back and is never sent a message it does not know.
#include <QRandomGenerator>

#include "cp1254.h"
#include "gamefiles.h"
#include "payload.h"
#include "table.h"

namespace {

TSeatKey SystemSeatKey()
{
    TSeatKey key;
    QRandomGenerator* random = QRandomGenerator::system();
    for (uint8_t& b : key)
        b = uint8_t(random->bounded(256));
    return key;
}

} // namespace

void TTable::GiveKey(SeatEntry& entry, TConnectionId id, const TJoinExtension& extension, bool renew)
{
    entry.Host = connections_.value(id).Host;
    entry.Extended = (extension.Flags & TJoinExtension::kKnowsMessages) != 0;
    if (renew || std::all_of(entry.Key.begin(), entry.Key.end(), [](uint8_t b) { return b == 0; }))
        entry.Key = seatKeys_ ? seatKeys_() : SystemSeatKey();
}

SeatEntry* TTable::SeatOfKey(const TJoinExtension& extension)
{
    if (!extension.HasKey())
        return nullptr;
    for (SeatEntry& entry : seats_)
        if (entry.Kind == SeatEntry::Human && entry.Key == extension.Key)
            return &entry;
    return nullptr;
}

QByteArray TTable::JoinAcceptedPayload(const SeatEntry& entry) const
{
    QByteArray payload = TPayloadWriter()
                             .Byte(entry.Seat)
                             .Text(QStringLiteral("Oyuna katıldın (%1. oyuncu olarak)").arg(entry.Seat + 1))
                             .Bytes();
    if (!entry.Extended)
        return payload;
    TJoinExtension extension;
    extension.Flags = TJoinExtension::kKnowsMessages;
    if (!openHands_)
        extension.Flags |= TJoinExtension::kPrivateHands;
    if (entry.Seat == 0)
        extension.Flags |= TJoinExtension::kHost;
    extension.Key = entry.Key;
    extension.TableCode = code_;
    return payload + JoinExtensionBytes(extension);
}

bool TTable::EveryPlayerGone() const
{
    return SeatCount() == kSeatCount && std::none_of(seats_.begin(), seats_.end(), [](const SeatEntry& e) {
               return e.Kind == SeatEntry::Human && e.Connection != kNoConnection;
           });
}

void TTable::SendGameFileResult(TConnectionId id, bool ok, const QString& text)
{
    Send(id, GAME_FILE_RESULT, GameFileResultPayload(ok, text));
}

void TTable::HostMessage(TConnectionId id, uint8_t type, const uint8_t* buf, int32_t count)
{
    const char* what = type == SAVE_GAME ? "SAVE_GAME" : type == LOAD_GAME ? "LOAD_GAME" : "LIST_GAMES";
    // Only the host is answered (and only its program, which announced these messages).
    if (SeatOf(id) != 0)
        return Drop(what, QStringLiteral("not from the host"));
    if (gamesFolder_.isEmpty())
        return SendGameFileResult(id, false, QStringLiteral("Bu masa oyun saklamıyor."));
    if (type == LIST_GAMES)
        return Send(id, GAME_LIST, GameListPayload(FitGameList(SavedGameNames(gamesFolder_), kMaxPayloadSize)));

    QString name;
    if (!TPayloadReader(buf, count).Text(name))
        return Drop(what, QStringLiteral("payload too short"));
    name = name.trimmed();
    if (!IsSafeGameName(name))
        return SendGameFileResult(id, false, QStringLiteral("Bu ad kullanılamaz: %1").arg(name));
    if (type == SAVE_GAME) {
        if (!WriteSavedGame(gamesFolder_, name, game_)) {
            Log(QStringLiteral("the game could not be saved as %1").arg(name));
            return SendGameFileResult(id, false, QStringLiteral("Oyun kaydedilemedi!"));
        }
        Log(QStringLiteral("game saved as %1").arg(name));
        return SendGameFileResult(id, true, QStringLiteral("Oyun kaydedildi: %1").arg(name));
    }
    TGameInfo loaded;
    if (!ReadSavedGame(gamesFolder_, name, loaded) || !IsValidGameInfo(loaded)) {
        Log(QStringLiteral("the saved game %1 cannot be loaded").arg(name));
        return SendGameFileResult(id, false, QStringLiteral("Dosya açılamıyor!"));
    }
    TakeLoadedGame(loaded);
}

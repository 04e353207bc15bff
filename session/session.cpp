#include "session.h"

#include <algorithm>
#include <cstring>

#include "payload.h"
#include "tablemessages.h"

TSession::TSession(TSessionLink& link, QObject* parent) : QObject(parent), link_(link)
{
    ResetRecord();
    connect(&link_, &TSessionLink::connecting, this, &TSession::connecting);
    connect(&link_, &TSessionLink::connectFailed, this, &TSession::connectFailed);
    connect(&link_, &TSessionLink::disconnected, this, &TSession::disconnected);
    connect(&link_, &TSessionLink::connected, this, [this] {
        Joined = {};
        emit connected();
        Opened();
    });
    connect(&link_, &TSessionLink::received, this, &TSession::HandlePacket);
}

void TSession::ResetRecord()
{
    std::memset(&record_, 0, sizeof record_);
    InitGameInfo(record_);
}

void TSession::ForgetSeat()
{
    MySeat = kNoSeat;
    seatByte_ = kNoSeat;
    watching_ = false;
    serverHasTables_ = false;
    TableCode.clear();
}

// ---- A server of many tables ----

void TSession::Opened()
{
    const TOpening opening = opening_;
    opening_ = TOpening::Join; // a later connection (taking the seat back, say) joins
    if (opening == TOpening::Create)
        Send(CREATE_TABLE, CreateTablePayload(creating_));
    else if (opening == TOpening::Watch)
        Send(WATCH_TABLE, WatchTablePayload(TableCode));
    else
        SendJoinRequest();
}

void TSession::Reopen(TOpening opening)
{
    // The user chose where to go: nothing goes back to the table left behind.
    emit reopening();
    // Nothing of the table left behind is taken up again; the server stays known.
    MySeat = kNoSeat;
    seatByte_ = kNoSeat;
    watching_ = false;
    listOnly_ = false;
    Joined = {};
    JoinKey = {};
    Close();
    opening_ = opening;
    Open();
}

void TSession::ListTables()
{
    // A dealer of one table is never asked: it does not know the message.
    if (Active()) {
        if (serverHasTables_)
            Send(LIST_TABLES);
        return;
    }
    TableCode.clear();
    Reopen(TOpening::Join); // TablesFirst with no code: the list
}

void TSession::CreateTable(const TTableSettings& settings)
{
    creating_ = settings;
    TableCode.clear();
    Reopen(TOpening::Create);
}

void TSession::JoinTable(const QByteArray& code)
{
    TableCode = code;
    Reopen(TOpening::Join);
}

void TSession::WatchTable(const QByteArray& code)
{
    TableCode = code;
    Reopen(TOpening::Watch);
}

void TSession::TableAnswer(TPacketType type, const QByteArray& payload)
{
    bool ok = false;
    QString text;
    if (!ReadTableAnswer(reinterpret_cast<const uint8_t*>(payload.constData()), int32_t(payload.size()), ok, text))
        return;
    if (ok && !IsTableCode(text.toLatin1()))
        ok = false, text.clear();
    serverHasTables_ = true;
    if (type == TABLE_CREATED) {
        if (ok) {
            TableCode = text.toLatin1();
            SendJoinRequest(); // the creator joins first and so becomes the host
        }
        emit tableCreated(ok, text);
    } else {
        watching_ = ok;
        emit watching(ok, text);
    }
    if (!ok)
        Close(); // back in the lobby, which holds no connection
}

void TSession::SendSeatToComputer(int seat) { Send(SEAT_TO_COMPUTER, TPayloadWriter().Byte(uint8_t(seat)).Bytes()); }

void TSession::SendRemovePlayer(int seat) { Send(REMOVE_PLAYER, TPayloadWriter().Byte(uint8_t(seat)).Bytes()); }

void TSession::SendLockTable(bool locked) { Send(LOCK_TABLE, TPayloadWriter().Byte(locked ? 1 : 0).Bytes()); }

void TSession::SendTurnClock(int cardS, int contractS)
{
    TPayloadWriter w;
    for (const int s : {cardS, contractS})
        w.Byte(uint8_t(s & 0xFF)).Byte(uint8_t((s >> 8) & 0xFF));
    Send(SET_TURN_CLOCK, w.Bytes());
}

void TSession::HandlePacket(TPacketType type, const QByteArray& payload)
{
    const auto* in = reinterpret_cast<const uint8_t*>(payload.constData());
    const auto n = static_cast<int32_t>(payload.size());
    uint8_t seat = kNoSeat;
    QString text;
    switch (static_cast<uint8_t>(type)) {
    case GAME_RECORD: {
        TGameInfo g;
        // A record the rules cannot work on safely is not taken over.
        if (!ReadGameRecord(in, n, g) || !IsValidGameInfo(g))
            return;
        record_ = g;
        CardSent = false;
        ContractSent = false;
        emit recordChanged();
        return;
    }
    case CHAT_TEXT:
        if (ReadChatText(in, n, text))
            emit chat(text);
        return;
    case JOIN_ACCEPTED:
        if (!ReadJoinAccepted(in, n, seat, text) || seat >= kSeatCount)
            return;
        MySeat = seat;
        seatByte_ = seat;
        watching_ = false;
        Joined = {};
        ReadJoinAcceptedExtension(in, n, Joined);
        if (!Joined.TableCode.isEmpty())
            serverHasTables_ = true; // a dealer of one table names none
        emit joinAccepted(seat, text);
        return;
    case STATUS_TEXT:
        if (ReadStatusText(in, n, text))
            emit statusText(text);
        return;
    case SEAT_NAME:
        if (!ReadSeatName(in, n, seat, text) || seat >= kSeatCount)
            return;
        // An empty name gives a seat up (before the game, or when the table waits for new
        // players): the table is complete only once the last seat has a name.
        if (!text.isEmpty())
            NamedSeat = seat;
        else if (NamedSeat >= seat)
            NamedSeat = seat > 0 ? uint8_t(seat - 1) : 0;
        emit seatName(seat, text);
        return;
    case TABLE_FULL:
        // Nothing in it from a dealer of one table; a server of many tables may say why.
        if (!ReadStatusText(in, n, text))
            text.clear();
        emit tableFull(text);
        return;
    case TRICK_TAKER:
        if (ReadTrickTaker(in, n, seat) && seat < kSeatCount)
            emit trickTaker(seat);
        return;
    case TRICK_CLEAR:
        emit trickClear();
        return;
    case GAME_LIST: {
        QStringList names;
        if (!DealerKeepsGames())
            break;
        if (ReadGameList(in, n, names))
            emit gameList(names);
        return;
    }
    case TURN_TIME: {
        uint32_t msLeft = 0;
        // Told to a program that sent the extension block, or that asked to watch.
        if ((!Joined.Flags && !watching_) || !ReadTurnTime(in, n, seat, msLeft))
            break;
        emit turnTime(seat < kSeatCount ? int(seat) : int(kNoSeat), int(std::min<uint32_t>(msLeft, 1u << 30)));
        return;
    }
    case TABLE_LIST: {
        QList<TTableListing> tables;
        if (!ReadTableList(in, n, tables))
            return;
        serverHasTables_ = true;
        // A connection that asked only for the list stays in the lobby, which the server
        // closes soon: the next step opens a new one. One that is creating or joining a
        // table (the list asked for meanwhile) waits for its answer.
        if (listOnly_ && !Seated() && !watching_)
            Close();
        emit tableList(tables);
        return;
    }
    case TABLE_CREATED:
    case WATCHING:
        return TableAnswer(type, payload);
    case GAME_FILE_RESULT: {
        bool ok = false;
        if (!DealerKeepsGames())
            break;
        if (ReadGameFileResult(in, n, ok, text))
            emit gameFileResult(ok, text);
        return;
    }
    default:
        break;
    }
    emit unknownPacket();
}

void TSession::Send(TPacketType type, const QByteArray& payload)
{
    // A watcher has no seat to act for: it may only ask for the list.
    if (watching_ && type != LIST_TABLES)
        return;
    link_.Send(type, payload);
    emit sent(type);
}

void TSession::SendJoinRequest()
{
    // The name, as every dealer reads it, then what only our dealers look at: that this copy
    // knows the saved-game messages, and the key of the seat it may take back.
    TJoinExtension extension;
    extension.Flags = TJoinExtension::kKnowsMessages;
    listOnly_ = TablesFirst && TableCode.isEmpty() && !IsDealer;
    if (listOnly_)
        extension.Flags |= TJoinExtension::kTablesFirst;
    extension.Key = JoinKey;
    extension.TableCode = TableCode;
    Send(JOIN_REQUEST, TPayloadWriter().Text(UserName).Bytes() + JoinExtensionBytes(extension));
}

void TSession::SendSaveGame(const QString& name)
{
    if (DealerKeepsGames())
        Send(SAVE_GAME, TPayloadWriter().Text(name).Bytes());
}

void TSession::SendLoadGame(const QString& name)
{
    if (DealerKeepsGames())
        Send(LOAD_GAME, TPayloadWriter().Text(name).Bytes());
}

void TSession::SendListGames()
{
    if (DealerKeepsGames())
        Send(LIST_GAMES);
}

void TSession::SendCardPlay(uint8_t suit, uint8_t value)
{
    CardSent = true;
    Send(CARD_PLAY, TPayloadWriter().Byte(seatByte_).Byte(suit).Byte(value).Bytes());
}

void TSession::SendContractChoice(uint8_t contract)
{
    ContractSent = true;
    Send(CONTRACT_CHOICE, TPayloadWriter().Byte(contract).Bytes());
}

void TSession::SendChatLine(const QString& line)
{
    Send(CHAT_TEXT, TPayloadWriter().Text(UserName + QStringLiteral("> ") + line).Bytes());
}

void TSession::SendStartNow() { Send(START_NOW); }

void TSession::SendNewGame() { Send(NEW_GAME); }

void TSession::SendWaitForPlayers() { Send(WAIT_FOR_PLAYERS); }

void TSession::SendGameRecord(const TGameInfo& g)
{
    Send(GAME_RECORD, TPayloadWriter().Record(g).Bytes());
}

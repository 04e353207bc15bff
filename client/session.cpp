#include "session.h"

#include <QByteArray>
#include <QTcpSocket>
#include <QVariant>

#include <cstring>

#include "payload.h"
#include "sendplayerpackets.h"

namespace {

constexpr const char* kEverConnected = "zorbelaEverConnected";

} // namespace

TClientSession::TClientSession(QObject* parent) : QObject(parent)
{
    socket_.setObjectName(QStringLiteral("PlayerSocket"));
    ResetRecord();
    socket_.OnConnecting = [this](QTcpSocket* attempt) {
        // The component reports the error first; an attempt that never connected then
        // tells the owner that it failed.
        QObject::connect(attempt, &QTcpSocket::errorOccurred, &socket_, [this, attempt] {
            if (socket_.Socket() == attempt && !attempt->property(kEverConnected).toBool())
                emit connectFailed(int(attempt->error()));
        });
        QObject::connect(attempt, &QTcpSocket::connected, &socket_,
                         [attempt] { attempt->setProperty(kEverConnected, true); });
        emit connecting();
    };
    socket_.OnConnect = [this](QTcpSocket*) {
        Joined = {};
        emit connected();
        SendJoinRequest();
    };
    socket_.OnDisconnect = [this](QTcpSocket*) { emit disconnected(); };
    socket_.OnPacketRead = [this](QTcpSocket*, TPacketType type, const uint8_t* buf, int32_t n) {
        HandlePacket(type, buf, n);
    };
}

TClientSession::~TClientSession() = default;

void TClientSession::ResetRecord()
{
    std::memset(&record_, 0, sizeof record_);
    InitGameInfo(record_);
}

void TClientSession::ForgetSeat()
{
    MySeat = -1;
    seatByte_ = kNone;
}

void TClientSession::HandlePacket(TPacketType type, const uint8_t* buf, int32_t count)
{
    // The payload is copied before anything else: handlers may close the connection.
    const QByteArray copy(reinterpret_cast<const char*>(buf), buf && count > 0 ? count : 0);
    const auto* in = reinterpret_cast<const uint8_t*>(copy.constData());
    const auto n = static_cast<int32_t>(copy.size());
    uint8_t seat = kNone;
    QString text;
    switch (static_cast<uint8_t>(type)) {
    case GAME_RECORD: {
        TGameInfo g;
        // A record the rules cannot work on safely is not taken over.
        if (!ReadGameRecord(in, n, g) || !IsValidGameInfo(g))
            return;
        record_ = g;
        emit recordArrived();
        return;
    }
    case CHAT_TEXT:
        if (ReadChatText(in, n, text))
            emit chat(text);
        return;
    case JOIN_ACCEPTED:
        if (!ReadJoinAccepted(in, n, seat, text) || seat > 3)
            return;
        MySeat = static_cast<int8_t>(seat);
        seatByte_ = seat;
        Joined = {};
        ReadJoinAcceptedExtension(in, n, Joined);
        emit joinAccepted(static_cast<int>(seat), text);
        return;
    case STATUS_TEXT:
        if (ReadStatusText(in, n, text))
            emit statusText(text);
        return;
    case SEAT_NAME:
        if (!ReadSeatName(in, n, seat, text) || seat > 3)
            return;
        // An empty name gives a seat up (before the game, or when the table waits for new
        // players): the table is complete only once seat 3 has a name.
        if (!text.isEmpty())
            NamedSeat = seat;
        else if (NamedSeat >= seat)
            NamedSeat = seat > 0 ? uint8_t(seat - 1) : 0;
        emit seatName(static_cast<int>(seat), text);
        return;
    case TABLE_FULL:
        emit tableFull();
        return;
    case TRICK_TAKER:
        if (ReadTrickTaker(in, n, seat) && seat <= 3)
            emit trickTaker(static_cast<int>(seat));
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

void TClientSession::SendJoinRequest()
{
    // The name, as every dealer reads it, then what only our dealers look at: that this copy
    // knows the saved-game messages, and the key of the seat it may take back.
    TJoinExtension extension;
    extension.Flags = TJoinExtension::kKnowsMessages;
    extension.Key = JoinKey;
    SendExtension(JOIN_REQUEST, TPayloadWriter().Text(UserName).Bytes() + JoinExtensionBytes(extension));
}

void TClientSession::SendExtension(TPacketType type, const QByteArray& payload)
{
    socket_.PacketMakeAndSend(type, payload.constData(), static_cast<int32_t>(payload.size()));
    emit sent(type);
}

void TClientSession::SendSaveGame(const QString& name)
{
    if (DealerKeepsGames())
        SendExtension(SAVE_GAME, TPayloadWriter().Text(name).Bytes());
}

void TClientSession::SendLoadGame(const QString& name)
{
    if (DealerKeepsGames())
        SendExtension(LOAD_GAME, TPayloadWriter().Text(name).Bytes());
}

void TClientSession::SendListGames()
{
    if (DealerKeepsGames())
        SendExtension(LIST_GAMES, QByteArray());
}

void TClientSession::SendCardPlay(uint8_t suit, uint8_t value)
{
    ::SendCardPlay(socket_, static_cast<uint8_t>(MySeat), suit, value);
    emit sent(CARD_PLAY);
}

void TClientSession::SendContractChoice(uint8_t contract)
{
    ::SendContractChoice(socket_, contract);
    emit sent(CONTRACT_CHOICE);
}

void TClientSession::SendChatLine(const QString& line)
{
    ::SendChatText(socket_, UserName + QStringLiteral("> ") + line);
    emit sent(CHAT_TEXT);
}

void TClientSession::SendStartNow()
{
    ::SendStartNow(socket_);
    emit sent(START_NOW);
}

void TClientSession::SendNewGame()
{
    ::SendNewGame(socket_);
    emit sent(NEW_GAME);
}

void TClientSession::SendWaitForPlayers()
{
    ::SendWaitForPlayers(socket_);
    emit sent(WAIT_FOR_PLAYERS);
}

void TClientSession::SendGameRecord(const TGameInfo& g)
{
    ::SendGameRecord(socket_, g);
    emit sent(GAME_RECORD);
}

// The course of a game at the dealer: new games and loaded records, contracts, cards,
// the computer seats, the pacing of every trick and the broadcast of the record.
#include <cstring>
#include <string>

#include "cp1254.h"
#include "dealerthread.h"
#include "gamefiles.h"
#include "payload.h"
#include "seatnames.h"
#include "senddealerpackets.h"
#include "tabletext.h"


void TDealerThread::GameRecordMessage(int seat, const uint8_t* buf, int32_t count)
{
    if (seat != 0)
        return Drop("GAME_RECORD", QStringLiteral("not from the dealer's own user but from %1").arg(SeatText(seat)));
    TGameInfo loaded;
    if (!ReadGameRecord(buf, count, loaded))
        return Drop("GAME_RECORD", QStringLiteral("payload too short"));
    if (!IsValidGameInfo(loaded))
        return Drop("GAME_RECORD", QStringLiteral("the record is not consistent"));
    StopTrickTimers();
    game_ = loaded;
    Log(QStringLiteral("game loaded: %1").arg(PhaseText(game_)));
    BroadcastGameRecord();
    // A record saved with a full trick on the table goes on with the trick's pacing.
    if (game_.Phase == psTrickComplete && seatCount_ == 4)
        StartTrickTimers();
}

void TDealerThread::ChatText(int seat, const uint8_t* buf, int32_t count)
{
    if (seat < 0)
        return Drop("CHAT_TEXT", QStringLiteral("from a connection without a seat"));
    QString text;
    if (!ReadChatText(buf, count, text))
        return Drop("CHAT_TEXT", QStringLiteral("payload too short"));
    Log(QStringLiteral("chat: %1").arg(text));
    for (QTcpSocket* connection : HumanConnections()) {
        // A line is not worth a player's connection: one whose link is backed up (a slow
        // network, or someone chatting in bursts) misses the line instead of being closed
        // for the backlog; the game's own messages are never held back.
        const TPacketThread* thread = socket_.GetServerPacketThread(connection);
        if (thread && thread->Link().PendingFrames() >= kChatBacklogFrames) {
            Log(QStringLiteral("chat not sent to %1: its link is backed up").arg(Peer(connection)));
            continue;
        }
        SendChatText(socket_, connection, text);
    }
}

void TDealerThread::NewGameMessage(int seat)
{
    if (seat != 0)
        return Drop("NEW_GAME", QStringLiteral("not from the dealer's own user but from %1").arg(SeatText(seat)));
    StopTrickTimers();
    NewGame(game_, *random_);
    Log(QStringLiteral("new game: %1").arg(PhaseText(game_)));
    BroadcastGameRecord();
}

void TDealerThread::ContractChoice(int seat, const uint8_t* buf, int32_t count)
{
    uint8_t contract = kNone;
    if (!ReadContractChoice(buf, count, contract))
        return Drop("CONTRACT_CHOICE", QStringLiteral("payload too short"));
    if (seat < 0 || seatCount_ != 4 || game_.Phase != psChoosing || game_.Chooser != seat)
        return Drop("CONTRACT_CHOICE", QStringLiteral("%1 is not to choose").arg(SeatText(seat)));
    if (contract >= kContractCount || !ContractAvailable(game_, seat, contract))
        return Drop("CONTRACT_CHOICE",
                    QStringLiteral("contract %1 is not available to seat %2").arg(int(contract)).arg(seat));
    ChooseContract(game_, contract);
    Log(QStringLiteral("seat %1 chose %2").arg(seat).arg(QString::fromUtf8(ContractNames[contract])));
    BroadcastGameRecord();
}

void TDealerThread::CardPlay(int seat, const uint8_t* buf, int32_t count)
{
    uint8_t cardSeat = kNone, suit = kNone, value = kNone;
    if (!ReadCardPlay(buf, count, cardSeat, suit, value))
        return Drop("CARD_PLAY", QStringLiteral("payload too short"));
    if (seat < 0 || cardSeat != seat)
        return Drop("CARD_PLAY",
                    QStringLiteral("%1 plays for seat %2").arg(SeatText(seat)).arg(int(cardSeat)));
    if (seatCount_ != 4 || game_.Phase != psPlaying || game_.Turn != seat || game_.TrickCount >= 4)
        return Drop("CARD_PLAY", QStringLiteral("seat %1 is not to play").arg(seat));
    if (!HasCard(game_, seat, suit, value))
        return Drop("CARD_PLAY", QStringLiteral("seat %1 does not hold %2").arg(seat).arg(CardName(suit, value)));
    std::string refusal;
    if (!IsPlayable(game_, seat, suit, value, refusal))
        return Drop("CARD_PLAY", QStringLiteral("seat %1 may not play %2: %3")
                                     .arg(seat)
                                     .arg(CardName(suit, value), QString::fromStdString(refusal)));
    PlayCard(game_, seat, suit, value);
    Log(QStringLiteral("seat %1 played %2").arg(seat).arg(CardName(suit, value)));
    BroadcastGameRecord();
    if (game_.TrickCount == 4)
        StartTrickTimers();
}

void TDealerThread::WaitForPlayers(int seat)
{
    if (seat != 0)
        return Drop("WAIT_FOR_PLAYERS", QStringLiteral("not from the dealer's own user but from %1").arg(SeatText(seat)));
    // The table is opened again for new players: the dealer's own user keeps seat 0 and
    // its connection, every other seat is given up and every other connection closed.
    computerMoveTimer_.stop();
    StopTrickTimers();
    const QByteArray ownName = SeatNameInRecord(game_, 0);
    InitGameInfo(game_);
    std::memcpy(game_.PlayerName[0], ownName.constData(), std::size_t(ownName.size()));
    QTcpSocket* own = OwnUser();
    QList<QPointer<QTcpSocket>> others;
    for (int i = 0; i < socket_.ActiveConnections(); ++i)
        if (socket_.Connection(i) != own)
            others.append(socket_.Connection(i));
    while (seats_.size() > 1)
        seats_.removeLast();
    seatCount_ = int(seats_.size());
    computerCount_ = 0;
    for (const QPointer<QTcpSocket>& connection : others)
        if (connection)
            socket_.CloseConnection(connection);
    Log(QStringLiteral("waiting for new players on port %1").arg(socket_.Port()));
    for (int s = 1; s < 4; ++s)
        SendSeatName(socket_, own, uint8_t(s), QString());
    SendMissing();
}

void TDealerThread::BroadcastGameRecord()
{
    if (seatCount_ != 4)
        return;
    for (QTcpSocket* connection : HumanConnections())
        SendGameRecord(socket_, connection, game_);
    computerMoveTimer_.start();
    const QString path = WriteLastHand(lastHandFolder_, game_);
    if (path.isEmpty())
        Log(QStringLiteral("LastHand.rvo could not be written"));
    else if (path != lastHandPath_ && !lastHandPath_.isEmpty())
        Log(QStringLiteral("LastHand.rvo is now written to %1").arg(path));
    lastHandPath_ = path;
}

void TDealerThread::StartTrickTimers()
{
    trickWinnerTimer_.start();
    trickResolveTimer_.start();
}

void TDealerThread::StopTrickTimers()
{
    trickWinnerTimer_.stop();
    trickResolveTimer_.stop();
    // A trick whose taker the players were shown is cleared from their screens now.
    if (trickClearTimer_.isActive())
        TrickClearTick();
}

void TDealerThread::ComputerMoveTick()
{
    computerMoveTimer_.stop();
    if (seatCount_ != 4 || (game_.Phase != psChoosing && game_.Phase != psPlaying))
        return;
    // One action per tick: the first computer-played seat that acts ends the tick. Those
    // are the computer seats and the seats whose player's connection closed.
    for (const SeatEntry& entry : seats_) {
        if (!entry.ComputerPlays())
            continue;
        const int seat = entry.Seat;
        const int acted = ComputerMove(computer_, seat, game_, *random_);
        if (acted == 0)
            continue;
        if (acted == 2)
            Log(QStringLiteral("seat %1 (computer) chose %2")
                    .arg(seat)
                    .arg(game_.Contract < kContractCount ? QString::fromUtf8(ContractNames[game_.Contract])
                                                         : QStringLiteral("nothing")));
        else
            Log(QStringLiteral("seat %1 (computer) played %2")
                    .arg(seat)
                    .arg(CardName(game_.TrickSuit[game_.TrickCount - 1], game_.TrickValue[game_.TrickCount - 1])));
        BroadcastGameRecord(); // leaves the seat list as it is
        if (game_.TrickCount == 4)
            StartTrickTimers();
        return;
    }
}

void TDealerThread::TrickWinnerTick()
{
    trickWinnerTimer_.stop();
    if (game_.Phase != psTrickComplete || game_.TrickCount != 4)
        return;
    const uint8_t winner = WhoBiggest(game_);
    Log(QStringLiteral("trick taken by seat %1").arg(int(winner)));
    for (QTcpSocket* connection : HumanConnections())
        SendTrickTaker(socket_, connection, winner);
    trickClearTimer_.start();
}

void TDealerThread::TrickClearTick()
{
    trickClearTimer_.stop();
    Log(QStringLiteral("trick cleared"));
    for (QTcpSocket* connection : HumanConnections())
        SendTrickClear(socket_, connection);
}

void TDealerThread::TrickResolveTick()
{
    trickResolveTimer_.stop();
    if (game_.Phase != psTrickComplete || game_.TrickCount != 4)
        return;
    const int hands = ContractsPlayed(game_);
    ResolveTrick(game_, *random_);
    if (game_.Phase == psGameOver)
        Log(QStringLiteral("game over: totals %1").arg(TotalsText(game_)));
    else if (game_.Phase == psChoosing)
        Log(QStringLiteral("hand %1 over: totals %2; %3").arg(hands).arg(TotalsText(game_), PhaseText(game_)));
    else
        Log(QStringLiteral("trick resolved: %1").arg(PhaseText(game_)));
    BroadcastGameRecord();
}

#include "benchplayer.h"

#include "movelog.h"
#include "payload.h"
#include "sendplayerpackets.h"

TBenchPlayer::TBenchPlayer(TMoveLog& log, const QString& host, quint16 port, const QString& name)
    : log_(log)
{
    socket_.OnMessage = [name](const QString& text) {
        qWarning("%s: %s", qPrintable(name), qPrintable(text));
    };
    socket_.OnConnect = [this, name](QTcpSocket*) { SendJoinRequest(socket_, name); };
    socket_.OnPacketRead = [this](QTcpSocket*, TPacketType type, const uint8_t* buf, int32_t count) {
        Read(type, buf, count);
    };
    socket_.Open(host, port);
}

void TBenchPlayer::Read(TPacketType type, const uint8_t* buf, int32_t count)
{
    uint8_t seat = kNoSeat;
    QString text;
    TGameInfo g;
    if (type == JOIN_ACCEPTED && ReadJoinAccepted(buf, count, seat, text))
        seat_ = seat;
    else if (type == SEAT_NAME && ReadSeatName(buf, count, seat, text) && seat == kSeatCount - 1 && seat_ == 0)
        SendNewGame(socket_); // the table is complete: the dealer's own user starts the game
    else if (type == GAME_RECORD && ReadGameRecord(buf, count, g))
        Record(g);
}

void TBenchPlayer::Record(const TGameInfo& g)
{
    const int hand = ContractsPlayed(g);
    if (hand != hand_) {
        hand_ = hand;
        seen_.clear();
    }
    for (int i = 0; i < g.TrickCount && i < kSeatCount; ++i) {
        const int key = TMoveLog::Key(hand, g.TrickSuit[i], g.TrickValue[i]);
        if (seen_.insert(key).second)
            log_.Seen(key);
    }
    Act(g);
}

void TBenchPlayer::Act(const TGameInfo& g)
{
    if (seat_ < 0)
        return;
    // One action per state of the game, however often the same state arrives.
    const int state = (ContractsPlayed(g) * 16 + g.TricksPlayed) * 8 + g.TrickCount + (g.Phase == psChoosing ? 4 : 0);
    if (state == lastActed_)
        return;
    if (g.Phase == psChoosing && g.Chooser == seat_) {
        for (uint8_t c = 0; c < kContractCount; ++c) {
            if (ContractAvailable(g, seat_, c)) {
                lastActed_ = state;
                SendContractChoice(socket_, c);
                return;
            }
        }
    } else if (g.Phase == psPlaying && g.Turn == seat_ && g.TrickCount < kSeatCount) {
        for (int i = 0; i < HandCount(g, seat_); ++i) {
            const uint8_t suit = HandSuit(g, seat_, i);
            const uint8_t value = HandValue(g, seat_, i);
            if (CanPlay(g, seat_, suit, value)) {
                lastActed_ = state;
                log_.Sent(TMoveLog::Key(ContractsPlayed(g), suit, value));
                SendCardPlay(socket_, uint8_t(seat_), suit, value);
                return;
            }
        }
    }
}

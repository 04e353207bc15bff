#include "benchplayer.h"

#include "move.h"
#include "movelog.h"

TBenchPlayer::TBenchPlayer(TMoveLog& log, const QString& host, quint16 port, const QString& name)
    : log_(log)
{
    session_.UserName = name;
    QObject::connect(&session_, &TSession::seatName, [this](int seat, const QString&) {
        // The table is complete: the dealer's own user starts the game.
        if (seat == kSeatCount - 1 && session_.MySeat == 0)
            session_.SendNewGame();
    });
    QObject::connect(&session_, &TSession::recordChanged, [this] { Record(session_.Record()); });
    link_.SetHost(host);
    link_.SetPort(port);
    session_.Open();
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
    const int seat = session_.MySeat;
    const TMove::TKind due = Awaited(g, seat);
    // One action per state of the game, however often the same state arrives.
    const int state = (ContractsPlayed(g) * 16 + g.TricksPlayed) * 8 + g.TrickCount + (g.Phase == psChoosing ? 4 : 0);
    if (due == TMove::TKind::None || state == lastActed_)
        return;
    if (due == TMove::TKind::Contract) {
        for (uint8_t c = 0; c < kContractCount; ++c) {
            if (CheckMove(g, seat, TMove::ChooseContract(c)) == TRefusal::None) {
                lastActed_ = state;
                session_.SendContractChoice(c);
                return;
            }
        }
        return;
    }
    for (int i = 0; i < HandCount(g, seat); ++i) {
        const TMove card = TMove::PlayCard(HandSuit(g, seat, i), HandValue(g, seat, i));
        if (CheckMove(g, seat, card) == TRefusal::None) {
            lastActed_ = state;
            log_.Sent(TMoveLog::Key(ContractsPlayed(g), card.Suit, card.Value));
            session_.SendCardPlay(card.Suit, card.Value);
            return;
        }
    }
}

#include "seatmodel.h"

#include <string>

#include "movesource.h"
#include "record_access.h"
#include "refusaltext.h"
#include "session.h"

TSeatModel::TSeatModel(TSession& session, std::unique_ptr<TMoveSource> advisor, QObject* parent)
    : QObject(parent), session_(session), advisor_(std::move(advisor)), previous_(session.Record())
{
    connect(&session_, &TSession::recordChanged, this, &TSeatModel::TakeRecord);
}

TSeatModel::~TSeatModel() = default;

const TGameInfo& TSeatModel::Record() const { return session_.Record(); }

int TSeatModel::Seat() const { return session_.MySeat; }

TMove::TKind TSeatModel::Due() const
{
    const TMove::TKind due = Awaited(Record(), Seat());
    const bool sent = due == TMove::TKind::Card ? cardSent_ : contractSent_;
    return sent ? TMove::TKind::None : due;
}

bool TSeatModel::MayPlay(uint8_t suit, uint8_t value) const
{
    return CardDue() && CheckMove(Record(), Seat(), TMove::PlayCard(suit, value)) == TRefusal::None;
}

int TSeatModel::PlayableCount() const
{
    if (!CardDue())
        return 0;
    const TGameInfo& g = Record();
    const int seat = Seat();
    int count = 0;
    for (int i = 0; i < g.CardCount[seat] && i < rules_detail::kRowSize; ++i)
        count += MayPlay(g.CardSuit[seat][i], g.CardValue[seat][i]);
    return count;
}

void TSeatModel::PlayCard(uint8_t suit, uint8_t value)
{
    if (!CardDue())
        return;
    const TMove move = TMove::PlayCard(suit, value);
    if (const TRefusal refusal = CheckMove(Record(), Seat(), move); refusal != TRefusal::None) {
        emit refused(RefusalSentence(refusal, Record(), move));
        return;
    }
    cardSent_ = true;
    session_.SendCardPlay(suit, value);
    emit moveSent();
}

void TSeatModel::ChooseContract(uint8_t contract)
{
    if (!ContractDue() || CheckMove(Record(), Seat(), TMove::ChooseContract(contract)) != TRefusal::None)
        return;
    contractSent_ = true;
    session_.SendContractChoice(contract);
    emit moveSent();
}

void TSeatModel::TakeRecord()
{
    const TGameInfo& g = Record();
    cardSent_ = contractSent_ = false;
    ++records_;
    newTrickCards_ = 0;
    for (int i = 0; i < g.TrickCount && i < kSeatCount; ++i)
        if (i >= previous_.TrickCount || previous_.Leader != g.Leader || previous_.TrickSuit[i] != g.TrickSuit[i] ||
            previous_.TrickValue[i] != g.TrickValue[i])
            newTrickCards_ |= 1u << i;
    // Kept from every record whose trick is complete, until the next complete trick.
    if (g.TrickCount == kSeatCount && g.Leader < kSeatCount) {
        for (int i = 0; i < kSeatCount; ++i) {
            lastTrick_.suit[i] = g.TrickSuit[i];
            lastTrick_.value[i] = g.TrickValue[i];
            lastTrick_.seat[i] = uint8_t((g.Leader + i) % kSeatCount);
        }
        lastTrick_.taker = WhoBiggest(g);
        lastTrick_.valid = lastTrick_.taker < kSeatCount;
    }
    previous_ = g;
    if (advisor_)
        advisor_->Observe(g);
    const bool due = Due() != TMove::TKind::None;
    const bool begins = due && !wasDue_;
    wasDue_ = due;
    emit changed();
    if (begins)
        emit turnBegins();
}

void TSeatModel::Reset()
{
    session_.ResetRecord();
    previous_ = session_.Record();
    cardSent_ = contractSent_ = false;
    newTrickCards_ = 0;
    ++records_;
    wasDue_ = false;
    emit changed();
}

quint64 TSeatModel::AskAdvice()
{
    const TMove::TKind due = Due();
    if (due == TMove::TKind::None || !advisor_)
        return 0;
    const quint64 ticket = ++tickets_;
    const quint64 record = records_;
    const int seat = Seat();
    auto answer = [this, ticket, record, seat, due](const TMove& move) {
        // Stale once another record arrived or the move was made meanwhile.
        if (record == records_ && move.Kind == due && Due() == due && Seat() == seat)
            emit advice(ticket, move);
    };
    if (const std::optional<TMove> now = advisor_->Request(Record(), seat, answer))
        answer(*now);
    return ticket;
}

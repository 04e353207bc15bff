// The computer level of the window: "Bilgisayar seviyesi", the hint ("İpucu", H) and the
// computer that plays for the user at level Usta. Usta decides off the window's thread from
// the record this window holds and the history of the records it received.
#include <QAction>

#include "card.h"
#include "contractsdlg.h"
#include "mainform.h"
#include "regeasy.h"
#include "ustasource.h"

namespace {

// The move of seat that the record awaits now: a contract, a card, or nothing.
TMove::TKind Awaited(const TGameInfo& g, int seat)
{
    if (seat < 0)
        return TMove::TKind::None;
    if (g.Phase == psChoosing && g.Chooser == seat)
        return TMove::TKind::Contract;
    if (g.Phase == psPlaying && g.Turn == seat && g.TrickCount < 4)
        return TMove::TKind::Card;
    return TMove::TKind::None;
}

} // namespace

void TMainForm::AskUsta(std::function<void(const TMove&)> use)
{
    const TGameInfo& g = session_.Record();
    const int seat = session_.MySeat;
    const TMove::TKind due = Awaited(g, seat);
    if (due == TMove::TKind::None)
        return;
    if (!usta_)
        ObserveForUsta();
    const quint64 ticket = ++ustaTicket_;
    auto answer = [this, ticket, seat, due, use = std::move(use)](const TMove& move) {
        // Stale once another record arrived or another question was asked.
        if (ticket == ustaTicket_ && move.Kind == due && Awaited(session_.Record(), seat) == due)
            use(move);
    };
    if (const auto now = usta_->Request(g, seat, answer))
        answer(*now);
}

void TMainForm::UstaPlaysForMe()
{
    AskUsta([this](const TMove& move) {
        if (move.Kind == TMove::TKind::Card && MyCardDue()) {
            SendCard(move.Suit, move.Value);
            UpdateCursors();
        } else if (move.Kind == TMove::TKind::Contract && !contractSent_) {
            SendContract(move.Contract);
        }
    });
}

void TMainForm::ObserveForUsta()
{
    ++ustaTicket_;
    ClearHint();
    if (!usta_)
        usta_ = MakeUstaSource(GameRandom());
    usta_->Observe(session_.Record());
}

void TMainForm::Ipucu1Click()
{
    AskUsta([this](const TMove& move) { ShowHint(move); });
}

void TMainForm::ShowHint(const TMove& move)
{
    if (move.Kind == TMove::TKind::Contract) {
        if (side_.Contracts)
            side_.Contracts->MarkContract(move.Contract);
        return;
    }
    for (TCard* card : cardSlots_[table::kBottom])
        if (card && card->isVisible())
            card->SetSelectedCard(card->Suit() == move.Suit && card->Card() == move.Value);
}

void TMainForm::ClearHint()
{
    for (TCard* card : cardSlots_[table::kBottom])
        if (card)
            card->SetSelectedCard(false);
}

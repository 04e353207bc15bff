// Whose move the record awaits, whether a move is allowed, and its application.
#include "move.h"

namespace {

bool ValidSeat(int seat) { return seat >= 0 && seat < kSeatCount; }

} // namespace

int AwaitedSeat(const TGameInfo& g)
{
    if (g.Phase == psChoosing && ValidSeat(g.Chooser))
        return g.Chooser;
    if (g.Phase == psPlaying && ValidSeat(g.Turn) && g.TrickCount < kTrickSize)
        return g.Turn;
    return kNoSeat;
}

TMove::TKind Awaited(const TGameInfo& g, int seat)
{
    if (!ValidSeat(seat) || AwaitedSeat(g) != seat)
        return TMove::TKind::None;
    return g.Phase == psChoosing ? TMove::TKind::Contract : TMove::TKind::Card;
}

TRefusal CheckMove(const TGameInfo& g, int seat, const TMove& move)
{
    switch (move.Kind) {
    case TMove::TKind::Contract:
        if (Awaited(g, seat) != TMove::TKind::Contract)
            return TRefusal::NotToChoose;
        if (move.Contract >= kContractCount || !ContractAvailable(g, seat, move.Contract))
            return TRefusal::NotAvailable;
        return TRefusal::None;
    case TMove::TKind::Card:
        if (Awaited(g, seat) != TMove::TKind::Card)
            return TRefusal::NotToPlay;
        if (!HasCard(g, seat, move.Suit, move.Value))
            return TRefusal::NotHeld;
        return PlayRefusal(g, seat, move.Suit, move.Value);
    default:
        return TRefusal::NoMove;
    }
}

TRefusal ApplyMove(TGameInfo& g, int seat, const TMove& move)
{
    const TRefusal refusal = CheckMove(g, seat, move);
    if (refusal != TRefusal::None)
        return refusal;
    if (move.Kind == TMove::TKind::Contract)
        ChooseContract(g, move.Contract);
    else
        PlayCard(g, seat, move.Suit, move.Value);
    return TRefusal::None;
}

std::string RefusalText(TRefusal refusal, const TGameInfo& g, const TMove& move)
{
    switch (refusal) {
    case TRefusal::None:
        return {};
    case TRefusal::NoMove:
        return "no move";
    case TRefusal::NotToChoose:
        return "not the chooser";
    case TRefusal::NotAvailable:
        return "contract not available";
    case TRefusal::NotToPlay:
        return "not to play";
    case TRefusal::NotHeld:
        return "card not held";
    case TRefusal::HeartsNotOpened:
        return "Kupa almaz veya Rıfkı almaz'da kupa çıkılmadan kupa çekilmez!";
    case TRefusal::FollowSuit:
        return std::string("Elinde ") + SuitName(g.LeadSuit) + " varken niye " + SuitName(move.Suit) +
               " oynuyorsun?";
    case TRefusal::DiscardHeart:
        return "Kupa almaz veya Rıfkı Almaz'da elinde kupa varsa kupa satmak zorundasın!";
    case TRefusal::DiscardRifki:
        return "Rıfkı almaz'da kağıt satarken öncelikle Rıfkı'yı satmak zorundasın!";
    case TRefusal::DiscardQueen:
        return "Kız Almaz'da kağıt satarken öncelikle Kız satmak zorundasın!";
    case TRefusal::DiscardMale:
        return "Erkek Almaz'da kağıt satarken öncelikle Erkek satmak zorundasın!";
    case TRefusal::DiscardTrump: {
        const char* trump = SuitName(static_cast<uint8_t>(g.Contract - KozSinek));
        return std::string("Koz ") + trump + " ve sende " + trump + " var!";
    }
    case TRefusal::GiveRifki:
        return "Rıfkı almaz'da Rıfkı'yı verebiliyorsan vermek zorundasın!";
    case TRefusal::GiveQueen:
        return "Kız Almaz'da yerde aynı seriden Kızdan büyük bir kağıt varsa öncelikle Kız oynamak "
               "zorundasın!";
    case TRefusal::GiveKing:
        return "Erkek Almaz'da yerde aynı seriden As varsa öncelikle Papaz oynamak zorundasın!";
    case TRefusal::GiveJack:
        return "Erkek Almaz'da yerde aynı seriden Vale'den büyük bir kağıt varsa öncelikle Vale "
               "oynamak zorundasın!";
    case TRefusal::Overtake:
        return "Koz oynarken yükseltmek mecburidir!";
    }
    return {};
}

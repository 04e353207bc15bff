#include "refusaltext.h"

#include <QCoreApplication>

namespace {

QString Text(const char* source) { return QCoreApplication::translate("Refusal", source); }

QString Suit(uint8_t suit)
{
    static const char* const kSuits[] = {QT_TRANSLATE_NOOP("Refusal", "Sinek"), QT_TRANSLATE_NOOP("Refusal", "Karo"),
                                         QT_TRANSLATE_NOOP("Refusal", "Kupa"), QT_TRANSLATE_NOOP("Refusal", "Maça")};
    return suit < 4 ? Text(kSuits[suit]) : Text(QT_TRANSLATE_NOOP("Refusal", "Bilinmeyen"));
}

} // namespace

QString RefusalSentence(TRefusal refusal, const TGameInfo& g, const TMove& move)
{
    switch (refusal) {
    case TRefusal::None:
        return {};
    case TRefusal::NoMove:
    case TRefusal::NotToChoose:
    case TRefusal::NotAvailable:
    case TRefusal::NotToPlay:
    case TRefusal::NotHeld:
        // Moments the window never offers a move in: only logs see these.
        return QString::fromStdString(RefusalText(refusal, g, move));
    case TRefusal::HeartsNotOpened:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Kupa almaz veya Rıfkı almaz'da kupa çıkılmadan kupa çekilmez!"));
    case TRefusal::FollowSuit:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Elinde %1 varken niye %2 oynuyorsun?"))
            .arg(Suit(g.LeadSuit), Suit(move.Suit));
    case TRefusal::DiscardHeart:
        return Text(QT_TRANSLATE_NOOP("Refusal",
                                      "Kupa almaz veya Rıfkı Almaz'da elinde kupa varsa kupa satmak zorundasın!"));
    case TRefusal::DiscardRifki:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Rıfkı almaz'da kağıt satarken öncelikle Rıfkı'yı satmak zorundasın!"));
    case TRefusal::DiscardQueen:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Kız Almaz'da kağıt satarken öncelikle Kız satmak zorundasın!"));
    case TRefusal::DiscardMale:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Erkek Almaz'da kağıt satarken öncelikle Erkek satmak zorundasın!"));
    case TRefusal::DiscardTrump:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Koz %1 ve sende %1 var!"))
            .arg(Suit(static_cast<uint8_t>(g.Contract - KozSinek)));
    case TRefusal::GiveRifki:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Rıfkı almaz'da Rıfkı'yı verebiliyorsan vermek zorundasın!"));
    case TRefusal::GiveQueen:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Kız Almaz'da yerde aynı seriden Kızdan büyük bir kağıt varsa "
                                                 "öncelikle Kız oynamak zorundasın!"));
    case TRefusal::GiveKing:
        return Text(QT_TRANSLATE_NOOP("Refusal",
                                      "Erkek Almaz'da yerde aynı seriden As varsa öncelikle Papaz oynamak zorundasın!"));
    case TRefusal::GiveJack:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Erkek Almaz'da yerde aynı seriden Vale'den büyük bir kağıt varsa "
                                                 "öncelikle Vale oynamak zorundasın!"));
    case TRefusal::Overtake:
        return Text(QT_TRANSLATE_NOOP("Refusal", "Koz oynarken yükseltmek mecburidir!"));
    }
    return {};
}

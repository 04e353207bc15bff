// Which cards a seat may play, and the exact sentence of every refusal.
#include <gtest/gtest.h>

#include "rules_test_util.h"

using namespace rules_test;

namespace {

const std::string kLeadHeart = "Kupa almaz veya Rıfkı almaz'da kupa çıkılmadan kupa çekilmez!";
const std::string kSellHeart = "Kupa almaz veya Rıfkı Almaz'da elinde kupa varsa kupa satmak zorundasın!";
const std::string kSellRifki = "Rıfkı almaz'da kağıt satarken öncelikle Rıfkı'yı satmak zorundasın!";
const std::string kSellQueen = "Kız Almaz'da kağıt satarken öncelikle Kız satmak zorundasın!";
const std::string kSellMale = "Erkek Almaz'da kağıt satarken öncelikle Erkek satmak zorundasın!";
const std::string kGiveRifki = "Rıfkı almaz'da Rıfkı'yı verebiliyorsan vermek zorundasın!";
const std::string kGiveQueen = "Kız Almaz'da yerde aynı seriden Kızdan büyük bir kağıt varsa öncelikle Kız oynamak zorundasın!";
const std::string kGiveKing = "Erkek Almaz'da yerde aynı seriden As varsa öncelikle Papaz oynamak zorundasın!";
const std::string kGiveJack = "Erkek Almaz'da yerde aynı seriden Vale'den büyük bir kağıt varsa öncelikle Vale oynamak zorundasın!";
const std::string kOvertake = "Koz oynarken yükseltmek mecburidir!";
const std::string k11Hearts = "AH KH QH JH TH 9H 8H 7H 6H 4H 3H", k12Hearts = k11Hearts + " 2H";

struct PlayCase {
    uint8_t contract;
    std::string hand;    // of the seat to play
    std::string trick;   // led by seat 0; the seat to play follows its last card
    std::string others;  // held by the seat after it
    std::string card;
    std::string refusal; // empty: the card is legal
};

const PlayCase kCases[] = {
    // Leading a heart before any heart has left the hands.
    {KupaAlmaz, "5H 3C", "", k12Hearts, "5H", kLeadHeart},
    {RifkiAlmaz, "5H 3C", "", k12Hearts, "5H", kLeadHeart},
    {KupaAlmaz, "5H 3C", "", k11Hearts, "5H", ""},
    {KupaAlmaz, "5H 2H", "", k11Hearts, "5H", ""}, // nothing but hearts
    {KupaAlmaz, "5H 3C", "", k12Hearts, "3C", ""},
    {ElAlmaz, "5H 3C", "", k12Hearts, "5H", ""},
    {KizAlmaz, "5H 3C", "", k12Hearts, "5H", ""},
    {SonikiAlmaz, "5H 3C", "", k12Hearts, "5H", ""},
    {KozKupa, "5H 3C", "", k12Hearts, "5H", ""},
    // Following suit comes first, then discarding the contract's penalty cards.
    {ElAlmaz, "4S QD", "5S", "", "QD", "Elinde Maça varken niye Karo oynuyorsun?"},
    {ElAlmaz, "4H 2C", "5H", "", "2C", "Elinde Kupa varken niye Sinek oynuyorsun?"},
    {RifkiAlmaz, "4S KH 7H", "5S", "", "7H", "Elinde Maça varken niye Kupa oynuyorsun?"},
    {RifkiAlmaz, "2C KH 7H", "5S", "", "7H", kSellRifki},
    {RifkiAlmaz, "2C KH 7H", "5S", "", "2C", kSellHeart},
    {RifkiAlmaz, "2C KH 7H", "5S", "", "KH", ""},
    {KupaAlmaz, "2C 7H", "5S", "", "2C", kSellHeart},
    {KupaAlmaz, "2C 7H", "5S", "", "7H", ""},
    {KizAlmaz, "QS 5D", "5C", "", "5D", kSellQueen},
    {KizAlmaz, "QS 5D", "5C", "", "QS", ""},
    {ErkekAlmaz, "JD 5H", "5C", "", "5H", kSellMale},
    {ErkekAlmaz, "KD 5H", "5C", "", "5H", kSellMale},
    {ErkekAlmaz, "KD JH 5H", "5C", "", "JH", ""},
    {KozKupa, "2H 5D", "5S TH", "", "2H", ""}, // need not beat a trump in the trick
    {KozKupa, "2H 5D", "5S TH", "", "5D", "Koz Kupa ve sende Kupa var!"},
    {KozMaca, "2S 5D", "5H", "", "5D", "Koz Maça ve sende Maça var!"},
    // Following with a penalty card under a higher card of its suit.
    {RifkiAlmaz, "KH 3H", "AH", "", "3H", kGiveRifki},
    {RifkiAlmaz, "KH 3H", "QH", "", "3H", ""},
    {KizAlmaz, "QD 2D", "KD", "", "2D", kGiveQueen},
    {KizAlmaz, "QD 2D", "5D AD", "", "2D", kGiveQueen},
    {KizAlmaz, "QD 2D", "JD", "", "2D", ""},
    {ErkekAlmaz, "KS JS 7S", "AS", "", "7S", kGiveKing},
    {ErkekAlmaz, "KS JS 7S", "AS", "", "JS", ""},
    {ErkekAlmaz, "KS JS 7S", "AS", "", "KS", ""},
    {ErkekAlmaz, "JS 7S", "QS", "", "7S", kGiveJack},
    {ErkekAlmaz, "JS 7S", "TS", "", "7S", ""},
    // Overtaking when trump is led, and only then.
    {KozSinek, "QC 5C", "TC", "", "5C", kOvertake},
    {KozSinek, "QC 5C", "TC", "", "QC", ""},
    {KozSinek, "5C 3C", "TC", "", "3C", ""},
    {KozSinek, "QC 5C", "AC", "", "5C", ""},
    {KozSinek, "AD 2D", "KD", "", "2D", ""},
    {KozSinek, "2C KC", "5D 9C", "", "2C", ""},
};

} // namespace

TEST(IsPlayable, RefusesWithTheExactSentenceAndLeavesTheMessageOfLegalCards)
{
    for (const PlayCase& pc : kCases) {
        TGameInfo g = Table(pc.contract);
        const int seat = static_cast<int>(Cards(pc.trick).size());
        SetTrick(g, 0, pc.trick);
        SetHand(g, seat, pc.hand);
        SetHand(g, (seat + 1) % 4, pc.others);
        const Card card = Cards(pc.card)[0];
        std::string message = "untouched";
        SCOPED_TRACE(std::string(ContractNames[pc.contract]) + ", hand " + pc.hand + ", trick " +
                     pc.trick + ", card " + pc.card);
        EXPECT_EQ(IsPlayable(g, seat, card.suit, card.value, message), pc.refusal.empty());
        EXPECT_EQ(message, pc.refusal.empty() ? "untouched" : pc.refusal);
    }
}

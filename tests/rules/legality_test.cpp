// Which cards a seat may play, and the exact sentence of every refusal.
#include <gtest/gtest.h>

#include "rules_test_util.h"

using namespace rules_test;

namespace {

const char* const kElevenHearts = "AH KH QH JH TH 9H 8H 7H 6H 4H 3H";
const std::string kTwelveHearts = std::string(kElevenHearts) + " 2H";

struct PlayCase {
    uint8_t contract;
    std::string hand;   // of the seat to play
    std::string trick;  // led by seat 0; the seat to play follows the last card
    std::string others; // held by the seat after it
    std::string card;
    std::string refusal; // empty: the card is legal
};

const PlayCase kCases[] = {
    // Leading hearts in the heart contracts.
    {KupaAlmaz, "5H 3C", "", kTwelveHearts, "5H",
     "Kupa almaz veya Rıfkı almaz'da kupa çıkılmadan kupa çekilmez!"},
    {RifkiAlmaz, "5H 3C", "", kTwelveHearts, "5H",
     "Kupa almaz veya Rıfkı almaz'da kupa çıkılmadan kupa çekilmez!"},
    {KupaAlmaz, "5H 3C", "", kElevenHearts, "5H", ""}, // a heart has left the hands
    {KupaAlmaz, "5H 2H", "", kElevenHearts, "5H", ""}, // nothing but hearts
    {KupaAlmaz, "5H 3C", "", kTwelveHearts, "3C", ""},
    {ElAlmaz, "5H 3C", "", kTwelveHearts, "5H", ""},
    {KizAlmaz, "5H 3C", "", kTwelveHearts, "5H", ""},
    {ErkekAlmaz, "5H 3C", "", kTwelveHearts, "5H", ""},
    {SonikiAlmaz, "5H 3C", "", kTwelveHearts, "5H", ""},
    {KozKupa, "5H 3C", "", kTwelveHearts, "5H", ""},
    // Following suit is owed first.
    {ElAlmaz, "4S QD", "5S", "", "QD", "Elinde Maça varken niye Karo oynuyorsun?"},
    {ElAlmaz, "4H 2C", "5H", "", "2C", "Elinde Kupa varken niye Sinek oynuyorsun?"},
    {RifkiAlmaz, "4S KH 7H", "5S", "", "7H", "Elinde Maça varken niye Kupa oynuyorsun?"},
    // Discarding the penalty cards of the contract.
    {RifkiAlmaz, "2C KH 7H", "5S", "", "7H",
     "Rıfkı almaz'da kağıt satarken öncelikle Rıfkı'yı satmak zorundasın!"},
    {RifkiAlmaz, "2C KH 7H", "5S", "", "2C",
     "Kupa almaz veya Rıfkı Almaz'da elinde kupa varsa kupa satmak zorundasın!"},
    {RifkiAlmaz, "2C KH 7H", "5S", "", "KH", ""},
    {KupaAlmaz, "2C 7H", "5S", "", "2C",
     "Kupa almaz veya Rıfkı Almaz'da elinde kupa varsa kupa satmak zorundasın!"},
    {KupaAlmaz, "2C 7H", "5S", "", "7H", ""},
    {KizAlmaz, "QS 5D", "5C", "", "5D", "Kız Almaz'da kağıt satarken öncelikle Kız satmak zorundasın!"},
    {KizAlmaz, "QS 5D", "5C", "", "QS", ""},
    {ErkekAlmaz, "JD 5H", "5C", "", "5H",
     "Erkek Almaz'da kağıt satarken öncelikle Erkek satmak zorundasın!"},
    {ErkekAlmaz, "KD 5H", "5C", "", "5H",
     "Erkek Almaz'da kağıt satarken öncelikle Erkek satmak zorundasın!"},
    {ErkekAlmaz, "KD JH 5H", "5C", "", "JH", ""},
    {KozKupa, "2H 5D", "5S TH", "", "2H", ""}, // need not beat a trump already in the trick
    {KozKupa, "2H 5D", "5S TH", "", "5D", "Koz Kupa ve sende Kupa var!"},
    {KozMaca, "2S 5D", "5H", "", "5D", "Koz Maça ve sende Maça var!"},
    // Following with a penalty card under a higher card of its suit.
    {RifkiAlmaz, "KH 3H", "AH", "", "3H", "Rıfkı almaz'da Rıfkı'yı verebiliyorsan vermek zorundasın!"},
    {RifkiAlmaz, "KH 3H", "QH", "", "3H", ""},
    {KizAlmaz, "QD 2D", "KD", "", "2D",
     "Kız Almaz'da yerde aynı seriden Kızdan büyük bir kağıt varsa öncelikle Kız oynamak zorundasın!"},
    {KizAlmaz, "QD 2D", "5D AD", "", "2D",
     "Kız Almaz'da yerde aynı seriden Kızdan büyük bir kağıt varsa öncelikle Kız oynamak zorundasın!"},
    {KizAlmaz, "QD 2D", "JD", "", "2D", ""},
    {ErkekAlmaz, "KS JS 7S", "AS", "", "7S",
     "Erkek Almaz'da yerde aynı seriden As varsa öncelikle Papaz oynamak zorundasın!"},
    {ErkekAlmaz, "KS JS 7S", "AS", "", "JS", ""},
    {ErkekAlmaz, "KS JS 7S", "AS", "", "KS", ""},
    {ErkekAlmaz, "JS 7S", "QS", "", "7S",
     "Erkek Almaz'da yerde aynı seriden Vale'den büyük bir kağıt varsa öncelikle Vale oynamak zorundasın!"},
    {ErkekAlmaz, "JS 7S", "TS", "", "7S", ""},
    // Overtaking when trump is led, and only then.
    {KozSinek, "QC 5C", "TC", "", "5C", "Koz oynarken yükseltmek mecburidir!"},
    {KozSinek, "QC 5C", "TC", "", "QC", ""},
    {KozSinek, "5C 3C", "TC", "", "3C", ""},
    {KozSinek, "QC 5C", "AC", "", "5C", ""},
    {KozSinek, "AD 2D", "KD", "", "2D", ""},
    {KozSinek, "2C KC", "5D 9C", "", "2C", ""},
    {ElAlmaz, "AD 2D", "KD", "", "2D", ""},
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
        const Card card = C(pc.card);
        std::string message = "untouched";
        const bool legal = IsPlayable(g, seat, card.suit, card.value, message);
        SCOPED_TRACE(std::string(ContractNames[pc.contract]) + " hand " + pc.hand + " trick " +
                     pc.trick + " card " + pc.card);
        EXPECT_EQ(legal, pc.refusal.empty());
        EXPECT_EQ(message, pc.refusal.empty() ? "untouched" : pc.refusal);
    }
}

TEST(IsPlayable, SentencesAreUtf8Bytes)
{
    TGameInfo g = Table(KozMaca);
    SetTrick(g, 0, "5H");
    SetHand(g, 1, "2S 5D");
    std::string message;
    ASSERT_FALSE(IsPlayable(g, 1, Diamonds, Five, message));
    EXPECT_EQ(message, "Koz Ma\xC3\xA7" "a ve sende Ma\xC3\xA7" "a var!");
}

TEST(HighestOnTable, RanksTheAceHighestAndAnswersNoneForAMissingSuit)
{
    TGameInfo g = Table(ElAlmaz);
    SetTrick(g, 0, "KH 5C AH");
    EXPECT_EQ(HighestOnTable(g, Hearts), Ace);
    EXPECT_EQ(HighestOnTable(g, Clubs), Five);
    EXPECT_EQ(HighestOnTable(g, Spades), kNone);
    SetTrick(g, 0, "");
    EXPECT_EQ(HighestOnTable(g, Hearts), kNone);
}

// The rules on 52-bit card masks: one hand in play as four masks, the legal cards of a
// seat, the taker of a trick and what the trick books, and whole games. The same verdicts,
// takers and scores as the rule functions over the game record, many times faster; the
// computer's simulations and the random-play simulator run on it. Plain C++, no Qt.
//
// A card is a bit: suit * 13 + (Rank - 1), so within a suit the Deuce is the lowest bit
// and the Ace the highest, and the highest set bit of a suit is its highest card.
#pragma once

#include <bit>
#include <cstdint>

#include "cards.h"
#include "gameinfo.h"

using TCardMask = uint64_t;

namespace mask {

constexpr TCardMask kAll = (TCardMask{1} << 52) - 1;
constexpr TCardMask kSuitBits = 0x1FFF;
constexpr TCardMask Suit(int suit) { return kSuitBits << (13 * suit); }
// One rank (0 = Deuce .. 12 = Ace) in all four suits.
constexpr TCardMask RankInAllSuits(int rank)
{
    return (TCardMask{1} << rank) | (TCardMask{1} << (13 + rank)) | (TCardMask{1} << (26 + rank)) |
           (TCardMask{1} << (39 + rank));
}
constexpr int kJackRank = 9, kQueenRank = 10, kKingRank = 11, kAceRank = 12;
constexpr TCardMask kHearts = Suit(Hearts);
constexpr TCardMask kQueens = RankInAllSuits(kQueenRank);
constexpr TCardMask kMales = RankInAllSuits(kJackRank) | RankInAllSuits(kKingRank);
constexpr int kKingOfHearts = 13 * Hearts + kKingRank;
constexpr int kAceOfHearts = 13 * Hearts + kAceRank;

constexpr int Index(uint8_t suit, uint8_t value) { return suit * 13 + Rank(value) - 1; }
constexpr TCardMask Bit(int index) { return TCardMask{1} << index; }
constexpr TCardMask Card(uint8_t suit, uint8_t value) { return Bit(Index(suit, value)); }
constexpr uint8_t SuitOf(int index) { return static_cast<uint8_t>(index / 13); }
constexpr uint8_t ValueOf(int index)
{
    const int r = index % 13;
    return static_cast<uint8_t>(r == kAceRank ? Ace : r + 1);
}
inline int Count(TCardMask m) { return std::popcount(m); }
inline int Lowest(TCardMask m) { return std::countr_zero(m); }
inline int Highest(TCardMask m) { return 63 - std::countl_zero(m); }
// The k-th set bit (0-based) of m.
inline int Nth(TCardMask m, int k)
{
    while (k-- > 0)
        m &= m - 1;
    return std::countr_zero(m);
}

// The cards of seat's hand in the record, and the cards of all four hands.
TCardMask HandMask(const TGameInfo& g, int seat);

} // namespace mask

// One hand in play. Only the rules' state: no names, no taken rows, no game totals.
struct TMaskHand {
    TCardMask Hand[kSeatCount] = {};
    TCardMask Out = 0;     // cards no longer in any hand (played, the trick's cards included)
    uint8_t Contract = kNone;
    uint8_t Turn = kNoSeat;
    uint8_t Leader = kNoSeat;   // seat of the trick's first card
    uint8_t TrickCount = 0;
    uint8_t Trick[kTrickSize] = {}; // card indices, in the order played
    uint8_t TricksPlayed = 0;   // 13: the hand is over (also after an early end)
    int16_t Points[kSeatCount] = {}; // this hand's points per seat: negative penalties, trump gains
    uint8_t Taken[kSeatCount] = {};  // as the record's TakenCount: penalty cards, or scoring tricks

    bool Over() const { return TricksPlayed >= 13; }
    uint8_t LeadSuit() const { return TrickCount ? mask::SuitOf(Trick[0]) : kNone; }
};

// A hand after the deal, with contract chosen and chooser to lead.
void StartMaskHand(TMaskHand& h, const TCardMask hands[kSeatCount], uint8_t contract, int chooser);
// The hand part of a record (hands, trick, turn, contract, tricks played); points and
// taken counts start at 0. The record should be in play (a card awaited or a full trick).
void MaskHandFromRecord(TMaskHand& h, const TGameInfo& g);

// The cards of seat's hand the rules allow it to play now (as IsPlayable decides).
TCardMask LegalCards(const TMaskHand& h, int seat);
// The seat whose card wins the cards now in the trick; kNoSeat for an empty trick.
uint8_t TrickWinner(const TMaskHand& h);
// Plays card (an index) for h.Turn. The fourth card resolves the trick at once: the
// winner books it, leads the next trick, and the hand may end early.
void PlayMaskCard(TMaskHand& h, int card);

// A whole game on masks: the hand in play and the game's score block.
struct TMaskGame {
    TMaskHand Hand;
    TScoreInfo Score = {};
    uint8_t HandChooser = kNoSeat;
    uint8_t Chooser = kNoSeat; // kNoSeat once the hand's contract is chosen
    bool Over = false;

    int ContractsPlayed() const;
    bool Available(int seat, int contract) const;
};

// Deals four hands of 13 from rnd (a shuffle of the deck, then four rows of 13).
void DealMasks(TCardMask hands[kSeatCount], TRandom& rnd);
// A new game on dealt hands: the holder of the two of diamonds chooses.
void NewMaskGame(TMaskGame& game, const TCardMask hands[kSeatCount]);
// The chooser's contract: books the choice and the chooser leads.
void ChooseMaskContract(TMaskGame& game, uint8_t contract);
// Adds the finished hand's points to the score block; the game ends after 20 contracts,
// else the next seat chooses on the new hands.
void FinishMaskHand(TMaskGame& game, const TCardMask nextHands[kSeatCount]);

// Plays one whole game with a random available contract and a random legal card at every
// step; returns the four totals in totals.
void PlayRandomMaskGame(TMaskGame& game, TRandom& rnd);

// The computer player: chooses the contract when its seat is the chooser and otherwise
// plays a card when it is the seat's turn. Fixed rules per contract, no look-ahead; only
// the contract choice draws random numbers. Plain C++, no Qt.
#pragma once

#include <cstdint>
#include <string>

#include "cards.h"
#include "gameinfo.h"
#include "move.h"

// The computer player's working record. It owns nothing: Game refers to the record of
// the caller, set by every ComputerMove.
struct TComputerPlayer {
    TGameInfo* Game = nullptr;
    uint8_t PlayableValue[13] = {}; // the seat's legal cards, in hand order
    uint8_t PlayableSuit[13] = {};
    int32_t PlayableCount = 0;
};

// Bound of HighestBelow that excludes nothing (one above the Ace's rank).
constexpr uint8_t kNoUpperBound = 14;

// The computer's choice for seat on g, which it leaves as it is: the contract when the seat
// is the chooser, the card when it is the seat's turn and the trick is not full, else no
// move (TMove::None). rnd is the source of the contract choice and is drawn from exactly
// as ComputerMove draws. A choice that failed its checks has been reported and is still
// returned (a contract of 255, or the card chosen); the caller applies it through the rules.
TMove ComputerChoice(TComputerPlayer& p, int seat, const TGameInfo& g, TRandom& rnd);

// Acts for seat on g: applies ComputerChoice to g through the rules and tells what it
// applied: the contract (result 2), a card (result 1) or nothing (0; a choice the rules
// refuse leaves g as it was).
int ComputerMove(TComputerPlayer& p, int seat, TGameInfo& g, TRandom& rnd = GameRandom());

// ---- Card choice ----
void FindPlayableCards(TComputerPlayer& p, int seat);
// Chooses among the suits of the playable cards (FindPlayableCards first); 255 for none.
uint8_t SelectSuit(const TComputerPlayer& p);
// Chooses the card to play; a choice that fails its checks is reported and still returned.
void SelectCard(TComputerPlayer& p, int seat, uint8_t& suit, uint8_t& value);
// The default way to follow without taking the trick, in suit s.
uint8_t PlayUnder(const TComputerPlayer& p, uint8_t suit);

// ---- Contract choice ----
// The contract for seat, 0..9, or 255 after a reported failure. Draws from rnd.
uint8_t SelectContract(TComputerPlayer& p, int seat, TRandom& rnd = GameRandom());

// ---- Failure report ----
// Saves the record in "_error.rvo" in the current folder, then tells the user (five beeps).
void ReportAIError(const TComputerPlayer& p, const std::string& text);
// The text shown for a fault described by text (UTF-8).
std::string AIErrorMessage(const std::string& text);
extern const char* const kAIErrorFile;
// A player name of the record (code page 1254) as UTF-8, for the report's text.
std::string NameToUtf8(const std::string& cp1254);

// ---- Auxiliary operations over the playable cards (value byte, 255 for none) ----
// Lowest playable card of suit with a rank above Rank(bound); bound 255: no bound.
uint8_t LowestAbove(const TComputerPlayer& p, uint8_t suit, uint8_t bound);
// Highest playable card of suit with a rank below Rank(bound); bound 14: no bound.
uint8_t HighestBelow(const TComputerPlayer& p, uint8_t suit, uint8_t bound);
inline uint8_t Lowest(const TComputerPlayer& p, uint8_t suit) { return LowestAbove(p, suit, kNone); }
inline uint8_t Highest(const TComputerPlayer& p, uint8_t suit)
{
    return HighestBelow(p, suit, kNoUpperBound);
}
// Value and suit of the card now winning the trick (255 while the trick is empty).
uint8_t WinningValue(const TComputerPlayer& p);
uint8_t WinningSuit(const TComputerPlayer& p);
// Whether a seat other than the given one holds the card.
bool HeldByOther(const TComputerPlayer& p, int seat, uint8_t suit, uint8_t value);

// ---- Weights ----
// Ace 25, King 20, Queen 16, Jack 13, Ten to Deuce 9 to 1.
constexpr int CardWeight(uint8_t value)
{
    constexpr int8_t kWeights[13] = {25, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 16, 20};
    return value < 13 ? kWeights[value] : value;
}
// Mean weight of the playable cards of suit; 0 for a single card in a trump contract.
float PlayableWeight(const TComputerPlayer& p, uint8_t suit);
// The same from the sum and count of the weights of one suit's playable cards.
inline float PlayableWeight(int sum, int count, uint8_t contract)
{
    if (count == 0 || (count == 1 && contract >= KozSinek))
        return 0.0f;
    return static_cast<float>(sum) / static_cast<float>(count);
}
// Mean weight of the seat's cards of suit (all cards for 255); 0 when there are none.
float HandWeight(const TComputerPlayer& p, int seat, uint8_t suit);

// ---- Queries over the seat's hand ----
int CountBelow(const TComputerPlayer& p, int seat, uint8_t suit, uint8_t value);
int CountAbove(const TComputerPlayer& p, int seat, uint8_t suit, uint8_t value);
uint8_t HighestInHand(const TComputerPlayer& p, int seat, uint8_t suit);

// The game record: the whole state of one game in 440 bytes, the same bytes on the wire,
// in saved games and in the last-hand and error snapshots. Plain C++, no Qt.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cards.h"

static_assert(std::endian::native == std::endian::little,
              "the game record is stored and sent as little-endian bytes");

// What the game waits for.
enum TPhase : uint8_t {
    psTrickComplete = 0, // four cards lie in the trick; the dealer resolves it
    psPlaying = 1,       // a card is awaited from Turn
    psChoosing = 2,      // a contract is awaited from Chooser
    psWaiting = 3,       // the dealer waits for players to join
    psGameOver = 5,      // the 20th hand is over
};

#pragma pack(push, 1)

struct TSeatTotals {
    int16_t PenaltyTotal; // sum of the seat's six PenaltyScore cells
    int16_t TrumpTotal;   // trump points (zero or positive)
    int16_t Total;        // PenaltyTotal + TrumpTotal
};

struct TScoreInfo {
    uint8_t UsedOnce;           // bit c: penalty contract c chosen at least once
    uint8_t UsedTwice;          // bit c: penalty contract c chosen twice
    uint8_t TrumpsChosen[kSeatCount];    // per seat, 0 to 2
    uint8_t PenaltiesChosen[kSeatCount]; // per seat, 0 to 3
    int16_t PenaltyScore[kSeatCount][6]; // per seat, per penalty contract: zero or negative
    TSeatTotals Totals[kSeatCount];
};

struct TGameInfo {
    uint8_t CardValue[kSeatCount][13];
    uint8_t CardSuit[kSeatCount][13];
    uint8_t CardCount[kSeatCount];
    uint8_t TakenValue[kSeatCount][13];
    uint8_t TakenSuit[kSeatCount][13];
    uint8_t TakenCount[kSeatCount];
    TScoreInfo Score;
    uint8_t TrickValue[kTrickSize];
    uint8_t TrickSuit[kTrickSize];
    uint8_t TrickCount;
    uint8_t LedCount[4];
    uint8_t LeadSuit;
    uint8_t Leader;
    uint8_t Turn;
    uint8_t Chooser;
    uint8_t HandChooser;
    uint8_t Contract;
    uint8_t Phase;
    uint8_t TricksPlayed;
    char PlayerName[kSeatCount][30]; // zero-terminated, code page 1254
    uint8_t Padding;
};

#pragma pack(pop)

constexpr std::size_t kGameInfoSize = 440;
constexpr std::size_t kNameSize = 30;

static_assert(sizeof(TScoreInfo) == 82);
static_assert(sizeof(TGameInfo) == kGameInfoSize);
static_assert(offsetof(TGameInfo, CardValue) == 0);
static_assert(offsetof(TGameInfo, CardSuit) == 52);
static_assert(offsetof(TGameInfo, CardCount) == 104);
static_assert(offsetof(TGameInfo, TakenValue) == 108);
static_assert(offsetof(TGameInfo, TakenSuit) == 160);
static_assert(offsetof(TGameInfo, TakenCount) == 212);
static_assert(offsetof(TGameInfo, Score) == 216);
static_assert(offsetof(TGameInfo, Score) + offsetof(TScoreInfo, UsedOnce) == 216);
static_assert(offsetof(TGameInfo, Score) + offsetof(TScoreInfo, UsedTwice) == 217);
static_assert(offsetof(TGameInfo, Score) + offsetof(TScoreInfo, TrumpsChosen) == 218);
static_assert(offsetof(TGameInfo, Score) + offsetof(TScoreInfo, PenaltiesChosen) == 222);
static_assert(offsetof(TGameInfo, Score) + offsetof(TScoreInfo, PenaltyScore) == 226);
static_assert(offsetof(TGameInfo, Score) + offsetof(TScoreInfo, Totals) == 274);
static_assert(sizeof(TSeatTotals) == 6);
static_assert(offsetof(TSeatTotals, PenaltyTotal) == 0);
static_assert(offsetof(TSeatTotals, TrumpTotal) == 2);
static_assert(offsetof(TSeatTotals, Total) == 4);
static_assert(offsetof(TGameInfo, TrickValue) == 298);
static_assert(offsetof(TGameInfo, TrickSuit) == 302);
static_assert(offsetof(TGameInfo, TrickCount) == 306);
static_assert(offsetof(TGameInfo, LedCount) == 307);
static_assert(offsetof(TGameInfo, LeadSuit) == 311);
static_assert(offsetof(TGameInfo, Leader) == 312);
static_assert(offsetof(TGameInfo, Turn) == 313);
static_assert(offsetof(TGameInfo, Chooser) == 314);
static_assert(offsetof(TGameInfo, HandChooser) == 315);
static_assert(offsetof(TGameInfo, Contract) == 316);
static_assert(offsetof(TGameInfo, Phase) == 317);
static_assert(offsetof(TGameInfo, TricksPlayed) == 318);
static_assert(offsetof(TGameInfo, PlayerName) == 319);
static_assert(offsetof(TGameInfo, Padding) == 439);

// ---- Deck ----
// Shuffles and deals 13 cards to each seat, then sorts the hands.
void DealCards(TGameInfo& g, TRandom& rnd = GameRandom());
void SortHands(TGameInfo& g);
// Shuffles the cards the four hands hold and deals them out again, each hand keeping its
// size, then sorts the hands. Everything else stays: the trick, the cards taken, scores,
// contract and turn.
void RedealHands(TGameInfo& g, TRandom& rnd);

// ---- Construction and queries ----
void InitGameInfo(TGameInfo& g);
uint8_t HandValue(const TGameInfo& g, int seat, int i);
uint8_t HandSuit(const TGameInfo& g, int seat, int i);
int HandCount(const TGameInfo& g, int seat);
uint8_t TakenValueAt(const TGameInfo& g, int seat, int i);
uint8_t TakenSuitAt(const TGameInfo& g, int seat, int i);
int TakenCountOf(const TGameInfo& g, int seat);
bool HasCard(const TGameInfo& g, int seat, uint8_t suit, uint8_t value);
int SuitCount(const TGameInfo& g, int seat, uint8_t suit);
int TimesChosen(const TScoreInfo& s, int contract);
int ContractsPlayed(const TGameInfo& g);

// ---- Changes, in the order the game uses them ----
void AddCard(uint8_t values[kSeatCount][13], uint8_t suits[kSeatCount][13], uint8_t counts[kSeatCount],
             int seat, uint8_t suit, uint8_t value);
void RemoveCard(TGameInfo& g, int seat, uint8_t suit, uint8_t value);
void NewGame(TGameInfo& g, TRandom& rnd = GameRandom());
void StartHand(TGameInfo& g, int seat);
void ChooseContract(TGameInfo& g, uint8_t contract);
void MarkChosen(TScoreInfo& s, int contract);
void PlayCard(TGameInfo& g, int seat, uint8_t suit, uint8_t value);
void EndTrick(TGameInfo& g, int winner);
void NextHand(TGameInfo& g, TRandom& rnd = GameRandom());
void EndGame(TGameInfo& g);
void ResetScores(TScoreInfo& s);

// ---- Legality ----
// True: the card may be played and message is untouched. False: message gets the refusal
// text (UTF-8). Does not check that the seat holds the card or that it is the seat's turn.
bool IsPlayable(const TGameInfo& g, int seat, uint8_t suit, uint8_t value, std::string& message);
// The same verdict without the text, for callers that only need the answer.
bool CanPlay(const TGameInfo& g, int seat, uint8_t suit, uint8_t value);
// Highest-ranked value of that suit in the trick; 255 when the trick holds none of it.
uint8_t HighestOnTable(const TGameInfo& g, uint8_t suit);

// ---- Tricks and scoring ----
uint8_t WhoBiggest(const TGameInfo& g);
void ScoreTrick(TGameInfo& g, int winner);
void AddScore(TScoreInfo& s, int seat, int contract, int count);
int HeartsLeft(const TGameInfo& g);
int QueensLeft(const TGameInfo& g);
int MalesLeft(const TGameInfo& g);
bool ContractAvailable(const TGameInfo& g, int seat, int contract);

// Resolves a full trick as the dealer does: WhoBiggest, ScoreTrick, then EndTrick,
// NextHand or EndGame. Returns the trick's winner.
uint8_t ResolveTrick(TGameInfo& g, TRandom& rnd = GameRandom());

// ---- Records from outside ----
// True when every byte of a record received from the network or read from a file lies in
// its range, so that the rule functions may be applied to it, and its game can go on:
// the chooser has a contract left, the seat to play holds a card it may play (every hand
// holding the cards the tricks so far leave it), a full trick can be resolved, or the
// game is over. No card is in two places (hands, trick, penalty cards taken), so a hand
// in progress holds every card not yet played exactly once; the penalty cards taken and
// the tricks counted agree with the tricks played, and the scores with the contracts
// chosen. A record waiting for players is not a game to go on with.
bool IsValidGameInfo(const TGameInfo& g);

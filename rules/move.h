// A move of one seat as a value: the contract it chooses or the card it plays. Whoever
// decides (a person's window, the computer at any level, a seat played for a dropped
// player) produces one; the one rule below says whose move the record awaits, whether a
// move is allowed and applies it. Plain C++.
#pragma once

#include <cstdint>
#include <string>

#include "cards.h"
#include "gameinfo.h"

struct TMove {
    // Scoped: its names would otherwise clash with the field Contract.
    enum class TKind : uint8_t { None = 0, Contract = 1, Card = 2 };
    TKind Kind = TKind::None;
    uint8_t Contract = kNone; // 0..9 when Kind is Contract
    uint8_t Suit = kNone;     // when Kind is Card
    uint8_t Value = kNone;

    static constexpr TMove ChooseContract(uint8_t contract) { return {TKind::Contract, contract, kNone, kNone}; }
    static constexpr TMove PlayCard(uint8_t suit, uint8_t value) { return {TKind::Card, kNone, suit, value}; }
    constexpr bool operator==(const TMove&) const = default;
};

// Why a move is not allowed. The first group is about the moment and the seat, the rest are
// the rules of play; RefusalText gives each its sentence.
enum class TRefusal : uint8_t {
    None = 0,
    NoMove,        // neither a contract nor a card
    NotToChoose,   // the seat is not the chooser of the hand
    NotAvailable,  // the seat may not choose that contract (again)
    NotToPlay,     // it is not the seat's turn, or the trick is full
    NotHeld,       // the seat does not hold the card
    HeartsNotOpened,
    FollowSuit,
    DiscardHeart,
    DiscardRifki,
    DiscardQueen,
    DiscardMale,
    DiscardTrump,
    GiveRifki,
    GiveQueen,
    GiveKing,
    GiveJack,
    Overtake,
};

// The seat whose move the record awaits: the chooser while choosing, the seat to play while
// the trick is not full; kNoSeat otherwise.
int AwaitedSeat(const TGameInfo& g);
// What the record awaits from seat: a contract, a card, or nothing (TKind::None).
TMove::TKind Awaited(const TGameInfo& g, int seat);

// Whether the rules of play let seat play the card now, as far as the cards go: the trick,
// the hand and the contract (not whether it is the seat's turn or it holds the card).
TRefusal PlayRefusal(const TGameInfo& g, int seat, uint8_t suit, uint8_t value);
// Whether seat may make the move on g now; TRefusal::None when it may.
TRefusal CheckMove(const TGameInfo& g, int seat, const TMove& move);
// Checks the move and applies it when allowed; g is unchanged otherwise.
TRefusal ApplyMove(TGameInfo& g, int seat, const TMove& move);

// The sentence shown to a player whose move is refused (UTF-8): the Turkish texts of the
// rules of play; an English line for the rest, which only logs show.
std::string RefusalText(TRefusal refusal, const TGameInfo& g, const TMove& move);

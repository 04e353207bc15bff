// A move of one seat as a value: the contract it chooses or the card it plays. Whoever
// decides (a person's window, the computer at any level, a seat played for a dropped
// player) produces one; the table checks it against the rules and applies it.
#pragma once

#include <cstdint>

#include "cards.h"

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

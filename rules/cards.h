// Cards, suits, values, contracts and the random source of the deal. Plain C++, no Qt.
#pragma once

#include <cstdint>

constexpr uint8_t kNone = 255; // "none" in every seat, suit, value and contract byte
constexpr int kSeatCount = 4;      // seats at a table, numbered 0 to 3 in the order of joining
constexpr uint8_t kNoSeat = kNone; // a seat byte (or seat number) that names no seat
constexpr int kTrickSize = kSeatCount; // cards of a full trick, one from every seat

enum TCardSuit : uint8_t { Clubs = 0, Diamonds = 1, Hearts = 2, Spades = 3 };

enum TCardValue : uint8_t {
    Ace = 0, Deuce, Three, Four, Five, Six, Seven, Eight, Nine, Ten, Jack, Queen, King
};

enum TContract : uint8_t {
    ElAlmaz = 0,
    KupaAlmaz = 1,
    KizAlmaz = 2,
    ErkekAlmaz = 3,
    SonikiAlmaz = 4,
    RifkiAlmaz = 5,
    KozSinek = 6,
    KozKaro = 7,
    KozKupa = 8,
    KozMaca = 9,
};
constexpr int kContractCount = 10;

// The Ace is stored as 0 but ranks highest: Rank(Ace) = 13, Rank(v) = v otherwise.
constexpr int Rank(uint8_t value) { return value == Ace ? 13 : value; }

// Turkish suit name (UTF-8); "Bilinmeyen" for anything but 0..3.
const char* SuitName(uint8_t suit);

extern const char* const ContractNames[kContractCount]; // UTF-8 display names
extern const int32_t PenaltyPoints[kContractCount];

// The random source of the deal and of the computer's contract choice. Either seeded, and
// then the same seed gives the same numbers (tests, simulations and matches replay games
// that way), or drawing every number from the system's entropy (System()), for deals and
// anything else a player must not be able to predict. The system source keeps no state of
// its own, so any thread may draw from it.
class TRandom {
public:
    explicit TRandom(uint32_t seed = 0) { Seed(seed); }
    static TRandom System();
    void Seed(uint32_t seed);
    bool FromSystem() const { return system_; }
    // A number 0 .. range-1. Inline: the deal draws 520 of them.
    int Next(int range)
    {
        if (range <= 0)
            return 0;
        return static_cast<int>((system_ ? SystemWord() : Raw()) % static_cast<uint32_t>(range));
    }

private:
    // A permuted congruential generator (32-bit output, 64-bit state): small and fast.
    uint32_t Raw()
    {
        const uint64_t old = state_;
        state_ = old * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto shifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rot = static_cast<uint32_t>(old >> 59u);
        return (shifted >> rot) | (shifted << ((32u - rot) & 31u));
    }
    static uint32_t SystemWord(); // from a per-thread buffer refilled from getrandom

    uint64_t state_ = 0;
    bool system_ = false;
};

// The process's source: the system's entropy.
TRandom& GameRandom();

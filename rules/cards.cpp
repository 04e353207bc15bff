#include "cards.h"

const char* SuitName(uint8_t suit)
{
    switch (suit) {
    case Clubs:
        return "Sinek";
    case Diamonds:
        return "Karo";
    case Hearts:
        return "Kupa";
    case Spades:
        return "Maça";
    default:
        return "Bilinmeyen";
    }
}

const char* const ContractNames[kContractCount] = {
    "El Almaz",  "Kupa Almaz", "Kız Almaz", "Erkek Almaz", "Soniki Almaz",
    "Rıfkı Almaz", "Koz Sinek", "Koz Karo",  "Koz Kupa",    "Koz Maça",
};

const int32_t PenaltyPoints[kContractCount] = {50, 30, 100, 60, 180, 320, 50, 50, 50, 50};

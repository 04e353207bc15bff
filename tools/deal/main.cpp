// Deals a new game with the game's own random source and prints the four sorted hands
// and the seat that holds the two of diamonds (that seat chooses the first contract).
#include <cstdio>
#include <string>

#include "gameinfo.h"

namespace {

const char* ValueText(uint8_t value)
{
    static const char* const kTexts[13] = {"A", "2", "3", "4", "5", "6", "7",
                                           "8", "9", "10", "J", "Q", "K"};
    return value <= King ? kTexts[value] : "?";
}

const char* SuitSymbol(uint8_t suit)
{
    static const char* const kSymbols[4] = {"\u2663", "\u2666", "\u2665", "\u2660"};
    return suit <= Spades ? kSymbols[suit] : "?";
}

} // namespace

int main()
{
    TGameInfo game;
    InitGameInfo(game);
    NewGame(game, GameRandom());
    for (int seat = 0; seat < kSeatCount; ++seat) {
        std::string line;
        for (int i = 0; i < HandCount(game, seat); ++i) {
            if (i > 0)
                line += ' ';
            line += ValueText(HandValue(game, seat, i));
            line += SuitSymbol(HandSuit(game, seat, i));
        }
        std::printf("Seat %d: %s\n", seat, line.c_str());
    }
    std::printf("Two of diamonds: seat %d (chooses the first contract)\n", game.Chooser);
    return 0;
}

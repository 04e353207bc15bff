// The texts of the dealer's log: cards as players name them, the state of a game, totals.
#pragma once

#include <cstdint>

#include <QString>

#include "gameinfo.h"

// "Karo 4", "Karo As", "Maça Papaz": the suit, then the value as players say it.
QString CardName(uint8_t suit, uint8_t value);
// "seat 2 to play", "trick complete", "game over" ...
QString PhaseText(const TGameInfo& g);
// The four totals, separated by spaces.
QString TotalsText(const TGameInfo& g);
// "seat 1", or "a connection without a seat" for -1.
QString SeatText(int seat);

// The chat line relayed for a seat named name: the text as it came when it already starts
// with "name> ", with "name> " in place of "asked> " when it starts with the name the
// player asked for (a unique name differs from it), and with "name> " in front otherwise.
// So nobody speaks as another player or as the dealer. Cut to maxLength characters.
QString ChatLine(const QString& name, const QString& asked, const QString& text, int maxLength);

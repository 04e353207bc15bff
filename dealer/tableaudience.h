// What a table's watchers are shown of the game.
#pragma once

#include "gameinfo.h"

// The record with every hand empty: the trick, the taken cards, scores, contracts, turn
// and names stay as they are. A watcher learns no card before it is played.
TGameInfo WatcherRecord(const TGameInfo& full);

// What one seat is sent of the game: its own hand exactly, and of the three other hands no
// more than every player at the table can work out from the play.
#pragma once

#include "gameinfo.h"

// A copy of full for seat. The seat's own hand and everything outside the hands (trick,
// taken cards, scores, contracts, turn, names) are copied as they are. The three other
// hands keep their sizes and, together, hold exactly the cards they hold together in
// full: the cards nobody has seen yet. Those cards are dealt out in a fixed order (lowest
// suit and value first, one card at a time to the next seat after the given one that
// still has room) and sorted like a dealt hand, so which unseen card lands with which
// seat depends on nothing but that set and the hands' sizes. The copy passes the record
// check whenever full does, and every rule that looks at the hands from the seat's side
// (which cards it may play, whether a heart has left the hands) decides on it as on full.
// A seat outside 0..3 (a watcher) gets all four hands dealt out that way.
TGameInfo PrivateRecord(const TGameInfo& full, int seat);

// The sentence a player reads when a move of theirs is refused, in the program's language:
// the rules give the reason, this gives its words.
#pragma once

#include <QString>

#include "gameinfo.h"
#include "move.h"

QString RefusalSentence(TRefusal refusal, const TGameInfo& g, const TMove& move);

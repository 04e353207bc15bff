// The save and load commands of the dealer's user: dialogs, questions and notices around
// the game files.
#pragma once

#include <QString>

#include "gameinfo.h"

class QWidget;
class TUserPrompts;

// Reads a saved game into g: false (g untouched) when the file cannot be opened or its
// content is not a record the rules can work on.
bool ReadCheckedGameFile(const QString& path, TGameInfo& g);

// The save command: file dialog, overwrite question, write. Returns whether a file was
// written.
bool SaveGameInteractive(QWidget* parent, TUserPrompts& prompts, const TGameInfo& g);

enum class TLoadOutcome {
    Loaded,     // g holds the loaded record: send it to the dealer
    Cancelled,  // the dialog was cancelled (nothing was shown)
    Unreadable, // the file could not be used: nothing is to be sent
};
TLoadOutcome LoadGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameInfo& g);

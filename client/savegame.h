// The save and load commands of the dealer's user: dialogs, questions and notices around
// the game files.
#pragma once

#include <QString>

#include "gameinfo.h"

class QWidget;
class TUserPrompts;

// Where the game files on the user's disk are read and written (the game files of the
// program's own dealer).
class TGameFilePort {
public:
    virtual ~TGameFilePort() = default;
    virtual bool WriteGame(const QString& path, const TGameInfo& g) = 0;
    // false (g untouched) when the file cannot be opened or holds no record.
    virtual bool ReadGame(const QString& path, TGameInfo& g) = 0;
};

// The save command: file dialog, overwrite question, write. Returns whether a file was
// written.
bool SaveGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, const TGameInfo& g);

enum class TLoadOutcome {
    Loaded,     // g holds the loaded record: send it to the dealer
    Cancelled,  // the dialog was cancelled (nothing was shown)
    Unreadable, // the file could not be used: nothing is to be sent
};
// A record the rules cannot work on counts as unreadable.
TLoadOutcome LoadGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, TGameInfo& g);

// The save and load commands of the dealer's user: dialogs, questions and notices around
// the game files.
#pragma once

#include <QString>

#include "gameinfo.h"

class QObject;
class QWidget;
class TPromptReply;
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

// The save command: file dialog, overwrite question, write. The reply finishes with Yes
// when a file was written, Back otherwise. The record is read when the file is written,
// so it must live as long as context, which the reply belongs to.
TPromptReply* SaveGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, const TGameInfo& g,
                                  QObject* context);

// The load command: file dialog, then the file read into g (which must live as long as
// context). The reply finishes with Yes when g holds the loaded record (send it to the
// dealer), Back when the dialog was cancelled (nothing was shown), No when the file could
// not be used (a record the rules cannot work on counts as unreadable).
TPromptReply* LoadGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, TGameInfo& g,
                                  QObject* context);

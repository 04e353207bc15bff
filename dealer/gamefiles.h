// Game files: a saved game, "LastHand.rvo" and "_error.rvo" all hold the bare 440-byte
// game record, with no header.
#pragma once

#include <QString>
#include <QStringList>

#include "gameinfo.h"

inline constexpr const char* kLastHandFile = "LastHand.rvo";

// Writes bytes to path through a temporary file that replaces the old one only when
// complete, readable and writable by its owner alone. False when the file could not be
// written (the old file, if any, is intact).
bool WriteOwnerFile(const QString& path, const QByteArray& bytes);

// Writes the record to path through a temporary file that replaces the old one only when
// complete, readable and writable by its owner alone. False when the file could not be
// written (the old file, if any, is intact).
bool WriteGameFile(const QString& path, const TGameInfo& g);

// Reads a game file: the record is initialised (InitGameInfo) and then gets up to 440
// bytes from the file. False, with the record untouched, when the file cannot be opened.
bool ReadGameFile(const QString& path, TGameInfo& g);

// Writes "LastHand.rvo" into folder; when that folder cannot be written, into the
// application's data folder (QStandardPaths::AppDataLocation). Returns the path written,
// or an empty string when neither place took the file.
QString WriteLastHand(const QString& folder, const TGameInfo& g);

// The games a table's host saves on the dealer's machine: "<name>.rvo" in folder, for a
// name that IsSafeGameName accepts (the folder is made when missing).
bool WriteSavedGame(const QString& folder, const QString& name, const TGameInfo& g);
bool ReadSavedGame(const QString& folder, const QString& name, TGameInfo& g);
// The names of the saved games in folder, the newest first.
QStringList SavedGameNames(const QString& folder);
// The first of names that a GAME_LIST payload of at most maxBytes holds.
QStringList FitGameList(const QStringList& names, qsizetype maxBytes);

// The settings store: typed named values in the user's own settings, under the key
// "\Software\Fendral\Zorbela" (organisation "Fendral", application "Zorbela").
// Every operation opens the store, does its one read or write and closes it again;
// nothing is cached, so a change made by one call is seen by the next.
#pragma once

#include <QString>

// The program's key. The last two parts of a key path name the organisation and the
// application of the store ("Fendral", "Zorbela").
extern const QString kRegKey;

// Value names.
inline constexpr const char* kRegUserName = "UserName";             // string, default LoginName()
inline constexpr const char* kRegIamDealer = "IamDealer";           // boolean, default true
inline constexpr const char* kRegSound = "Sound";                   // boolean, default true
inline constexpr const char* kRegQuick = "Quick";                   // boolean, default false
inline constexpr const char* kRegClockwise = "Clockwise";           // boolean, default false
inline constexpr const char* kRegComputerPlayer = "ComputerPlayer"; // boolean, default false
inline constexpr const char* kRegDealerAddress = "DealerAddress";   // string, default "localhost"
inline constexpr const char* kRegTopListsCount = "TopListsCount";   // + list 0..3: integer, default 0
inline constexpr const char* kRegTopListsScores = "TopListsScores"; // + list 0..3: binary, 240 bytes
// The main window's place and size (its inner area, without the desktop's frame; the size
// it has when not maximised) and whether it is maximised; absent until it first moves.
inline constexpr const char* kRegMainLeft = "MainLeft";             // integer
inline constexpr const char* kRegMainTop = "MainTop";               // integer
inline constexpr const char* kRegMainWidth = "MainWidth";           // integer
inline constexpr const char* kRegMainHeight = "MainHeight";         // integer
inline constexpr const char* kRegMainMaximized = "MainMaximized";   // boolean, default false
inline constexpr const char* kRegPlaySingleCard = "PlaySingleCard"; // boolean, default false
inline constexpr const char* kRegComputerLevel = "ComputerLevel";   // integer: 0 Acemi (default), 1 Usta
inline constexpr const char* kRegOpenHands = "OpenHands";           // boolean, default false
inline constexpr const char* kRegDealerPort = "DealerPort";         // integer: the own dealer's port, absent: 33471

// Defaults.
inline constexpr bool kDefIamDealer = true;
inline constexpr bool kDefSound = true;
inline constexpr bool kDefQuick = false;
inline constexpr bool kDefClockwise = false;
inline constexpr bool kDefComputerPlayer = false;
inline constexpr bool kDefPlaySingleCard = false;
inline constexpr bool kDefOpenHands = false;
inline constexpr int kDefComputerLevel = 0;
inline constexpr const char* kDefDealerAddress = "localhost";
inline constexpr int kDefTopListsCount = 0;

// "TopListsCount2", "TopListsScores0", ...: the name followed by the list number.
QString RegListName(const char* name, int list);

// The login name of the current user (at most 50 characters), the default player name.
QString LoginName();

// Strings: the stored text, or def when the value is absent. A value stored with another
// type is read as its text.
QString ReadRegString(const QString& key, const QString& name, const QString& def);
void WriteRegString(const QString& key, const QString& name, const QString& value);

// Integers: def when absent; a value that does not read as a 32-bit integer is deleted and
// def returned, so the next write stores it afresh.
int ReadRegInteger(const QString& key, const QString& name, int def);
void WriteRegInteger(const QString& key, const QString& name, int value);

// Booleans are stored as the integers 0 and 1 and read like integers (non-zero is true).
bool ReadRegBool(const QString& key, const QString& name, bool def);
void WriteRegBool(const QString& key, const QString& name, bool value);

// Binary blocks: true and the buffer filled when a block of exactly size bytes is stored;
// otherwise false and the buffer untouched.
bool ReadRegBinary(const QString& key, const QString& name, void* buffer, int size);
void WriteRegBinary(const QString& key, const QString& name, const void* buffer, int size);

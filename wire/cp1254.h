// Texts travel in the Turkish Windows code page 1254. These convert between that code page
// and QString (through the program's one table, rules/codepage1254.h); everything inside
// the program uses QString.
#pragma once

#include <QByteArray>
#include <QString>

// Bytes 0x00-0x7F are ASCII, 0x80-0xFF come from a small table. The seven bytes that the
// code page leaves unassigned (0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0x9E) map to the control
// characters of the same number, so every byte string survives a round trip unchanged.
QString FromCp1254(const char* bytes, qsizetype length);
QString FromCp1254(const QByteArray& bytes);

// Characters the code page cannot hold become '?'.
QByteArray ToCp1254(const QString& text);

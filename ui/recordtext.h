// Texts and fonts shared by the windows.
#pragma once

#include <QFont>
#include <QString>

// A player name from the game record: zero-terminated code page 1254 in a field of
// `size` bytes (read no further than the field even without a terminator).
QString RecordText(const char* field, int size);

// A tooltip that shows `text` as it is: players' and tables' names are never markup.
QString PlainTip(const QString& text);

// Arial (or the nearest font the system has) at a size in pixels.
QFont ArialPixels(int pixels, bool bold = false);

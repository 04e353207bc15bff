// The dealer's texts (status lines, its lines in the chat, answers about saved games) in the
// program's language. A dealer speaks Turkish on the wire, whatever its players read; a text
// that matches one of the known sentences is shown in the user's language, its names and
// numbers kept, and any other text as it came.
#pragma once

#include <QString>

QString DealerText(const QString& text);

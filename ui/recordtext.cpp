#include "recordtext.h"

#include "cp1254.h"

#include <cstring>

#include <QTextDocument>

QString RecordText(const char* field, int size)
{
    const void* end = std::memchr(field, 0, static_cast<size_t>(size));
    const qsizetype length = end ? static_cast<const char*>(end) - field : size;
    return FromCp1254(field, length);
}

QFont ArialPixels(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString PlainTip(const QString& text)
{
    return text.isEmpty() ? QString() : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

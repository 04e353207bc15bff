#include "cp1254.h"

#include "codepage1254.h"

QString FromCp1254(const char* bytes, qsizetype length)
{
    QString text;
    text.reserve(length);
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = uint8_t(bytes[i]);
        text.append(QChar(Cp1254ToUnicode(b)));
    }
    return text;
}

QString FromCp1254(const QByteArray& bytes)
{
    return FromCp1254(bytes.constData(), bytes.size());
}

QByteArray ToCp1254(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one character outside the code page, one '?'
        const int byte = UnicodeToCp1254(c.unicode());
        bytes.append(byte < 0 ? '?' : char(byte));
    }
    return bytes;
}

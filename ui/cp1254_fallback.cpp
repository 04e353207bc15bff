// Temporary stand-in for the code page 1254 converter of the transport library, used only
// while that library is not part of the build.
#include "cp1254.h"

namespace {
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178};
char16_t Decode(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0)
        return kHigh[b - 0x80];
    switch (b) {
    case 0xD0: return 0x011E;
    case 0xDD: return 0x0130;
    case 0xDE: return 0x015E;
    case 0xF0: return 0x011F;
    case 0xFD: return 0x0131;
    case 0xFE: return 0x015F;
    default: return b;
    }
}
} // namespace

QString FromCp1254(const char* bytes, qsizetype length)
{
    QString s;
    s.reserve(length);
    for (qsizetype i = 0; i < length; ++i)
        s.append(QChar(Decode(static_cast<unsigned char>(bytes[i]))));
    return s;
}

QString FromCp1254(const QByteArray& bytes) { return FromCp1254(bytes.constData(), bytes.size()); }

QByteArray ToCp1254(const QString& text)
{
    QByteArray out;
    for (QChar c : text) {
        char b = '?';
        for (int v = 0; v < 256; ++v)
            if (Decode(static_cast<unsigned char>(v)) == c.unicode()) {
                b = static_cast<char>(v);
                break;
            }
        out.append(b);
    }
    return out;
}

#include "extension.h"

#include <algorithm>
#include <cstring>

#include "payload.h"

namespace {

constexpr char kMagic[4] = {'Z', 'R', 'B', '1'};
constexpr int kBodySize = 1 + 16;  // the fields every block has
constexpr int kMaxCodeBytes = 8;
constexpr int kMaxListedGames = 500;

// The block that starts at offset of buf.
bool ReadBlock(const uint8_t* buf, int32_t count, int32_t offset, TJoinExtension& extension)
{
    if (count - offset < 6 || std::memcmp(buf + offset, kMagic, 4) != 0)
        return false;
    const int length = buf[offset + 4] | (buf[offset + 5] << 8);
    if (length < kBodySize || length > count - offset - 6)
        return false;
    const uint8_t* body = buf + offset + 6;
    QByteArray code;
    if (length > kBodySize) {
        const int codeLength = body[kBodySize];
        if (codeLength > kMaxCodeBytes || codeLength > length - kBodySize - 1)
            return false;
        code = QByteArray(reinterpret_cast<const char*>(body + kBodySize + 1), codeLength);
        if (std::any_of(code.begin(), code.end(), [](char c) { return c <= ' ' || c > '~'; }))
            return false;
    }
    extension.Flags = body[0];
    std::copy(body + 1, body + 1 + 16, extension.Key.begin());
    extension.TableCode = code;
    return true;
}

} // namespace

bool TJoinExtension::HasKey() const
{
    return std::any_of(Key.begin(), Key.end(), [](uint8_t b) { return b != 0; });
}

QByteArray JoinExtensionBytes(const TJoinExtension& extension)
{
    const QByteArray code = extension.TableCode.left(kMaxCodeBytes);
    const int length = kBodySize + 1 + int(code.size());
    QByteArray bytes(kMagic, 4);
    bytes.append(char(length & 0xFF)).append(char(length >> 8));
    bytes.append(char(extension.Flags));
    bytes.append(reinterpret_cast<const char*>(extension.Key.data()), int(extension.Key.size()));
    bytes.append(char(code.size())).append(code);
    return bytes;
}

bool ReadJoinRequestExtension(const uint8_t* buf, int32_t count, TJoinExtension& extension)
{
    TPayloadReader r(buf, count);
    QByteArray name;
    return r.Text(name) && ReadBlock(buf, count, r.Consumed(), extension);
}

bool ReadJoinAcceptedExtension(const uint8_t* buf, int32_t count, TJoinExtension& extension)
{
    TPayloadReader r(buf, count);
    uint8_t seat = 0;
    QByteArray text;
    return r.Byte(seat) && r.Text(text) && ReadBlock(buf, count, r.Consumed(), extension);
}

QByteArray GameListPayload(const QStringList& names)
{
    const int n = int(std::min<qsizetype>(names.size(), kMaxListedGames));
    TPayloadWriter w;
    w.Byte(uint8_t(n & 0xFF)).Byte(uint8_t(n >> 8));
    for (int i = 0; i < n; ++i)
        w.Text(names[i]);
    return w.Bytes();
}

bool ReadGameList(const uint8_t* buf, int32_t count, QStringList& names)
{
    TPayloadReader r(buf, count);
    uint8_t low = 0, high = 0;
    if (!r.Byte(low) || !r.Byte(high))
        return false;
    const int n = low | (high << 8);
    if (n > kMaxListedGames)
        return false;
    QStringList read;
    for (int i = 0; i < n; ++i) {
        QString name;
        if (!r.Text(name))
            return false;
        read.append(name);
    }
    names = read;
    return true;
}

QByteArray GameFileResultPayload(bool ok, const QString& text)
{
    return TPayloadWriter().Byte(ok ? 1 : 0).Text(text).Bytes();
}

bool ReadGameFileResult(const uint8_t* buf, int32_t count, bool& ok, QString& text)
{
    TPayloadReader r(buf, count);
    uint8_t flag = 0;
    QString read;
    if (!r.Byte(flag) || !r.Text(read))
        return false;
    ok = flag != 0;
    text = read;
    return true;
}

bool IsSafeGameName(const QString& name)
{
    if (name.isEmpty() || name.size() > kMaxGameNameLength || name.front() == u' ' || name.front() == u'.')
        return false;
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_';
    });
}

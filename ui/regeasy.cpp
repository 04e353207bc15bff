#include "regeasy.h"

#include <QByteArray>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <cstring>
#include <memory>
#include <pwd.h>
#include <unistd.h>

const QString kRegKey = QStringLiteral("\\Software\\Fendral\\Zorbela");

namespace {

// Opens the store that a key path names: its last part is the application, the part
// before it the organisation.
std::unique_ptr<QSettings> OpenKey(const QString& key)
{
    QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString application = parts.isEmpty() ? QStringLiteral("Zorbela") : parts.takeLast();
    QString organisation = parts.isEmpty() ? QStringLiteral("Fendral") : parts.takeLast();
    return std::make_unique<QSettings>(organisation, application);
}

// The stored value as a 32-bit integer; false when it does not read as one.
bool StoredInteger(const QVariant& v, int& result)
{
    bool ok = false;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const qlonglong n = v.toLongLong(&ok);
        ok = ok && n >= INT32_MIN && n <= INT32_MAX;
        result = static_cast<int>(n);
        return ok;
    }
    case QMetaType::QString:
        result = v.toString().trimmed().toInt(&ok, 10);
        return ok;
    default:
        return false;
    }
}

} // namespace

QString RegListName(const char* name, int list)
{
    return QString::fromLatin1(name) + QString::number(list);
}

QString LoginName()
{
    QString name;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
        name = QString::fromLocal8Bit(pw->pw_name);
    if (name.isEmpty())
        name = QString::fromLocal8Bit(qgetenv("USER"));
    return name.left(50);
}

QString ReadRegString(const QString& key, const QString& name, const QString& def)
{
    const auto store = OpenKey(key);
    const QVariant v = store->value(name);
    if (!v.isValid())
        return def;
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

void WriteRegString(const QString& key, const QString& name, const QString& value)
{
    OpenKey(key)->setValue(name, value);
}

int ReadRegInteger(const QString& key, const QString& name, int def)
{
    const auto store = OpenKey(key);
    const QVariant v = store->value(name);
    if (!v.isValid())
        return def;
    int result = 0;
    if (StoredInteger(v, result))
        return result;
    store->remove(name);
    return def;
}

void WriteRegInteger(const QString& key, const QString& name, int value)
{
    OpenKey(key)->setValue(name, value);
}

bool ReadRegBool(const QString& key, const QString& name, bool def)
{
    return ReadRegInteger(key, name, def ? 1 : 0) != 0;
}

void WriteRegBool(const QString& key, const QString& name, bool value)
{
    WriteRegInteger(key, name, value ? 1 : 0);
}

bool ReadRegBinary(const QString& key, const QString& name, void* buffer, int size)
{
    const auto store = OpenKey(key);
    const QVariant v = store->value(name);
    if (!v.isValid() || v.typeId() != QMetaType::QByteArray || size < 0)
        return false;
    const QByteArray data = v.toByteArray();
    if (data.size() != size)
        return false;
    if (size > 0)
        std::memcpy(buffer, data.constData(), static_cast<size_t>(size));
    return true;
}

void WriteRegBinary(const QString& key, const QString& name, const void* buffer, int size)
{
    const QByteArray data(static_cast<const char*>(buffer), size < 0 ? 0 : size);
    OpenKey(key)->setValue(name, data);
}

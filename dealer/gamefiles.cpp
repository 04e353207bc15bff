#include "gamefiles.h"

#include "cp1254.h"
#include "extension.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

bool WriteOwnerFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool WriteGameFile(const QString& path, const TGameInfo& g)
{
    // The record holds every hand: only the owner of the file may read it.
    return WriteOwnerFile(path, QByteArray(reinterpret_cast<const char*>(&g), sizeof g));
}

bool ReadGameFile(const QString& path, TGameInfo& g)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    InitGameInfo(g);
    file.read(reinterpret_cast<char*>(&g), sizeof g);
    return true;
}

QString WriteLastHand(const QString& folder, const TGameInfo& g)
{
    const QString first = QDir(folder).filePath(QString::fromLatin1(kLastHandFile));
    if (WriteGameFile(first, g))
        return first;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data))
        return {};
    const QString second = QDir(data).filePath(QString::fromLatin1(kLastHandFile));
    return WriteGameFile(second, g) ? second : QString();
}

namespace {

QString SavedGamePath(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name + QStringLiteral(".rvo"));
}

} // namespace

bool WriteSavedGame(const QString& folder, const QString& name, const TGameInfo& g)
{
    return IsSafeGameName(name) && QDir().mkpath(folder) && WriteGameFile(SavedGamePath(folder, name), g);
}

bool ReadSavedGame(const QString& folder, const QString& name, TGameInfo& g)
{
    return IsSafeGameName(name) && QFileInfo(SavedGamePath(folder, name)).size() == qint64(sizeof g) &&
           ReadGameFile(SavedGamePath(folder, name), g);
}

QStringList SavedGameNames(const QString& folder)
{
    QStringList names;
    for (const QFileInfo& file : QDir(folder).entryInfoList({QStringLiteral("*.rvo")}, QDir::Files, QDir::Time))
        if (IsSafeGameName(file.completeBaseName()) && file.completeBaseName() != QLatin1String("LastHand"))
            names.append(file.completeBaseName());
    return names;
}

QStringList FitGameList(const QStringList& names, qsizetype maxBytes)
{
    QStringList fitting;
    qsizetype bytes = 2; // the count
    for (const QString& name : names) {
        bytes += 4 + ToCp1254(name).size();
        if (bytes > maxBytes)
            break;
        fitting.append(name);
    }
    return fitting;
}

#include "statefiles.h"

#include <cstring>

#include <QDir>
#include <QFile>

#include "gamefiles.h"
#include "table.h"

TStateFiles::TStateFiles(const QString& folder) : folder_(folder)
{
    // A state that could not be written is named in the log (on the keeper's thread of
    // birth); "LastHand.rvo" is its table's business.
    QObject::connect(&keeper_, &TFileKeeper::written, &keeper_, [](const QString& key, const QString& path) {
        if (path.isEmpty() && key.endsWith(QLatin1String(".table")))
            qCWarning(lcDealer).noquote() << QStringLiteral("the table's state could not be written to %1").arg(key);
    });
}

std::vector<TTableState> TStateFiles::ReadAll() const
{
    std::vector<TTableState> states;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList({QStringLiteral("*.table")}, QDir::Files, QDir::Name)) {
        const QString path = dir.filePath(name);
        TTableState state;
        QString why;
        if (ReadTableStateFile(path, state, why) && TableStatePath(folder_, state.Code) == path) {
            states.push_back(state);
            continue;
        }
        if (why.isEmpty())
            why = QStringLiteral("the file's name is not its table's code");
        qCWarning(lcDealer).noquote() << QStringLiteral("the kept table %1 is refused (%2); it is set aside").arg(path, why);
        QFile::remove(path + QStringLiteral(".refused"));
        QFile::rename(path, path + QStringLiteral(".refused"));
    }
    return states;
}

void TStateFiles::Keep(const TTableState& state)
{
    const QString path = TableStatePath(folder_, state.Code);
    keeper_.Put(path, TableStateBytes(state), [folder = folder_, path](const QByteArray& bytes) {
        return QDir().mkpath(folder) && WriteOwnerFile(path, bytes) ? path : QString();
    });
}

void TStateFiles::Forget(const QString& code)
{
    // In the keeper's order: after any write of the table still waiting.
    const QString path = TableStatePath(folder_, code);
    keeper_.Put(path, {}, [path](const QByteArray&) { return QFile::remove(path) || !QFile::exists(path) ? path : QString(); });
}

void TStateFiles::KeepLastHand(const QString& folder, const TGameInfo& g)
{
    keeper_.Put(QDir(folder).filePath(QString::fromLatin1(kLastHandFile)),
                QByteArray(reinterpret_cast<const char*>(&g), sizeof g), [folder](const QByteArray& bytes) {
                    TGameInfo record;
                    std::memcpy(&record, bytes.constData(), sizeof record);
                    return ::WriteLastHand(folder, record);
                });
}

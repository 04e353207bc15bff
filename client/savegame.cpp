#include "savegame.h"

#include <QCoreApplication>
#include <QFile>

#include <cstring>

#include "prompts.h"

namespace {

const QString kFilter = QStringLiteral("*.rvo");
const QString kSuffix = QStringLiteral("rvo");

QString Text(const char* source) { return QCoreApplication::translate("SaveGame", source); }
QString CannotOpen() { return Text(QT_TRANSLATE_NOOP("SaveGame", "Dosya açılamıyor!")); }

} // namespace

bool SaveGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, const TGameInfo& g)
{
    const QString path =
        prompts.SaveFileName(parent, Text(QT_TRANSLATE_NOOP("SaveGame", "Oyunu kaydet")), kFilter, kSuffix);
    if (path.isEmpty())
        return false;
    if (QFile::exists(path) &&
        !prompts.Ask(parent,
                     Text(QT_TRANSLATE_NOOP("SaveGame", "Bu isimde zaten bir dosya var, değiştirmek istiyor musunuz?")),
                     true))
        return false;
    if (!files.WriteGame(path, g)) {
        prompts.Inform(parent, CannotOpen());
        return false;
    }
    return true;
}

TLoadOutcome LoadGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, TGameInfo& g)
{
    const QString path = prompts.OpenFileName(parent, Text(QT_TRANSLATE_NOOP("SaveGame", "Oyun yükle")), kFilter,
                                              kSuffix, QStringLiteral("*.rvo"));
    if (path.isEmpty())
        return TLoadOutcome::Cancelled;
    TGameInfo loaded;
    std::memset(&loaded, 0, sizeof loaded);
    if (!files.ReadGame(path, loaded) || !IsValidGameInfo(loaded)) {
        prompts.Inform(parent, CannotOpen());
        return TLoadOutcome::Unreadable;
    }
    g = loaded;
    return TLoadOutcome::Loaded;
}

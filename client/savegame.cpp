#include "savegame.h"

#include <QFile>

#include <cstring>

#include "prompts.h"

namespace {

const QString kFilter = QStringLiteral("*.rvo");
const QString kSuffix = QStringLiteral("rvo");
const QString kCannotOpen = QStringLiteral("Dosya açılamıyor!");

} // namespace

bool SaveGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, const TGameInfo& g)
{
    const QString path =
        prompts.SaveFileName(parent, QStringLiteral("Oyunu kaydet"), kFilter, kSuffix);
    if (path.isEmpty())
        return false;
    if (QFile::exists(path) &&
        !prompts.Ask(parent,
                     QStringLiteral("Bu isimde zaten bir dosya var, değiştirmek istiyor musunuz?"),
                     true))
        return false;
    if (!files.WriteGame(path, g)) {
        prompts.Inform(parent, kCannotOpen);
        return false;
    }
    return true;
}

TLoadOutcome LoadGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, TGameInfo& g)
{
    const QString path = prompts.OpenFileName(parent, QStringLiteral("Oyun yükle"), kFilter,
                                              kSuffix, QStringLiteral("*.rvo"));
    if (path.isEmpty())
        return TLoadOutcome::Cancelled;
    TGameInfo loaded;
    std::memset(&loaded, 0, sizeof loaded);
    if (!files.ReadGame(path, loaded) || !IsValidGameInfo(loaded)) {
        prompts.Inform(parent, kCannotOpen);
        return TLoadOutcome::Unreadable;
    }
    g = loaded;
    return TLoadOutcome::Loaded;
}

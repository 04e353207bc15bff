#include "savegame.h"

#include <QFile>

#include <cstring>

#include "gamefiles.h"
#include "prompts.h"

namespace {

const QString kFilter = QStringLiteral("*.rvo");
const QString kSuffix = QStringLiteral("rvo");
const QString kCannotOpen = QStringLiteral("Dosya açılamıyor!");

} // namespace

bool ReadCheckedGameFile(const QString& path, TGameInfo& g)
{
    TGameInfo loaded;
    std::memset(&loaded, 0, sizeof loaded);
    if (!ReadGameFile(path, loaded) || !IsValidGameInfo(loaded))
        return false;
    g = loaded;
    return true;
}

bool SaveGameInteractive(QWidget* parent, TUserPrompts& prompts, const TGameInfo& g)
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
    if (!WriteGameFile(path, g)) {
        prompts.Inform(parent, kCannotOpen);
        return false;
    }
    return true;
}

TLoadOutcome LoadGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameInfo& g)
{
    const QString path = prompts.OpenFileName(parent, QStringLiteral("Oyun yükle"), kFilter,
                                              kSuffix, QStringLiteral("*.rvo"));
    if (path.isEmpty())
        return TLoadOutcome::Cancelled;
    if (!ReadCheckedGameFile(path, g)) {
        prompts.Inform(parent, kCannotOpen);
        return TLoadOutcome::Unreadable;
    }
    return TLoadOutcome::Loaded;
}

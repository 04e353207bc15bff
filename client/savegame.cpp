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

namespace {

// Writes the file; Yes when it was written.
TPromptAnswer Write(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, const TGameInfo& g,
                    const QString& path)
{
    if (files.WriteGame(path, g))
        return TPromptAnswer::Yes;
    prompts.Inform(parent, CannotOpen());
    return TPromptAnswer::Back;
}

} // namespace

TPromptReply* SaveGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, const TGameInfo& g,
                                  QObject* context)
{
    auto* saved = new TPromptReply(context);
    TPromptReply* named =
        prompts.SaveFileName(parent, Text(QT_TRANSLATE_NOOP("SaveGame", "Oyunu kaydet")), kFilter, kSuffix);
    QObject::connect(named, &TPromptReply::finished, saved, [=, &prompts, &files, &g](TPromptAnswer answer, const QString& path) {
        if (answer != TPromptAnswer::Yes)
            return saved->Finish(TPromptAnswer::Back);
        if (!QFile::exists(path))
            return saved->Finish(Write(parent, prompts, files, g, path));
        TPromptReply* replace = prompts.Ask(
            parent, Text(QT_TRANSLATE_NOOP("SaveGame", "Bu isimde zaten bir dosya var, değiştirmek istiyor musunuz?")),
            true);
        QObject::connect(replace, &TPromptReply::finished, saved, [=, &prompts, &files, &g](TPromptAnswer yes) {
            saved->Finish(yes == TPromptAnswer::Yes ? Write(parent, prompts, files, g, path) : TPromptAnswer::Back);
        });
    });
    return saved;
}

TPromptReply* LoadGameInteractive(QWidget* parent, TUserPrompts& prompts, TGameFilePort& files, TGameInfo& g,
                                  QObject* context)
{
    auto* loaded = new TPromptReply(context);
    TPromptReply* named = prompts.OpenFileName(parent, Text(QT_TRANSLATE_NOOP("SaveGame", "Oyun yükle")), kFilter,
                                               kSuffix, QStringLiteral("*.rvo"));
    QObject::connect(named, &TPromptReply::finished, loaded, [=, &prompts, &files, &g](TPromptAnswer answer, const QString& path) {
        if (answer != TPromptAnswer::Yes)
            return loaded->Finish(TPromptAnswer::Back);
        TGameInfo read;
        std::memset(&read, 0, sizeof read);
        if (!files.ReadGame(path, read) || !IsValidGameInfo(read)) {
            prompts.Inform(parent, CannotOpen());
            return loaded->Finish(TPromptAnswer::No);
        }
        g = read;
        loaded->Finish(TPromptAnswer::Yes);
    });
    return loaded;
}

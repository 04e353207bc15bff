#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

#include "cards.h"
#include "regeasy.h"

namespace {

Q_LOGGING_CATEGORY(lcLanguage, "zorbela.language")

// The contracts' names as the rules spell them, for the translation's tools to find.
[[maybe_unused]] const char* const kContractNames[] = {
    QT_TRANSLATE_NOOP("Contract", "El Almaz"),    QT_TRANSLATE_NOOP("Contract", "Kupa Almaz"),
    QT_TRANSLATE_NOOP("Contract", "Kız Almaz"),   QT_TRANSLATE_NOOP("Contract", "Erkek Almaz"),
    QT_TRANSLATE_NOOP("Contract", "Soniki Almaz"), QT_TRANSLATE_NOOP("Contract", "Rıfkı Almaz"),
    QT_TRANSLATE_NOOP("Contract", "Koz Sinek"),   QT_TRANSLATE_NOOP("Contract", "Koz Karo"),
    QT_TRANSLATE_NOOP("Contract", "Koz Kupa"),    QT_TRANSLATE_NOOP("Contract", "Koz Maça"),
};

TLanguage current = TLanguage::Turkish;
QTranslator* programTexts = nullptr;
QTranslator* qtTexts = nullptr;

void Remove(QTranslator*& translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

} // namespace

TLanguage ChooseLanguage(const QString& stored, const QLocale& system)
{
    if (stored == QLatin1String("tr"))
        return TLanguage::Turkish;
    if (stored == QLatin1String("en"))
        return TLanguage::English;
    const QLocale::Language language = system.language();
    return language == QLocale::Turkish || language == QLocale::C || language == QLocale::AnyLanguage
        ? TLanguage::Turkish
        : TLanguage::English;
}

QString LanguageCode(TLanguage language)
{
    return language == TLanguage::English ? QStringLiteral("en") : QStringLiteral("tr");
}

TLanguage StartLanguage()
{
    return ChooseLanguage(ReadRegString(kRegKey, QString::fromLatin1(kRegLanguage), QString()), QLocale::system());
}

void StoreLanguage(TLanguage language)
{
    WriteRegString(kRegKey, QString::fromLatin1(kRegLanguage), LanguageCode(language));
}

bool InstallLanguage(TLanguage language)
{
    Remove(programTexts);
    Remove(qtTexts);
    current = language;
    bool ok = true;
    if (language == TLanguage::English) {
        // The program's texts are written in Turkish; Qt's own are English already.
        programTexts = new QTranslator(QCoreApplication::instance());
        if (programTexts->load(QStringLiteral(":/i18n/zorbela_en.qm"))) {
            QCoreApplication::installTranslator(programTexts);
        } else {
            qCWarning(lcLanguage, "the English translation is missing; the program speaks Turkish");
            Remove(programTexts);
            ok = false;
        }
    } else {
        // "qt_tr" brings Qt's base and multimedia texts together.
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        qtTexts = new QTranslator(QCoreApplication::instance());
        if (qtTexts->load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qt"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(qtTexts);
        } else {
            qCInfo(lcLanguage, "Qt's Turkish texts are not installed in %s; Qt's dialogs speak English",
                   qPrintable(folder));
            Remove(qtTexts);
            ok = false;
        }
    }
    return ok;
}

TLanguage CurrentLanguage()
{
    return current;
}

QString ContractText(int c)
{
    if (c < 0 || c >= kContractCount)
        return QString();
    return QCoreApplication::translate("Contract", ContractNames[c]);
}

QString TextIn(TLanguage language, const char* context, const char* source)
{
    if (language == TLanguage::English) {
        QTranslator english;
        if (english.load(QStringLiteral(":/i18n/zorbela_en.qm"))) {
            const QString text = english.translate(context, source);
            if (!text.isEmpty())
                return text;
        }
    }
    return QString::fromUtf8(source);
}

#include "startup.h"

#include <QApplication>
#include <QIcon>

#include "language.h"

#include <cstdio>
#include <cstring>

#ifndef ZORBELA_VERSION
#define ZORBELA_VERSION "1.0.0"
#endif

std::optional<int> AnswerCommandLine(int argc, char** argv, TLanguage language)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--version") == 0 || std::strcmp(arg, "-v") == 0) {
            std::printf("Zorbela %s\n", ZORBELA_VERSION);
            return 0;
        }
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            const char* const help = QT_TRANSLATE_NOOP(
                "zorbela", "Kullanım: zorbela [seçenek]\n"
                           "\n"
                           "RUVO, dört kişilik Türk kağıt oyunu: yerel ağda ya da İnternet'te oynanır,\n"
                           "boş yerlerde bilgisayar oynar. Masayı kurmak ya da bir masaya katılmak\n"
                           "için programı seçeneksiz başlatın.\n"
                           "\n"
                           "Seçenekler:\n"
                           "  -h, --help     Bu yardımı gösterir.\n"
                           "  -v, --version  Sürümü gösterir.\n"
                           "\n"
                           "Qt'nin kendi seçenekleri (-platform, -style, ...) de geçerlidir.\n"
                           "Pencere olmadan masa kurmak için: zorbela-dealer --help\n");
            std::fputs(TextIn(language, "zorbela", help).toUtf8().constData(), stdout);
            return 0;
        }
    }
    return std::nullopt;
}

void SetProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/zorbela.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("zorbela"));
}

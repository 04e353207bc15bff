// The window tests need one QApplication. The settings they write go to a temporary
// configuration folder, never to the user's own.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    if (!config.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    QApplication app(argc, argv);
    const QString store = QSettings(QStringLiteral("Fendral"), QStringLiteral("Zorbela")).fileName();
    if (!store.startsWith(config.path())) {
        std::fprintf(stderr, "settings would go to %s; refusing to run\n", qPrintable(store));
        return 2;
    }
    return RUN_ALL_TESTS();
}

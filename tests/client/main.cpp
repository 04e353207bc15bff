// The client tests run inside one QApplication, with settings and data in folders of their
// own: ctest runs several test processes at once, and a check mark one of them stores must
// never reach the windows of another.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

#include "application.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();

    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv); // the program's own, which catches what reaches the loop
    QApplication::setOrganizationName(QStringLiteral("Fendral"));
    QApplication::setApplicationName(QStringLiteral("Zorbela"));
    const QString store = QSettings(QStringLiteral("Fendral"), QStringLiteral("Zorbela")).fileName();
    if (!store.startsWith(home.path())) {
        std::fprintf(stderr, "settings would go to %s; refusing to run\n", qPrintable(store));
        return 2;
    }
    return RUN_ALL_TESTS();
}

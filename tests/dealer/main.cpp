// The dealer tests run Qt's event loop, so they get an application object. Standard paths
// are switched to their test locations, so a fallback "LastHand.rvo" never lands in the
// user's own data folder.
#include <QCoreApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorbela_dealer_tests"));
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

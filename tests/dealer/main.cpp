// The dealer tests run Qt's event loop, so they get an application object. The data folder
// is a temporary one of this process, so a fallback "LastHand.rvo" never lands in the
// user's own data folder nor in that of another test process running at the same time.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir data;
    if (!data.isValid())
        return 2;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorbela_dealer_tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

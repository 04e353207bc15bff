// The client tests run inside one QApplication, with settings and data in folders of their
// own: ctest runs several test processes at once, and a check mark one of them stores must
// never reach the windows of another. A test's notices end with it.
#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

#include "application.h"
#include "prompts.h"

namespace {

// The program's notices are one line for the whole process: what a test left open or
// waiting there is closed when it ends, so that the next test sees only its own.
class TNoticesEndWithTheirTest : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        for (int round = 0; round < 200; ++round) {
            QTest::qWait(10); // a notice on its way joins the line, a beeping one shows its box
            if (TUserPrompts::PendingNotices() == 0)
                return;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible())
                    box->done(QMessageBox::Ok);
        }
    }
};

} // namespace

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
    ::testing::UnitTest::GetInstance()->listeners().Append(new TNoticesEndWithTheirTest);
    return RUN_ALL_TESTS();
}

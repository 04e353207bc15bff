// The program's message loop: leaving at the welcome window, and an exception that reaches
// the loop. Each test runs the application's loop itself, as the program does.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

#include "application.h"
#include "client_test_util.h"
#include "commands.h"
#include "computerforme.h"
#include "mainform.h"
#include "menus.h"
#include "seatmodel.h"
#include "settings.h"
#include "tableview.h"
#include "welcomeform.h"

namespace {

constexpr int kStuck = 7; // the loop did not end by itself

// Runs the application's loop as the program does; it ends by itself or after 5 s.
int RunLoop()
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(kStuck); });
    guard.start(5000);
    return QCoreApplication::exec();
}

} // namespace

TEST(Startup, KapatEscapeAndTheCloseBoxOfTheWelcomeWindowEndTheProgram)
{
    for (int way = 0; way < 3; ++way) {
        ClearSettings();
        TWelcomeForm welcome;
        TSideWindows side;
        side.Welcome = &welcome;
        TMainForm form;
        form.SetSideWindows(side);
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (!welcome.isVisible())
                return;
            if (way == 0)
                welcome.Button2->click();
            else if (way == 1)
                QTest::keyClick(&welcome, Qt::Key_Escape);
            else
                welcome.close();
        });
        user.start(20);
        form.show();
        EXPECT_EQ(RunLoop(), 0) << "way " << way;
        EXPECT_EQ(form.Dealer(), nullptr) << way;
        EXPECT_FALSE(form.Session().Active()) << way;
    }
}

TEST(Startup, AnExceptionThatReachesTheLoopIsShownAndEndsTheProgramWithCodeOne)
{
    auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    QStringList shown;
    const QMetaObject::Connection told =
        QObject::connect(app, &TApplication::faulted, [&](const QString& text) { shown.append(text); });
    QTimer::singleShot(0, [] { throw std::runtime_error("Kart destesi bozuk"); });
    QTimer::singleShot(0, [] { throw std::runtime_error("ikinci"); });
    const int rc = RunLoop();
    QObject::disconnect(told);
    EXPECT_EQ(rc, TApplication::kFaultExitCode);
    EXPECT_EQ(shown, QStringList({QStringLiteral("Kart destesi bozuk")})) << "later faults only end the loop";
    EXPECT_EQ(app->FaultText(), QStringLiteral("Kart destesi bozuk"));
}

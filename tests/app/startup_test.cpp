#include "startup.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::optional<int> Answer(std::vector<const char*> args)
{
    args.insert(args.begin(), "zorbela");
    return AnswerCommandLine(int(args.size()), const_cast<char**>(args.data()));
}

TEST(Startup, HelpAndVersionAnswerAndEverythingElseGoesToQt)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(Answer({"--version"}), 0);
    EXPECT_EQ(Answer({"-platform", "offscreen", "-h"}), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Zorbela ", 0), 0u) << out;
    EXPECT_NE(out.find("Kullanım: zorbela"), std::string::npos);
    testing::internal::CaptureStdout();
    std::vector<const char*> help = {"zorbela", "--help"};
    EXPECT_EQ(AnswerCommandLine(2, const_cast<char**>(help.data()), TLanguage::English), 0);
    const std::string english = testing::internal::GetCapturedStdout();
    EXPECT_EQ(english.rfind("Usage: zorbela [option]", 0), 0u) << english;
    EXPECT_EQ(english.find("Kullanım"), std::string::npos);
    EXPECT_EQ(Answer({}), std::nullopt);
    EXPECT_EQ(Answer({"-platform", "offscreen", "--style=fusion"}), std::nullopt);
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

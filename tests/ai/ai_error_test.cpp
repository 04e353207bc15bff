// The computer player's failure report: the snapshot file and the message.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "ai_test_util.h"

namespace {

struct Notice {
    std::string text;
    int beeps;
};

class AIError : public ::testing::Test {
protected:
    AIError()
    {
        SetNotifier([this](const std::string& text, int beeps) { seen.push_back({text, beeps}); });
    }
    ~AIError() override { SetNotifier(nullptr); }

    static std::string ReadFile(const char* name)
    {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    ai_test::InTempDir dir;
    std::vector<Notice> seen;
};

TEST_F(AIError, SnapshotReplacesTheOldFileAndTheMessageFollowsWithFiveBeeps)
{
    std::ofstream("_error.rvo", std::ios::binary) << std::string(1000, 'x');
    TGameInfo g = ai_test::Table(KizAlmaz);
    ai_test::SetHand(g, 1, "QS 2H");
    TComputerPlayer p;
    p.Game = &g;
    ReportAIError(p, "Bilgisayar oyun seçemedi!");

    const std::string bytes = ReadFile("_error.rvo");
    ASSERT_EQ(bytes.size(), kGameInfoSize);
    EXPECT_EQ(std::memcmp(bytes.data(), &g, kGameInfoSize), 0);
    EXPECT_FALSE(std::filesystem::exists("_error.rvo.tmp"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].beeps, 5);
    EXPECT_EQ(seen[0].text,
              "Bilgisayar oyun seçemedi!\r\rHatadan önceki son durum '_Error.rvo' dosyasına "
              "kaydedildi\rbu dosyayı programın yazarına gönderirseniz hatanın nedeni "
              "araştırılacaktır.");
}

TEST_F(AIError, UnwritableSnapshotKeepsTheOldFileAndStillTells)
{
    std::ofstream("_error.rvo", std::ios::binary) << "old";
    std::filesystem::create_directory("_error.rvo.tmp"); // the file cannot be created
    TGameInfo g = ai_test::Table(ElAlmaz);
    TComputerPlayer p;
    p.Game = &g;
    ReportAIError(p, "x");
    EXPECT_EQ(ReadFile("_error.rvo"), "old");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, AIErrorMessage("x"));
}

TEST_F(AIError, SeatWithoutACardReportsItsNameAndTheFailedChecks)
{
    TGameInfo g = ai_test::Table(ElAlmaz);
    std::strcpy(g.PlayerName[1], "Ay\xFE" "e"); // code page 1254
    ai_test::SetTrick(g, 0, "5C");
    TComputerPlayer p;
    p.Game = &g;
    uint8_t suit = 0;
    uint8_t value = 0;
    SelectCard(p, 1, suit, value);
    EXPECT_EQ(suit, kNone);
    EXPECT_EQ(value, kNone);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].text, AIErrorMessage("Ayşe oynayacak kağıt bulamadı!"));
    EXPECT_EQ(seen[1].text, AIErrorMessage("Bilgisayar alanın dışında bir 'suit' seçti!"));
    EXPECT_EQ(seen[2].text, AIErrorMessage("Bilgisayar alanın dışında bir 'value' seçti!"));
    EXPECT_EQ(seen[3].text, AIErrorMessage("Bilgisayar PlayableCards dışında bir kart seçti!"));
    EXPECT_EQ(std::filesystem::file_size("_error.rvo"), kGameInfoSize);
}

TEST(NameToUtf8, TurkishLettersOfTheCodePage)
{
    EXPECT_EQ(NameToUtf8("\xD0\xDD\xDE\xF0\xFD\xFE\xC7\xE7\xD6\xF6\xDC\xFC"), "ĞİŞğışÇçÖöÜü");
    EXPECT_EQ(NameToUtf8("\x80\x81"), "€\xEF\xBF\xBD");
}

} // namespace

// The computer player's failure report: the snapshot file and the message.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "ai_test_util.h"

namespace {

class AIError : public ::testing::Test {
protected:
    AIError()
    {
        SetNotifier([this](const std::string& text, int beeps) {
            texts.push_back(text);
            EXPECT_EQ(beeps, 5);
        });
        p.Game = &g;
    }
    ~AIError() override { SetNotifier(nullptr); }

    static std::string Read(const char* name)
    {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    ai_test::InTempDir dir;
    TGameInfo g = rules_test::Table(ElAlmaz);
    TComputerPlayer p;
    std::vector<std::string> texts;
};

TEST_F(AIError, SnapshotReplacesTheOldFileThenTheMessageFollows)
{
    std::ofstream("_error.rvo", std::ios::binary) << std::string(1000, 'x');
    rules_test::SetHand(g, 1, "QS 2H");
    ReportAIError(p, "Bilgisayar oyun seçemedi!");
    const std::string bytes = Read("_error.rvo");
    ASSERT_EQ(bytes.size(), kGameInfoSize);
    EXPECT_EQ(std::memcmp(bytes.data(), &g, kGameInfoSize), 0);
    EXPECT_FALSE(std::filesystem::exists("_error.rvo.tmp"));
    EXPECT_EQ(texts, std::vector<std::string>{
                         "Bilgisayar oyun seçemedi!\r\rHatadan önceki son durum '_Error.rvo' "
                         "dosyasına kaydedildi\rbu dosyayı programın yazarına gönderirseniz "
                         "hatanın nedeni araştırılacaktır."});
}

TEST_F(AIError, UnwritableSnapshotKeepsTheOldFileAndStillTells)
{
    std::ofstream("_error.rvo", std::ios::binary) << "old";
    std::filesystem::create_directory("_error.rvo.tmp"); // the new file cannot be created
    ReportAIError(p, "x");
    EXPECT_EQ(Read("_error.rvo"), "old");
    EXPECT_EQ(texts, std::vector<std::string>{AIErrorMessage("x")});
}

TEST_F(AIError, SeatWithoutACardReportsItsNameAndEveryFailedCheck)
{
    std::strcpy(g.PlayerName[1], "Ay\xFE" "e"); // code page 1254
    rules_test::SetTrick(g, 0, "5C");
    uint8_t suit = 0;
    uint8_t value = 0;
    SelectCard(p, 1, suit, value);
    EXPECT_EQ(suit, kNone);
    EXPECT_EQ(value, kNone);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         AIErrorMessage("Ayşe oynayacak kağıt bulamadı!"),
                         AIErrorMessage("Bilgisayar alanın dışında bir 'suit' seçti!"),
                         AIErrorMessage("Bilgisayar alanın dışında bir 'value' seçti!"),
                         AIErrorMessage("Bilgisayar PlayableCards dışında bir kart seçti!")}));
    EXPECT_EQ(std::filesystem::file_size("_error.rvo"), kGameInfoSize);
}

TEST(NameToUtf8, TurkishLettersOfTheCodePage)
{
    EXPECT_EQ(NameToUtf8("\xD0\xDD\xDE\xF0\xFD\xFE\xC7\xE7\xD6\xF6\xDC\xFC"), "ĞİŞğışÇçÖöÜü");
    EXPECT_EQ(NameToUtf8("\x80\x81"), "€\xEF\xBF\xBD");
}

} // namespace

// Unique seat names and the game files.
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "gamefiles.h"
#include "seatnames.h"
#include "tabletext.h"

namespace {

TEST(SeatNames, RepeatedNamesGrowAnXEach)
{
    EXPECT_EQ(UniqueSeatName("Ali", {}), "Ali");
    EXPECT_EQ(UniqueSeatName("Ali", {"Ali"}), "AliX");
    EXPECT_EQ(UniqueSeatName("Ali", {"Ali", "AliX"}), "AliXX");
    // The comparison starts again from the first seat after every X.
    EXPECT_EQ(UniqueSeatName("Ali", {"AliX", "Veli", "Ali"}), "AliXX");
    EXPECT_EQ(UniqueSeatName("", {""}), "X");
}

TEST(SeatNames, LongNamesAreCutAndLongDuplicatesStayWithinTheField)
{
    EXPECT_EQ(FitSeatName(QByteArray("Ali\0Veli", 8)), "Ali");
    EXPECT_EQ(UniqueSeatName(QByteArray(40, 'a'), {}), QByteArray(29, 'a'));
    const QByteArray full(29, 'a');
    EXPECT_EQ(UniqueSeatName(full, {full}), QByteArray(28, 'a') + "X");
    EXPECT_EQ(UniqueSeatName(full, {full, QByteArray(28, 'a') + "X"}), QByteArray(27, 'a') + "XX");
    const QByteArray xs(29, 'X');
    const QByteArray made = UniqueSeatName(xs, {xs});
    EXPECT_EQ(made.size(), 29);
    EXPECT_NE(made, xs);
    const QByteArray again = UniqueSeatName(xs, {xs, made});
    EXPECT_EQ(again.size(), 29);
    EXPECT_NE(again, xs);
    EXPECT_NE(again, made);
}

TEST(SeatNames, CardsAreNamedAsPlayersNameThem)
{
    EXPECT_EQ(CardName(Diamonds, Four), "Karo 4");
    EXPECT_EQ(CardName(Diamonds, Ace), "Karo As");
    EXPECT_EQ(CardName(Spades, King), "Maça Papaz");
    EXPECT_EQ(CardName(Hearts, Queen), "Kupa Kız");
    EXPECT_EQ(CardName(Clubs, Jack), "Sinek Vale");
    EXPECT_EQ(CardName(Clubs, Ten), "Sinek 10");
    EXPECT_EQ(CardName(Hearts, Deuce), "Kupa 2");
}

TGameInfo SampleRecord()
{
    TGameInfo g;
    for (std::size_t i = 0; i < sizeof g; ++i)
        reinterpret_cast<uint8_t*>(&g)[i] = uint8_t(i * 7 + 3);
    return g;
}

TEST(GameFiles, ARecordIsWrittenWholeAndAShortFileLeavesTheRestInitialised)
{
    QTemporaryDir dir;
    const TGameInfo g = SampleRecord();
    ASSERT_TRUE(WriteGameFile(dir.filePath("game.rvo"), g));
    TGameInfo back;
    ASSERT_TRUE(ReadGameFile(dir.filePath("game.rvo"), back));
    EXPECT_EQ(std::memcmp(&g, &back, sizeof g), 0);
    EXPECT_FALSE(ReadGameFile(dir.filePath("missing.rvo"), back));

    QFile file(dir.filePath("short.rvo"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(10, '\x05'));
    file.close();
    ASSERT_TRUE(ReadGameFile(file.fileName(), back));
    EXPECT_EQ(back.CardValue[0][9], 5);
    EXPECT_EQ(back.CardValue[0][10], 0);
    EXPECT_EQ(back.PlayerName[2][0], '\0');
}

TEST(GameFiles, LastHandGoesToTheDataFolderWhenItsFolderCannotBeWritten)
{
    QTemporaryDir dir;
    const TGameInfo g = SampleRecord();
    // A file that was readable by everyone before becomes the owner's alone.
    QFile open(dir.filePath("LastHand.rvo"));
    ASSERT_TRUE(open.open(QIODevice::WriteOnly));
    open.close();
    ASSERT_TRUE(open.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
    EXPECT_EQ(WriteLastHand(dir.path(), g), dir.filePath("LastHand.rvo"));
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    EXPECT_EQ(QFile::permissions(dir.filePath("LastHand.rvo")) & others, 0);
    QFile plain(dir.filePath("plain")); // a folder below a plain file can never be written
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString written = WriteLastHand(dir.filePath("plain/sub"), g);
    ASSERT_EQ(written, QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath("LastHand.rvo"));
    TGameInfo back;
    ASSERT_TRUE(ReadGameFile(written, back));
    EXPECT_EQ(std::memcmp(&g, &back, sizeof g), 0);
    QFile::remove(written);
}

} // namespace

#include "regeasy.h"
#include "ui_test_util.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

QSettings Store() { return QSettings(QStringLiteral("Fendral"), QStringLiteral("Zorbela")); }

class Settings : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }
};

TEST_F(Settings, FreshStoreGivesTheDefaultsAndStaysEmpty)
{
    EXPECT_EQ(ReadRegString(kRegKey, kRegUserName, LoginName()), LoginName());
    EXPECT_FALSE(LoginName().isEmpty());
    EXPECT_TRUE(ReadRegBool(kRegKey, kRegIamDealer, kDefIamDealer));
    EXPECT_TRUE(ReadRegBool(kRegKey, kRegSound, kDefSound));
    EXPECT_FALSE(ReadRegBool(kRegKey, kRegQuick, kDefQuick));
    EXPECT_FALSE(ReadRegBool(kRegKey, kRegClockwise, kDefClockwise));
    EXPECT_FALSE(ReadRegBool(kRegKey, kRegComputerPlayer, kDefComputerPlayer));
    EXPECT_EQ(ReadRegString(kRegKey, kRegDealerAddress, kDefDealerAddress), "localhost");
    for (int list = 0; list < 4; ++list)
        EXPECT_EQ(ReadRegInteger(kRegKey, RegListName(kRegTopListsCount, list), kDefTopListsCount), 0);
    // Reading never stores a default.
    EXPECT_TRUE(Store().allKeys().isEmpty());
}

TEST_F(Settings, ValuesComeBackWithTheirTypes)
{
    WriteRegString(kRegKey, kRegUserName, QStringLiteral("Şükrü Işık"));
    WriteRegBool(kRegKey, kRegSound, false);
    WriteRegBool(kRegKey, kRegQuick, true);
    WriteRegInteger(kRegKey, RegListName(kRegTopListsCount, 3), -17);
    EXPECT_EQ(ReadRegString(kRegKey, kRegUserName, "x"), QStringLiteral("Şükrü Işık"));
    EXPECT_FALSE(ReadRegBool(kRegKey, kRegSound, true));
    EXPECT_TRUE(ReadRegBool(kRegKey, kRegQuick, false));
    EXPECT_EQ(ReadRegInteger(kRegKey, "TopListsCount3", 0), -17);
    // Booleans are stored as the integers 0 and 1.
    EXPECT_EQ(ReadRegInteger(kRegKey, kRegQuick, 5), 1);
    EXPECT_EQ(ReadRegInteger(kRegKey, kRegSound, 5), 0);
}

TEST_F(Settings, ValueOfAnotherTypeIsDeletedOnIntegerRead)
{
    Store().setValue(kRegSound, QStringLiteral("evet"));
    EXPECT_TRUE(ReadRegBool(kRegKey, kRegSound, true));
    EXPECT_FALSE(Store().contains(kRegSound));

    Store().setValue(kRegQuick, QByteArray("\x01\x00", 2));
    EXPECT_FALSE(ReadRegBool(kRegKey, kRegQuick, false));
    EXPECT_FALSE(Store().contains(kRegQuick));

    Store().setValue("TopListsCount1", QStringLiteral("12abc"));
    EXPECT_EQ(ReadRegInteger(kRegKey, "TopListsCount1", 0), 0);
    EXPECT_FALSE(Store().contains("TopListsCount1"));

    // Text that reads as an integer is an integer on a text store, and stays.
    Store().setValue(kRegClockwise, QStringLiteral("1"));
    EXPECT_TRUE(ReadRegBool(kRegKey, kRegClockwise, false));
    EXPECT_TRUE(Store().contains(kRegClockwise));
}

TEST_F(Settings, BinaryValuesAbsentPresentAndMisfit)
{
    std::array<uint8_t, 240> buffer;
    buffer.fill(0xAB);
    const QString name = RegListName(kRegTopListsScores, 2);
    EXPECT_EQ(name, "TopListsScores2");
    EXPECT_FALSE(ReadRegBinary(kRegKey, name, buffer.data(), 240));
    for (uint8_t b : buffer)
        ASSERT_EQ(b, 0xAB);

    std::array<uint8_t, 240> stored;
    for (size_t i = 0; i < stored.size(); ++i)
        stored[i] = static_cast<uint8_t>(i * 7);
    WriteRegBinary(kRegKey, name, stored.data(), 240);
    EXPECT_TRUE(ReadRegBinary(kRegKey, name, buffer.data(), 240));
    EXPECT_EQ(buffer, stored);

    // A block of another size, or a value of another type, is not read.
    std::array<uint8_t, 100> small;
    small.fill(0x55);
    EXPECT_FALSE(ReadRegBinary(kRegKey, name, small.data(), 100));
    EXPECT_EQ(small[0], 0x55);
    Store().setValue("TopListsScores0", QStringLiteral("text"));
    EXPECT_FALSE(ReadRegBinary(kRegKey, "TopListsScores0", buffer.data(), 240));
    EXPECT_EQ(buffer, stored);
}

} // namespace

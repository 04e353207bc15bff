// CRC-32, frame layout and the code page 1254 converter.
#include <chrono>
#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "cp1254.h"
#include "crc.h"
#include "wire_test_util.h"

TEST(Crc32, KnownValuesAndTable)
{
    EXPECT_EQ(Crc32().Calculate("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32().Calculate("", 0), 0u);
    EXPECT_EQ(Crc32().Entry(1), 0x77073096u);
    EXPECT_EQ(Crc32().Entry(128), 0xEDB88320u);
}

TEST(Crc32, MatchesZlibOnRandomBuffersAndContinues)
{
    std::mt19937 gen(1254);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> bytes(gen() % 2000);
        for (auto& b : bytes)
            b = uint8_t(gen());
        const uint32_t expected = uint32_t(crc32(0L, bytes.data(), uInt(bytes.size())));
        ASSERT_EQ(Crc32().Calculate(bytes.data(), bytes.size()), expected) << "length " << bytes.size();
        const std::size_t cut = bytes.empty() ? 0 : gen() % bytes.size();
        const uint32_t head = Crc32().Calculate(bytes.data(), cut);
        ASSERT_EQ(Crc32().Continue(head, bytes.data() + cut, bytes.size() - cut), expected);
    }
}

TEST(Frame, ControlAndDataFramesAreByteExact)
{
    EXPECT_EQ(BuildControlFrame(ACK, 1), Hex("1100000010000000010000" "00DB29FDBA"));
    const char contract = 3;
    EXPECT_EQ(BuildFrame(CONTRACT_CHOICE, 0x01020304, &contract, 1),
              Hex("0B00000011000000040302" "01C357803A03"));
    EXPECT_EQ(BuildControlFrame(CRCERROR, CARD_PLAY).mid(8, 4), Hex("0C000000"));
    EXPECT_EQ(BuildControlFrame(DISCARD_PREDATA, 0xFFFFFFFFu).size(), 16);
}

TEST(Frame, AnySingleByteChangeFailsTheCheck)
{
    const QByteArray good = DataFrame(CARD_PLAY, 0xA1B2C3D4, Hex("020309"));
    ASSERT_TRUE(VerifyFrame(good.constData(), int32_t(good.size())));
    for (int i = 0; i < good.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray bad = good;
            bad[i] = char(bad[i] ^ (1 << bit));
            EXPECT_FALSE(VerifyFrame(bad.constData(), int32_t(bad.size()))) << "byte " << i;
        }
    }
}

TEST(Frame, InitialHeaderAndStamps)
{
    const TPacketHeader h = InitialHeader();
    EXPECT_EQ(h.type, NO_PACKET);
    EXPECT_EQ(h.size, 16);
    EXPECT_EQ(h.timestamp, 0xFFFFFFFFu);
    EXPECT_EQ(h.CRC, 0u);

    // Frames built back to back, within one millisecond, still get stamps of their own.
    std::vector<uint32_t> stamps;
    for (int i = 0; i < 50; ++i)
        stamps.push_back(FrameStamp());
    for (std::size_t i = 1; i < stamps.size(); ++i)
        EXPECT_GT(stamps[i], stamps[i - 1]);
    const auto wall = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch()).count();
    // The low 32 bits of the wall clock, or a little ahead of it for frames that came quicker.
    EXPECT_LE(std::abs(int32_t(stamps.back() - uint32_t(uint64_t(wall)))), 1000);
}

TEST(Cp1254, TurkishLettersAndPunctuation)
{
    const QString text = QString::fromUtf8("ĞğİıŞşÇçÖöÜü €’…");
    const QByteArray bytes = ToCp1254(text);
    EXPECT_EQ(bytes, Hex("D0F0DDFDDEFEC7E7D6F6DCFC20809285"));
    EXPECT_EQ(FromCp1254(bytes), text);
    EXPECT_EQ(ToCp1254(QString::fromUtf8("a\u4E2Db😀c")), QByteArray("a?b?c"));
}

TEST(Cp1254, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = FromCp1254(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(ToCp1254(text), all);
}

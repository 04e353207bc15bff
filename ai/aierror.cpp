// The computer player's failure report: a snapshot of the record in "_error.rvo", then a
// message with five beeps through the program's notifier.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "computerplayer.h"
#include "notify.h"

const char* const kAIErrorFile = "_error.rvo";

namespace {

// Writes the record next to the snapshot and renames it over the old one, so that a
// failed write never leaves a partial file in its place. Failures are silent.
void SaveSnapshot(const TGameInfo& g)
{
    const std::string temp = std::string(kAIErrorFile) + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return;
    bool ok = std::fwrite(&g, 1, sizeof g, f) == sizeof g;
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (ok)
        std::filesystem::rename(temp, kAIErrorFile, ec);
    if (!ok || ec)
        std::filesystem::remove(temp, ec);
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Code page 1254 from 0x80 to 0x9F; 0xFFFD where the code page has no character.
constexpr char16_t kHigh1254[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0xFFFD, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0xFFFD, 0x0178,
};

char32_t From1254(unsigned char b)
{
    switch (b) {
    case 0xD0: return 0x011E; // Ğ
    case 0xDD: return 0x0130; // İ
    case 0xDE: return 0x015E; // Ş
    case 0xF0: return 0x011F; // ğ
    case 0xFD: return 0x0131; // ı
    case 0xFE: return 0x015F; // ş
    default: break;
    }
    if (b >= 0x80 && b < 0xA0)
        return kHigh1254[b - 0x80];
    return b;
}

} // namespace

std::string NameToUtf8(const std::string& cp1254)
{
    std::string out;
    for (char ch : cp1254)
        AppendUtf8(out, From1254(static_cast<unsigned char>(ch)));
    return out;
}

std::string AIErrorMessage(const std::string& text)
{
    return text + "\r\r" + "Hatadan önceki son durum '_Error.rvo' dosyasına kaydedildi\r" +
           "bu dosyayı programın yazarına gönderirseniz hatanın nedeni araştırılacaktır.";
}

void ReportAIError(const TComputerPlayer& p, const std::string& text)
{
    if (p.Game)
        SaveSnapshot(*p.Game);
    Notify(AIErrorMessage(text), 5);
}

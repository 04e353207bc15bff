// The computer player's failure report: a snapshot of the record in "_error.rvo", then a
// message with five beeps through the program's notifier.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "codepage1254.h"
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

} // namespace

std::string NameToUtf8(const std::string& cp1254)
{
    return Cp1254ToUtf8(cp1254);
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

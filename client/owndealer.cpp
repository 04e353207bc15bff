#include "owndealer.h"

#include <QCoreApplication>

#include "dealerlevel.h"
#include "gamefiles.h"
#include "prompts.h"
#include "regeasy.h"
#include "settings.h"
#include "statusline.h"
#include "ustasource.h"

TOwnDealer::TOwnDealer(const TSettings& settings, QObject* parent) : QObject(parent), settings_(settings)
{
    connect(&settings_, &TSettings::changed, this, &TOwnDealer::SettingChanged);
}

TOwnDealer::~TOwnDealer() = default;

bool TOwnDealer::Start()
{
    dealer_.reset();
    TDealerOptions options = options_;
    const int chosen = ReadRegInteger(kRegKey, kRegDealerPort, 0);
    options.Port = port_ == kGamePort && chosen > 0 && chosen <= 65535 ? quint16(chosen) : port_;
    portTried_ = options.Port;
    options.Quick = settings_.Quick();
    options.OpenHands = options.OpenHands || settings_.OpenHands();
    if (!options.ComputerLevel && settings_.ComputerLevel() == TComputerLevel::Usta)
        ::SetComputerLevel(options, TComputerLevel::Usta);
    dealer_ = std::make_unique<TDealerThread>(options);
    return dealer_->Listening();
}

void TOwnDealer::Stop() { dealer_.reset(); }

bool TOwnDealer::WriteGame(const QString& path, const TGameInfo& g) { return WriteGameFile(path, g); }

bool TOwnDealer::ReadGame(const QString& path, TGameInfo& g) { return ReadGameFile(path, g); }

void TOwnDealer::SettingChanged()
{
    // "Hızlı" changes the running timers of the dealer at once; its computer seats play at
    // the new level from their next move on, and seats filled from now on carry its name.
    if (!dealer_)
        return;
    dealer_->ApplyQuick(settings_.Quick());
    TRandom& random = options_.Random ? *options_.Random : GameRandom();
    dealer_->SetMoveSource(MakeLevelSource(settings_.ComputerLevel(), random));
    dealer_->SetComputerName(ComputerSeatName(settings_.ComputerLevel()));
}

void TOwnDealer::ChoosePort(QWidget* window, TUserPrompts& prompts, TStatusLine& status)
{
    const int now = ReadRegInteger(kRegKey, kRegDealerPort, kGamePort);
    TPromptReply* line = prompts.AskLine(
        window, QCoreApplication::translate("TOwnDealer", "Masayı bu programda kurarken kullanılacak port (şu an %1, olağanı %2). "
                               "Katılanlar adrese \":port\" ekler.")
                    .arg(now)
                    .arg(kGamePort));
    connect(line, &TPromptReply::finished, this, [window, &prompts, &status](TPromptAnswer answer, const QString& text) {
        if (answer != TPromptAnswer::Yes)
            return;
        bool ok = false;
        const uint port = text.trimmed().toUInt(&ok);
        if (!ok || port < 1 || port > 65535) {
            prompts.Inform(window, QCoreApplication::translate("TOwnDealer", "Port 1 ile 65535 arasında bir sayı olmalı."));
            return;
        }
        WriteRegInteger(kRegKey, kRegDealerPort, int(port));
        status.SetText(QCoreApplication::translate("TOwnDealer", "Dağıtıcı bundan sonra %1 numaralı portu kullanacak.").arg(port));
    });
}

// The dealer this copy of the program runs when its user deals: started on the port chosen
// in "Ayarlar" ("Dağıtıcının portu...", kept as "DealerPort"), told at once when "Hızlı" or
// the computer's level changes, and the whole record for "Kaydet". The program's own user
// joins it through "localhost" like everyone else. Its game files are the ones "Kaydet"
// and "Yükle" write and read on the user's disk.
#pragma once

#include <QObject>

#include <memory>

#include "dealerthread.h"
#include "savegame.h"

class QWidget;
class TSettings;
class TStatusLine;
class TUserPrompts;

class TOwnDealer : public QObject, public TGameFilePort {
    Q_OBJECT
public:
    TOwnDealer(const TSettings& settings, QObject* parent = nullptr);
    ~TOwnDealer() override;

    // The dealer's settings beyond the port and "Hızlı" (tests shorten the pacing and
    // choose where "LastHand.rvo" goes).
    void SetOptions(const TDealerOptions& options) { options_ = options; }
    // The port to deal on; the game port means the one chosen in "Ayarlar", if any.
    void SetPort(quint16 port) { port_ = port; }

    // Starts a new dealer in place of the last one; false when another program holds its
    // port (PortTried() names it).
    bool Start();
    void Stop();
    quint16 PortTried() const { return portTried_; }
    TDealerThread* Thread() const { return dealer_.get(); }
    // "Dağıtıcının portu...": asks for the port of the next start and keeps it.
    void ChoosePort(QWidget* window, TUserPrompts& prompts, TStatusLine& status);

    bool WriteGame(const QString& path, const TGameInfo& g) override;
    bool ReadGame(const QString& path, TGameInfo& g) override;

private:
    void SettingChanged();

    const TSettings& settings_;
    TDealerOptions options_;
    quint16 port_ = kGamePort;
    quint16 portTried_ = 0;
    std::unique_ptr<TDealerThread> dealer_;
};

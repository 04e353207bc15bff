// The main window's menu bar as typed members. The check marks of "Ayarlar" are bound to
// the settings both ways: a toggle sets the setting, a changed setting sets the mark; no
// check mark is read anywhere else. The commands' triggered signals are connected by
// whoever carries them out.
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class TSettings;

class TMenus : public QObject {
    Q_OBJECT
public:
    TMenus(QMenuBar* bar, TSettings& settings);

    // "&Oyun": the commands of the table's host.
    QMenu* Game;
    QAction* Start;        // "&Başla" (also F2)
    QAction* ComputerOnce; // "Sadece bunu bilgisayar oynasın"
    QAction* Hint;         // "İpucu" (also H)
    QAction* NewGame;      // "&Yeni"
    QAction* Save;         // "Kaydet"
    QAction* Load;         // "Yükle"
    QAction* Quit;         // "Oyundan Çık"
    // "Bağlantı", never shown.
    QMenu* Connection;
    QAction* Reconnect;      // "Yeni Bir Oyuna Bağlan"
    QAction* StopReconnecting; // "Yeniden bağlanmayı durdur": while a dropped connection is tried again
    QAction* WaitForPlayers; // "Yeni Oyuncuları Bekle"
    QAction* HowToPlay;      // "Nasıl Oynamak Istersin"
    // "Ayarlar": bound to the settings.
    QAction* Sound;          // "Sesli"
    QAction* ComputerAlways; // "Yerime daima bilgisayar oynasın"
    QAction* Quick;          // "Hızlı"
    QAction* Clockwise;      // "Oyun saat yönünde döner"
    QAction* SingleCard;     // "Tek kartı kendisi oynasın"
    QAction* OpenHands;      // "Dağıtıcı her oyuncuya dört eli de göndersin"
    QAction* DealerPort;     // "Dağıtıcının portu..."
    QAction* Acemi;          // "Bilgisayar seviyesi" > "Acemi"
    QAction* Usta;           // "Bilgisayar seviyesi" > "Usta"
    QAction* Turkish;        // "Dil" > "Türkçe": kept in the settings, taken at the next start
    QAction* English;        // "Dil" > "English"
    // "Pencere".
    QAction* ScoreWindow;   // "&Puan Tablosu"
    QAction* PenaltyWindow; // "&Alınan Kağıtlar"
    QAction* Lists;         // "En'ler"
    // "&Yardım".
    QAction* HelpTopics; // "Yardım başlıkları" (also F1)
    QAction* About;      // "Program hakkında"

    // The dealer's commands are the host's: "Oyun" and "Yeni Oyuncuları Bekle".
    void SetHost(bool host);

private:
    void ShowSettings();

    TSettings& settings_;
};

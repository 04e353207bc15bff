#include "menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "settings.h"

namespace {

QAction* Item(QMenu* menu, const QString& caption, const char* name, bool checkable = false)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    return a;
}

} // namespace

TMenus::TMenus(QMenuBar* bar, TSettings& settings) : QObject(bar), settings_(settings)
{
    Game = bar->addMenu(QStringLiteral("&Oyun"));
    Start = Item(Game, QStringLiteral("&Başla"), "Bala1");
    ComputerOnce = Item(Game, QStringLiteral("Sadece bunu bilgisayar oynasın"), "Bunubilgisayaroynasn1");
    Hint = Item(Game, QStringLiteral("İpucu"), "pucu1");
    Hint->setShortcut(QKeySequence(Qt::Key_H));
    Game->addSeparator()->setObjectName(QStringLiteral("N1"));
    NewGame = Item(Game, QStringLiteral("&Yeni"), "Yeni1");
    Save = Item(Game, QStringLiteral("Kaydet"), "Kaydet1");
    Load = Item(Game, QStringLiteral("Yükle"), "Ykle1");
    Game->addSeparator()->setObjectName(QStringLiteral("N2"));
    Quit = Item(Game, QStringLiteral("Oyundan Çık"), "k1");
    Game->setEnabled(false); // the start flow enables it in the dealer's copy

    Connection = bar->addMenu(QStringLiteral("Bağlantı"));
    Reconnect = Item(Connection, QStringLiteral("Yeni Bir Oyuna Bağlan"), "YenidenBalan1");
    WaitForPlayers = Item(Connection, QStringLiteral("Yeni Oyuncuları Bekle"), "YeniOyuncularBekle1");
    HowToPlay = Item(Connection, QStringLiteral("Nasıl Oynamak Istersin"), "NaslOynamakIstersin1");
    // Shown: connecting again, or the start flow's choice (the dealer or another table),
    // after a join that failed, a full table or a closed address window.

    QMenu* ayarlar = bar->addMenu(QStringLiteral("Ayarlar"));
    Sound = Item(ayarlar, QStringLiteral("Sesli"), "Sesli1", true);
    ComputerAlways = Item(ayarlar, QStringLiteral("Yerime daima bilgisayar oynasın"), "Yerimebilgisayaroynasn1", true);
    Quick = Item(ayarlar, QStringLiteral("Hızlı"), "Hzl1", true);
    Clockwise = Item(ayarlar, QStringLiteral("Oyun saat yönünde döner"), "Oyunsaatynndedner1", true);
    SingleCard = Item(ayarlar, QStringLiteral("Tek kartı kendisi oynasın"), "Tekkartkendisioynasn1", true);
    // For programs that need every hand in every record: the program's own dealer sends
    // all four hands to every player. The table itself looks the same.
    OpenHands = Item(ayarlar, QStringLiteral("Dağıtıcı her oyuncuya dört eli de göndersin"), "Elleracik1", true);
    OpenHands->setToolTip(QStringLiteral("Masada kağıtlar yine kapalı görünür; yalnızca bütün elleri isteyen "
                                         "programlar için (bir sonraki masadan itibaren)"));
    DealerPort = Item(ayarlar, QStringLiteral("Dağıtıcının portu..."), "Dagiticininportu1");
    QMenu* seviye = ayarlar->addMenu(QStringLiteral("Bilgisayar seviyesi"));
    seviye->setObjectName(QStringLiteral("Bilgisayarseviyesi1"));
    auto* levels = new QActionGroup(seviye);
    Acemi = levels->addAction(Item(seviye, QStringLiteral("Acemi"), "Acemi1", true));
    Usta = levels->addAction(Item(seviye, QStringLiteral("Usta"), "Usta1", true));

    QMenu* pencere = bar->addMenu(QStringLiteral("Pencere"));
    ScoreWindow = Item(pencere, QStringLiteral("&Puan Tablosu"), "Skor1");
    PenaltyWindow = Item(pencere, QStringLiteral("&Alınan Kağıtlar"), "ddd1");
    Lists = Item(pencere, QStringLiteral("En'ler"), "Enyiler1");

    QMenu* yardim = bar->addMenu(QStringLiteral("&Yardım"));
    HelpTopics = Item(yardim, QStringLiteral("Yardım başlıkları"), "Yardm1");
    About = Item(yardim, QStringLiteral("Program hakkında"), "Programhakknda1");

    // The marks follow the settings, and the user's toggles go into them.
    ShowSettings();
    connect(&settings_, &TSettings::changed, this, &TMenus::ShowSettings);
    connect(Sound, &QAction::toggled, &settings_, &TSettings::SetSound);
    connect(ComputerAlways, &QAction::toggled, &settings_, &TSettings::SetComputerPlayer);
    connect(Quick, &QAction::toggled, &settings_, &TSettings::SetQuick);
    connect(Clockwise, &QAction::toggled, &settings_, &TSettings::SetClockwise);
    connect(SingleCard, &QAction::toggled, &settings_, &TSettings::SetPlaySingleCard);
    connect(OpenHands, &QAction::toggled, &settings_, &TSettings::SetOpenHands);
    connect(Acemi, &QAction::triggered, this, [this] { settings_.SetComputerLevel(TComputerLevel::Acemi); });
    connect(Usta, &QAction::triggered, this, [this] { settings_.SetComputerLevel(TComputerLevel::Usta); });
}

void TMenus::ShowSettings()
{
    Sound->setChecked(settings_.Sound());
    ComputerAlways->setChecked(settings_.ComputerPlayer());
    Quick->setChecked(settings_.Quick());
    Clockwise->setChecked(settings_.Clockwise());
    SingleCard->setChecked(settings_.PlaySingleCard());
    OpenHands->setChecked(settings_.OpenHands());
    Acemi->setChecked(settings_.ComputerLevel() == TComputerLevel::Acemi);
    Usta->setChecked(settings_.ComputerLevel() == TComputerLevel::Usta);
    // The computer makes the user's moves already: nothing to ask of it once.
    ComputerOnce->setEnabled(!settings_.ComputerPlayer());
}

void TMenus::SetHost(bool host)
{
    // At a table every player has the hint, the computer's one move and leaving; only the
    // host starts, deals anew, saves, loads and waits for new players.
    Game->setEnabled(true);
    for (QAction* a : {Start, NewGame, Save, Load, WaitForPlayers})
        a->setEnabled(host);
}

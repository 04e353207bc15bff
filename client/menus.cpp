#include "menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "language.h"
#include "prompts.h"
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
    Game = bar->addMenu(tr("&Oyun"));
    Start = Item(Game, tr("&Başla"), "Bala1");
    ComputerOnce = Item(Game, tr("Sadece bunu bilgisayar oynasın"), "Bunubilgisayaroynasn1");
    Hint = Item(Game, tr("İpucu"), "pucu1");
    Hint->setShortcut(QKeySequence(Qt::Key_H));
    Game->addSeparator()->setObjectName(QStringLiteral("N1"));
    NewGame = Item(Game, tr("&Yeni"), "Yeni1");
    Save = Item(Game, tr("Kaydet"), "Kaydet1");
    Load = Item(Game, tr("Yükle"), "Ykle1");
    Game->addSeparator()->setObjectName(QStringLiteral("N2"));
    Quit = Item(Game, tr("Oyundan Çık"), "k1");
    Game->setEnabled(false); // the start flow enables it in the dealer's copy

    Connection = bar->addMenu(tr("Bağlantı"));
    Reconnect = Item(Connection, tr("Yeni Bir Oyuna Bağlan"), "YenidenBalan1");
    StopReconnecting = Item(Connection, tr("Yeniden bağlanmayı durdur"), "YenidenBaglanmayiDurdur1");
    WaitForPlayers = Item(Connection, tr("Yeni Oyuncuları Bekle"), "YeniOyuncularBekle1");
    HowToPlay = Item(Connection, tr("Nasıl Oynamak Istersin"), "NaslOynamakIstersin1");
    // Shown: connecting again, or the start flow's choice (the dealer or another table),
    // after a join that failed, a full table or a closed address window.

    QMenu* ayarlar = bar->addMenu(tr("Ayarlar"));
    Sound = Item(ayarlar, tr("Sesli"), "Sesli1", true);
    ComputerAlways = Item(ayarlar, tr("Yerime daima bilgisayar oynasın"), "Yerimebilgisayaroynasn1", true);
    Quick = Item(ayarlar, tr("Hızlı"), "Hzl1", true);
    Clockwise = Item(ayarlar, tr("Oyun saat yönünde döner"), "Oyunsaatynndedner1", true);
    SingleCard = Item(ayarlar, tr("Tek kartı kendisi oynasın"), "Tekkartkendisioynasn1", true);
    // For programs that need every hand in every record: the program's own dealer sends
    // all four hands to every player. The table itself looks the same.
    OpenHands = Item(ayarlar, tr("Dağıtıcı her oyuncuya dört eli de göndersin"), "Elleracik1", true);
    OpenHands->setToolTip(tr("Masada kağıtlar yine kapalı görünür; yalnızca bütün elleri isteyen "
                             "programlar için (bir sonraki masadan itibaren)"));
    DealerPort = Item(ayarlar, tr("Dağıtıcının portu..."), "Dagiticininportu1");
    QMenu* seviye = ayarlar->addMenu(tr("Bilgisayar seviyesi"));
    seviye->setObjectName(QStringLiteral("Bilgisayarseviyesi1"));
    auto* levels = new QActionGroup(seviye);
    Acemi = levels->addAction(Item(seviye, QStringLiteral("Acemi"), "Acemi1", true));
    Usta = levels->addAction(Item(seviye, QStringLiteral("Usta"), "Usta1", true));
    // The language, by its own name in either; it changes at the next start, when every
    // window is made in it.
    QMenu* dil = ayarlar->addMenu(tr("Dil"));
    dil->setObjectName(QStringLiteral("Dil1"));
    auto* languages = new QActionGroup(dil);
    Turkish = languages->addAction(Item(dil, QStringLiteral("Türkçe"), "Turkce1", true));
    English = languages->addAction(Item(dil, QStringLiteral("English"), "English1", true));
    const auto choose = [this](TLanguage language) {
        settings_.SetLanguage(language);
        if (language != CurrentLanguage())
            TUserPrompts::Notice(nullptr, tr("Dil, program yeniden başlatılınca değişir."));
    };
    connect(Turkish, &QAction::triggered, this, [choose] { choose(TLanguage::Turkish); });
    connect(English, &QAction::triggered, this, [choose] { choose(TLanguage::English); });

    QMenu* pencere = bar->addMenu(tr("Pencere"));
    ScoreWindow = Item(pencere, tr("&Puan Tablosu"), "Skor1");
    PenaltyWindow = Item(pencere, tr("&Alınan Kağıtlar"), "ddd1");
    Lists = Item(pencere, tr("En'ler"), "Enyiler1");

    QMenu* yardim = bar->addMenu(tr("&Yardım"));
    HelpTopics = Item(yardim, tr("Yardım başlıkları"), "Yardm1");
    About = Item(yardim, tr("Program hakkında"), "Programhakknda1");

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
    (settings_.Language() == TLanguage::English ? English : Turkish)->setChecked(true);
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

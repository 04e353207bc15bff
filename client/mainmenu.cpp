// The main window's menu bar, its function keys and the chat button.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "dealerthread.h"
#include "mainform.h"
#include "prompts.h"
#include "regeasy.h"
#include "savegame.h"
#include "sounds.h"

void TMainForm::CreateMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const QString& caption, const char* name, auto handler,
                       bool checkable = false) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(checkable);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    QMenu* oyun = bar->addMenu(QStringLiteral("&Oyun"));
    item(oyun, QStringLiteral("&Başla"), "Bala1", [this] { Bala1Click(); });
    item(oyun, QStringLiteral("Sadece bunu bilgisayar oynasın"), "Bunubilgisayaroynasn1",
         [this] { Bunubilgisayaroynasn1Click(); });
    item(oyun, QStringLiteral("İpucu"), "pucu1", [this] { Ipucu1Click(); })
        ->setShortcut(QKeySequence(Qt::Key_H));
    oyun->addSeparator()->setObjectName(QStringLiteral("N1"));
    item(oyun, QStringLiteral("&Yeni"), "Yeni1", [this] { Yeni1Click(); });
    item(oyun, QStringLiteral("Kaydet"), "Kaydet1", [this] { Kaydet1Click(); });
    item(oyun, QStringLiteral("Yükle"), "Ykle1", [this] { Ykle1Click(); });
    oyun->addSeparator()->setObjectName(QStringLiteral("N2"));
    item(oyun, QStringLiteral("Oyundan Çık"), "k1", [this] { k1Click(); });
    oyun->setEnabled(false); // the start flow enables it in the dealer's copy

    QMenu* baglanti = bar->addMenu(QStringLiteral("Bağlantı"));
    item(baglanti, QStringLiteral("Yeni Bir Oyuna Bağlan"), "YenidenBalan1",
         [this] { YenidenBalan1Click(); });
    item(baglanti, QStringLiteral("Yeni Oyuncuları Bekle"), "YeniOyuncularBekle1",
         [this] { YeniOyuncularBekle1Click(); });
    item(baglanti, QStringLiteral("Nasıl Oynamak Istersin"), "NaslOynamakIstersin1",
         [this] { NaslOynamakIstersin1Click(); });
    // Connecting again, or the start flow's choice (the dealer or another table), after a
    // join that failed, a full table or a closed address window.

    QMenu* ayarlar = bar->addMenu(QStringLiteral("Ayarlar"));
    item(ayarlar, QStringLiteral("Sesli"), "Sesli1", [this] { Sesli1Click(); }, true);
    item(ayarlar, QStringLiteral("Yerime daima bilgisayar oynasın"), "Yerimebilgisayaroynasn1",
         [this] { Yerimebilgisayaroynasn1Click(); }, true);
    item(ayarlar, QStringLiteral("Hızlı"), "Hzl1", [this] { Hzl1Click(); }, true);
    item(ayarlar, QStringLiteral("Oyun saat yönünde döner"), "Oyunsaatynndedner1",
         [this] { Oyunsaatynndedner1Click(); }, true);
    item(ayarlar, QStringLiteral("Tek kartı kendisi oynasın"), "Tekkartkendisioynasn1",
         [this] { Tekkartkendisioynasn1Click(); }, true);
    // For programs that need every hand in every record: the program's own dealer sends
    // all four hands to every player. The table itself looks the same.
    item(ayarlar, QStringLiteral("Dağıtıcı her oyuncuya dört eli de göndersin"), "Elleracik1", [this] {
        WriteRegBool(kRegKey, kRegOpenHands, IsChecked("Elleracik1"));
    }, true);
    Action("Elleracik1")->setToolTip(
        QStringLiteral("Masada kağıtlar yine kapalı görünür; yalnızca bütün elleri isteyen programlar "
                       "için (bir sonraki masadan itibaren)"));
    item(ayarlar, QStringLiteral("Dağıtıcının portu..."), "Dagiticininportu1", [this] { ChooseDealerPort(); });
    QMenu* seviye = ayarlar->addMenu(QStringLiteral("Bilgisayar seviyesi"));
    seviye->setObjectName(QStringLiteral("Bilgisayarseviyesi1"));
    auto* levels = new QActionGroup(seviye);
    levels->addAction(item(seviye, QStringLiteral("Acemi"), "Acemi1",
                           [this] { SetComputerLevel(TComputerLevel::Acemi); }, true));
    levels->addAction(item(seviye, QStringLiteral("Usta"), "Usta1",
                           [this] { SetComputerLevel(TComputerLevel::Usta); }, true));
    SetChecked("Acemi1", true);
    // The marks of the window's design; the stored settings replace them at the first
    // activation, before the user sees the window.
    SetChecked("Sesli1", true);
    SetChecked("Yerimebilgisayaroynasn1", true);
    SetChecked("Hzl1", true);

    QMenu* pencere = bar->addMenu(QStringLiteral("Pencere"));
    item(pencere, QStringLiteral("&Puan Tablosu"), "Skor1", [this] {
        if (QWidget* w = side_.ScoreWindow()) {
            w->showNormal();
            w->raise();
        }
    });
    item(pencere, QStringLiteral("&Alınan Kağıtlar"), "ddd1", [this] {
        if (QWidget* w = side_.PenaltyWindow()) {
            w->showNormal();
            w->raise();
        }
    });
    item(pencere, QStringLiteral("En'ler"), "Enyiler1", [this] { side_.ShowHigh(); });

    QMenu* yardim = bar->addMenu(QStringLiteral("&Yardım"));
    item(yardim, QStringLiteral("Yardım başlıkları"), "Yardm1", [this] { Yardm1Click(); });
    item(yardim, QStringLiteral("Program hakkında"), "Programhakknda1", [this] { side_.ShowAbout(); });
}

QAction* TMainForm::Action(const char* componentName) const
{
    return menuBar()->findChild<QAction*>(QString::fromLatin1(componentName));
}

QMenu* TMainForm::Menu(const char* title) const
{
    for (QAction* a : menuBar()->actions())
        if (a->menu() && a->text() == QString::fromUtf8(title))
            return a->menu();
    return nullptr;
}

void TMainForm::SetChecked(const char* componentName, bool on) { Action(componentName)->setChecked(on); }

bool TMainForm::IsChecked(const char* componentName) const { return Action(componentName)->isChecked(); }

bool TMainForm::Clockwise() const { return IsChecked("Oyunsaatynndedner1"); }

// ---- "Oyun" ----

void TMainForm::Bala1Click()
{
    if (session_.IsHost() && session_.NamedSeat < 3)
        session_.SendStartNow();
}

void TMainForm::Bunubilgisayaroynasn1Click() { ComputerPlaysForMe(); }

// A game that a new or loaded one would throw away.
bool TMainForm::GameInProgress() const
{
    const uint8_t phase = session_.Record().Phase;
    return phase == psChoosing || phase == psPlaying || phase == psTrickComplete;
}

bool TMainForm::ConfirmDroppingGame(const QString& question)
{
    return !GameInProgress() ||
           prompts_->Ask(this, QStringLiteral("Oyun devam ediyor...\n\n") + question);
}

void TMainForm::Yeni1Click()
{
    if (!ConfirmDroppingGame(QStringLiteral("Bu oyunu bırakıp yeni bir oyuna başlamak istediğinden emin misin?")))
        return;
    StopCheer();
    session_.SendNewGame();
}

void TMainForm::Kaydet1Click() { SaveGame(); }

bool TMainForm::SaveGame()
{
    // The dealer's own record is the whole game; a seat's copy may not show the other hands.
    if (dealer_)
        return SaveGameInteractive(this, *prompts_, dealer_->GameInfo());
    if (session_.DealerKeepsGames()) {
        const std::optional<QString> name = prompts_->AskLine(this, QStringLiteral("Oyunun adı:"));
        if (!name || name->trimmed().isEmpty())
            return false;
        session_.SendSaveGame(name->trimmed());
        return true;
    }
    return SaveGameInteractive(this, *prompts_, session_.Record());
}

void TMainForm::Ykle1Click() { LoadGame(false); }

void TMainForm::LoadGame(bool newGameOnCancel)
{
    if (!ConfirmDroppingGame(QStringLiteral("Bu oyunu bırakıp kaydedilmiş bir oyunu yüklemek istediğinden emin misin?")))
        return;
    if (!dealer_ && session_.DealerKeepsGames()) {
        // The dealer lists its saved games; the choice follows when the list arrives.
        loadNewGameOnCancel_ = newGameOnCancel;
        session_.SendListGames();
        return;
    }
    TGameInfo loaded;
    switch (LoadGameInteractive(this, *prompts_, loaded)) {
    case TLoadOutcome::Loaded:
        session_.SendGameRecord(loaded);
        break;
    case TLoadOutcome::Cancelled:
        // From the menu the game in progress stays; at a complete table a game must start.
        if (newGameOnCancel) {
            Inform(QStringLiteral("Oyun yüklenmedi: yeni oyun başlıyor"));
            session_.SendNewGame();
        }
        break;
    case TLoadOutcome::Unreadable:
        break;
    }
}

void TMainForm::k1Click()
{
    if (!ConfirmLeaving())
        return;
    leaving_ = true; // asked already: the close box's question is not asked again
    close();
    leaving_ = false;
}

bool TMainForm::ConfirmLeaving()
{
    // Before any game and once it is over nothing is lost.
    if (!GameInProgress() || session_.MySeat < 0)
        return true;
    if (!session_.IsHost())
        return prompts_->Ask(this, QStringLiteral("Oyun devam ediyor...\n\nÇıkarsan yerine bilgisayar oynar. "
                                                  "Çıkmak istediğinden emin misin?"));
    // Yes: out without saving; No: saved, then out; "Oyuna dön" (or Escape): back to the
    // game, and so is a save that was cancelled.
    QString question = QStringLiteral("Oyun devam ediyor...\r\rKaydetmeden çıkmak istediğinden emin misin? ")
                           .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (session_.IsDealer)
        question += QStringLiteral("\n\nMasa bu programda: çıkarsan diğer oyuncular için de oyun biter.");
    const TUserPrompts::TAnswer answer = prompts_->AskOrBack(this, question);
    if (answer == TUserPrompts::TAnswer::Back)
        return false;
    return answer == TUserPrompts::TAnswer::Yes || SaveGame();
}

// ---- "Bağlantı" ----

void TMainForm::SetHostCommands(bool host)
{
    // At a table every player has the hint, the computer's one move and leaving; only the
    // host starts, deals anew, saves, loads and waits for new players.
    Menu("&Oyun")->setEnabled(true);
    for (const char* name : {"Bala1", "Yeni1", "Kaydet1", "Ykle1", "YeniOyuncularBekle1"})
        Action(name)->setEnabled(host);
}

void TMainForm::YenidenBalan1Click()
{
    if (!ConfirmLeaving())
        return;
    session_.ForgetSeat(); // a connection closed on purpose is not offered back
    session_.Close();
    bool confirmed = false;
    const QString address = side_.RunConnect(&confirmed);
    if (confirmed) {
        SetDealerAddress(address);
        WriteRegString(kRegKey, kRegDealerAddress, address.trimmed());
    }
    session_.Open();
}

void TMainForm::YeniOyuncularBekle1Click()
{
    // The dealer frees every other seat and keeps this one with its connection: the table
    // fills again as a new one does, and the dealer tells how many players are missing.
    session_.SendWaitForPlayers();
    session_.NamedSeat = 0;
    session_.ResetRecord();
    for (int seat = 1; seat < kSeatCount; ++seat) {
        seatNames_[seat].clear();
        nameLabels_[RelativePosition(seat)]->clear();
    }
    UpdateTable();
    SetStatus(QStringLiteral("Diğerlerinin bağlanması bekleniyor..."));
}

void TMainForm::NaslOynamakIstersin1Click()
{
    if (ConfirmLeaving())
        StartFlow();
}

// ---- "Ayarlar" ----

void TMainForm::Sesli1Click()
{
    const bool on = IsChecked("Sesli1"); // the action has toggled its mark already
    sounds_->SetEnabled(on);
    WriteRegBool(kRegKey, kRegSound, on);
}

void TMainForm::Yerimebilgisayaroynasn1Click()
{
    const bool on = IsChecked("Yerimebilgisayaroynasn1");
    Action("Bunubilgisayaroynasn1")->setEnabled(!on);
    WriteRegBool(kRegKey, kRegComputerPlayer, on);
    // Switched on while the user is to act: the computer takes over now, not at the next record.
    if (on)
        timerComputerPlayerWait_->start();
    else
        timerComputerPlayerWait_->stop();
}

void TMainForm::Oyunsaatynndedner1Click()
{
    WriteRegBool(kRegKey, kRegClockwise, IsChecked("Oyunsaatynndedner1"));
}

void TMainForm::ChooseDealerPort()
{
    const int now = ReadRegInteger(kRegKey, kRegDealerPort, kGamePort);
    const std::optional<QString> line = prompts_->AskLine(
        this, QStringLiteral("Masayı bu programda kurarken kullanılacak port (şu an %1, olağanı %2). "
                             "Katılanlar adrese \":port\" ekler.")
                  .arg(now)
                  .arg(kGamePort));
    if (!line)
        return;
    bool ok = false;
    const uint port = line->trimmed().toUInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        Inform(QStringLiteral("Port 1 ile 65535 arasında bir sayı olmalı."));
        return;
    }
    WriteRegInteger(kRegKey, kRegDealerPort, int(port));
    SetStatus(QStringLiteral("Dağıtıcı bundan sonra %1 numaralı portu kullanacak.").arg(port));
}

void TMainForm::Hzl1Click() { ApplyQuick(false); /* the action has toggled its mark already */ }

void TMainForm::ApplyQuick(bool toggle)
{
    if (toggle)
        SetChecked("Hzl1", !IsChecked("Hzl1"));
    const bool quick = IsChecked("Hzl1");
    WriteRegBool(kRegKey, kRegQuick, quick);
    timerComputerPlayerWait_->setInterval(quick ? kQuickComputerWaitMs : kComputerWaitMs);
    // The dealer sets its four timers in their order: computer move, trick winner, trick
    // clear, and the trick resolution from the two before it.
    if (dealer_)
        dealer_->ApplyQuick(quick);
}

// ---- Chat, help and keys ----

void TMainForm::BitBtn1Click()
{
    if (session_.MySeat < 0) {
        Inform(QStringLiteral("Henüz bir masada değilsin: yazdığını okuyacak kimse yok."));
        return;
    }
    // A cancelled box sends nothing.
    if (const std::optional<QString> line = prompts_->AskLine(this, QStringLiteral("Ne dinonuz?")))
        session_.SendChatLine(*line);
}

void TMainForm::Yardm1Click() { side_.ShowHelp(); }

void TMainForm::keyReleaseEvent(QKeyEvent* e)
{
    if (HandleTrickInput(this, e))
        return;
    if (e->key() == Qt::Key_F2)
        Bala1Click();
    else if (e->key() == Qt::Key_F1)
        Yardm1Click();
    else
        QMainWindow::keyReleaseEvent(e);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == table_ && e->type() == QEvent::Resize)
        ApplyZoom();
    // Watched: the table, its trick cards, the messages and the chat button.
    if (HandleTrickInput(watched, e))
        return true;
    if (e->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_F1 || key == Qt::Key_F2) {
            keyReleaseEvent(static_cast<QKeyEvent*>(e));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

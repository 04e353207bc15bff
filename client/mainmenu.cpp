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
#include "ustasource.h"

void TMainForm::ConnectMenus()
{
    const TMenus& m = *menus_;
    auto on = [this](QAction* a, auto handler) { connect(a, &QAction::triggered, this, handler); };
    on(m.Start, &TMainForm::Bala1Click);
    on(m.ComputerOnce, &TMainForm::Bunubilgisayaroynasn1Click);
    on(m.Hint, &TMainForm::Ipucu1Click);
    on(m.NewGame, &TMainForm::Yeni1Click);
    on(m.Save, &TMainForm::Kaydet1Click);
    on(m.Load, &TMainForm::Ykle1Click);
    on(m.Quit, &TMainForm::k1Click);
    on(m.Reconnect, &TMainForm::YenidenBalan1Click);
    on(m.WaitForPlayers, &TMainForm::YeniOyuncularBekle1Click);
    on(m.HowToPlay, &TMainForm::NaslOynamakIstersin1Click);
    on(m.ScoreWindow, [this] {
        if (QWidget* w = side_.ScoreWindow()) {
            w->showNormal();
            w->raise();
        }
    });
    on(m.PenaltyWindow, [this] {
        if (QWidget* w = side_.PenaltyWindow()) {
            w->showNormal();
            w->raise();
        }
    });
    on(m.Lists, [this] { side_.ShowHigh(); });
    on(m.HelpTopics, &TMainForm::Yardm1Click);
    on(m.About, [this] { side_.ShowAbout(); });
}

void TMainForm::SettingChanged(TSettings::TKey key)
{
    switch (key) {
    case TSettings::TKey::Sound:
        sounds_->SetEnabled(settings_->Sound());
        break;
    case TSettings::TKey::ComputerPlayer:
        // Switched on while the user is to act: the computer takes over now, not at the next record.
        if (settings_->ComputerPlayer())
            timerComputerPlayerWait_->start();
        else
            timerComputerPlayerWait_->stop();
        break;
    case TSettings::TKey::Quick:
        ApplyQuick();
        break;
    case TSettings::TKey::PlaySingleCard:
        turnHelped_ = false; // switched on during the user's turn: that turn counts
        if (settings_->PlaySingleCard())
            HelpWithTurn();
        break;
    case TSettings::TKey::ComputerLevel:
        // The dealer's computer seats play at the new level from their next move on; seats
        // filled from now on carry its name.
        if (dealer_) {
            TRandom& random = dealerOptions_.Random ? *dealerOptions_.Random : GameRandom();
            dealer_->SetMoveSource(MakeLevelSource(settings_->ComputerLevel(), random));
            dealer_->SetComputerName(ComputerSeatName(settings_->ComputerLevel()));
        }
        break;
    default:
        break;
    }
}

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

void TMainForm::Kaydet1Click()
{
    // The dealer's own record is the whole game; a seat's copy may not show the other hands.
    if (dealer_)
        SaveGameInteractive(this, *prompts_, dealer_->GameInfo());
    else if (session_.DealerKeepsGames()) {
        if (const std::optional<QString> name = prompts_->AskLine(this, QStringLiteral("Oyunun adı:")))
            session_.SendSaveGame(name->trimmed());
    } else
        SaveGameInteractive(this, *prompts_, session_.Record());
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
    if (!session_.IsHost())
        return;
    // Before any game and once it is over nothing is lost: the window closes at once.
    const uint8_t phase = session_.Record().Phase;
    if (phase != psChoosing && phase != psPlaying && phase != psTrickComplete) {
        close();
        return;
    }
    // Yes: out without saving; No: saved, then out; "Oyuna dön" (or Escape): back to the game.
    const TUserPrompts::TAnswer answer = prompts_->AskOrBack(
        this, QStringLiteral("Oyun devam ediyor...\r\rKaydetmeden çıkmak istediğinden emin misin? ")
                  .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    if (answer == TUserPrompts::TAnswer::Back)
        return;
    if (answer == TUserPrompts::TAnswer::No)
        Kaydet1Click();
    close();
}

// ---- "Bağlantı" ----

void TMainForm::YenidenBalan1Click()
{
    session_.ForgetSeat(); // a connection closed on purpose is not offered back
    session_.Close();
    bool confirmed = false;
    const QString address = side_.RunConnect(&confirmed);
    if (confirmed) {
        session_.SetHost(address);
        WriteRegString(kRegKey, kRegDealerAddress, session_.Host());
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
    for (int seat = 1; seat < kSeatCount; ++seat)
        nameLabels_[seat]->clear();
    UpdateTable();
    SetStatus(QStringLiteral("Diğerlerinin bağlanması bekleniyor..."));
}

void TMainForm::NaslOynamakIstersin1Click() { StartFlow(); }

// ---- "Ayarlar" ----

void TMainForm::ApplyQuick()
{
    const bool quick = settings_->Quick();
    timerComputerPlayerWait_->setInterval(quick ? kQuickComputerWaitMs : kComputerWaitMs);
    // The dealer sets its four timers in their order: computer move, trick winner, trick
    // clear, and the trick resolution from the two before it.
    if (dealer_)
        dealer_->ApplyQuick(quick);
}

// ---- Chat, help and keys ----

void TMainForm::BitBtn1Click()
{
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

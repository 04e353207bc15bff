#include "commands.h"

#include "tablenews.h"

#include "connectform.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "dealertext.h"
#include "menus.h"
#include "prompts.h"
#include "reconnect.h"
#include "regeasy.h"
#include "savegame.h"
#include "seatmodel.h"
#include "session.h"
#include "sidewindows.h"
#include "statusline.h"
#include "sessionlink.h"
#include "tableview.h"

namespace {

QString SeatKeyName(const QString& host, quint16 port)
{
    return QStringLiteral("SeatKey %1 %2").arg(host.trimmed().toLower()).arg(port);
}

} // namespace

TGameCommands::TGameCommands(QWidget* window, TSession& session, TSessionLink& link, TGameFilePort& files, TSeatModel& model, TTableView& view,
                             TMenus& menus, TStatusLine& status, const TSideWindows& side, quint16 port)
    : QObject(window), window_(window), session_(session), link_(link), files_(files), model_(model), view_(view),
      menus_(menus), status_(status), side_(side), port_(port), reconnectClock_(new TTimerClock(this)),
      reconnector_(new TReconnector(session, *reconnectClock_, this))
{
    StartReconnecting(); // before the handlers below, which may forget the seat
    // The key of a seat held at this dealer before goes with the name, so that the seat
    // can be taken back from any address.
    connect(&session_, &TSession::connecting, this, [this] {
        session_.JoinKey = {};
        ReadRegBinary(kRegKey, SeatKeyName(session_.Host(), port_), session_.JoinKey.data(),
                      int(session_.JoinKey.size()));
    });
    for (auto [action, command] : {std::pair{menus_.Start, &TGameCommands::Start}, {menus_.NewGame, &TGameCommands::NewGame},
                                   {menus_.Save, &TGameCommands::Save}, {menus_.Load, &TGameCommands::Load},
                                   {menus_.Quit, &TGameCommands::Quit}, {menus_.Reconnect, &TGameCommands::Reconnect},
                                   {menus_.WaitForPlayers, &TGameCommands::WaitForPlayers}})
        connect(action, &QAction::triggered, this, command);
    connect(&session_, &TSession::joinAccepted, this, &TGameCommands::Joined);
    connect(&model_, &TSeatModel::changed, this, [this] {
        delete cheerDue_; // the balloons were for an older record
        if (model_.Record().Phase == psGameOver)
            GameOver();
    });
    // Questions that a message brings are opened, never run in a loop of their own.
    connect(&session_, &TSession::connectFailed, this, [this] {
        if (session_.IsDealer || reconnector_->Active())
            return;
        // The transport's own English text goes to the log only; the window says what
        // happened in one Turkish sentence.
        const QString reason = ConnectFailureText(link_.Failure(), DealerAddressText(), false);
        status_.SetText(reason);
        OfferConnectAgain(reason);
    });
    connect(&session_, &TSession::seatName, this, [this](int seat, const QString& name) {
        if (session_.IsHost() && seat == kSeatCount - 1 && !name.isEmpty())
            TableComplete();
    });
    connect(&session_, &TSession::gameList, this,
            [this](const QStringList& names) { ChooseHostedGame(names); });
    connect(&session_, &TSession::gameFileResult, this, [this](bool, const QString& text) {
        if (!text.isEmpty())
            prompts_->Inform(window_, DealerText(text));
    });
    connect(&session_, &TSession::tableFull, this, [this](const QString& reason) {
        prompts_->Inform(window_, reason.isEmpty() ? tr("Masada boş yer yok!") : DealerText(reason));
    });
    connect(&session_, &TSession::unknownPacket, this, [this] {
        prompts_->Inform(window_, tr("Player: Bilinmeyen bir paket alındı"));
    });
}

void TGameCommands::Joined()
{
    if (session_.Joined.HasKey())
        WriteRegBinary(kRegKey, SeatKeyName(session_.Host(), port_), session_.Joined.Key.data(),
                       int(session_.Joined.Key.size()));
    // The host of a table on another machine has the dealer's commands.
    if (session_.IsHost() && !session_.IsDealer)
        menus_.SetHost(true);
}

void TGameCommands::GameOver()
{
    // The same finished game sent again (a player who joins again after the end, a
    // finished game loaded twice) does not enter the lists twice.
    const TGameInfo& over = model_.Record();
    const QByteArray finished(reinterpret_cast<const char*>(&over), sizeof over);
    cheerDue_ = new QObject(this);
    if (finished == listedGame_)
        return Cheer();
    listedGame_ = finished;
    // The result first, then the lists, then the balloons.
    connect(prompts_->Tell(window_, GameResultText(over)), &TPromptReply::finished, this, [this, over] {
        QDialog* lists = side_.OfferFinishedGame(over);
        if (lists)
            connect(lists, &QDialog::finished, cheerDue_.data(), [this] { Cheer(); }, Qt::SingleShotConnection);
        else
            Cheer();
    });
}

void TGameCommands::Cheer()
{
    if (!cheerDue_)
        return;
    delete cheerDue_;
    view_.StartCheer();
}

void TGameCommands::TableComplete()
{
    const QString question = tr("Kare tamamlandı!\r\rYeni bir oyuna başlamak için 'Evet'\r"
                                            "Dosyadan yüklemek için 'Hayır'\rtuşuna bas...")
                                 .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    connect(prompts_->Ask(window_, question), &TPromptReply::finished, this, [this](TPromptAnswer fresh) {
        if (fresh == TPromptAnswer::Yes)
            session_.SendNewGame();
        else
            LoadGame(true);
    });
}

void TGameCommands::StartReconnecting()
{
    connect(reconnectClock_, &TTimerClock::tick, reconnector_, &TReconnector::Tick);
    menus_.StopReconnecting->setEnabled(false);
    connect(menus_.StopReconnecting, &QAction::triggered, reconnector_, &TReconnector::Stop);
    connect(reconnector_, &TReconnector::waiting, this, [this](int seconds) {
        menus_.StopReconnecting->setEnabled(true);
        status_.SetText(tr("Bağlantı koptu, yeniden bağlanılıyor (%1 sn)...").arg(seconds));
    });
    connect(reconnector_, &TReconnector::back, this, [this] { menus_.StopReconnecting->setEnabled(false); });
    connect(reconnector_, &TReconnector::stopped, this, [this] {
        menus_.StopReconnecting->setEnabled(false);
        status_.SetText(tr("Yeniden bağlanma durduruldu."));
    });
}

void TGameCommands::OfferConnectAgain(const QString& reason)
{
    // The connection window again, saying why: "OK" with an address tries that address;
    // closed any other way, the failure stays in the status bar.
    if (session_.Active() || !side_.Connect)
        return;
    side_.Connect->SetReason(reason);
    connect(side_.OpenConnect(), &TPromptReply::finished, this, [this](TPromptAnswer confirmed, const QString& address) {
        side_.Connect->SetReason(QString());
        if (confirmed != TPromptAnswer::Yes || session_.Active())
            return;
        SetDealerAddress(address);
        session_.Open();
    });
}

void TGameCommands::SetDealerAddress(const QString& text)
{
    const std::optional<TDealerAddress> address = ParseDealerAddress(text, port_);
    link_.SetAddress(address ? address->host : text.trimmed(), address ? address->port : port_);
}

QString TGameCommands::DealerAddressText() const
{
    const QString host = session_.Host();
    const quint16 port = link_.Port();
    if (port == kGamePort)
        return host;
    return (host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host) +
           QStringLiteral(":%1").arg(port);
}

void TGameCommands::Start()
{
    if (session_.IsHost() && session_.NamedSeat < kSeatCount - 1)
        session_.SendStartNow();
}

// A game that a new or loaded one would throw away.
bool TGameCommands::GameInProgress() const
{
    const uint8_t phase = model_.Record().Phase;
    return phase == psChoosing || phase == psPlaying || phase == psTrickComplete;
}

TPromptReply* TGameCommands::ConfirmDroppingGame(const QString& question)
{
    if (!GameInProgress())
        return TPromptReply::Given(TPromptAnswer::Yes);
    return prompts_->Ask(window_, tr("Oyun devam ediyor...\n\n") + question);
}

void TGameCommands::OnYes(TPromptReply* reply, void (TGameCommands::*next)())
{
    connect(reply, &TPromptReply::finished, this, [this, next](TPromptAnswer answer) {
        if (answer == TPromptAnswer::Yes)
            (this->*next)();
    });
}

void TGameCommands::NewGame()
{
    OnYes(ConfirmDroppingGame(tr("Bu oyunu bırakıp yeni bir oyuna başlamak istediğinden emin misin?")),
          &TGameCommands::StartNewGame);
}

void TGameCommands::StartNewGame()
{
    view_.StopCheer();
    session_.SendNewGame();
}

TPromptReply* TGameCommands::SaveGame()
{
    // The dealer's own record is the whole game; a seat's copy may not show the other hands.
    if (dealerRecord_)
        return SaveGameInteractive(window_, *prompts_, files_, *dealerRecord_, this);
    if (!session_.DealerKeepsGames())
        return SaveGameInteractive(window_, *prompts_, files_, model_.Record(), this);
    auto* saved = new TPromptReply(this);
    connect(prompts_->AskLine(window_, tr("Oyunun adı:")), &TPromptReply::finished, saved,
            [this, saved](TPromptAnswer answer, const QString& name) {
                if (answer != TPromptAnswer::Yes || name.trimmed().isEmpty())
                    return saved->Finish(TPromptAnswer::Back);
                session_.SendSaveGame(name.trimmed());
                saved->Finish(TPromptAnswer::Yes);
            });
    return saved;
}

void TGameCommands::Load() { LoadGame(false); }

void TGameCommands::LoadGame(bool newGameOnCancel)
{
    const QString question = tr("Bu oyunu bırakıp kaydedilmiş bir oyunu yüklemek istediğinden emin misin?");
    connect(ConfirmDroppingGame(question), &TPromptReply::finished, this, [this, newGameOnCancel](TPromptAnswer go) {
        if (go != TPromptAnswer::Yes)
            return;
        if (!dealerRecord_ && session_.DealerKeepsGames()) {
            // The dealer lists its saved games; the choice follows when the list arrives.
            loadNewGameOnCancel_ = newGameOnCancel;
            session_.SendListGames();
            return;
        }
        TPromptReply* loaded = LoadGameInteractive(window_, *prompts_, files_, loaded_, this);
        connect(loaded, &TPromptReply::finished, this, [this, newGameOnCancel](TPromptAnswer outcome) {
            if (outcome == TPromptAnswer::Yes)
                session_.SendGameRecord(loaded_);
            // From the menu the game in progress stays; at a complete table a game must start.
            else if (outcome == TPromptAnswer::Back && newGameOnCancel) {
                prompts_->Inform(window_, tr("Oyun yüklenmedi: yeni oyun başlıyor"));
                session_.SendNewGame();
            }
        });
    });
}

void TGameCommands::ChooseHostedGame(const QStringList& names)
{
    if (names.isEmpty()) {
        prompts_->Inform(window_, tr("Kayıtlı oyun yok."));
        return HostedGameChosen(false, QString());
    }
    connect(prompts_->AskChoice(window_, tr("Yüklenecek oyun:"), names), &TPromptReply::finished, this,
            [this](TPromptAnswer answer, const QString& name) { HostedGameChosen(answer == TPromptAnswer::Yes, name); });
}

void TGameCommands::HostedGameChosen(bool chosen, const QString& name)
{
    if (chosen)
        session_.SendLoadGame(name);
    else if (loadNewGameOnCancel_) {
        prompts_->Inform(window_, tr("Oyun yüklenmedi: yeni oyun başlıyor"));
        session_.SendNewGame();
    }
    loadNewGameOnCancel_ = false;
}

void TGameCommands::Quit() { OnYes(ConfirmLeaving(), &TGameCommands::Leave); }

void TGameCommands::Leave()
{
    leaving_ = true; // asked already: closing asks nothing more
    window_->close();
    leaving_ = false;
}

bool TGameCommands::LeavingLosesTheGame() const
{
    // Before any game and once it is over nothing is lost.
    return GameInProgress() && session_.Seated();
}

TPromptReply* TGameCommands::ConfirmLeaving()
{
    if (!LeavingLosesTheGame())
        return TPromptReply::Given(TPromptAnswer::Yes);
    if (!session_.IsHost())
        return prompts_->Ask(window_, tr("Oyun devam ediyor...\n\nÇıkarsan yerine bilgisayar oynar. "
                                                     "Çıkmak istediğinden emin misin?"));
    // Yes: out without saving; No: saved, then out; "Oyuna dön" (or Escape): back to the
    // game, and so is a save that was cancelled.
    QString question = tr("Oyun devam ediyor...\r\rKaydetmeden çıkmak istediğinden emin misin? ")
                           .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (session_.IsDealer)
        question += tr("\n\nMasa bu programda: çıkarsan diğer oyuncular için de oyun biter.");
    auto* leave = new TPromptReply(this);
    connect(prompts_->AskOrBack(window_, question), &TPromptReply::finished, leave, [this, leave](TPromptAnswer answer) {
        if (answer != TPromptAnswer::No)
            return leave->Finish(answer);
        connect(SaveGame(), &TPromptReply::finished, leave, [leave](TPromptAnswer saved) { leave->Finish(saved); });
    });
    return leave;
}

void TGameCommands::Reconnect() { OnYes(ConfirmLeaving(), &TGameCommands::ConnectElsewhere); }

void TGameCommands::ConnectElsewhere()
{
    reconnector_->Stop();
    session_.ForgetSeat(); // a connection closed on purpose is not taken up again
    session_.Close();
    connect(side_.OpenConnect(), &TPromptReply::finished, this, [this](TPromptAnswer confirmed, const QString& address) {
        if (confirmed == TPromptAnswer::Yes) {
            SetDealerAddress(address);
            WriteRegString(kRegKey, kRegDealerAddress, address.trimmed());
        }
        session_.Open();
    });
}

void TGameCommands::WaitForPlayers()
{
    // The dealer frees every other seat and keeps this one with its connection: the table
    // fills again as a new one does, and the dealer tells how many players are missing.
    session_.SendWaitForPlayers();
    session_.NamedSeat = 0;
    model_.Reset();
    view_.ClearSeatNames();
    status_.SetText(TStatusLine::WaitingText());
}

void TGameCommands::Chat()
{
    if (!session_.Seated()) {
        prompts_->Inform(window_, tr("Henüz bir masada değilsin: yazdığını okuyacak kimse yok."));
        return;
    }
    // A cancelled box sends nothing.
    connect(prompts_->AskLine(window_, tr("Ne dinonuz?")), &TPromptReply::finished, this,
            [this](TPromptAnswer answer, const QString& line) {
                if (answer == TPromptAnswer::Yes)
                    session_.SendChatLine(line);
            });
}

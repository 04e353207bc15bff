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
        ++recordsShown_;
        if (model_.Record().Phase == psGameOver)
            GameOver();
    });
    // Questions that a message brings are opened, never run in a loop of their own; those
    // about the connection wait until the socket's own handling is over.
    connect(&session_, &TSession::connectFailed, this, [this] {
        if (session_.IsDealer || reconnector_->Active())
            return;
        // The transport's own English text goes to the log only; the window says what
        // happened in one Turkish sentence.
        const QString reason = ConnectFailureText(link_.Failure(), DealerAddressText(), false);
        status_.SetText(reason);
        Later([this, reason] { OfferConnectAgain(reason); });
    });
    connect(&session_, &TSession::seatName, this, [this](int seat, const QString& name) {
        if (session_.IsHost() && seat == 3 && !name.isEmpty())
            TableComplete();
    });
    connect(&session_, &TSession::gameList, this,
            [this](const QStringList& names) { ChooseHostedGame(names); });
    connect(&session_, &TSession::gameFileResult, this, [this](bool, const QString& text) {
        if (!text.isEmpty())
            prompts_->Inform(window_, DealerText(text));
    });
    connect(&session_, &TSession::tableFull, this,
            [this] { prompts_->Inform(window_, tr("Masada boş yer yok!")); });
    connect(&session_, &TSession::unknownPacket, this, [this] {
        prompts_->Inform(window_, tr("Player: Bilinmeyen bir paket alındı"));
    });
}

void TGameCommands::Later(const std::function<void()>& action) { QTimer::singleShot(0, this, action); }

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
    // The lists window waits for the user, so it opens once this record has been handled
    // and drawn; the balloons fly after it is closed, unless another record came meanwhile.
    const int shown = recordsShown_;
    const TGameInfo over = model_.Record();
    Later([this, shown, over] {
        // The same finished game sent again (a player who joins again after the end, a
        // finished game loaded twice) does not enter the lists twice.
        const QByteArray finished(reinterpret_cast<const char*>(&over), sizeof over);
        if (finished != listedGame_) {
            listedGame_ = finished;
            // The result first, then the lists, then the balloons.
            prompts_->Tell(window_, GameResultText(over));
            side_.OfferFinishedGame(over);
        }
        if (shown == recordsShown_)
            view_.StartCheer();
    });
}

void TGameCommands::TableComplete()
{
    const QString question = tr("Kare tamamlandı!\r\rYeni bir oyuna başlamak için 'Evet'\r"
                                            "Dosyadan yüklemek için 'Hayır'\rtuşuna bas...")
                                 .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    prompts_->AskThen(window_, question, this, [this](bool fresh) {
        if (fresh)
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
    side_.OpenConnect(this, [this](bool confirmed, const QString& address) {
        side_.Connect->SetReason(QString());
        if (!confirmed || session_.Active())
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
    if (session_.IsHost() && session_.NamedSeat < 3)
        session_.SendStartNow();
}

// A game that a new or loaded one would throw away.
bool TGameCommands::GameInProgress() const
{
    const uint8_t phase = model_.Record().Phase;
    return phase == psChoosing || phase == psPlaying || phase == psTrickComplete;
}

bool TGameCommands::ConfirmDroppingGame(const QString& question)
{
    return !GameInProgress() || prompts_->Ask(window_, tr("Oyun devam ediyor...\n\n") + question);
}

void TGameCommands::NewGame()
{
    if (!ConfirmDroppingGame(tr("Bu oyunu bırakıp yeni bir oyuna başlamak istediğinden emin misin?")))
        return;
    view_.StopCheer();
    session_.SendNewGame();
}

bool TGameCommands::SaveGame()
{
    // The dealer's own record is the whole game; a seat's copy may not show the other hands.
    if (dealerRecord_)
        return SaveGameInteractive(window_, *prompts_, files_, *dealerRecord_);
    if (session_.DealerKeepsGames()) {
        const std::optional<QString> name = prompts_->AskLine(window_, tr("Oyunun adı:"));
        if (!name || name->trimmed().isEmpty())
            return false;
        session_.SendSaveGame(name->trimmed());
        return true;
    }
    return SaveGameInteractive(window_, *prompts_, files_, model_.Record());
}

void TGameCommands::Load() { LoadGame(false); }

void TGameCommands::LoadGame(bool newGameOnCancel)
{
    if (!ConfirmDroppingGame(tr("Bu oyunu bırakıp kaydedilmiş bir oyunu yüklemek istediğinden emin misin?")))
        return;
    if (!dealerRecord_ && session_.DealerKeepsGames()) {
        // The dealer lists its saved games; the choice follows when the list arrives.
        loadNewGameOnCancel_ = newGameOnCancel;
        session_.SendListGames();
        return;
    }
    TGameInfo loaded;
    switch (LoadGameInteractive(window_, *prompts_, files_, loaded)) {
    case TLoadOutcome::Loaded:
        session_.SendGameRecord(loaded);
        break;
    case TLoadOutcome::Cancelled:
        // From the menu the game in progress stays; at a complete table a game must start.
        if (newGameOnCancel) {
            prompts_->Inform(window_, tr("Oyun yüklenmedi: yeni oyun başlıyor"));
            session_.SendNewGame();
        }
        break;
    case TLoadOutcome::Unreadable:
        break;
    }
}

void TGameCommands::ChooseHostedGame(const QStringList& names)
{
    if (names.isEmpty()) {
        prompts_->Inform(window_, tr("Kayıtlı oyun yok."));
        return HostedGameChosen(std::nullopt);
    }
    prompts_->AskChoiceThen(window_, tr("Yüklenecek oyun:"), names, this,
                            [this](std::optional<QString> chosen) { HostedGameChosen(chosen); });
}

void TGameCommands::HostedGameChosen(const std::optional<QString>& chosen)
{
    if (chosen)
        session_.SendLoadGame(*chosen);
    else if (loadNewGameOnCancel_) {
        prompts_->Inform(window_, tr("Oyun yüklenmedi: yeni oyun başlıyor"));
        session_.SendNewGame();
    }
    loadNewGameOnCancel_ = false;
}

void TGameCommands::Quit()
{
    if (!ConfirmLeaving())
        return;
    leaving_ = true; // asked already: closing asks nothing more
    window_->close();
    leaving_ = false;
}

bool TGameCommands::ConfirmLeaving()
{
    // Before any game and once it is over nothing is lost.
    if (!GameInProgress() || !session_.Seated())
        return true;
    if (!session_.IsHost())
        return prompts_->Ask(window_, tr("Oyun devam ediyor...\n\nÇıkarsan yerine bilgisayar oynar. "
                                                     "Çıkmak istediğinden emin misin?"));
    // Yes: out without saving; No: saved, then out; "Oyuna dön" (or Escape): back to the
    // game, and so is a save that was cancelled.
    QString question = tr("Oyun devam ediyor...\r\rKaydetmeden çıkmak istediğinden emin misin? ")
                           .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (session_.IsDealer)
        question += tr("\n\nMasa bu programda: çıkarsan diğer oyuncular için de oyun biter.");
    const TUserPrompts::TAnswer answer = prompts_->AskOrBack(window_, question);
    if (answer == TUserPrompts::TAnswer::Back)
        return false;
    return answer == TUserPrompts::TAnswer::Yes || SaveGame();
}

void TGameCommands::Reconnect()
{
    if (!ConfirmLeaving())
        return;
    reconnector_->Stop();
    session_.ForgetSeat(); // a connection closed on purpose is not taken up again
    session_.Close();
    bool confirmed = false;
    const QString address = side_.RunConnect(&confirmed);
    if (confirmed) {
        SetDealerAddress(address);
        WriteRegString(kRegKey, kRegDealerAddress, address.trimmed());
    }
    session_.Open();
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
    if (const std::optional<QString> line = prompts_->AskLine(window_, tr("Ne dinonuz?")))
        session_.SendChatLine(*line);
}

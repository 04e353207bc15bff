// A table whose dealer runs on another machine: the seat key kept for that dealer, the host's
// commands, and the saved games that dealer keeps in its own folder.
#include <QAction>
#include <QMenu>

#include "mainform.h"
#include "prompts.h"
#include "regeasy.h"

namespace {

QString SeatKeyName(const QString& host, quint16 port)
{
    return QStringLiteral("SeatKey %1 %2").arg(host.trimmed().toLower()).arg(port);
}

} // namespace

void TMainForm::WireHostedGames()
{
    // The key of a seat held at this dealer before goes with the name, so that the seat
    // can be taken back from any address.
    connect(&session_, &TSession::connecting, this, [this] {
        session_.JoinKey = {};
        ReadRegBinary(kRegKey, SeatKeyName(session_.Host(), gamePort_), session_.JoinKey.data(),
                      int(session_.JoinKey.size()));
    });
    connect(&session_, &TSession::gameList, this, [this](const QStringList& names) {
        Later([this, names] { ChooseHostedGame(names); });
    });
    connect(&session_, &TSession::gameFileResult, this, [this](bool, const QString& text) {
        if (!text.isEmpty())
            Later([this, text] { Inform(text); });
    });
}

void TMainForm::JoinedTable()
{
    if (session_.Joined.HasKey())
        WriteRegBinary(kRegKey, SeatKeyName(session_.Host(), gamePort_), session_.Joined.Key.data(),
                       int(session_.Joined.Key.size()));
    // The host of a table on another machine has the dealer's commands.
    if (session_.IsHost() && !session_.IsDealer) {
        Menu("&Oyun")->setEnabled(true);
        Action("YeniOyuncularBekle1")->setEnabled(true);
    }
}

void TMainForm::ChooseHostedGame(const QStringList& names)
{
    std::optional<QString> chosen;
    if (names.isEmpty())
        Inform(QStringLiteral("Kayıtlı oyun yok."));
    else
        chosen = prompts_->AskChoice(this, QStringLiteral("Yüklenecek oyun:"), names);
    if (chosen)
        session_.SendLoadGame(*chosen);
    else if (loadNewGameOnCancel_) {
        Inform(QStringLiteral("Oyun yüklenmedi: yeni oyun başlıyor"));
        session_.SendNewGame();
    }
    loadNewGameOnCancel_ = false;
}

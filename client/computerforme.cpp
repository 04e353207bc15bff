#include "computerforme.h"

#include <QTimer>

#include "computerplayer.h"
#include "seatmodel.h"
#include "session.h"
#include "settings.h"

TComputerForMe::TComputerForMe(TSeatModel& model, const TSettings& settings, const TSession& session,
                               QObject* parent)
    : QObject(parent), model_(model), settings_(settings), session_(session), timer_(new QTimer(this)),
      singleCard_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("TimerComputerPlayerWait"));
    timer_->setSingleShot(true);
    singleCard_->setSingleShot(true);
    ApplySettings();
    connect(timer_, &QTimer::timeout, this, &TComputerForMe::PlayOnce);
    connect(singleCard_, &QTimer::timeout, this, &TComputerForMe::PlaySingleCard);
    connect(&model_, &TSeatModel::changed, this, &TComputerForMe::RecordArrived);
    connect(&model_, &TSeatModel::turnBegins, this, &TComputerForMe::TurnBegins);
    connect(&model_, &TSeatModel::advice, this, &TComputerForMe::Advised);
    connect(&settings_, &TSettings::changed, this, [this](TSettings::TKey key) {
        ApplySettings();
        // Switched on while the user is to act: the computer takes over now, not at the
        // next record; a single legal card is played in this turn already.
        if (key == TSettings::TKey::ComputerPlayer)
            settings_.ComputerPlayer() ? timer_->start() : timer_->stop();
        if (key == TSettings::TKey::PlaySingleCard && settings_.PlaySingleCard())
            TurnBegins();
    });
}

void TComputerForMe::ApplySettings()
{
    timer_->setInterval(settings_.Quick() ? kQuickWaitMs : kWaitMs);
    singleCard_->setInterval(settings_.Quick() ? kQuickSingleCardWaitMs : kSingleCardWaitMs);
}

void TComputerForMe::RecordArrived()
{
    ticket_ = 0;
    if (settings_.ComputerPlayer())
        timer_->start();
}

void TComputerForMe::TurnBegins()
{
    if (!settings_.ComputerPlayer() && settings_.PlaySingleCard() && model_.PlayableCount() == 1)
        singleCard_->start();
}

// After the pause: still the user's card to play, and still a single legal one.
void TComputerForMe::PlaySingleCard()
{
    if (!settings_.PlaySingleCard() || model_.PlayableCount() != 1)
        return;
    const TGameInfo& g = model_.Record();
    const int seat = model_.Seat();
    for (int i = 0; i < g.CardCount[seat]; ++i)
        if (model_.MayPlay(g.CardSuit[seat][i], g.CardValue[seat][i]))
            return model_.PlayCard(g.CardSuit[seat][i], g.CardValue[seat][i]);
}

void TComputerForMe::PlayOnce()
{
    // Where the other hands are not the real ones, only a level that never looks at them
    // can play for the user.
    if (settings_.ComputerLevel() == TComputerLevel::Usta || session_.PrivateHands()) {
        ticket_ = model_.AskAdvice();
        return;
    }
    const TMove::TKind due = model_.Due();
    if (due == TMove::TKind::None)
        return;
    TComputerPlayer player;
    const TMove move = ComputerChoice(player, model_.Seat(), model_.Record(), GameRandom());
    if (due == TMove::TKind::Card && (move.Kind != TMove::TKind::Card || !model_.MayPlay(move.Suit, move.Value)))
        emit failed(tr("Bilgisayar oynayamadı!"));
    else
        Advised(ticket_ = 0, move);
}

void TComputerForMe::Advised(quint64 ticket, const TMove& move)
{
    if (ticket != ticket_)
        return;
    ticket_ = 0;
    if (move.Kind == TMove::TKind::Card)
        model_.PlayCard(move.Suit, move.Value);
    else if (move.Kind == TMove::TKind::Contract)
        model_.ChooseContract(move.Contract);
}

// Help around the user's turn: the trick just taken shown again while the trick area is
// pressed or the space bar held, the desktop's attention when the turn comes while the
// window is in the background, and the only legal card played by itself if so set.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "card.h"
#include "mainform.h"
#include "regeasy.h"
#include "sounds.h"

using namespace table;

// Kept from every record whose trick is complete, until the next complete trick.
void TMainForm::RememberTrick()
{
    const TGameInfo& g = session_.Record();
    if (g.TrickCount != 4 || g.Leader > 3)
        return;
    for (int i = 0; i < 4; ++i) {
        lastTrick_.suit[i] = g.TrickSuit[i];
        lastTrick_.value[i] = g.TrickValue[i];
        lastTrick_.seat[i] = uint8_t((g.Leader + i) % kSeatCount);
    }
    lastTrick_.taker = WhoBiggest(g);
    lastTrick_.valid = lastTrick_.taker <= 3;
}

QRect TMainForm::TrickArea() const
{
    QRect area;
    for (const TCard* card : trickCards_)
        area |= card->geometry();
    return area;
}

void TMainForm::ShowLastTrick()
{
    // Not while the trick itself still lies on the table.
    if (!lastTrick_.valid || showingLastTrick_ || session_.Record().TrickCount == 4)
        return;
    showingLastTrick_ = true;
    for (int p = 0; p < 4; ++p) {
        markerWasVisible_[p] = handMarkers_[p]->isVisible();
        handMarkers_[p]->hide();
        trickCards_[p]->hide();
    }
    for (int i = 0; i < 4; ++i) {
        TCard* card = trickCards_[RelativePosition(lastTrick_.seat[i])];
        card->SetSuit(lastTrick_.suit[i]);
        card->SetCard(lastTrick_.value[i]);
        card->raise();
        card->show();
    }
    handMarkers_[RelativePosition(lastTrick_.taker)]->show();
}

void TMainForm::EndLastTrick()
{
    if (!showingLastTrick_)
        return;
    showingLastTrick_ = false;
    const TGameInfo& g = session_.Record();
    for (int p = 0; p < 4; ++p) {
        handMarkers_[p]->setVisible(markerWasVisible_[p]);
        trickCards_[p]->hide();
    }
    // The trick in play as it was, without its sounds.
    for (int i = 0; i < g.TrickCount && i < 4; ++i) {
        TCard* card = trickCards_[TrickPosition(g, i, session_.MySeat, Clockwise())];
        card->SetSuit(g.TrickSuit[i]);
        card->SetCard(g.TrickValue[i]);
        card->raise();
        card->show();
    }
}

// Presses on the table's trick area and on the trick cards, and the space bar wherever
// the focus is in the window.
bool TMainForm::HandleTrickInput(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const bool onTrickCard = std::find(trickCards_.begin(), trickCards_.end(), watched) != trickCards_.end();
        if (e->type() == QEvent::MouseButtonRelease) {
            EndLastTrick();
            return false;
        }
        if (onTrickCard || (watched == table_ && TrickArea().contains(mouse->position().toPoint())))
            ShowLastTrick();
        return false;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_Space)
            return false;
        if (!key->isAutoRepeat()) {
            if (e->type() == QEvent::KeyPress)
                ShowLastTrick();
            else
                EndLastTrick();
        }
        return true; // the space bar presses no button here
    }
    default:
        return false;
    }
}

void TMainForm::keyPressEvent(QKeyEvent* e)
{
    if (!HandleTrickInput(this, e))
        QMainWindow::keyPressEvent(e);
}

void TMainForm::HelpWithTurn()
{
    const TGameInfo& g = session_.Record();
    const bool choose = session_.MySeat >= 0 && g.Phase == psChoosing &&
                        g.Chooser == static_cast<uint8_t>(session_.MySeat) && !contractSent_;
    const bool play = g.Phase == psPlaying && MyCardDue();
    if (!choose && !play) {
        turnHelped_ = false;
        return;
    }
    if (turnHelped_)
        return;
    turnHelped_ = true;
    if (!isActiveWindow()) {
        QApplication::alert(this);
        if (settings_->Sound())
            sounds_->Play(kSoundYourTurn);
    }
    if (!play || !settings_->PlaySingleCard())
        return;
    int legal = 0;
    for (int i = 0; i < g.CardCount[session_.MySeat] && i < kSlotsPerHand; ++i)
        legal += CanPlay(g, session_.MySeat, g.CardSuit[session_.MySeat][i], g.CardValue[session_.MySeat][i]);
    if (legal == 1) {
        if (!singleCardTimer_) {
            singleCardTimer_ = new QTimer(this);
            singleCardTimer_->setSingleShot(true);
            connect(singleCardTimer_, &QTimer::timeout, this, [this] { PlaySingleCard(); });
        }
        singleCardTimer_->start(settings_->Quick() ? kQuickSingleCardWaitMs : kSingleCardWaitMs);
    }
}

// After the pause: still the user's card to play, and still a single legal one.
void TMainForm::PlaySingleCard()
{
    const TGameInfo& g = session_.Record();
    if (!MyCardDue() || g.Phase != psPlaying || !settings_->PlaySingleCard())
        return;
    const int seat = session_.MySeat;
    int found = -1;
    for (int i = 0; i < g.CardCount[seat] && i < kSlotsPerHand; ++i)
        if (CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i])) {
            if (found >= 0)
                return;
            found = i;
        }
    if (found < 0)
        return;
    SendCard(g.CardSuit[seat][found], g.CardValue[seat][found]);
    UpdateCursors();
}

#include "sidedock.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <utility>

#include "sideplace.h"
#include "tablelayout.h"
#include "tableview.h"

TSideDock::TSideDock(QWidget* mainWindow, TTableView& view)
    : QObject(mainWindow), window_(mainWindow), view_(view)
{
    mainWindow->installEventFilter(this);
}

void TSideDock::SetWindows(const TSideWindows& w)
{
    HandBack();
    side_ = w;
    side_.Adopt(window_);
    // A window that goes before the main window (its owner decides) is no longer its; a
    // side window shown or closed changes the room the table leaves.
    for (QWidget* window : side_.Adopted())
        connect(window, &QObject::destroyed, this, [this](QObject* gone) { side_.Forget(gone); });
    for (QWidget* window : {side_.ScoreWindow(), side_.PenaltyWindow()})
        if (window)
            window->installEventFilter(this);
}

void TSideDock::HandBack()
{
    for (QWidget* window : {side_.ScoreWindow(), side_.PenaltyWindow()})
        if (window)
            window->removeEventFilter(this);
    side_.Release(window_);
}

void TSideDock::Release()
{
    enabled_ = false;
    HandBack();
}

void TSideDock::Enable() { enabled_ = true; }

void TSideDock::Place()
{
    QWidget* score = side_.ScoreWindow();
    QWidget* penalty = side_.PenaltyWindow();
    if (!score && !penalty) {
        view_.KeepFree(0, 0);
        return;
    }
    // They keep the size they have beside the smallest main window, whatever its size now;
    // the user does not resize them.
    const QSize design(800 - table::WindowSize().width(), table::WindowSize().height() / 2);
    const QRect frame = window_->frameGeometry();
    // Until the desktop has framed a side window (it does so a moment after showing it),
    // the main window's frame stands in for its frame.
    const QPoint clientOffset = window_->geometry().topLeft() - frame.topLeft();
    const QSize decoration = frame.size() - window_->size();
    const auto framed = [](QWidget* w) { return w->isVisible() && w->frameGeometry() != w->geometry(); };
    const auto frameSize = [&](QWidget* w) {
        return w ? (framed(w) ? w->frameGeometry().size() : design + decoration) : QSize(0, 0);
    };
    const QScreen* screen = window_->screen();
    const QRect available = screen ? screen->availableGeometry() : frame;
    // Where they must lie over the main window, the table keeps its cards out of their strip.
    const auto shown = [&](QWidget* w) { return w && w->isVisible() ? frameSize(w) : QSize(); };
    const TSideStrips strips = CoveredStrips(available, frame, shown(score), shown(penalty));
    const QRect view(view_.mapToGlobal(QPoint(0, 0)), view_.size());
    view_.KeepFree(std::max(0, strips.left - (view.left() - frame.left())),
                   std::max(0, strips.right - (frame.right() - view.right())));
    const TSidePlaces places = PlaceSideWindows(available, frame, view_.Inside(), view_.CardArea(), view_.UserHand(),
                                                frameSize(score), frameSize(penalty));
    const auto put = [&](QWidget* w, QPoint frameTopLeft) {
        if (!w)
            return;
        w->setFixedSize(design);
        const QPoint offset = framed(w) ? w->geometry().topLeft() - w->frameGeometry().topLeft() : clientOffset;
        w->setGeometry(QRect(frameTopLeft + offset, design));
    };
    put(score, places.score);
    put(penalty, places.penalty);
}

void TSideDock::Hide()
{
    for (QWidget* w : {side_.ScoreWindow(), side_.PenaltyWindow()})
        if (w)
            w->hide();
}

void TSideDock::Show()
{
    for (QWidget* w : {side_.ScoreWindow(), side_.PenaltyWindow()})
        if (w)
            w->show();
    Place();
}

bool TSideDock::eventFilter(QObject* watched, QEvent* e)
{
    if (!enabled_)
        return QObject::eventFilter(watched, e);
    if (watched == window_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize))
        Place();
    // From the event loop: a side window may be hidden on its way out.
    if (watched != window_ && (e->type() == QEvent::Show || e->type() == QEvent::Hide) && !std::exchange(queued_, true))
        QTimer::singleShot(0, this, [this] {
            queued_ = false;
            if (enabled_)
                Place();
        });
    return QObject::eventFilter(watched, e);
}

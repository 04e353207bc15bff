#include "sidedock.h"

#include <QEvent>
#include <QWidget>

#include "tableview.h"

TSideDock::TSideDock(QWidget* mainWindow, const TTableView& view)
    : QObject(mainWindow), window_(mainWindow), view_(view)
{
    mainWindow->installEventFilter(this);
}

void TSideDock::SetWindows(const TSideWindows& w)
{
    side_.Release(window_);
    side_ = w;
    side_.Adopt(window_);
    // A side window that goes before the main window (its owner decides) is no longer its.
    for (QWidget* window : {side_.ScoreWindow(), side_.PenaltyWindow()})
        if (window)
            connect(window, &QObject::destroyed, this, [this, window] {
                if (side_.ScoreWindow() == window)
                    side_.Score = nullptr;
                if (side_.PenaltyWindow() == window)
                    side_.Penalty = nullptr;
            });
}

void TSideDock::Release()
{
    enabled_ = false;
    side_.Release(window_);
}

void TSideDock::Enable() { enabled_ = true; }

void TSideDock::Place() { side_.Dock(window_, view_.Inside(), view_.UserHand()); }

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
    if (watched == window_ && enabled_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize))
        Place();
    return QObject::eventFilter(watched, e);
}

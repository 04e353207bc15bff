// The score table and the taken-cards window at the main window's edge: they become its
// tool windows (the desktop keeps them above it), are forgotten when they go before it,
// and are placed again whenever it moves or changes size or they are shown or closed, once
// docking is on. They keep
// the size they have beside the smallest main window and stay wholly on its screen: beside
// it where there is room, else over a strip at its edge that the table keeps free of cards.
#pragma once

#include <QObject>

#include "sidewindows.h"

class TTableView;

class TSideDock : public QObject {
    Q_OBJECT
public:
    // Watches mainWindow (and is owned by it); the windows' places keep clear of the hand.
    TSideDock(QWidget* mainWindow, TTableView& view);

    const TSideWindows& Windows() const { return side_; }
    void SetWindows(const TSideWindows& w);
    // Hands the windows back before the main window goes (it does not own them); docking ends.
    void Release();

    // From now on every move and resize of the main window places them again.
    void Enable();
    void Place();
    void Hide();
    // Shows them and places them again (a window may have grown to its own minimum size).
    void Show();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void HandBack();

    QWidget* window_;
    TTableView& view_;
    TSideWindows side_;
    bool enabled_ = false;
    bool queued_ = false;
};

// What the main window does when a game is over, behind two small interfaces: the best and
// worst lists take the finished record, and the cheer animation plays over the table. The
// main window works without either (it then only shows the final scores in the score table).
#pragma once

#include <QRect>
#include <QString>

#include <vector>

#include "gameinfo.h"

class QWidget;

class TBestWorstLists {
public:
    virtual ~TBestWorstLists() = default;
    // Offers the final scores of a finished game to the lists.
    virtual void AddFinishedGame(const TGameInfo& g) = 0;
};

struct TCheerEntry {
    QString name;
    bool winner = false;
    int total = 0; // the player's final total; the animation sizes its balloon from it
};

class TCheerAnimation {
public:
    virtual ~TCheerAnimation() = default;
    // Starts the animation on the canvas over the area, one entry per player.
    virtual void Start(QWidget* canvas, const QRect& area, const std::vector<TCheerEntry>& entries) = 0;
    // Stops and removes it.
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
};

// The four players' entries of a finished record: names and totals, the highest total wins.
std::vector<TCheerEntry> CheerEntries(const TGameInfo& g);

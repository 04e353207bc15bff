// The players of zorbela-load, a share of the tables each: on loops (threads) in this
// process, or in a child process of its own that runs such loops and answers over pipes.
// Either way the main program waits until the share's tables are playing, opens the
// measuring window for all shares at once (steady-clock times are the same in every
// process of the machine) and stops them to collect their figures.
#pragma once

#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include <sys/types.h>

#include "loadloop.h"

class TPlayerShare {
public:
    virtual ~TPlayerShare() = default;
    // Blocks until every table of the share has started its game or failed, or the time
    // for setting them up has passed.
    virtual void WaitPlaying() = 0;
    // Cards sent in [startNs, endNs) of TLoadControl::Now() are measured.
    virtual void OpenWindow(int64_t startNs, int64_t endNs) = 0;
    // Stops the players; their figures, and the tables started and failed.
    virtual TLoadFigures Stop(int& started, int& failed) = 0;
    virtual int Started() const = 0;
};

// Runs the tables on loops threads of this process.
std::unique_ptr<TPlayerShare> PlayersHere(int paceMs, std::vector<TLoadTarget> tables, int loops);
// Forks a child process that runs the tables on loops threads of its own. Call it before
// this process starts any thread.
std::unique_ptr<TPlayerShare> PlayersInAChild(int paceMs, std::vector<TLoadTarget> tables, int loops);

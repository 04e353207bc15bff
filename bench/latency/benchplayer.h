// A player of the latency benchmark, on a session over TCP: joins the dealer, chooses the
// first contract open to it and plays the first card the rules allow the moment a record
// makes it its turn, and tells
// the move log when it sends a card and when a record shows it a card for the first time.
// Lives on the thread that creates it.
#pragma once

#include <cstdint>
#include <set>

#include <QString>

#include "gameinfo.h"
#include "session.h"
#include "tcplink.h"

class TMoveLog;

class TBenchPlayer {
public:
    TBenchPlayer(TMoveLog& log, const QString& host, quint16 port, const QString& name);

private:
    void Record(const TGameInfo& g);
    void Act(const TGameInfo& g);

    TMoveLog& log_;
    TTcpLink link_;
    TSession session_{link_};
    std::set<int> seen_;     // cards of the current hand already seen in a trick
    int hand_ = -1;
    int lastActed_ = -1;     // the move key of the last record this player acted on
};

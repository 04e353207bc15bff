// A player of the latency benchmark: joins the dealer, chooses the first contract open to it
// and plays the first card the rules allow the moment a record makes it its turn, and tells
// the move log when it sends a card and when a record shows it a card for the first time.
// Lives on the thread that creates it.
#pragma once

#include <cstdint>
#include <set>

#include <QString>

#include "clientpacketsocket.h"
#include "gameinfo.h"

class TMoveLog;

class TBenchPlayer {
public:
    TBenchPlayer(TMoveLog& log, const QString& host, quint16 port, const QString& name);

private:
    void Read(TPacketType type, const uint8_t* buf, int32_t count);
    void Record(const TGameInfo& g);
    void Act(const TGameInfo& g);

    TMoveLog& log_;
    TClientPacketSocket socket_;
    int seat_ = -1;
    std::set<int> seen_;     // cards of the current hand already seen in a trick
    int hand_ = -1;
    int lastActed_ = -1;     // the move key of the last record this player acted on
};

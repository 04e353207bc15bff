// The players of zorbela-load: tables of four plain frame-level clients on one epoll loop
// (one thread), no Qt event loop and no socket classes. Each player joins like any program
// without the extension (at a server of many tables the host first creates the table, and
// every join names it by its code; the block says the player knows no other message),
// the first of a table (seat 0) starts the game and every new game
// after the last hand; the player to act chooses the first contract open to it or plays
// the first card the rules allow, at most one move per table every pace milliseconds. For
// every card sent while the measuring window is open the loop records the time from its
// CARD_PLAY being written to the record holding it having arrived at all four players.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <queue>
#include <vector>

struct TLoadTarget {
    uint16_t Port = 0;        // the server of the table, on 127.0.0.1
    uint32_t SourceAddr = 0;  // the players' own loopback address (host order), 0: any
    // A server of many tables: the host creates the table (CREATE_TABLE) and everyone joins
    // it by its code; otherwise each server is one table and the players join it plainly.
    bool CreateTable = false;
};

// Shared between the main thread and the loops.
struct TLoadControl {
    using TClock = std::chrono::steady_clock;
    int PaceMs = 2000;
    std::atomic<int64_t> WindowStart{INT64_MAX}; // steady ns; cards sent in [start, end) count
    std::atomic<int64_t> WindowEnd{INT64_MAX};
    std::atomic<bool> Stop{false};
    std::atomic<int> Started{0};   // tables whose first game has started
    std::atomic<int> Failed{0};    // tables that lost a connection or were refused
    static int64_t Now() { return TClock::now().time_since_epoch().count(); }
};

struct TLoadFigures {
    std::vector<double> LatencyMs; // one per card sent in the window and seen by all four
    long Moves = 0;                // cards and contracts sent in the window
    long Unseen = 0;               // cards sent in the window that never reached all four
    long Connections = 0;          // player connections open at the end
};

class TLoadLoop {
public:
    TLoadLoop(TLoadControl& control, std::vector<TLoadTarget> tables);
    ~TLoadLoop();
    TLoadLoop(const TLoadLoop&) = delete;
    TLoadLoop& operator=(const TLoadLoop&) = delete;

    // Connects every table (a bounded number of connections in progress at once), then
    // plays until control.Stop; returns the figures. Runs on the calling thread.
    TLoadFigures Run();

private:
    struct TTable;
    struct TConn;

    void Connect(TConn& c);
    void Drop(TConn& c, const char* why);
    void Readable(TConn& c);
    void Flush(TConn& c);
    void Message(TConn& c, uint8_t type, const uint8_t* buf, int32_t count);
    void Record(TConn& c);
    void Schedule(TTable& t);
    void Act(TTable& t);
    void SendFrame(TConn& c, uint8_t type, const void* payload, int32_t length);
    void Join(TConn& c);

    TLoadControl& control_;
    std::vector<std::unique_ptr<TTable>> tables_;
    int epoll_ = -1;
    int connecting_ = 0;     // connections made and not yet seated
    size_t nextToJoin_ = 0;  // the next table whose host is to connect
    TLoadFigures figures_;
    using TDue = std::pair<int64_t, TTable*>;
    std::priority_queue<TDue, std::vector<TDue>, std::greater<>> due_; // moves to make
};

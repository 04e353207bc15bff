// A game under attack: a dealer in this process, two players of ours that play their own
// cards (seats 0 and 1) and two computer seats, while every hostile peer of
// hostilepeers.h runs against the same dealer, in the same event loop.
//
//   TScenario s(options);
//   if (!s.Run()) ... s.Failure() ...
//   s.Player(0).Records ... s.Reports() ... s.Dealer().DealerSocket().ActiveConnections()
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QString>
#include <QTemporaryDir>

#include "autoplayer.h"
#include "dealerthread.h"
#include "hostilepeers.h"

struct TScenarioOptions {
    int Hands = 20;               // play on until this many hands are over (20: a whole game)
    int Rounds = 1;               // rounds of attacks, each one after the previous one ended
    int Churn = 500;              // connections opened and closed per round
    int ChurnParallel = 4;
    bool SilentSeat = false;      // seat 2 is held by a peer that never acknowledges, until
                                  // the dealer gives it up
    int AckTimeoutMs = kAckTimeoutMs; // the dealer's patience with a frame not acknowledged
    uint32_t Seed = 20261207;
    int TrickResolveExtraMs = 30; // the fixed part of the trick's pause, shortened
    int TimeoutMs = 600000;
    std::function<void()> Tick;   // every 50 ms while the scenario runs (memory samples)
};

class TScenario {
public:
    explicit TScenario(TScenarioOptions options);
    ~TScenario();

    // Seats the players, starts a game, runs the rounds of attacks and plays on until the
    // hands are over and every attack has ended; then the players stop moving, the dealer
    // comes to rest and the hostile connections are let go. False, with Failure(), when
    // a stage did not finish in time.
    bool Run();
    const QString& Failure() const { return failure_; }

    TDealerThread& Dealer() { return *dealer_; }
    TAutoPlayer& Player(int seat) { return *players_[std::size_t(seat)]; }
    const std::vector<TAttackReport>& Reports() const { return reports_; }
    // What became of the peer on seat 2 with SilentSeat; null without it.
    const TAttackReport* SilentSeatReport() const { return silentSeat_ ? &silentSeat_->Report() : nullptr; }
    int HandsOver() const { return handsOver_; }
    // The dealer's lines, counted by their first two words ("dropped CARD_PLAY:" ...).
    const std::map<QString, int>& EventCounts() const { return eventCounts_; }
    // Transport and game notices the dealer raised, counted by text.
    const std::map<QString, int>& Notices() const { return notices_; }
    // Runs the event loop until done() holds or timeoutMs passes; returns done().
    bool RunUntil(const std::function<bool()>& done, int timeoutMs);

private:
    bool Fail(const QString& why);
    bool Seat(TAutoPlayer& player, int seat);
    void CountHands();
    bool AtRest();

    TScenarioOptions options_;
    QTemporaryDir folder_;
    TRandom random_;
    std::unique_ptr<TDealerThread> dealer_;
    std::vector<std::unique_ptr<TAutoPlayer>> players_;
    std::unique_ptr<THostileAttack> silentSeat_;
    std::vector<TAttackReport> reports_;
    std::map<QString, int> eventCounts_;
    std::map<QString, int> notices_;
    std::size_t countedRecords_ = 0;
    int handsOver_ = 0;
    QString failure_;
};

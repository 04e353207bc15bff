// What the attacks share: a dealer of their own on a free port, players of ours seated on
// it, and the event loop run until something holds.
#pragma once

#include <functional>
#include <memory>

#include <QTemporaryDir>

#include "autoplayer.h"
#include "dealerthread.h"

// Runs the event loop until done() holds or timeoutMs passes; returns done(). tick, when
// given, runs every 50 ms meanwhile.
bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs, const std::function<void()>& tick = {});

// A dealer on a free port ("Hızlı" unless options say otherwise through quick) with its
// last hand in a folder of its own.
struct TTestDealer {
    QTemporaryDir folder;
    std::unique_ptr<TDealerThread> dealer;
    explicit TTestDealer(TDealerOptions options = {}, bool quick = true)
    {
        options.Port = 0;
        options.Quick = quick;
        options.LastHandFolder = folder.path();
        dealer = std::make_unique<TDealerThread>(options);
    }
    quint16 Port() const { return dealer->Port(); }
};

// A player of ours on loopback, once the dealer has seated it (or given up on it).
inline std::unique_ptr<TAutoPlayer> Seated(quint16 port, const QString& name, int timeoutMs = 3000,
                                           const TSeatKey& key = {})
{
    auto player = std::make_unique<TAutoPlayer>(QStringLiteral("127.0.0.1"), port, name, 1);
    player->Session.JoinKey = key;
    RunEventsUntil([&] { return player->Seat != kNoSeat || player->Disconnected; }, timeoutMs);
    return player;
}

// Who decides the move of a seat that the computer plays: the computer seats, and the seat
// of a player whose connection dropped. The table asks its move source whenever such a
// seat is awaited (once per tick of its computer-move timer) and applies the answer
// through the rules, exactly as it applies a person's CARD_PLAY or CONTRACT_CHOICE.
//
// A source answers at once (Acemi, whose choice takes microseconds) or later: a slow level
// computes off the table's thread and calls the reply on the table's thread when done.
// The table discards a reply for a request it no longer waits for (the record changed in
// between: a new game, a loaded one, a player who took the seat back).
//
// Plugging in a level that needs time, for example one of up to 100 ms per decision:
//
//   TDealerOptions options;
//   options.ComputerName = "Usta";
//   options.ComputerLevel = [](TRandom& random) {
//       return std::make_unique<TThreadedMoveSource>(
//           [&random](const TGameInfo& record, int seat) { return UstaChoice(record, seat, ...); },
//           [](const TGameInfo& record) { /* feed the hand's history */ });
//   };
//
// The decide function runs on a worker thread with its own copy of the record; it must not
// touch anything the table's thread uses without a lock (a random source of its own).
#pragma once

#include <functional>
#include <optional>

#include <QObject>
#include <QThreadPool>

#include "computerplayer.h"
#include "gameinfo.h"
#include "move.h"

// The answer to one request; call it on the table's thread, at most once.
using TMoveReply = std::function<void(const TMove& move)>;

class TMoveSource {
public:
    virtual ~TMoveSource() = default;
    // Every record the table broadcasts, in order (a new game, each contract, card and
    // trick resolution, a loaded game), so that a source can follow the hand's history.
    virtual void Observe(const TGameInfo& record) { (void)record; }
    // The move of seat on record: returned at once, or std::nullopt and later reply(move).
    virtual std::optional<TMove> Request(const TGameInfo& record, int seat, TMoveReply reply) = 0;
    // How long a decision may take, in milliseconds (0: it is made at once). The table
    // applies no computer move sooner than this after it was due, so that the time of a
    // move says nothing of how hard it was to find.
    virtual int ThinkMs() const { return 0; }
};

// The rule-based computer ("Acemi"): answers at once, drawing its contract choices from the
// table's random source, in the order the table has always drawn them.
class TAcemiSource : public TMoveSource {
public:
    explicit TAcemiSource(TRandom& random) : random_(random) {}
    std::optional<TMove> Request(const TGameInfo& record, int seat, TMoveReply reply) override;

private:
    TRandom& random_;
    TComputerPlayer computer_;
};

// A level whose decision takes time: decide runs on a worker thread of its own, one
// decision at a time, and its move is handed back on the thread that made the source.
// observe, when given, sees every record on the table's thread. thinkMs: what a decision
// nominally takes (see ThinkMs).
class TThreadedMoveSource : public QObject, public TMoveSource {
public:
    using TDecide = std::function<TMove(const TGameInfo& record, int seat)>;
    using TObserve = std::function<void(const TGameInfo& record)>;

    explicit TThreadedMoveSource(TDecide decide, TObserve observe = {}, int thinkMs = 0);
    // Waits for a decision under way; its reply is not made.
    ~TThreadedMoveSource() override;

    void Observe(const TGameInfo& record) override;
    std::optional<TMove> Request(const TGameInfo& record, int seat, TMoveReply reply) override;
    int ThinkMs() const override { return thinkMs_; }

private:
    TDecide decide_;
    TObserve observe_;
    int thinkMs_;
    QThreadPool pool_;
};

// The user's seat at the table, as the windows see it: the last record the dealer sent, the
// seat, what has been sent since, the last trick taken, which move is due, and the advice
// of the computer for this seat. It takes every record from the session, checks the user's
// moves with the rules before they are sent, and tells its listeners through signals; it
// has no widgets.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

#include "gameinfo.h"
#include "move.h"

class TSession;
class TMoveSource;

class TSeatModel : public QObject {
    Q_OBJECT
public:
    // advisor: the computer asked for the hint and for the user's move (it sees every record).
    TSeatModel(TSession& session, std::unique_ptr<TMoveSource> advisor, QObject* parent = nullptr);
    ~TSeatModel() override;

    const TGameInfo& Record() const;
    // The user's seat, kNoSeat while not seated.
    int Seat() const;

    // The move the record awaits from the user's seat now and not yet sent.
    TMove::TKind Due() const;
    bool CardDue() const { return Due() == TMove::TKind::Card; }
    bool ContractDue() const { return Due() == TMove::TKind::Contract; }
    // The user may play this card now.
    bool MayPlay(uint8_t suit, uint8_t value) const;
    // How many of the user's cards may be played now.
    int PlayableCount() const;

    // The user's moves: checked with the rules and sent; a card the rules refuse is not
    // sent, and `refused` tells why. Nothing happens when no such move is due.
    void PlayCard(uint8_t suit, uint8_t value);
    void ChooseContract(uint8_t contract);

    // Cards of the trick on the table that the record before did not show (bit i: the
    // i-th card played), so that only they are brought in, with their sound.
    unsigned NewTrickCards() const { return newTrickCards_; }
    // The record begins a hand (no trick played yet).
    bool HandBegins() const { return Record().TricksPlayed == 0; }

    // The last trick taken: its cards in the order played, who played them, who took it.
    struct TTakenTrick {
        bool valid = false;
        std::array<uint8_t, kSeatCount> suit{}, value{}, seat{};
        uint8_t taker = kNone;
    };
    const TTakenTrick& LastTrick() const { return lastTrick_; }

    // Asks the computer for the user's due move; `advice` follows with the ticket returned
    // (at once or later), unless a record arrives or the move is made in between.
    // 0: nothing is due, no advice follows.
    quint64 AskAdvice();

    // A fresh record, as when the table waits for new players.
    void Reset();

signals:
    // A record arrived (or the model was reset): everything may have changed.
    void changed();
    // One of the user's moves was sent.
    void moveSent();
    // A record made a move of the user due that the record before did not.
    void turnBegins();
    void refused(const QString& why);
    void advice(quint64 ticket, const TMove& move);

private:
    void TakeRecord();

    TSession& session_;
    std::unique_ptr<TMoveSource> advisor_;
    TGameInfo previous_{};
    bool cardSent_ = false;
    bool contractSent_ = false;
    unsigned newTrickCards_ = 0;
    TTakenTrick lastTrick_;
    quint64 records_ = 0; // every record makes advice asked before it stale
    quint64 tickets_ = 0;
    bool wasDue_ = false;
};

// The computer acting for the user: every move after a pause while "Yerime daima bilgisayar
// oynasın" is on, one move on "Sadece bunu bilgisayar oynasın", and the only legal card
// after a short pause while "Tek kartı kendisi oynasın" is on. Its moves go through the
// seat model like the user's own.
#pragma once

#include <QObject>

#include "move.h"

class QTimer;
class TSession;
class TSeatModel;
class TSettings;

class TComputerForMe : public QObject {
    Q_OBJECT
public:
    TComputerForMe(TSeatModel& model, const TSettings& settings, const TSession& session,
                   QObject* parent = nullptr);

    // The user's due move, made once by the computer at the chosen level.
    void PlayOnce();
    // "TimerComputerPlayerWait": the pause before the computer makes the user's move.
    QTimer* Timer() const { return timer_; }

    static constexpr int kWaitMs = 1000;
    static constexpr int kQuickWaitMs = 10; // while "Hızlı" is on
    static constexpr int kSingleCardWaitMs = 600;
    static constexpr int kQuickSingleCardWaitMs = 10;

signals:
    // The computer found no move for the user ("Bilgisayar oynayamadı!").
    void failed(const QString& text);

private:
    void RecordArrived();
    void TurnBegins();
    void PlaySingleCard();
    void Advised(quint64 ticket, const TMove& move);
    void ApplySettings();

    TSeatModel& model_;
    const TSettings& settings_;
    const TSession& session_;
    QTimer* timer_;
    QTimer* singleCard_;
    quint64 ticket_ = 0; // the advice this object waits for
};

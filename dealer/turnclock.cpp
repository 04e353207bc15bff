#include "turnclock.h"

#include <algorithm>

#include <QStringList>

bool ParseTurnClock(const QString& text, TTurnClockSetting& setting)
{
    if (text == QLatin1String("0") || text == QLatin1String("off")) {
        setting = {};
        return true;
    }
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2)
        return false;
    bool cardOk = false, contractOk = false;
    const int card = parts[0].trimmed().toInt(&cardOk);
    const int contract = parts[1].trimmed().toInt(&contractOk);
    if (!cardOk || !contractOk || card < 0 || contract < 0 || card > kMaxTurnClockS || contract > kMaxTurnClockS)
        return false;
    setting = {card, contract};
    return true;
}

int TTurnClock::AllowanceMs(const TGameInfo& g) const
{
    if (g.Phase == psChoosing)
        return setting_.ContractS * 1000;
    if (g.Phase == psPlaying && g.TrickCount < kSeatCount)
        return setting_.CardS * 1000;
    return 0;
}

TTurnClock::TOutcome TTurnClock::TimedOut(int seat)
{
    const auto s = std::size_t(seat);
    owed_[s] = true;
    if (++inARow_[s] < kTimeoutsInARow)
        return TOutcome::Once;
    taken_[s] = true;
    return TOutcome::FromNowOn;
}

bool TTurnClock::PlayerActed(int seat)
{
    const auto s = std::size_t(seat);
    const bool wasTaken = taken_[s];
    inARow_[s] = 0;
    owed_[s] = false;
    taken_[s] = false;
    return wasTaken;
}

void TTurnClock::Restore(int seat, int timeoutsInARow, bool takenOver)
{
    const auto s = std::size_t(seat);
    inARow_[s] = std::clamp(timeoutsInARow, 0, kTimeoutsInARow);
    owed_[s] = false;
    taken_[s] = takenOver;
}

void TTurnClock::Forget(int seat)
{
    PlayerActed(seat);
}

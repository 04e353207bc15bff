#include "movesource.h"

#include <QMetaObject>
#include <QPointer>

std::optional<TMove> TAcemiSource::Request(const TGameInfo& record, int seat, TMoveReply /*reply*/)
{
    return ComputerChoice(computer_, seat, record, random_);
}

TThreadedMoveSource::TThreadedMoveSource(TDecide decide, TObserve observe, int thinkMs)
    : decide_(std::move(decide)), observe_(std::move(observe)), thinkMs_(thinkMs)
{
    pool_.setMaxThreadCount(1);
}

TThreadedMoveSource::~TThreadedMoveSource()
{
    pool_.clear();
    pool_.waitForDone();
}

void TThreadedMoveSource::Observe(const TGameInfo& record)
{
    if (observe_)
        observe_(record);
}

std::optional<TMove> TThreadedMoveSource::Request(const TGameInfo& record, int seat, TMoveReply reply)
{
    // The worker gets its own copy of the record; the move comes back as a queued call to
    // this object, which Qt drops if the object is gone by then.
    pool_.start([this, record, seat, reply = std::move(reply)] {
        const TMove move = decide_(record, seat);
        QMetaObject::invokeMethod(this, [reply, move] { reply(move); }, Qt::QueuedConnection);
    });
    return std::nullopt;
}

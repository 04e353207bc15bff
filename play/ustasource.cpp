#include "ustasource.h"

#include <climits>
#include <mutex>

#include "handhistory.h"
#include "privatehands.h"

namespace {

// What the table's thread and the deciding thread share, under one lock held only for
// copies: a decision never holds it while it thinks.
struct TUstaShared {
    std::mutex Lock;
    THandHistory History;
    TRandom Random;
};

} // namespace

std::unique_ptr<TMoveSource> MakeUstaSource(TRandom& random, TUstaOptions options)
{
    auto shared = std::make_shared<TUstaShared>();
    shared->Random.Seed(static_cast<uint32_t>(random.Next(INT_MAX)));
    auto decide = [shared, options](const TGameInfo& record, int seat) {
        const TGameInfo seen = PrivateRecord(record, seat);
        THandHistory history;
        uint32_t seed = 0;
        {
            std::lock_guard<std::mutex> guard(shared->Lock);
            history = shared->History;
            seed = static_cast<uint32_t>(shared->Random.Next(INT_MAX));
        }
        history.Feed(seen); // a record seen twice teaches nothing new
        TRandom rnd(seed);
        return UstaMove(seen, seat, history, options, rnd);
    };
    auto observe = [shared](const TGameInfo& record) {
        std::lock_guard<std::mutex> guard(shared->Lock);
        shared->History.Feed(record);
    };
    return std::make_unique<TThreadedMoveSource>(decide, observe, options.Ms);
}

std::unique_ptr<TMoveSource> MakeLevelSource(TComputerLevel level, TRandom& random)
{
    if (level == TComputerLevel::Usta)
        return MakeUstaSource(random);
    return std::make_unique<TAcemiSource>(random);
}

QByteArray ComputerSeatName(TComputerLevel level)
{
    return level == TComputerLevel::Usta ? QByteArrayLiteral("Usta") : QByteArrayLiteral("Acemi");
}

// What comings and goings tell the players and watchers: while the table fills, the seats' names and,
// for the host, the number of players still missing; once it is full, the lines
// "... bağlantısı koptu, yerine bilgisayar oynuyor." and "... oyuna geri döndü.".
//
// Each connection keeps what it was last told, and a telling sends it the difference from
// how things stand then. A change is told at once while the table's budget lasts
// (kNewsBurst tellings, one more every kNewsRefillMs), else with whatever else changed at
// the next telling; a backed-up link is skipped until a later one. So a stranger who joins
// and leaves in a loop, or a player who leaves and comes back in a loop, costs the others a
// few messages a second whatever addresses it uses, no link fills up with them, and a join
// and leave that nobody was told of tell nothing.
#include <algorithm>

#include "cp1254.h"
#include "seatnames.h"
#include "table.h"

void TTable::TellNews(bool force)
{
    const qint64 now = clock_.NowMs();
    newsCredit_ = std::min<qint64>(qint64(kNewsBurst) * kNewsRefillMs, newsCredit_ + now - newsCreditAt_);
    newsCreditAt_ = now;
    if (!force && (newsAt_ >= 0 || newsCredit_ < kNewsRefillMs)) {
        // Something waits already, or the budget is spent: told together later.
        if (newsAt_ < 0) {
            newsAt_ = now + kNewsRefillMs - newsCredit_;
            Reschedule();
        }
        return;
    }
    newsCredit_ = std::max<qint64>(0, newsCredit_ - kNewsRefillMs);
    FlushNews();
}

void TTable::NewsTimeout()
{
    if (newsAt_ >= 0 && newsAt_ <= clock_.NowMs())
        TellNews(true);
}

void TTable::FlushNews()
{
    newsAt_ = -1;
    bool behind = false;
    for (const TConnectionId id : Audience()) {
        const bool backedUp = BackedUp(id);
        if (SendNews(id, told_[id], !backedUp) && backedUp)
            behind = true;
    }
    if (behind) {
        newsAt_ = clock_.NowMs() + kNewsRefillMs;
        Reschedule();
    }
}

bool TTable::SendNews(TConnectionId id, TToldNews& told, bool send)
{
    bool news = false;
    if (SeatCount() < kSeatCount || game_.Phase == psWaiting) {
        for (int seat = 0; seat < kSeatCount; ++seat) {
            const QByteArray name = SeatNameInRecord(game_, seat);
            if (told.Names[seat] == name)
                continue;
            news = true;
            if (send) {
                SendSeatName(id, seat, FromCp1254(name));
                told.Names[seat] = name;
            }
        }
        // Only the host is told how many are missing, and only while players join.
        const int missing = kSeatCount - SeatCount();
        if (id == OwnUser() && computerCount_ == 0 && told.Missing != missing) {
            news = true;
            if (send) {
                SendMissing();
                told.Missing = missing;
            }
        }
    }
    if (SeatCount() == kSeatCount) {
        for (const SeatEntry& entry : seats_) {
            const bool dropped = entry.Connection == kNoConnection;
            if (entry.Kind != SeatEntry::Human || entry.Connection == id || told.Dropped[entry.Seat] == dropped)
                continue;
            news = true;
            if (send) {
                const QString name = FromCp1254(SeatNameInRecord(game_, entry.Seat));
                SendText(id, CHAT_TEXT, dropped ? QStringLiteral("%1 bağlantısı koptu, yerine bilgisayar oynuyor.").arg(name)
                                                : QStringLiteral("%1 oyuna geri döndü.").arg(name));
                told.Dropped[entry.Seat] = dropped;
            }
        }
    }
    return news;
}

void TTable::MarkTold(TConnectionId id)
{
    if (id == kNoConnection)
        return;
    TToldNews& told = told_[id];
    for (int seat = 0; seat < kSeatCount; ++seat)
        told.Names[seat] = SeatNameInRecord(game_, seat);
    told.Missing = id == OwnUser() && computerCount_ == 0 ? kSeatCount - SeatCount() : -1;
    std::fill(std::begin(told.Dropped), std::end(told.Dropped), false);
    for (const SeatEntry& entry : seats_)
        told.Dropped[entry.Seat] = entry.Kind == SeatEntry::Human && entry.Connection == kNoConnection;
}

// The turn clock of a table and the acts of its host: giving a seat to the computer,
// removing a player for the rest of the game, locking the table, changing the clock. Every
// one of them is told to the table as a chat line, which every program shows.
#include "cp1254.h"
#include "payload.h"
#include "seatnames.h"
#include "table.h"
#include "tablemessages.h"

namespace {

QString ClockText(const TTurnClockSetting& s)
{
    if (!s.On())
        return QStringLiteral("Hamle süresi yok.");
    const auto part = [](int seconds) {
        return seconds > 0 ? QStringLiteral("%1 sn").arg(seconds) : QStringLiteral("sınırsız");
    };
    return QStringLiteral("Hamle süresi: kağıt için %1, oyun seçmek için %2.").arg(part(s.CardS), part(s.ContractS));
}

const char* HostActName(uint8_t type)
{
    switch (type) {
    case SEAT_TO_COMPUTER: return "SEAT_TO_COMPUTER";
    case REMOVE_PLAYER: return "REMOVE_PLAYER";
    case LOCK_TABLE: return "LOCK_TABLE";
    default: return "SET_TURN_CLOCK";
    }
}

} // namespace

// ---- The turn clock ----

SeatEntry* TTable::EntryOf(int seat)
{
    for (SeatEntry& entry : seats_)
        if (entry.Seat == seat)
            return &entry;
    return nullptr;
}

QString TTable::NameOf(int seat) const
{
    return FromCp1254(SeatNameInRecord(game_, seat));
}

bool TTable::ComputerMovesFor(const SeatEntry& entry) const
{
    return entry.ComputerPlays() || turnClock_.ComputerPlays(entry.Seat);
}

void TTable::RestartTurnClock()
{
    Stop(turnTimer_);
    const int seat = SeatCount() == kSeatCount ? AwaitedSeat(game_) : kNoSeat;
    const int allowance = turnClock_.AllowanceMs(game_);
    const SeatEntry* entry = seat == kNoSeat ? nullptr : EntryOf(seat);
    if (allowance <= 0 || entry == nullptr || ComputerMovesFor(*entry))
        return;
    turnTimer_.Interval = allowance;
    Start(turnTimer_);
    for (const SeatEntry& player : seats_)
        SendTurnTime(player);
    SendWatchers(TURN_TIME, TurnTimeNow());
}

void TTable::TurnClockTick()
{
    Stop(turnTimer_);
    const int seat = SeatCount() == kSeatCount ? AwaitedSeat(game_) : kNoSeat;
    const SeatEntry* entry = seat == kNoSeat ? nullptr : EntryOf(seat);
    if (entry == nullptr || ComputerMovesFor(*entry))
        return;
    const QString name = NameOf(seat);
    if (turnClock_.TimedOut(seat) == TTurnClock::TOutcome::FromNowOn) {
        Log(QStringLiteral("seat %1 (%2) let its time run out %3 times in a row; the computer plays it")
                .arg(seat).arg(name).arg(kTimeoutsInARow));
        TellOthers(kNoConnection,
                   QStringLiteral("%1 üst üste %2 kez süresini doldurdu; kendisi bir şey yapana kadar yerine "
                                  "bilgisayar oynuyor.").arg(name).arg(kTimeoutsInARow));
    } else {
        Log(QStringLiteral("seat %1 (%2) let its time run out; the computer makes this move").arg(seat).arg(name));
        TellOthers(kNoConnection, QStringLiteral("%1 için süre doldu; bu hamleyi bilgisayar yapıyor.").arg(name));
    }
    // The move is made now if the computer has it at once, else on its next tick.
    AskComputer();
    ComputerMoveTick();
}

void TTable::PlayerActs(int seat)
{
    if (seat == kNoSeat || !turnClock_.PlayerActed(seat))
        return;
    const QString name = NameOf(seat);
    Log(QStringLiteral("seat %1 (%2) acts again; the computer no longer plays it").arg(seat).arg(name));
    TellOthers(kNoConnection, QStringLiteral("%1 yeniden kendisi oynuyor.").arg(name));
    if (SeatCount() == kSeatCount && AwaitedSeat(game_) == seat)
        RestartTurnClock();
}

void TTable::SetTurnClock(const TTurnClockSetting& setting)
{
    turnClock_.Set(setting);
    Log(QStringLiteral("turn clock: %1 s for a card, %2 s for a contract").arg(setting.CardS).arg(setting.ContractS));
    TellOthers(kNoConnection, ClockText(setting));
    RestartTurnClock();
}

void TTable::AnnounceTurnClock()
{
    if (turnClock_.Setting().On())
        TellOthers(kNoConnection, ClockText(turnClock_.Setting()));
}

// ---- The host's acts ----

void TTable::HostAct(TConnectionId id, uint8_t type, const uint8_t* buf, int32_t count)
{
    const char* what = HostActName(type);
    if (SeatOf(id) != 0)
        return Drop(what, QStringLiteral("not from the host"));
    TPayloadReader reader(buf, count);
    uint8_t a = 0, b = 0, c = 0, d = 0;
    if (type == SET_TURN_CLOCK) {
        if (!reader.Byte(a) || !reader.Byte(b) || !reader.Byte(c) || !reader.Byte(d))
            return Drop(what, QStringLiteral("payload too short"));
        const TTurnClockSetting setting{a | b << 8, c | d << 8};
        if (setting.CardS > kMaxTurnClockS || setting.ContractS > kMaxTurnClockS)
            return Drop(what, QStringLiteral("%1 s is too long").arg(std::max(setting.CardS, setting.ContractS)));
        return SetTurnClock(setting);
    }
    if (!reader.Byte(a))
        return Drop(what, QStringLiteral("payload too short"));
    if (type == LOCK_TABLE) {
        locked_ = a != 0;
        Log(locked_ ? QStringLiteral("the host locked the table") : QStringLiteral("the host unlocked the table"));
        return TellOthers(kNoConnection, locked_ ? QStringLiteral("Masa kilitlendi: yeni oyuncu alınmıyor.")
                                                 : QStringLiteral("Masanın kilidi açıldı."));
    }
    // The other two act on a player's seat during a game.
    SeatEntry* entry = SeatCount() == kSeatCount && a != 0 ? EntryOf(a) : nullptr;
    if (entry == nullptr || entry->Kind != SeatEntry::Human || entry->Connection == kNoConnection)
        return Drop(what, QStringLiteral("seat %1 holds no player").arg(int(a)));
    const QString name = NameOf(a);
    if (type == SEAT_TO_COMPUTER) {
        turnClock_.TakeOver(a);
        Log(QStringLiteral("the host gave seat %1 (%2) to the computer").arg(int(a)).arg(name));
        TellOthers(kNoConnection, QStringLiteral("Masa sahibi %1 yerine bilgisayarı oynatıyor; %1 bir şey yapınca "
                                                 "yeniden kendisi oynar.").arg(name));
    } else {
        // Out for the rest of this game: the connection goes, and neither the seat's key nor
        // its name from any address takes the seat back before the next game.
        const TConnectionId gone = entry->Connection;
        entry->Connection = kNoConnection;
        entry->Removed = true;
        Changed();
        Log(QStringLiteral("the host removed seat %1 (%2) for this game; the computer plays it").arg(int(a)).arg(name));
        SendText(gone, CHAT_TEXT, QStringLiteral("Masa sahibi seni bu oyundan çıkardı."));
        link_.Close(gone, true);
        for (TToldNews& told : told_)
            told.Dropped[a] = true; // told as a removal, not as a drop
        TellOthers(kNoConnection, QStringLiteral("Masa sahibi %1 oyuncusunu bu oyundan çıkardı; yerine bilgisayar "
                                                 "oynuyor.").arg(name));
    }
    // The seat may be the one awaited now: the computer acts for it at its next tick.
    RestartTurnClock();
    ComputerMayAct();
}

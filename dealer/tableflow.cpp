// The course of a game at the dealer: new games and loaded records, contracts, cards,
// the computer seats, the pacing of every trick and the broadcast of the record.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "cp1254.h"
#include "payload.h"
#include "seatnames.h"
#include "table.h"
#include "tableaudience.h"
#include "tabletext.h"

namespace {

// The dealer's log line for a refused move.
QString MoveRefusal(const TGameInfo& g, int seat, const TMove& move)
{
    const TRefusal refusal = CheckMove(g, seat, move);
    switch (refusal) {
    case TRefusal::None:
        return {};
    case TRefusal::NoMove:
        return QStringLiteral("no move");
    case TRefusal::NotToChoose:
        return QStringLiteral("seat %1 is not to choose").arg(seat);
    case TRefusal::NotAvailable:
        return QStringLiteral("contract %1 is not available to seat %2").arg(int(move.Contract)).arg(seat);
    case TRefusal::NotToPlay:
        return QStringLiteral("seat %1 is not to play").arg(seat);
    case TRefusal::NotHeld:
        return QStringLiteral("seat %1 does not hold %2").arg(seat).arg(CardName(move.Suit, move.Value));
    default:
        return QStringLiteral("seat %1 may not play %2: %3")
            .arg(seat)
            .arg(CardName(move.Suit, move.Value), QString::fromStdString(RefusalText(refusal, g, move)));
    }
}

} // namespace

void TTable::GameRecordMessage(int seat, const uint8_t* buf, int32_t count)
{
    if (seat != 0)
        return Drop("GAME_RECORD", QStringLiteral("not from the dealer's own user but from %1").arg(SeatText(seat)));
    if (!hostSendsRecords_)
        return Drop("GAME_RECORD", QStringLiteral("games are loaded from the dealer's games folder only"));
    TGameInfo loaded;
    if (!ReadGameRecord(buf, count, loaded))
        return Drop("GAME_RECORD", QStringLiteral("payload too short"));
    if (!IsValidGameInfo(loaded))
        return Drop("GAME_RECORD", QStringLiteral("the record is not consistent"));
    TakeLoadedGame(loaded);
}

void TTable::TakeLoadedGame(const TGameInfo& loaded)
{
    StopTrickTimers();
    game_ = loaded;
    Log(QStringLiteral("game loaded: %1").arg(PhaseText(game_)));
    // Whoever kept the save may have watched its hand played out: the cards still in the
    // hands are dealt again, and only a finished game loads as it was.
    if (!openHands_ && game_.Phase != psGameOver) {
        RedealHands(game_, *random_);
        Log(QStringLiteral("the cards of the hand in progress are dealt again"));
    }
    BroadcastGameRecord();
    // A record saved with a full trick on the table goes on with the trick's pacing.
    if (game_.Phase == psTrickComplete && SeatCount() == kSeatCount)
        StartTrickTimers();
}

void TTable::ChatText(int seat, const uint8_t* buf, int32_t count)
{
    if (seat == kNoSeat)
        return Drop("CHAT_TEXT", QStringLiteral("from a connection without a seat"));
    QString received;
    if (!ReadChatText(buf, count, received))
        return Drop("CHAT_TEXT", QStringLiteral("payload too short"));
    const auto entry = std::find_if(seats_.begin(), seats_.end(), [seat](const SeatEntry& e) { return e.Seat == seat; });
    const QString text = ChatLine(FromCp1254(SeatNameInRecord(game_, seat)), FromCp1254(entry->Requested),
                                  received, kMaxTextLength);
    Log(QStringLiteral("chat: %1").arg(text));
    for (const TConnectionId connection : Audience()) {
        // A line is not worth a player's connection: one whose link is backed up (a slow
        // network, or someone chatting in bursts) misses the line instead of being closed
        // for the backlog; the game's own messages are never held back.
        if (BackedUp(connection)) {
            Log(QStringLiteral("chat not sent to %1: its link is backed up").arg(Peer(connection)));
            continue;
        }
        SendText(connection, CHAT_TEXT, text);
    }
}

void TTable::NewGameMessage(int seat)
{
    if (seat != 0)
        return Drop("NEW_GAME", QStringLiteral("not from the dealer's own user but from %1").arg(SeatText(seat)));
    StopTrickTimers();
    NewGame(game_, *random_);
    for (SeatEntry& entry : seats_)
        entry.Removed = false; // removed for the last game only
    Log(QStringLiteral("new game: %1").arg(PhaseText(game_)));
    AnnounceTurnClock();
    BroadcastGameRecord();
}

void TTable::ContractChoice(int seat, const uint8_t* buf, int32_t count)
{
    uint8_t contract = kNone;
    if (!ReadContractChoice(buf, count, contract))
        return Drop("CONTRACT_CHOICE", QStringLiteral("payload too short"));
    if (seat == kNoSeat || SeatCount() != kSeatCount)
        return Drop("CONTRACT_CHOICE", QStringLiteral("%1 is not to choose").arg(SeatText(seat)));
    const TMove move = TMove::ChooseContract(contract);
    const QString refusal = MoveRefusal(game_, seat, move);
    if (!refusal.isEmpty())
        return Drop("CONTRACT_CHOICE", refusal);
    ApplyMove(seat, move, QString());
}

void TTable::CardPlay(int seat, const uint8_t* buf, int32_t count)
{
    uint8_t cardSeat = kNone, suit = kNone, value = kNone;
    if (!ReadCardPlay(buf, count, cardSeat, suit, value))
        return Drop("CARD_PLAY", QStringLiteral("payload too short"));
    if (seat == kNoSeat || cardSeat != seat)
        return Drop("CARD_PLAY",
                    QStringLiteral("%1 plays for seat %2").arg(SeatText(seat)).arg(int(cardSeat)));
    if (SeatCount() != kSeatCount)
        return Drop("CARD_PLAY", QStringLiteral("seat %1 is not to play").arg(seat));
    const TMove move = TMove::PlayCard(suit, value);
    const QString refusal = MoveRefusal(game_, seat, move);
    if (!refusal.isEmpty())
        return Drop("CARD_PLAY", refusal);
    ApplyMove(seat, move, QString());
}

void TTable::WaitForPlayers(int seat)
{
    if (seat != 0)
        return Drop("WAIT_FOR_PLAYERS", QStringLiteral("not from the dealer's own user but from %1").arg(SeatText(seat)));
    // The table is opened again for new players: the dealer's own user keeps seat 0 and
    // its connection, every other seat is given up and every other connection closed.
    Stop(computerMoveTimer_);
    StopTrickTimers();
    const QByteArray ownName = SeatNameInRecord(game_, 0);
    InitGameInfo(game_);
    Changed();
    std::memcpy(game_.PlayerName[0], ownName.constData(), std::size_t(ownName.size()));
    const TConnectionId own = OwnUser();
    while (seats_.size() > 1)
        seats_.removeLast();
    computerCount_ = 0;
    probes_.clear();
    for (int s = 0; s < kSeatCount; ++s)
        turnClock_.Forget(s);
    const QList<TConnectionId> others = connections_.keys();
    for (const TConnectionId connection : others)
        if (connection != own)
            link_.Close(connection);
    Log(QStringLiteral("waiting for new players"));
    for (int s = 1; s < kSeatCount; ++s)
        SendSeatName(own, s, QString());
    SendMissing();
    MarkTold(own);
}

void TTable::BroadcastGameRecord()
{
    Changed(); // a computer's answer asked for before is of no use any more
    if (SeatCount() != kSeatCount)
        return;
    source_->Observe(game_);
    for (const TConnectionId connection : HumanConnections())
        SendRecord(connection);
    if (!watchers_.isEmpty())
        SendWatchers(GAME_RECORD, TPayloadWriter().Record(WatcherRecord(game_)).Bytes());
    PaceComputer();
    RestartTurnClock();
    const QString path = files_.WriteLastHand(game_);
    if (path.isEmpty())
        Log(QStringLiteral("LastHand.rvo could not be written"));
    else if (path != lastHandPath_ && !lastHandPath_.isEmpty())
        Log(QStringLiteral("LastHand.rvo is now written to %1").arg(path));
    lastHandPath_ = path;
}

void TTable::StartTrickTimers()
{
    Start(trickWinnerTimer_);
    Start(trickResolveTimer_);
}

void TTable::StopTrickTimers()
{
    Stop(trickWinnerTimer_);
    Stop(trickResolveTimer_);
    // A trick whose taker the players were shown is cleared from their screens now.
    if (trickClearTimer_.isActive())
        TrickClearTick();
}

void TTable::ApplyMove(int seat, const TMove& move, const QString& who)
{
    ::ApplyMove(game_, seat, move);
    if (move.Kind == TMove::TKind::Contract) {
        Log(QStringLiteral("seat %1%2 chose %3").arg(seat).arg(who, QString::fromUtf8(ContractNames[move.Contract])));
    } else {
        Log(QStringLiteral("seat %1%2 played %3").arg(seat).arg(who, CardName(move.Suit, move.Value)));
    }
    BroadcastGameRecord();
    if (game_.TrickCount == kSeatCount)
        StartTrickTimers();
}

void TTable::PaceComputer()
{
    Start(computerMoveTimer_);
    AskComputer();
}

void TTable::ComputerMayAct()
{
    // The seat may be the one awaited now: the computer is asked at once and its move
    // applied on the next tick.
    if (game_.Phase == psChoosing || game_.Phase == psPlaying) {
        if (!computerMoveTimer_.isActive())
            Start(computerMoveTimer_);
        AskComputer();
    }
}

void TTable::AskComputer()
{
    // The awaited seat, if the computer plays it: a computer seat, or a seat whose
    // player's connection closed. It is asked as soon as the record is out, so that its
    // thinking runs while the pacing does.
    const int seat = SeatCount() == kSeatCount ? AwaitedSeat(game_) : kNoSeat;
    if (seat == kNoSeat || asked_ == version_)
        return;
    const auto entry = std::find_if(seats_.begin(), seats_.end(), [seat](const SeatEntry& e) { return e.Seat == seat; });
    if (entry == seats_.end() || !ComputerMovesFor(*entry) || WaitsForReturn(*entry))
        return;
    // With every player gone the computers do not play on alone; a player who comes back
    // starts them again.
    if (EveryPlayerGone()) {
        if (!leftAlone_)
            Log(QStringLiteral("every player has left: the computers wait"));
        leftAlone_ = true;
        return;
    }
    const quint64 ticket = version_;
    asked_ = ticket;
    askedAt_ = clock_.NowMs();
    answered_ = false;
    answer_.reset();
    const std::optional<TMove> move =
        source_->Request(game_, seat, [this, ticket, seat](const TMove& m) { ComputerAnswer(ticket, seat, m); });
    if (move)
        ComputerAnswer(ticket, seat, *move);
}

void TTable::ComputerAnswer(quint64 ticket, int seat, const TMove& move)
{
    if (ticket != version_)
        return Log(QStringLiteral("seat %1 (computer): an answer for an earlier state is discarded").arg(seat));
    answered_ = true;
    // The pacing follows the slowest recent decision, so that a slow one is not told apart.
    thinkTimes_[thinkTimeAt_++ % thinkTimes_.size()] = int(std::min<qint64>(clock_.NowMs() - askedAt_, 60000));
    computerMoveTimer_.Interval = ComputerPaceMs();
    const QString refusal = MoveRefusal(game_, seat, move);
    // A move that cannot be applied is reported once; the game waits (the timer stays
    // stopped) until the record changes, for example through a loaded game.
    if (!refusal.isEmpty())
        return Log(QStringLiteral("seat %1 (computer) found no move (%2); the game waits").arg(seat).arg(refusal));
    answer_ = std::make_pair(seat, move);
}

void TTable::ComputerMoveTick()
{
    Stop(computerMoveTimer_);
    // One action per tick. A move is applied on a tick, never when it was found, so its
    // time says nothing of how hard it was to find (the pacing is at least what the
    // computer's thinking takes); one found later waits for the next tick.
    if (asked_ != version_) {
        AskComputer(); // a seat the computer took over without a new record
        if (asked_ == version_)
            Start(computerMoveTimer_);
        return;
    }
    if (!answered_)
        return Start(computerMoveTimer_);
    if (const auto answer = std::exchange(answer_, std::nullopt)) {
        turnClock_.ComputerMoved(answer->first);
        ApplyMove(answer->first, answer->second, QStringLiteral(" (computer)"));
    }
}

void TTable::TrickWinnerTick()
{
    Stop(trickWinnerTimer_);
    if (game_.Phase != psTrickComplete || game_.TrickCount != kSeatCount)
        return;
    const uint8_t winner = WhoBiggest(game_);
    Log(QStringLiteral("trick taken by seat %1").arg(int(winner)));
    for (const TConnectionId connection : Audience())
        Send(connection, TRICK_TAKER, TPayloadWriter().Byte(winner).Bytes());
    Start(trickClearTimer_);
}

void TTable::TrickClearTick()
{
    Stop(trickClearTimer_);
    Log(QStringLiteral("trick cleared"));
    for (const TConnectionId connection : Audience())
        Send(connection, TRICK_CLEAR);
}

void TTable::TrickResolveTick()
{
    Stop(trickResolveTimer_);
    if (game_.Phase != psTrickComplete || game_.TrickCount != kSeatCount)
        return;
    const int hands = ContractsPlayed(game_);
    ResolveTrick(game_, *random_);
    if (game_.Phase == psGameOver)
        Log(QStringLiteral("game over: totals %1").arg(TotalsText(game_)));
    else if (game_.Phase == psChoosing)
        Log(QStringLiteral("hand %1 over: totals %2; %3").arg(hands).arg(TotalsText(game_), PhaseText(game_)));
    else
        Log(QStringLiteral("trick resolved: %1").arg(PhaseText(game_)));
    BroadcastGameRecord();
}

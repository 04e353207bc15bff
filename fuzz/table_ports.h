// The table core's ports for the fuzz targets, in process and checking what the table does
// through them, with the awaited move that gets games far and the checks of a table.
#pragma once

#include <algorithm>
#include <set>
#include <vector>

#include "fuzz_util.h"
#include "payload.h"
#include "table.h"

class TFakePorts : public TTableLink, public TTableClock, public TTableFiles {
public:
    qint64 now = 0;
    qint64 wake = -1;
    int backlog = 0;
    qint64 backlogBytes = 0;
    std::vector<TConnectionId> closing, probed;
    std::set<TConnectionId> gone; // the table was told that these closed

    void Send(TConnectionId id, TPacketType type, const QByteArray& payload) override
    {
        FUZZ_CHECK(!gone.count(id));
        FUZZ_CHECK(payload.size() <= kMaxPayloadSize);
        if (type == GAME_RECORD) {
            TGameInfo g;
            FUZZ_CHECK(ReadGameRecord(reinterpret_cast<const uint8_t*>(payload.constData()), int32_t(payload.size()), g));
            FUZZ_CHECK(IsValidGameInfo(g));
        }
    }
    void Close(TConnectionId id, bool) override
    {
        FUZZ_CHECK(!gone.count(id));
        closing.push_back(id);
    }
    void Probe(TConnectionId id) override
    {
        FUZZ_CHECK(!gone.count(id));
        probed.push_back(id);
    }
    int Backlog(TConnectionId) const override { return backlog; }
    qint64 BacklogBytes(TConnectionId) const override { return backlogBytes; }
    void Notice(const QString&) override {}
    qint64 NowMs() const override { return now; }
    void WakeAt(qint64 atMs) override { wake = atMs; }
    QString WriteLastHand(const TGameInfo& g) override
    {
        FUZZ_CHECK(IsValidGameInfo(g));
        return QStringLiteral("LastHand.rvo");
    }

    // What the table closed goes from open, as an adapter reports it: after the call.
    void CloseWhatTheTableClosed(TTable& table, std::vector<TConnectionId>& open)
    {
        while (!closing.empty()) {
            const TConnectionId id = closing.front();
            closing.erase(closing.begin());
            if (const auto it = std::find(open.begin(), open.end(), id); it != open.end()) {
                open.erase(it);
                gone.insert(id);
                table.Disconnected(id);
            }
        }
    }
    // The clock moves on by ms, and the table does what is due.
    void Advance(TTable& table, qint64 ms)
    {
        now += ms;
        for (int i = 0; i < 64 && wake >= 0 && wake <= now; ++i) {
            wake = -1;
            table.Tick();
        }
    }
};

// The awaited seat's first legal card or first available contract, so that games get far.
inline QByteArray AwaitedMove(const TGameInfo& g, TPacketType& type)
{
    if (g.Phase == psChoosing && g.Chooser < kSeatCount) {
        type = CONTRACT_CHOICE;
        for (uint8_t c = 0; c < kContractCount; ++c)
            if (ContractAvailable(g, g.Chooser, c))
                return TPayloadWriter().Byte(c).Bytes();
    }
    if (g.Phase == psPlaying && g.Turn < kSeatCount) {
        type = CARD_PLAY;
        for (int i = 0; i < g.CardCount[g.Turn] && i < 13; ++i)
            if (CanPlay(g, g.Turn, g.CardSuit[g.Turn][i], g.CardValue[g.Turn][i]))
                return TPayloadWriter().Byte(g.Turn).Byte(g.CardSuit[g.Turn][i]).Byte(g.CardValue[g.Turn][i]).Bytes();
    }
    type = NEW_GAME;
    return {};
}

inline void CheckTable(const TTable& table, const TFakePorts& ports)
{
    const TGameInfo& g = table.GameInfo();
    FUZZ_CHECK(table.SeatCount() <= kSeatCount);
    if (g.Phase != psWaiting)
        FUZZ_CHECK(IsValidGameInfo(g));
    const QList<SeatEntry>& seats = table.Seats();
    for (qsizetype i = 0; i < seats.size(); ++i) {
        FUZZ_CHECK(i == 0 || seats[i - 1].Seat < seats[i].Seat);
        FUZZ_CHECK(!ports.gone.count(seats[i].Connection));
    }
}

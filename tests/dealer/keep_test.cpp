// A table that outlives its server: the state it keeps after every change, a table built
// again from it that its players take back, the file's checks against damaged bytes, and
// the writer that keeps only the newest content of a file waiting.
#include <condition_variable>
#include <map>
#include <mutex>

#include "dealer_test_util.h"
#include "house_fixture.h"
#include "tablemessages.h"
#include "dealerlevel.h"
#include "filekeeper.h"
#include "tablestate.h"

namespace {

struct TRecordingStore : TTableStore {
    std::vector<TTableState> Kept;
    void Keep(const TTableState& state) override { Kept.push_back(state); }
};

struct Keep : ::testing::Test {
    TRandom random{20261207};
    TRandom moves{5};
    TRecordingStore store;

    TTableOptions Options()
    {
        TTableOptions options;
        options.Quick = true;
        options.Random = &random;
        options.OpenHands = true;
        options.Store = &store;
        options.Code = "K7M2PQ";
        options.Name = QStringLiteral("Çay ocağı");
        return options;
    }
    // The two players act whenever the game awaits their seat, until done holds.
    bool Play(TLocalTable& local, const std::map<int, TLocalPlayer*>& players, const std::function<bool()>& done)
    {
        for (int actions = 0; actions < 3000 && !done(); ++actions) {
            const TGameInfo before = local.Table().GameInfo();
            const auto it = players.find(AwaitedSeat(before));
            if (it != players.end())
                it->second->SendOwnMove(it->first, before, moves);
            if (!local.RunUntil([&] { return done() || !SameRecord(local.Table().GameInfo(), before); }, 10000))
                return false;
        }
        return done();
    }
};

TEST_F(Keep, ARestoredTableWaitsForItsPlayersButNotForASeatTheComputerPlays)
{
    TTableOptions options = Options();
    options.TurnClock = {2, 3};
    auto first = std::make_unique<TLocalTable>(options);
    TLocalPlayer ayse(*first, QStringLiteral("127.0.0.1"));
    TLocalPlayer omer(*first, QStringLiteral("10.0.0.2")); // peers of the original protocol
    TLocalPlayer can(*first, QStringLiteral("10.0.0.3"));
    ayse.SendRaw(JOIN_REQUEST, OurJoin(QStringLiteral("Ayşe")));
    ASSERT_TRUE(first->RunUntil([&] { return ayse.Count(JOIN_ACCEPTED) == 1; }));
    omer.JoinAs(QStringLiteral("Ömer"));
    ASSERT_TRUE(first->RunUntil([&] { return omer.Count(JOIN_ACCEPTED) == 1; }));
    can.JoinAs(QStringLiteral("Can"));
    ASSERT_TRUE(first->RunUntil([&] { return can.Count(JOIN_ACCEPTED) == 1; }));
    ayse.StartNow();
    ayse.NewGame();
    // Ömer lets his time run out three times in a row, so the computer plays him; the server
    // goes when his card is awaited.
    ASSERT_TRUE(Play(*first, {{0, &ayse}, {2, &can}}, [&] {
        const TGameInfo& g = first->Table().GameInfo();
        return first->Table().State().Seats.value(1).ComputerPlays && g.Phase == psPlaying && AwaitedSeat(g) == 1;
    }));

    // The last state kept is the table's, and its file gives it back whole.
    ASSERT_FALSE(store.Kept.empty());
    const TTableState state = store.Kept.back();
    EXPECT_TRUE(state == first->Table().State());
    ASSERT_EQ(state.Seats.size(), 4);
    EXPECT_EQ(state.Seats[1].Host, QStringLiteral("10.0.0.2"));
    EXPECT_FALSE(state.Seats[1].Extended);
    EXPECT_EQ(state.Seats[1].TimeoutsInARow, kTimeoutsInARow);
    EXPECT_EQ(state.Seats[0].Key, AcceptedBlock(ayse).Key);
    TTableState read;
    QString why;
    ASSERT_TRUE(ReadTableState(TableStateBytes(state), read, why)) << why.toStdString();
    EXPECT_TRUE(read == state);
    EXPECT_EQ(read.Name, QStringLiteral("Çay ocağı"));
    const TGameInfo before = state.Record;
    for (TLocalPlayer* p : {&ayse, &omer, &can})
        p->Close();
    first.reset(); // the server is gone: kill -9 leaves nothing but the state

    // Can comes back by his name from his address. The computer goes on playing Ömer at
    // once; Ayşe's seat waits for her through the grace after the restart, and a stranger
    // with Ömer's name from another address gets nothing.
    TLocalTable second(options);
    second.Table().Restore(read);
    EXPECT_EQ(second.Table().SeatCount(), 4);
    TLocalPlayer canBack(second, QStringLiteral("10.0.0.3"));
    canBack.JoinAs(QStringLiteral("Can"));
    ASSERT_TRUE(second.RunUntil([&] { return canBack.Count(GAME_RECORD) > 0; }));
    EXPECT_TRUE(canBack.Has(AcceptedLine(2)));
    const auto cards = [&](int seat) { return second.Table().GameInfo().CardCount[seat]; };
    ASSERT_TRUE(second.RunUntil([&] { return cards(1) < before.CardCount[1]; }, 2000));
    TLocalPlayer stranger(second, QStringLiteral("10.0.0.66"));
    stranger.JoinAs(QStringLiteral("Ömer"));
    ASSERT_TRUE(Play(second, {{2, &canBack}}, [&] { return AwaitedSeat(second.Table().GameInfo()) == 0; }));
    second.RunFor(kRestoreGraceMs - 1000 - second.NowMs());
    EXPECT_TRUE(stranger.Has(QStringLiteral("TABLE_FULL")));
    EXPECT_EQ(cards(0), before.CardCount[0]);
    ASSERT_TRUE(second.RunUntil([&] { return cards(0) < before.CardCount[0]; }, 2000));

    // Ömer takes his seat back by name from his address; coming back is no act of his, so
    // the computer plays him until he says something.
    TLocalPlayer omerBack(second, QStringLiteral("10.0.0.2"));
    omerBack.JoinAs(QStringLiteral("Ömer"));
    ASSERT_TRUE(second.RunUntil([&] { return omerBack.Count(GAME_RECORD) > 0; }));
    EXPECT_TRUE(omerBack.Has(AcceptedLine(1)));
    omerBack.Chat(QStringLiteral("döndüm"));
    EXPECT_TRUE(second.RunUntil([&] { return omerBack.Has(QStringLiteral("CHAT_TEXT Ömer yeniden kendisi oynuyor.")); }, 1000));
}

// The latest state of every table, by code, and the tables forgotten.
struct TTablesStore : TTableStore {
    std::map<QString, TTableState> Latest;
    QStringList Forgotten;
    void Keep(const TTableState& state) override { Latest[state.Code] = state; }
    void Forget(const QString& code) override { Forgotten << code; Latest.erase(code); }
};

TEST(KeepHouses, EveryTableOfAServerIsRestoredWithItsCodeAndForgottenWhenClosed)
{
    TTablesStore store;
    THouseOptions options;
    options.Table.Quick = true;
    options.Table.Store = &store;
    options.EmptyCloseMs = 60000;
    QByteArray code, defaultCode;
    TSeatKey key;
    TGameInfo before{};
    {
        TLocalHouses houses(2, options);
        defaultCode = houses.Directory().DefaultCode();
        THousePlayer old(houses, 0, QStringLiteral("10.0.0.1")); // at the default table
        old.JoinAs(QStringLiteral("Eski"));
        std::vector<std::unique_ptr<THousePlayer>> players;
        for (int i = 0; i < 4; ++i)
            players.push_back(std::make_unique<THousePlayer>(houses, 0, QStringLiteral("10.0.1.%1").arg(i)));
        players[0]->SendRaw(CREATE_TABLE, CreateTablePayload({QStringLiteral("Akşam"), 1, 0, 0, 0}));
        ASSERT_TRUE(houses.RunUntil([&] { return players[0]->Count(TABLE_CREATED) > 0; }, 1000));
        bool ok = false;
        QString text;
        const QByteArray& answer = players[0]->Received.back().Payload;
        ASSERT_TRUE(ReadTableAnswer(reinterpret_cast<const uint8_t*>(answer.constData()), int32_t(answer.size()), ok, text) && ok);
        code = text.toLatin1();
        for (int i = 0; i < 4; ++i) {
            players[std::size_t(i)]->JoinOurs(QStringLiteral("Oyuncu%1").arg(i), code);
            ASSERT_TRUE(houses.RunUntil([&] { return players[std::size_t(i)]->Count(JOIN_ACCEPTED) > 0; }, 1000));
        }
        players[0]->NewGame();
        TRandom random(3);
        for (int i = 0; i < 4; ++i) {
            THousePlayer* p = players[std::size_t(i)].get();
            p->OnReceived = [p, i, &random](const TReceived& r) {
                if (r.Type == GAME_RECORD && p->Count(GAME_RECORD) < 20)
                    p->SendOwnMove(i, r.Record(), random);
            };
        }
        ASSERT_TRUE(houses.RunUntil([&] { return players[0]->Count(GAME_RECORD) >= 20; }, 60000));
        houses.RunUntil([] { return false; }, 3000);
        key = AcceptedBlock(*players[2]).Key;
        ASSERT_EQ(store.Latest.count(QString::fromLatin1(code)), 1u);
        before = store.Latest[QString::fromLatin1(code)].Record;
        EXPECT_TRUE(SameRecord(before, players[2]->LastRecord()));
        EXPECT_TRUE(store.Latest[QString::fromLatin1(defaultCode)].Default);
    }

    // The next run, told another level: both tables again, the default one still the table
    // of peers that name none, each at its own level.
    for (const auto& [kept, state] : store.Latest)
        options.Kept.push_back(state);
    SetComputerLevel(options.Table, TComputerLevel::Usta);
    TLocalHouses houses(2, options);
    EXPECT_EQ(houses.Directory().DefaultCode(), defaultCode);
    EXPECT_EQ(houses.Directory().Count(), 2);
    TTable* table = houses.House(0).Table(code) ? houses.House(0).Table(code) : houses.House(1).Table(code);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->SeatCount(), 4);
    EXPECT_EQ(houses.Directory().List().back().Settings.Name, QStringLiteral("Akşam"));
    THousePlayer back(houses, 1, QStringLiteral("10.9.9.9"));
    back.JoinOurs(QStringLiteral("Oyuncu2"), code, key);
    ASSERT_TRUE(houses.RunUntil([&] { return back.Count(GAME_RECORD) > 0; }, 1000));
    EXPECT_TRUE(back.Has(AcceptedLine(2)));
    EXPECT_TRUE(SameRecord(back.LastRecord(), before));
    THousePlayer newcomer(houses, 0, QStringLiteral("10.0.2.1"));
    newcomer.JoinAs(QStringLiteral("Yeni"));
    newcomer.StartNow();
    EXPECT_TRUE(houses.RunUntil([&] { return newcomer.Has(QStringLiteral("SEAT_NAME 1 Acemi1")); }, 3000));
    // Left empty, the table is closed and its state forgotten.
    back.Close();
    houses.RunUntil([] { return false; }, options.EmptyCloseMs + 5000);
    EXPECT_TRUE(store.Forgotten.contains(QString::fromLatin1(code)));
    EXPECT_FALSE(store.Forgotten.contains(QString::fromLatin1(defaultCode)));
}

// The file of a state, sealed again after a change: its length and checksum made right.
QByteArray Resealed(const QByteArray& bytes)
{
    return SealTableState(bytes.mid(14), uint16_t(uint8_t(bytes[4]) | uint8_t(bytes[5]) << 8));
}

// A dealt table of two players and two computers, on the clock, as a server keeps it; with
// time-outs, one player is played by the computer.
TTableState SampleState(bool timeouts = false)
{
    TTableState state;
    InitGameInfo(state.Record);
    NewGame(state.Record, *std::make_unique<TRandom>(3));
    for (uint8_t seat = 0; seat < kSeatCount; ++seat)
        state.Seats.append({seat, uint8_t(seat < 2 ? 1 : 2), "Oyuncu" + QByteArray::number(seat), "Oyuncu", "127.0.0.1",
                            TSeatKey{seat, 9}, seat == 0, seat == 1});
    state.TurnClock = {30, 45};
    state.Code = QStringLiteral("ABC234");
    if (timeouts) {
        state.Seats[0].TimeoutsInARow = 2;
        state.Seats[1].TimeoutsInARow = kTimeoutsInARow;
        state.Seats[1].ComputerPlays = true;
    }
    return state;
}

TEST(TableStateFile, EveryDamagedFileIsRefusedWithItsReason)
{
    const TTableState state = SampleState(true);
    const QByteArray bytes = TableStateBytes(state);
    TTableState read;
    QString why;
    ASSERT_TRUE(ReadTableState(bytes, read, why));
    EXPECT_TRUE(read == state);

    // Cut anywhere, or any byte changed: refused, and the state given is left alone.
    TTableState untouched;
    untouched.Name = QStringLiteral("boş");
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(ReadTableState(bytes.left(n), untouched, why)) << n;
        QByteArray changed = bytes;
        changed[n] = char(changed[n] ^ 0x20);
        EXPECT_FALSE(ReadTableState(changed, untouched, why)) << n;
    }
    EXPECT_EQ(untouched.Name, QStringLiteral("boş"));

    // Sealed again, so that only the checks of the fields stand between them and a table.
    const qsizetype seats = 14 + qsizetype(sizeof(TGameInfo)) + 6 + (4 + 6) + 4 + 1; // the first seat entry
    const auto refusal = [&](const std::function<void(QByteArray&)>& damage) {
        QByteArray b = bytes;
        damage(b);
        QString reason;
        return ReadTableState(Resealed(b), untouched, reason) ? QStringLiteral("accepted") : reason;
    };
    EXPECT_EQ(refusal([](QByteArray& b) { b[4] = 3; }), QStringLiteral("version 3 is not known"));
    EXPECT_EQ(refusal([](QByteArray& b) { b[14 + offsetof(TGameInfo, CardCount)] = 14; }),
              QStringLiteral("the record is not consistent"));
    EXPECT_EQ(refusal([&](QByteArray& b) { b[seats] = 4; }), QStringLiteral("seat entry 0 is missing or out of range"));
    EXPECT_EQ(refusal([&](QByteArray& b) { b[seats + 1] = 0; }), QStringLiteral("seat entry 0 is missing or out of range"));
    EXPECT_EQ(refusal([&](QByteArray& b) { b[seats + 3] = kTimeoutsInARow + 1; }),
              QStringLiteral("seat entry 0 is missing or out of range"));
    EXPECT_EQ(refusal([&](QByteArray& b) { b[seats + 7] = char(0xFF); }), // a name of -1 bytes
              QStringLiteral("seat entry 0 is missing or out of range"));
    EXPECT_EQ(refusal([&](QByteArray& b) { b[seats - 1] = 5; }),
              QStringLiteral("a setting of the table is missing or out of range"));
    EXPECT_EQ(refusal([&](QByteArray& b) { b[seats - 11] = '/'; }), // the code names a file
              QStringLiteral("a setting of the table is missing or out of range"));
    EXPECT_EQ(refusal([](QByteArray& b) { b.append('\0'); }), QStringLiteral("bytes follow the last seat"));

    QTemporaryDir dir;
    const QString path = TableStatePath(dir.path(), state.Code);
    EXPECT_EQ(path, dir.filePath(QStringLiteral("ABC234.table")));
    ASSERT_TRUE(WriteOwnerFile(path, bytes + QByteArray(20000, 'x')));
    EXPECT_FALSE(ReadTableStateFile(path, untouched, why));
    EXPECT_EQ(why, QStringLiteral("the file is too large"));
}

// While one content of a file is being written, the newer ones replace each other: the
// file is written twice, the second time with the newest.
TEST(FileKeeper, OnlyTheNewestContentWaitsBehindTheWriteUnderWay)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("state"));
    std::mutex mutex;
    std::condition_variable gate;
    bool writing = false, open = false;
    const auto write = [&](const QByteArray& bytes) {
        std::unique_lock lock(mutex);
        writing = true;
        gate.notify_all();
        gate.wait(lock, [&] { return open; });
        return WriteOwnerFile(path, bytes) ? path : QString();
    };
    TFileKeeper keeper;
    keeper.Put(path, "0", write);
    {
        std::unique_lock lock(mutex);
        gate.wait(lock, [&] { return writing; });
    }
    for (int i = 1; i <= 50; ++i)
        keeper.Put(path, QByteArray::number(i), write);
    EXPECT_FALSE(keeper.Idle());
    {
        const std::lock_guard lock(mutex);
        open = true;
    }
    gate.notify_all();
    keeper.Flush();
    EXPECT_TRUE(keeper.Idle());
    EXPECT_EQ(keeper.Writes(), 2);
    EXPECT_EQ(keeper.Coalesced(), 49);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "50");
    EXPECT_EQ(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
}

// The fuzzer's seeds (a first byte for how it reads the rest, then a file or a body) are
// states as this program writes them (ZORBELA_WRITE_SEEDS=1 writes them again), and the
// file of SampleState() written by the first version, which is still read.
TEST(TableStateFile, AFileOfTheFirstVersionIsStillRead)
{
    const QDir seeds(QStringLiteral(ZORBELA_STATE_SEEDS));
    if (qEnvironmentVariableIsSet("ZORBELA_WRITE_SEEDS")) {
        TTableState waiting;
        waiting.Default = true;
        ASSERT_TRUE(WriteOwnerFile(seeds.filePath(QStringLiteral("waiting")), '\0' + TableStateBytes(waiting)));
        const QByteArray playing = TableStateBytes(SampleState(true)).mid(14); // a body, sealed by the fuzzer
        ASSERT_TRUE(WriteOwnerFile(seeds.filePath(QStringLiteral("playing")), '\1' + playing));
    }
    QFile file(seeds.filePath(QStringLiteral("version1")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    TTableState read;
    QString why;
    ASSERT_TRUE(ReadTableState(file.readAll().mid(1), read, why)) << why.toStdString();
    EXPECT_TRUE(read == SampleState());
}

} // namespace

#include "scenario.h"

#include <cstring>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "attackdealer.h"
#include "notify.h"

namespace {

const QString kHost = QStringLiteral("127.0.0.1");

} // namespace

TScenario::TScenario(TScenarioOptions options) : options_(std::move(options)), random_(options_.Seed)
{
    SetNotifier([this](const std::string& text, int) { ++notices_[QString::fromStdString(text)]; });
    TDealerOptions dealerOptions;
    dealerOptions.Port = 0;
    dealerOptions.Quick = true;
    dealerOptions.TrickResolveExtraMs = options_.TrickResolveExtraMs;
    // The shortened pacing lets our players send faster than a real player could.
    dealerOptions.MaxDataFrames = 0;
    dealerOptions.AckTimeoutMs = options_.AckTimeoutMs;
    // Every attack here comes from one address; the cap on connections without a seat per
    // address has attacks of its own (linkattacks.h).
    dealerOptions.MaxUnjoinedPerAddress = 0;
    dealerOptions.LastHandFolder = folder_.path();
    dealerOptions.Random = &random_;
    // The players check that each record follows from the one before by one legal step,
    // which needs every hand.
    dealerOptions.OpenHands = true;
    dealer_ = std::make_unique<TDealerThread>(dealerOptions);
    QObject::connect(&dealer_->Table(), &TTable::Event, &dealer_->Table(),
                     [this](const QString& line) { ++eventCounts_[line.section(QLatin1Char(' '), 0, 1)]; });
}

TScenario::~TScenario()
{
    players_.clear();
    silentSeat_.reset();
    dealer_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetNotifier(nullptr);
}

bool TScenario::RunUntil(const std::function<bool()>& done, int timeoutMs)
{
    return RunEventsUntil(done, timeoutMs, options_.Tick);
}

bool TScenario::Fail(const QString& why)
{
    failure_ = why;
    return false;
}

bool TScenario::Seat(TAutoPlayer& player, int seat)
{
    return RunUntil([&] { return player.Seat != kNoSeat; }, 10000) && player.Seat == seat;
}

void TScenario::CountHands()
{
    const std::vector<TGameInfo>& records = players_.front()->Records;
    for (; countedRecords_ < records.size(); ++countedRecords_) {
        if (countedRecords_ == 0)
            continue;
        const TGameInfo& before = records[countedRecords_ - 1];
        const TGameInfo& g = records[countedRecords_];
        if (before.Phase == psTrickComplete && (g.Phase == psChoosing || g.Phase == psGameOver))
            ++handsOver_;
    }
}

bool TScenario::AtRest()
{
    const TGameInfo& g = dealer_->GameInfo();
    for (const auto& player : players_) {
        const TGameInfo* last = player->Last();
        if (last == nullptr || std::memcmp(last, &g, sizeof g) != 0)
            return false;
    }
    return !dealer_->ComputerMoveTimer().isActive() && !dealer_->TrickWinnerTimer().isActive() &&
           !dealer_->TrickClearTimer().isActive() && !dealer_->TrickResolveTimer().isActive();
}

bool TScenario::Run()
{
    if (!dealer_->Listening())
        return Fail(QStringLiteral("the dealer does not listen"));
    const quint16 port = dealer_->Port();
    const char* names[] = {"Ayşe", "Ömer"};
    for (int seat = 0; seat < 2; ++seat) {
        players_.push_back(std::make_unique<TAutoPlayer>(kHost, port, QString::fromUtf8(names[seat]),
                                                         options_.Seed + 10 + uint32_t(seat)));
        if (!Seat(*players_.back(), seat))
            return Fail(QStringLiteral("player %1 was not seated").arg(seat));
    }
    if (options_.SilentSeat) {
        silentSeat_ = MakeSilentAttack(QStringLiteral("Sessiz"), options_.TimeoutMs);
        silentSeat_->Start(kHost, port);
        if (!RunUntil([&] { return dealer_->SeatCount() == 3; }, 10000))
            return Fail(QStringLiteral("the silent peer was not seated"));
    }

    TAutoPlayer& own = *players_.front();
    own.RestartWhenOver = true;
    own.OnTableComplete = [](TAutoPlayer& p) { p.Session.SendNewGame(); };
    own.Session.SendStartNow();
    if (!RunUntil([&] { return !own.Records.empty(); }, 10000))
        return Fail(QStringLiteral("no game started"));

    if (silentSeat_) {
        // Its first frame never gets an ACK: the dealer gives the connection up once that
        // has lasted too long, and the computer plays the seat.
        if (!RunUntil([&] { return silentSeat_->Report().ClosedByDealer > 0; }, options_.AckTimeoutMs + 10000))
            return Fail(QStringLiteral("the seat that never acknowledges was kept"));
    }

    TCrowdOptions crowdOptions;
    crowdOptions.Churn = options_.Churn;
    crowdOptions.ChurnParallel = options_.ChurnParallel;
    crowdOptions.Peek = [this] { return dealer_->GameInfo(); };
    for (int round = 0; round < options_.Rounds; ++round) {
        crowdOptions.Seed = options_.Seed + 100 * uint32_t(round);
        THostileCrowd crowd(kHost, port, crowdOptions);
        crowd.Start();
        const bool ended = RunUntil([&] { return crowd.Done(); }, options_.TimeoutMs);
        for (const TAttackReport& report : crowd.Reports())
            reports_.push_back(report);
        if (!ended)
            return Fail(QStringLiteral("the attacks of round %1 did not end").arg(round + 1));
    }

    if (!RunUntil([&] { CountHands(); return handsOver_ >= options_.Hands; }, options_.TimeoutMs))
        return Fail(QStringLiteral("only %1 hands were played").arg(handsOver_));
    for (auto& player : players_)
        player->Paused = true;
    QElapsedTimer rest;
    if (!RunUntil([&] {
            if (!AtRest())
                rest.invalidate();
            else if (!rest.isValid())
                rest.start();
            return rest.isValid() && rest.elapsed() >= 300;
        }, 20000))
        return Fail(QStringLiteral("the dealer did not come to rest"));
    CountHands();

    // The hostile connections are let go: only the players' own remain.
    if (!RunUntil([&] { return dealer_->DealerSocket().ActiveConnections() == int(players_.size()); }, 15000))
        return Fail(QStringLiteral("%1 connections remain at the dealer")
                        .arg(dealer_->DealerSocket().ActiveConnections()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

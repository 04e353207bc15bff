#include "players.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

class TLocalPlayers : public TPlayerShare {
public:
    TLocalPlayers(int paceMs, std::vector<TLoadTarget> tables, int loops) : count_(int(tables.size()))
    {
        control_.PaceMs = paceMs;
        std::vector<std::vector<TLoadTarget>> shares(std::size_t(std::max(loops, 1)));
        for (std::size_t i = 0; i < tables.size(); ++i)
            shares[i % shares.size()].push_back(tables[i]);
        results_.resize(shares.size());
        for (std::size_t k = 0; k < shares.size(); ++k)
            threads_.emplace_back([this, k, share = std::move(shares[k])] { results_[k] = TLoadLoop(control_, share).Run(); });
    }
    ~TLocalPlayers() override
    {
        control_.Stop.store(true);
        for (std::thread& t : threads_)
            if (t.joinable())
                t.join();
    }

    void WaitPlaying() override
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(30000 + 20 * count_);
        while (control_.Started.load() + control_.Failed.load() < count_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(20ms);
    }
    void OpenWindow(int64_t startNs, int64_t endNs) override
    {
        control_.WindowStart.store(startNs);
        control_.WindowEnd.store(endNs);
    }
    TLoadFigures Stop(int& started, int& failed) override
    {
        control_.Stop.store(true);
        for (std::thread& t : threads_)
            t.join();
        TLoadFigures all;
        for (TLoadFigures& r : results_) {
            all.LatencyMs.insert(all.LatencyMs.end(), r.LatencyMs.begin(), r.LatencyMs.end());
            all.Moves += r.Moves;
            all.Unseen += r.Unseen;
            all.Connections += r.Connections;
        }
        started = control_.Started.load();
        failed = control_.Failed.load();
        return all;
    }
    int Started() const override { return control_.Started.load(); }

private:
    int count_;
    TLoadControl control_;
    std::vector<TLoadFigures> results_;
    std::vector<std::thread> threads_;
};

// The child's side: lines on its standard input ("window START END", "stop"), answers on
// its standard output ("playing STARTED", then "figures MOVES UNSEEN CONNECTIONS STARTED
// FAILED COUNT" and COUNT latencies, one a line).
[[noreturn]] void RunChild(int paceMs, std::vector<TLoadTarget> tables, int loops, FILE* in, FILE* out)
{
    TLocalPlayers players(paceMs, std::move(tables), loops);
    players.WaitPlaying();
    std::fprintf(out, "playing %d\n", players.Started());
    std::fflush(out);
    long long start = 0, end = 0;
    if (std::fscanf(in, " window %lld %lld", &start, &end) == 2)
        players.OpenWindow(start, end);
    char word[16] = {};
    if (std::fscanf(in, " %15s", word) != 1) // "stop", or the end of the parent
        word[0] = '\0';
    int started = 0, failed = 0;
    const TLoadFigures f = players.Stop(started, failed);
    std::fprintf(out, "figures %ld %ld %ld %d %d %zu\n", f.Moves, f.Unseen, f.Connections, started, failed,
                 f.LatencyMs.size());
    for (const double ms : f.LatencyMs)
        std::fprintf(out, "%.4f\n", ms);
    std::fflush(out);
    std::_Exit(0);
}

class TChildPlayers : public TPlayerShare {
public:
    TChildPlayers(int paceMs, std::vector<TLoadTarget> tables, int loops)
    {
        int down[2], up[2];
        if (::pipe(down) != 0 || ::pipe(up) != 0) {
            std::perror("zorbela-load: pipe");
            return;
        }
        std::fflush(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::close(down[1]);
            ::close(up[0]);
            RunChild(paceMs, std::move(tables), loops, ::fdopen(down[0], "r"), ::fdopen(up[1], "w"));
        }
        ::close(down[0]);
        ::close(up[1]);
        if (pid_ < 0) {
            std::perror("zorbela-load: fork");
            ::close(down[1]);
            ::close(up[0]);
            return;
        }
        toChild_ = ::fdopen(down[1], "w");
        fromChild_ = ::fdopen(up[0], "r");
    }
    ~TChildPlayers() override
    {
        if (toChild_)
            std::fclose(toChild_);
        if (fromChild_)
            std::fclose(fromChild_);
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
    }

    void WaitPlaying() override
    {
        if (fromChild_ == nullptr || std::fscanf(fromChild_, " playing %d", &started_) != 1)
            started_ = 0;
    }
    void OpenWindow(int64_t startNs, int64_t endNs) override
    {
        if (toChild_ == nullptr)
            return;
        std::fprintf(toChild_, "window %lld %lld\n", static_cast<long long>(startNs), static_cast<long long>(endNs));
        std::fflush(toChild_);
    }
    TLoadFigures Stop(int& started, int& failed) override
    {
        TLoadFigures f;
        started = 0;
        failed = 0;
        if (toChild_ == nullptr || fromChild_ == nullptr)
            return f;
        std::fputs("stop\n", toChild_);
        std::fflush(toChild_);
        std::size_t count = 0;
        if (std::fscanf(fromChild_, " figures %ld %ld %ld %d %d %zu", &f.Moves, &f.Unseen, &f.Connections, &started,
                        &failed, &count) != 6)
            return f;
        f.LatencyMs.resize(count);
        for (double& ms : f.LatencyMs)
            if (std::fscanf(fromChild_, " %lf", &ms) != 1)
                ms = 0;
        return f;
    }
    int Started() const override { return started_; }

private:
    pid_t pid_ = -1;
    FILE* toChild_ = nullptr;
    FILE* fromChild_ = nullptr;
    int started_ = 0;
};

} // namespace

std::unique_ptr<TPlayerShare> PlayersHere(int paceMs, std::vector<TLoadTarget> tables, int loops)
{
    return std::make_unique<TLocalPlayers>(paceMs, std::move(tables), loops);
}

std::unique_ptr<TPlayerShare> PlayersInAChild(int paceMs, std::vector<TLoadTarget> tables, int loops)
{
    return std::make_unique<TChildPlayers>(paceMs, std::move(tables), loops);
}

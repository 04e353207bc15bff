#include "servers.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// The port a dealer's log names in its first line ("dealer listening on port P"); 0 for none yet.
uint16_t PortInLog(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    const std::string marker = "dealer listening on port ";
    while (std::getline(in, line)) {
        const auto at = line.find(marker);
        if (at != std::string::npos)
            return uint16_t(std::strtoul(line.c_str() + at + marker.size(), nullptr, 10));
    }
    return 0;
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& args, const std::string& log)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    // The child: gone with the load program, whatever ends it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(127);
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        ::dup2(fd, 1);
        ::dup2(fd, 2);
    }
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

} // namespace

std::vector<TServerProcess> StartDealers(const std::string& program, int count, const std::string& folder,
                                         const std::vector<std::string>& extra, int timeoutMs)
{
    std::vector<TServerProcess> started;
    std::vector<std::string> logs;
    for (int i = 0; i < count; ++i) {
        const std::string home = folder + "/dealer" + std::to_string(i);
        std::filesystem::create_directories(home + "/games");
        std::vector<std::string> args = {"--port", "0", "--quick", "--lasthand-folder", home,
                                         "--games-folder", home + "/games"};
        args.insert(args.end(), extra.begin(), extra.end());
        logs.push_back(home + "/log.txt");
        started.push_back({Spawn(program, args, logs.back()), 0});
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t named = 0;
    while (named < started.size() && std::chrono::steady_clock::now() < until) {
        named = 0;
        for (size_t i = 0; i < started.size(); ++i) {
            if (started[i].Port == 0)
                started[i].Port = PortInLog(logs[i]);
            named += started[i].Port != 0 ? 1 : 0;
        }
        if (named < started.size())
            std::this_thread::sleep_for(50ms);
    }
    std::vector<TServerProcess> listening, silent;
    for (const TServerProcess& s : started)
        (s.Port != 0 ? listening : silent).push_back(s);
    if (!silent.empty())
        std::fprintf(stderr, "zorbela-load: %zu dealers named no port within %d ms\n", silent.size(), timeoutMs);
    StopDealers(silent);
    return listening;
}

void StopDealers(const std::vector<TServerProcess>& servers)
{
    std::set<pid_t> running;
    for (const TServerProcess& s : servers) {
        ::kill(s.Pid, SIGTERM);
        running.insert(s.Pid);
    }
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!running.empty()) {
        for (auto it = running.begin(); it != running.end();)
            it = ::waitpid(*it, nullptr, WNOHANG) != 0 ? running.erase(it) : std::next(it);
        if (running.empty())
            break;
        if (std::chrono::steady_clock::now() >= until) {
            for (const pid_t pid : running) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
}

std::vector<pid_t> PidsListeningOn(uint16_t port)
{
    // The inodes of the listening sockets (state 0A) on the port...
    std::set<std::string> inodes;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(table);
        std::string line;
        std::getline(in, line); // the heading
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
            fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode;
            const auto colon = local.rfind(':');
            if (state == "0A" && colon != std::string::npos
                && std::strtoul(local.c_str() + colon + 1, nullptr, 16) == port)
                inodes.insert("socket:[" + inode + "]");
        }
    }
    // ...and the processes whose descriptors point at one of them.
    std::vector<pid_t> pids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code fdError;
        for (const auto& fd : std::filesystem::directory_iterator(entry.path() / "fd", fdError)) {
            std::error_code linkError;
            const auto target = std::filesystem::read_symlink(fd.path(), linkError);
            if (!linkError && inodes.count(target.string()) != 0) {
                pids.push_back(pid_t(std::stol(name)));
                break;
            }
        }
    }
    return pids;
}

TProcFigures ReadProcFigures(const std::vector<pid_t>& pids)
{
    TProcFigures figures;
    const double ticks = double(::sysconf(_SC_CLK_TCK));
    for (const pid_t pid : pids) {
        const std::string base = "/proc/" + std::to_string(pid);
        std::ifstream status(base + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmRSS:", 0) == 0)
                figures.RssMb += std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        std::ifstream statFile(base + "/stat");
        std::string stat;
        std::getline(statFile, stat);
        // Fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
        const auto paren = stat.rfind(')');
        if (paren == std::string::npos)
            continue;
        std::istringstream fields(stat.substr(paren + 2));
        std::string field;
        unsigned long utime = 0, stime = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i == 14)
                utime = std::stoul(field);
            else if (i == 15)
                stime = std::stoul(field);
        }
        figures.CpuSeconds += double(utime + stime) / ticks;
    }
    return figures;
}

// The server processes of zorbela-load: dealers it starts itself (one process per table,
// each on a free port, killed with the load program if it dies), or the processes already
// listening on a port; and what /proc says about them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sys/types.h>

struct TServerProcess {
    pid_t Pid = 0;
    uint16_t Port = 0;
};

// Starts count dealers of program with --port 0 --quick, each writing its log and its files
// under folder, and returns them once each has named its port (or timeoutMs has passed: a
// dealer that named none is left out and stopped). Extra arguments go to every dealer.
std::vector<TServerProcess> StartDealers(const std::string& program, int count, const std::string& folder,
                                         const std::vector<std::string>& extra, int timeoutMs);

// SIGTERM to each, then SIGKILL to those still there after a few seconds; all reaped.
void StopDealers(const std::vector<TServerProcess>& servers);

// The processes holding a socket that listens on the TCP port (IPv4 or IPv6).
std::vector<pid_t> PidsListeningOn(uint16_t port);

struct TProcFigures {
    double RssMb = 0;      // resident memory, summed
    double CpuSeconds = 0; // user and system time since each process started, summed
};
TProcFigures ReadProcFigures(const std::vector<pid_t>& pids);

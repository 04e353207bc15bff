// What a test of a freeze needs: a watchdog that ends the process when the event loop does
// not come back in time (a frozen loop cannot be waited for from inside it), and a peer
// that writes its bytes and resets the connection before the other end has answered.
#pragma once

#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <QByteArray>
#include <QTcpSocket>

class TWatchdog {
public:
    TWatchdog(const char* what, std::chrono::seconds limit)
        : thread_([this, what, limit] {
              std::unique_lock lock(lock_);
              if (!doneCv_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fflush(stdout);
                  std::fprintf(stderr, "FROZEN: %s did not finish within %lld s\n", what,
                               static_cast<long long>(limit.count()));
                  std::_Exit(3);
              }
          })
    {
    }
    ~TWatchdog()
    {
        {
            std::lock_guard lock(lock_);
            done_ = true;
        }
        doneCv_.notify_one();
        thread_.join();
    }
    TWatchdog(const TWatchdog&) = delete;
    TWatchdog& operator=(const TWatchdog&) = delete;

private:
    std::mutex lock_;
    std::condition_variable doneCv_;
    bool done_ = false;
    std::thread thread_;
};

// Writes bytes and resets the connection (SO_LINGER 0): the peer receives the bytes and
// then the reset.
inline void WriteAndReset(QTcpSocket& socket, const QByteArray& bytes)
{
    socket.write(bytes);
    socket.flush();
    const linger hard{1, 0};
    setsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    socket.abort();
}

#include "tableserver.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "loopscheduling.h"
#include "serverloop.h"

namespace {

int ThreadCount(int asked)
{
    if (asked > 0)
        return std::min(asked, 64);
    return std::clamp(QThread::idealThreadCount(), 1, 8);
}

// The peer's address (IPv4 for a mapped one) and port.
std::pair<QString, quint16> PeerOf(int fd)
{
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&storage), &length) != 0)
        return {};
    QHostAddress address(reinterpret_cast<const sockaddr*>(&storage));
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    if (mapped)
        address = QHostAddress(v4);
    quint16 port = 0;
    if (storage.ss_family == AF_INET)
        port = ntohs(reinterpret_cast<const sockaddr_in*>(&storage)->sin_port);
    else if (storage.ss_family == AF_INET6)
        port = ntohs(reinterpret_cast<const sockaddr_in6*>(&storage)->sin6_port);
    return {address.toString(), port};
}

} // namespace

TTableServer::TTableServer(const TTableServerOptions& options)
    : options_(options), directory_(ThreadCount(options.Threads), options.Budgets)
{
    clock_.start();
    const int count = ThreadCount(options.Threads);
    for (int i = 0; i < count; ++i) {
        auto* thread = new QThread;
        thread->setObjectName(QStringLiteral("tables %1").arg(i));
        auto* loop = new TServerLoop(*this, i);
        loop->moveToThread(thread);
        threads_.push_back(thread);
        loops_.push_back(loop);
        thread->start();
    }
    // The kept tables: the default one on the thread of the default table, the others in turn.
    std::vector<THouseOptions> houses(loops_.size(), options_.House);
    std::size_t next = 0;
    for (const TTableState& state : options_.Kept)
        houses[state.Default ? 0 : next++ % houses.size()].Kept.push_back(state);
    options_.Kept.clear();
    const bool realTime = options_.RealTime;
    for (std::size_t i = 0; i < loops_.size(); ++i) {
        TServerLoop* loop = loops_[i];
        const THouseOptions& house = houses[i];
        QString refusal;
        QMetaObject::invokeMethod(loop, [loop, &house, &refusal, realTime] {
            if (realTime)
                refusal = AskRealTimeScheduling();
            loop->Start(house);
        }, Qt::BlockingQueuedConnection);
        if (realTimeRefusal_.isEmpty())
            realTimeRefusal_ = refusal;
    }
    listen(QHostAddress::Any, options.Port);
}

TTableServer::~TTableServer()
{
    close();
    for (std::size_t i = 0; i < loops_.size(); ++i) {
        TServerLoop* loop = loops_[i];
        QMetaObject::invokeMethod(loop, [loop] { delete loop; }, Qt::BlockingQueuedConnection);
        threads_[i]->quit();
        threads_[i]->wait();
        delete threads_[i];
    }
}

void TTableServer::Closing()
{
    close();
    for (TServerLoop* loop : loops_)
        QMetaObject::invokeMethod(loop, [loop] { loop->House()->Closing(); }, Qt::BlockingQueuedConnection);
}

void TTableServer::incomingConnection(qintptr descriptor)
{
    const int fd = int(descriptor);
    if (open_.load() >= options_.MaxConnections) {
        ::close(fd);
        if (clock_.elapsed() - refusedLogged_ >= 1000) {
            refusedLogged_ = clock_.elapsed();
            qCWarning(lcDealer).noquote() << QStringLiteral("all %1 connections taken: refusing new ones").arg(options_.MaxConnections);
        }
        return;
    }
    const auto [host, port] = PeerOf(fd);
    if (host.isEmpty()) {
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ++open_;
    TServerLoop* loop = loops_[std::size_t(qHash(host) % loops_.size())];
    QMetaObject::invokeMethod(loop, [loop, fd, host = host, port = port] { loop->Accept(fd, host, port); },
                              Qt::QueuedConnection);
}

#include "delayproxy.h"

#include <QElapsedTimer>
#include <QHostAddress>

namespace {

qint64 NowMs()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

} // namespace

TDelayProxy::TDelayProxy(quint16 targetPort, int delayMs, QObject* parent)
    : QObject(parent), targetPort_(targetPort), delayMs_(delayMs)
{
    connect(&server_, &QTcpServer::newConnection, this, [this] { Accept(); });
    server_.listen(QHostAddress::LocalHost, 0);
}

TDelayProxy::~TDelayProxy()
{
    server_.close();
    pipes_.clear(); // the sockets are children of the server or of this object
}

void TDelayProxy::Accept()
{
    while (QTcpSocket* down = server_.nextPendingConnection()) {
        auto* up = new QTcpSocket(this);
        down->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        pipes_.push_back(std::make_unique<TPipe>());
        TPipe& toDealer = *pipes_.back();
        pipes_.push_back(std::make_unique<TPipe>());
        TPipe& toPlayer = *pipes_.back();
        toDealer.to = up;
        toPlayer.to = down;
        Link(down, toDealer);
        Link(up, toPlayer);
        connect(up, &QTcpSocket::connected, up, [up] { up->setSocketOption(QAbstractSocket::LowDelayOption, 1); });
        // Whichever end closes, the other follows once what it holds is through.
        connect(down, &QTcpSocket::disconnected, up, [up] { up->disconnectFromHost(); });
        connect(up, &QTcpSocket::disconnected, down, [down] { down->disconnectFromHost(); });
        up->connectToHost(QHostAddress::LocalHost, targetPort_); // writes before connecting are kept
    }
}

void TDelayProxy::Link(QTcpSocket* from, TPipe& pipe)
{
    pipe.timer.setSingleShot(true);
    pipe.timer.setTimerType(Qt::PreciseTimer);
    connect(&pipe.timer, &QTimer::timeout, this, [this, &pipe] { Release(pipe); });
    connect(from, &QTcpSocket::readyRead, this, [this, from, &pipe] { Hold(pipe, from->readAll()); });
}

void TDelayProxy::Hold(TPipe& pipe, QByteArray bytes)
{
    if (bytes.isEmpty())
        return;
    pipe.held.emplace_back(NowMs() + delayMs_, std::move(bytes));
    if (!pipe.timer.isActive())
        pipe.timer.start(int(std::max<qint64>(pipe.held.front().first - NowMs(), 0)));
}

void TDelayProxy::Release(TPipe& pipe)
{
    const qint64 now = NowMs();
    while (!pipe.held.empty() && pipe.held.front().first <= now) {
        pipe.to->write(pipe.held.front().second);
        pipe.held.pop_front();
    }
    pipe.to->flush();
    if (!pipe.held.empty())
        pipe.timer.start(int(std::max<qint64>(pipe.held.front().first - now, 0)));
}

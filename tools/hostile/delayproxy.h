// A TCP relay that holds every chunk of bytes for a fixed time in each direction, so that a
// loopback connection behaves like a link with that one-way delay. Lives on the thread that
// creates it; every connection made to Port() is relayed to target:targetPort.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <deque>
#include <memory>
#include <vector>

class TDelayProxy : public QObject {
public:
    TDelayProxy(quint16 targetPort, int delayMs, QObject* parent = nullptr);
    ~TDelayProxy() override;

    bool Listening() const { return server_.isListening(); }
    quint16 Port() const { return server_.serverPort(); }

private:
    // One direction of one relayed connection: bytes read from `from` reach `to` delayMs later.
    struct TPipe {
        QTcpSocket* to = nullptr;
        std::deque<std::pair<qint64, QByteArray>> held; // due time (ms), bytes
        QTimer timer;
    };

    void Accept();
    void Hold(TPipe& pipe, QByteArray bytes);
    void Release(TPipe& pipe);
    void Link(QTcpSocket* from, TPipe& pipe);

    quint16 targetPort_;
    int delayMs_;
    QTcpServer server_;
    std::vector<std::unique_ptr<TPipe>> pipes_;
};

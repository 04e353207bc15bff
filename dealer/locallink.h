// A player's link to a table in process (TLocalTable): the session talks to the table as
// over TCP, and every message waits in the table's queue until its manual clock is run.
//
//   TLocalTable local;
//   TLocalLink link(local);
//   TSession ayse(link);
//   ayse.UserName = "Ayşe";
//   ayse.Open();                                  // JOIN_REQUEST is queued
//   local.RunUntil([&] { return ayse.Seated(); });
#pragma once

#include <utility>

#include "localtable.h"
#include "sessionlink.h"

class TLocalLink : public TSessionLink, private TLocalPeer {
    Q_OBJECT
public:
    // The table must outlive the link.
    explicit TLocalLink(TLocalTable& table, const QString& host = QStringLiteral("127.0.0.1"),
                        QObject* parent = nullptr);
    ~TLocalLink() override;

    // A peer that no longer answers the table's requests for a sign of life.
    void SetAnswers(bool answers) { answers_ = answers; }
    TConnectionId Connection() const { return id_; }

    void Open() override;
    void Close() override;
    bool Active() const override { return id_ != kNoConnection; }
    void Send(TPacketType type, const QByteArray& payload) override;
    QString Host() const override { return host_; }

private:
    // TLocalPeer
    void Deliver(TPacketType type, const QByteArray& payload) override { emit received(type, payload); }
    void Closed() override;
    bool Answers() const override { return answers_; }

    TLocalTable& table_;
    QString host_;
    TConnectionId id_ = kNoConnection;
    bool answers_ = true;
};

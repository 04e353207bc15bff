// Hostile peers: connections that break the rules of the game's transport on purpose, to
// show that a dealer shrugs them off while a game goes on. Each attack drives raw
// QTcpSockets on the caller's event loop (no threads of its own), ends by itself, and
// counts what it did in a TAttackReport.
//
//   THostileCrowd crowd(host, port, options);
//   crowd.Start();                          // every attack at once
//   ... run the event loop until crowd.Done() ...
//   for (const TAttackReport& r : crowd.Reports()) ...
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include "gameinfo.h"
#include "packet.h"

struct TAttackReport {
    QString Name;
    int Connections = 0;      // connections made
    int ClosedByDealer = 0;   // of them closed from the dealer's side
    int ClosedPromptly = 0;   // of those, within kPromptCloseMs of the offending bytes
    qint64 BytesSent = 0;
    int FramesSent = 0;       // whole frames written (data and control)
    int FramesReceived = 0;   // frames the dealer sent (control frames included)
    int TableFull = 0;        // TABLE_FULL frames among them
    int AcksReceived = 0;     // ACK frames for frames of ours
    int CrcErrors = 0;        // CRCERROR frames received
    qint64 LongestOpenMs = 0; // the longest a connection of this attack stayed open
    bool Done = false;
};

// A connection the dealer closes at once for what it sent counts as closed promptly when
// that happens within this time (a refused connection is otherwise kept for a few seconds
// so that it can read TABLE_FULL).
constexpr int kPromptCloseMs = 1500;

// One raw connection with a small frame reader for what the dealer sends. Never
// acknowledges anything unless told to.
class TRawPeer {
public:
    explicit TRawPeer(TAttackReport& report);
    ~TRawPeer();
    TRawPeer(const TRawPeer&) = delete;
    TRawPeer& operator=(const TRawPeer&) = delete;

    void Open(const QString& host, quint16 port);
    void Write(const QByteArray& bytes);
    // A data frame with a stamp of this peer's own, unique on this connection.
    void SendFrame(TPacketType type, const QByteArray& payload = {});
    void Close(bool graceful = false); // from our side: an orderly close, or a reset
    void MarkOffence();     // the moment the dealer should drop the connection for

    bool Open() const { return open_; }
    bool Closed() const { return closed_; }
    bool AckData = false;   // acknowledge every data frame received
    std::function<void()> OnConnected;
    std::function<void()> OnClosed;
    std::function<void(TPacketType type, uint32_t stamp, const QByteArray& payload)> OnFrame;

private:
    void Read();
    void Gone(bool byDealer);

    TAttackReport& report_;
    QTcpSocket* socket_;
    QByteArray incoming_;
    uint32_t stamp_;
    bool open_ = false;
    bool closed_ = false;
    bool closing_ = false;
    QElapsedTimer openedAt_;
    QElapsedTimer offenceAt_;
};

// One attack: its connections, a deadline after which it gives up, and its report.
class THostileAttack {
public:
    explicit THostileAttack(const QString& name, int deadlineMs = 30000);
    virtual ~THostileAttack();
    virtual void Start(const QString& host, quint16 port) = 0;
    bool Done() const { return report_.Done; }
    const TAttackReport& Report() const { return report_; }

protected:
    // A new connection owned by the attack; its counts go into the report.
    TRawPeer& NewPeer();
    void Finish();
    void ArmDeadline();
    // Finishes when every connection made so far has closed.
    void FinishWhenAllClosed();

    TAttackReport report_;
    std::vector<std::unique_ptr<TRawPeer>> peers_;
    QTimer deadline_;
};

// Opens and closes connections count times, parallel at once; every other one is closed
// gracefully, the rest are reset.
std::unique_ptr<THostileAttack> MakeChurnAttack(int count, int parallel);
// A header announcing size (−1, 0, 15, 8212, 2^31−1 ...) followed by some bytes; 8212 is
// sent as a whole frame with a good CRC, one byte longer than any frame the dealer takes.
std::unique_ptr<THostileAttack> MakeBadSizeAttack(int32_t size);
// One valid frame (WAIT_FOR_PLAYERS, which would empty the table if the dealer took it from
// anyone) written one byte every stepMs; never acknowledges.
std::unique_ptr<THostileAttack> MakeTrickleAttack(int stepMs = 100);
// count random bytes; framed: in pieces whose headers announce sizes the dealer accepts,
// so that the CRC check (not the size check) has to refuse them.
std::unique_ptr<THostileAttack> MakeRandomBytesAttack(int count, bool framed, uint32_t seed);
// CARD_PLAY for every seat from a connection without a seat, after a JOIN_REQUEST when
// join is set: the cards that seat could play now according to peek (or, without peek,
// every card of the deck), then an ACK for a stamp never sent and a CRCERROR naming
// CARD_PLAY.
std::unique_ptr<THostileAttack> MakeForgeAttack(bool join, std::function<TGameInfo()> peek);
// Sends JOIN_REQUEST with name (empty: none) and never acknowledges anything; waits until
// the dealer drops it or deadlineMs passes.
std::unique_ptr<THostileAttack> MakeSilentAttack(const QString& name, int deadlineMs = 30000);

struct TCrowdOptions {
    int Churn = 500;
    int ChurnParallel = 4;
    uint32_t Seed = 1;
    std::function<TGameInfo()> Peek; // the dealer's record, for the forgers
};

// Every attack above at once: the churn, the five bad sizes, the trickle, raw and framed
// random bytes, two forgers (with and without JOIN_REQUEST) and a silent peer.
class THostileCrowd {
public:
    THostileCrowd(QString host, quint16 port, TCrowdOptions options);
    void Start();
    bool Done() const;
    std::vector<TAttackReport> Reports() const;

private:
    QString host_;
    quint16 port_;
    std::vector<std::unique_ptr<THostileAttack>> attacks_;
};

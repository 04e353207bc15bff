// Writes files off the thread that asks for them, so that a table's thread never waits for
// a disk. Writes are coalesced per file: while one write of a file is under way, newer
// contents asked for replace each other and only the newest is written after it, so at
// most one write of a file is ever under way. A few worker threads write for every table
// of the process, the files in the order in which they were asked for: each write ends in
// the disk's sync, and syncs made side by side cost the disk little more than one (on this
// machine about 140 synced writes a second from one thread, 2,000 from four).
//
//   TFileKeeper keeper;
//   connect(&keeper, &TFileKeeper::written, table, [](const QString& key, const QString& path) { ... });
//   keeper.Put(path, bytes, [path](const QByteArray& b) { return WriteOwnerFile(path, b) ? path : QString(); });
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QObject>
#include <QString>

class TFileKeeper : public QObject {
    Q_OBJECT
public:
    // Writes bytes somewhere; returns the path written, empty when nothing was written.
    using TWrite = std::function<QString(const QByteArray& bytes)>;

    static constexpr int kWorkers = 4;

    explicit TFileKeeper(QObject* parent = nullptr);
    ~TFileKeeper() override; // writes what was asked for, then stops its thread
    TFileKeeper(const TFileKeeper&) = delete;
    TFileKeeper& operator=(const TFileKeeper&) = delete;

    // Asks for bytes to be written by write under key (a file's name, or any name for
    // something written to one place). Returns at once.
    void Put(const QString& key, const QByteArray& bytes, TWrite write);
    // Waits until every write asked for so far has been done: for the end of the program.
    void Flush();
    // Nothing is waiting or being written.
    bool Idle() const;
    // How many writes were done, and how many contents were replaced by newer ones before
    // being written.
    int Writes() const;
    int Coalesced() const;

signals:
    // A write was done (on the keeper's thread): where, or empty when it failed.
    void written(const QString& key, const QString& path);

private:
    struct TJob {
        QByteArray Bytes;
        TWrite Write;
    };
    void Run();
    bool Ready() const; // a waiting file that is not being written (under the lock)

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<QString> order_;   // keys waiting, each once
    QHash<QString, TJob> waiting_;
    QSet<QString> writing_;       // keys being written, each by one worker
    bool stop_ = false;
    int writes_ = 0;
    int coalesced_ = 0;
    std::vector<std::thread> threads_; // last: start once everything above exists
};

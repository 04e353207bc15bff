// Writes files off the thread that asks for them, so that a table's thread never waits for
// a disk. Writes are coalesced per file: while one write of a file is under way, newer
// contents asked for replace each other and only the newest is written after it. One
// worker thread writes for every table of the process, one file at a time, in the order
// in which the files were first asked for.
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

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

class TFileKeeper : public QObject {
    Q_OBJECT
public:
    // Writes bytes somewhere; returns the path written, empty when nothing was written.
    using TWrite = std::function<QString(const QByteArray& bytes)>;

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

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<QString> order_;   // keys waiting, each once
    QHash<QString, TJob> waiting_;
    bool busy_ = false;
    bool stop_ = false;
    int writes_ = 0;
    int coalesced_ = 0;
    std::thread thread_; // last: starts once everything above exists
};

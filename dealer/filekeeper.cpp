#include "filekeeper.h"

TFileKeeper::TFileKeeper(QObject* parent) : QObject(parent), thread_([this] { Run(); }) {}

TFileKeeper::~TFileKeeper()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void TFileKeeper::Put(const QString& key, const QByteArray& bytes, TWrite write)
{
    {
        const std::lock_guard lock(mutex_);
        const auto it = waiting_.find(key);
        if (it != waiting_.end()) {
            *it = {bytes, std::move(write)};
            ++coalesced_;
            return;
        }
        waiting_.insert(key, {bytes, std::move(write)});
        order_.push_back(key);
    }
    wake_.notify_one();
}

void TFileKeeper::Flush()
{
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return order_.empty() && !busy_; });
}

bool TFileKeeper::Idle() const
{
    const std::lock_guard lock(mutex_);
    return order_.empty() && !busy_;
}

int TFileKeeper::Writes() const
{
    const std::lock_guard lock(mutex_);
    return writes_;
}

int TFileKeeper::Coalesced() const
{
    const std::lock_guard lock(mutex_);
    return coalesced_;
}

void TFileKeeper::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !order_.empty(); });
        if (order_.empty())
            return; // stopping, and everything is written
        const QString key = order_.front();
        order_.pop_front();
        const TJob job = waiting_.take(key);
        busy_ = true;
        lock.unlock();
        // No lock while writing: the table's thread may ask for the next content meanwhile.
        const QString path = job.Write(job.Bytes);
        emit written(key, path);
        lock.lock();
        busy_ = false;
        ++writes_;
        done_.notify_all();
    }
}

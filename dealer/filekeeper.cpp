#include "filekeeper.h"

#include <algorithm>

TFileKeeper::TFileKeeper(QObject* parent) : QObject(parent)
{
    for (int i = 0; i < kWorkers; ++i)
        threads_.emplace_back([this] { Run(); });
}

TFileKeeper::~TFileKeeper()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
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
    done_.wait(lock, [this] { return order_.empty() && writing_.isEmpty(); });
}

bool TFileKeeper::Idle() const
{
    const std::lock_guard lock(mutex_);
    return order_.empty() && writing_.isEmpty();
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

bool TFileKeeper::Ready() const
{
    return std::any_of(order_.begin(), order_.end(), [this](const QString& key) { return !writing_.contains(key); });
}

void TFileKeeper::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return Ready() || (stop_ && order_.empty()); });
        if (!Ready())
            return; // stopping, and everything is written
        const auto next = std::find_if(order_.begin(), order_.end(), [this](const QString& key) { return !writing_.contains(key); });
        const QString key = *next;
        order_.erase(next);
        const TJob job = waiting_.take(key);
        writing_.insert(key);
        lock.unlock();
        // No lock while writing: the table's thread may ask for the next content meanwhile.
        const QString path = job.Write(job.Bytes);
        emit written(key, path);
        lock.lock();
        writing_.remove(key);
        ++writes_;
        wake_.notify_all(); // the newer content of this file may wait for another worker
        done_.notify_all();
    }
}

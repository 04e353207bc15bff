#include "movelog.h"

void TMoveLog::Sent(int key)
{
    std::lock_guard guard(lock_);
    open_[key] = TMove{TClock::now(), {}, 0};
}

void TMoveLog::Seen(int key)
{
    const auto now = TClock::now();
    bool done = false;
    {
        std::lock_guard guard(lock_);
        auto it = open_.find(key);
        if (it == open_.end() || int(samples_.size()) >= moves_)
            return;
        it->second.last = now;
        if (++it->second.seen < players_)
            return;
        samples_.push_back(std::chrono::duration<double, std::milli>(it->second.last - it->second.sent).count());
        open_.erase(it);
        done = int(samples_.size()) == moves_;
    }
    if (done && OnDone)
        OnDone();
}

std::vector<double> TMoveLog::Samples() const
{
    std::lock_guard guard(lock_);
    return samples_;
}

#include "notify.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace {

std::mutex& NotifierLock()
{
    static std::mutex lock;
    return lock;
}

TNotifier& CurrentNotifier()
{
    static TNotifier notifier;
    return notifier;
}

} // namespace

void SetNotifier(TNotifier notifier)
{
    std::lock_guard<std::mutex> guard(NotifierLock());
    CurrentNotifier() = std::move(notifier);
}

void Notify(const std::string& text, int beeps)
{
    TNotifier notifier;
    {
        std::lock_guard<std::mutex> guard(NotifierLock());
        notifier = CurrentNotifier();
    }
    // The notifier runs outside the lock so that it may itself install another one.
    if (notifier) {
        notifier(text, beeps);
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

// Diagnostic lines of a connection's packet thread. Off unless the environment variable
// ZORBELA_TRACE is set to a non-empty value other than "0"; then each line is appended to
// "<ThreadName>.log" in the current directory.
#pragma once

#include <mutex>

#include <QString>

class TTrace {
public:
    explicit TTrace(QString threadName);

    bool Enabled() const { return enabled_; }
    // printf-style; formats and writes nothing while tracing is off. Any thread.
    void operator()(const char* format, ...) const __attribute__((format(printf, 2, 3)));

    // Whether ZORBELA_TRACE switches tracing on, read once per process.
    static bool SwitchedOn();

private:
    QString fileName_;
    bool enabled_;
    mutable std::mutex mutex_;
};

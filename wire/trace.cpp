#include "trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <QFile>

TTrace::TTrace(QString threadName)
    : fileName_(threadName + QStringLiteral(".log")), enabled_(SwitchedOn())
{
}

bool TTrace::SwitchedOn()
{
    static const bool on = [] {
        const char* value = std::getenv("ZORBELA_TRACE");
        return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
    }();
    return on;
}

void TTrace::operator()(const char* format, ...) const
{
    if (!enabled_)
        return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length > 0) {
        std::vector<char> line(std::size_t(length) + 1);
        std::vsnprintf(line.data(), line.size(), format, args);
        std::lock_guard guard(mutex_);
        QFile file(fileName_);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(line.data(), length);
    }
    va_end(args);
}

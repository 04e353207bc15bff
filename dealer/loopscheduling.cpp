#include "loopscheduling.h"

#include <cerrno>
#include <cstring>

#include <sched.h>

// The system calls themselves, not the thread library's calls: those keep a copy of the
// policy that a started thread inherits, whatever the system gave it.
QString AskRealTimeScheduling(bool startedInherit)
{
    sched_param param{};
    param.sched_priority = 1;
    if (::sched_setscheduler(0, SCHED_RR | (startedInherit ? 0 : SCHED_RESET_ON_FORK), &param) == 0)
        return {};
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool ThreadIsRealTime()
{
    const int policy = ::sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    return policy == SCHED_RR || policy == SCHED_FIFO;
}

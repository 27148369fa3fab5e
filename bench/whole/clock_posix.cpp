// CLOCK_MONOTONIC is the clock the x11 backend's timer deadlines are taken on, so the log
// measures the schedule on the same time line that produced it.
#include "ticklog.h"

#include <time.h>

namespace {

const long long kNanosecondsPerSecond = 1000000000;

}  // namespace

long long TickClockNow()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

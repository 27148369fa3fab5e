// The clock of the Linux program's event sources: X11 and Wayland alike sleep in ppoll until
// an absolute deadline of the core's, read on the monotonic clock.
#ifndef VURAZEVEDADAR_LINUX_CLOCK_H
#define VURAZEVEDADAR_LINUX_CLOCK_H

#include <ctime>

namespace linuxclock {

const long long kNanosecondsPerSecond = 1000000000;

// The monotonic clock, in nanoseconds.
inline long long Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

// The wait from nsNow to a finite nsDeadline, to the nanosecond; zero once it has passed.
inline timespec TimeoutUntil(long long nsDeadline, long long nsNow)
{
    // Both are non-negative clock readings, so the difference cannot overflow.
    const long long nsWait = nsDeadline > nsNow ? nsDeadline - nsNow : 0;
    timespec timeout;
    timeout.tv_sec = static_cast<time_t>(nsWait / kNanosecondsPerSecond);
    timeout.tv_nsec = static_cast<long>(nsWait % kNanosecondsPerSecond);
    return timeout;
}

}  // namespace linuxclock

#endif  // VURAZEVEDADAR_LINUX_CLOCK_H

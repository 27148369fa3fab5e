// QueryPerformanceCounter is the finest monotonic clock Windows offers a program.
#include "ticklog.h"

#include <windows.h>

namespace {

const long long kNanosecondsPerSecond = 1000000000;

}  // namespace

long long TickClockNow()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    // Whole seconds and the remainder are scaled apart, so that a counter of many days at a
    // high frequency cannot overflow 64 bits on the way to nanoseconds.
    const long long nSeconds = counter.QuadPart / frequency.QuadPart;
    const long long nRest = counter.QuadPart % frequency.QuadPart;
    return nSeconds * kNanosecondsPerSecond + nRest * kNanosecondsPerSecond / frequency.QuadPart;
}

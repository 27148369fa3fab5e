// The clock arithmetic of the x11 event source, exposed for tests.
#ifndef VURAZEVEDADAR_X11_EVENTS_H
#define VURAZEVEDADAR_X11_EVENTS_H

#include "backend.h"

#include <ctime>

namespace x11 {

const long long kNanosecondsPerSecond = 1000000000;
using portable::kNanosecondsPerMillisecond;
using portable::kNoDeadline;

// The wait from nsNow to a finite nsDeadline, to the nanosecond; zero once it has passed.
timespec TimeoutUntil(long long nsDeadline, long long nsNow);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_EVENTS_H

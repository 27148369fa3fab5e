// The clock arithmetic of the x11 event source, exposed for tests.
#ifndef VURAZEVEDADAR_X11_EVENTS_H
#define VURAZEVEDADAR_X11_EVENTS_H

#include "backend.h"
#include "clock.h"

namespace x11 {

using linuxclock::kNanosecondsPerSecond;
using linuxclock::TimeoutUntil;
using portable::kNanosecondsPerMillisecond;
using portable::kNoDeadline;

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_EVENTS_H

// The clock the tick log reads: the platform's own monotonic high-resolution counter, in
// nanoseconds from an arbitrary origin. One definition per platform, chosen by the build.
#ifndef VURAZEVEDADAR_TICKLOG_H
#define VURAZEVEDADAR_TICKLOG_H

long long TickClockNow();

#endif  // VURAZEVEDADAR_TICKLOG_H

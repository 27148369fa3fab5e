// The monotonic clock and the X event pump shared by the message loop, UpdateWindow and
// the message box.
#ifndef VURAZEVEDADAR_X11_EVENTS_H
#define VURAZEVEDADAR_X11_EVENTS_H

#include <climits>
#include <ctime>

namespace x11 {

const long long kNoDeadline = LLONG_MAX;
const long long kNanosecondsPerMillisecond = 1000000;

// CLOCK_MONOTONIC in nanoseconds.
long long MonotonicNow();
// The wait from nsNow to a finite nsDeadline, to the nanosecond; zero once it has passed.
timespec TimeoutUntil(long long nsDeadline, long long nsNow);

// Handles every event the connection has for the backend's windows: exposures and size
// changes mark windows for painting, the close button posts WM_CLOSE. No window procedure runs.
void ProcessPendingEvents();
// Flushes the requests made so far, then sleeps until the server sends something or the
// deadline passes. Returns at once when events are already waiting in Xlib's queue. False
// when the wait ended without anything to read.
bool WaitForInput(long long nsDeadline);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_EVENTS_H

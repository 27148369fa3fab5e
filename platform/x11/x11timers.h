// Window timers on absolute CLOCK_MONOTONIC deadlines. WM_TIMER is never queued: the message
// loop asks for a due timer when it has nothing else to deliver, as Windows does, so each timer
// has at most one tick pending and a late loop never sees a burst.
#ifndef VURAZEVEDADAR_X11_TIMERS_H
#define VURAZEVEDADAR_X11_TIMERS_H

#include <windows.h>

namespace x11 {

// The earliest deadline of all timers, or kNoDeadline.
long long NextTimerDeadline();
// Fills *pMsg with WM_TIMER for the most overdue timer whose deadline has come, and moves that
// timer's deadline on; false when no timer is due.
bool TakeDueTimer(MSG* pMsg, long long nsNow);
// Stops the timers of a window that is going away.
void ForgetTimers(HWND hWnd);

// The deadline after one that has just fired: one period on, or, when the loop has fallen
// more than a period behind, the first multiple of the period after nsNow.
long long FollowingDeadline(long long nsDeadline, long long nsPeriod, long long nsNow);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_TIMERS_H

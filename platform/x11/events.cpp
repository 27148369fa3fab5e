// The x11 event source: X events turned into the core's notifications, and the wait for the
// server or the next deadline.
#include "x11display.h"
#include "x11events.h"
#include "x11state.h"
#include "x11windowprops.h"

#include <poll.h>
#include <sys/timerfd.h>
#include <time.h>

#include <algorithm>

namespace x11 {

namespace {

// An Expose series covers the exposed area with several rectangles; the program repaints its
// whole client area anyway, so only the last of the series (count 0) asks for the paint.
void OnExpose(HWND hWnd, const XExposeEvent& event)
{
    if (event.count == 0)
        portable::NotifyExposed(hWnd);
}

void OnClientMessage(HWND hWnd, const XClientMessageEvent& event)
{
    if (AnswerPing(event))
        return;
    const Connection& connection = TheConnection();
    const Atom atomProtocol = static_cast<Atom>(event.data.l[0]);
    if (event.message_type == connection.m_atomWmProtocols && event.format == 32 &&
        atomProtocol == connection.m_atomWmDeleteWindow)
        portable::NotifyCloseRequest(hWnd);
}

void HandleEvent(const XEvent& event)
{
    // Events for windows already destroyed are still in the queue after XDestroyWindow.
    HWND hWnd = LookupWindowById(event.xany.window);
    if (hWnd == nullptr)
        return;
    switch (event.type) {
    case Expose:
        OnExpose(hWnd, event.xexpose);
        break;
    case ConfigureNotify:
        portable::NotifyResized(hWnd, event.xconfigure.width, event.xconfigure.height);
        break;
    case ClientMessage:
        OnClientMessage(hWnd, event.xclient);
        break;
    default:
        break;
    }
}

// A timer descriptor that becomes readable at an absolute time on the monotonic clock, so that
// the wait for the next tick can sit in the same poll as the X connection. A relative timeout
// would not do: a poll interrupted by SIGSTOP resumes after SIGCONT with the time that was
// left when it stopped, and the tick due meanwhile would come that much late.
struct WakeUpTimer {
    int m_fd;
    long long m_nsArmed;
};

WakeUpTimer& TheWakeUpTimer()
{
    static WakeUpTimer s_timer = {timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK),
                                  kNoDeadline};
    return s_timer;
}

// Arms the wake-up timer for the deadline unless it already is; false when there is no timer
// to arm. Re-arming also clears an expiry nobody read.
bool ArmWakeUpTimer(long long nsDeadline)
{
    WakeUpTimer& timer = TheWakeUpTimer();
    if (timer.m_fd < 0)
        return false;
    if (timer.m_nsArmed == nsDeadline)
        return true;
    // A zero expiry would disarm the timer instead; no deadline lies that close to boot.
    const long long nsExpiry = std::max(nsDeadline, 1LL);
    itimerspec expiry = {};
    expiry.it_value.tv_sec = static_cast<time_t>(nsExpiry / kNanosecondsPerSecond);
    expiry.it_value.tv_nsec = static_cast<long>(nsExpiry % kNanosecondsPerSecond);
    if (timerfd_settime(timer.m_fd, TFD_TIMER_ABSTIME, &expiry, nullptr) != 0)
        return false;
    timer.m_nsArmed = nsDeadline;
    return true;
}

}  // namespace

}  // namespace x11

long long portable::Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * x11::kNanosecondsPerSecond + now.tv_nsec;
}

namespace x11 {

timespec TimeoutUntil(long long nsDeadline, long long nsNow)
{
    // Both are non-negative clock readings here, so the difference cannot overflow.
    const long long nsWait = nsDeadline > nsNow ? nsDeadline - nsNow : 0;
    timespec timeout;
    timeout.tv_sec = static_cast<time_t>(nsWait / kNanosecondsPerSecond);
    timeout.tv_nsec = static_cast<long>(nsWait % kNanosecondsPerSecond);
    return timeout;
}

}  // namespace x11

void portable::TakePendingEvents()
{
    if (!x11::IsConnected())
        return;
    Display* pDisplay = x11::TheConnection().m_pDisplay;
    // XPending reads what the socket holds: events Xlib has already buffered would not wake
    // the poll in WaitForInput, so all of them are taken here.
    while (XPending(pDisplay) > 0) {
        XEvent event;
        XNextEvent(pDisplay, &event);
        x11::HandleEvent(event);
    }
}

portable::WaitResult portable::WaitForEvents(long long nsDeadline)
{
    using namespace x11;
    Display* pDisplay = TheConnection().m_pDisplay;
    XFlush(pDisplay);
    if (XQLength(pDisplay) > 0)
        return WaitResult::Events;
    pollfd descriptors[] = {{ConnectionNumber(pDisplay), POLLIN, 0},
                            {TheWakeUpTimer().m_fd, POLLIN, 0}};
    // An interrupted or failed poll just returns early; the caller loops and looks again, and
    // a broken connection is noticed by the next read, which calls the connection-lost handler.
    // The deadline is exact to the nanosecond: a poll timeout in whole milliseconds, rounded
    // up, would wake every tick up to a millisecond late.
    if (nsDeadline == kNoDeadline) {
        poll(descriptors, 1, -1);
    } else if (ArmWakeUpTimer(nsDeadline)) {
        poll(descriptors, 2, -1);
    } else {
        // Without a timer descriptor (the process is out of them) a relative wait still works,
        // late only after the process was stopped.
        const timespec timeout = TimeoutUntil(nsDeadline, Now());
        ppoll(descriptors, 1, &timeout, nullptr);
    }
    return descriptors[0].revents != 0 ? WaitResult::Events : WaitResult::Timeout;
}

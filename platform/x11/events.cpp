// Turning X events into window state and posted messages, and waiting for the server.
#include "x11display.h"
#include "x11events.h"
#include "x11state.h"

#include <poll.h>
#include <time.h>

namespace x11 {

namespace {

const long long kNanosecondsPerSecond = 1000000000;

// An Expose series covers the exposed area with several rectangles; the program repaints its
// whole client area anyway, so only the last of the series (count 0) asks for the paint.
void OnExpose(HWND__* pWindow, const XExposeEvent& event)
{
    if (event.count != 0)
        return;
    pWindow->m_bNeedsPaint = true;
    pWindow->m_bAwaitingExpose = false;
}

// Moves arrive here too; only a new size needs a repaint. The exposure that a resize brings
// with it lands on the same flag, so the two together still give one WM_PAINT.
void OnConfigure(HWND__* pWindow, const XConfigureEvent& event)
{
    if (event.width == pWindow->m_nClientWidth && event.height == pWindow->m_nClientHeight)
        return;
    pWindow->m_nClientWidth = event.width;
    pWindow->m_nClientHeight = event.height;
    pWindow->m_bNeedsPaint = true;
}

void OnClientMessage(HWND__* pWindow, const XClientMessageEvent& event)
{
    const Connection& connection = TheConnection();
    const Atom atomProtocol = static_cast<Atom>(event.data.l[0]);
    if (event.message_type == connection.m_atomWmProtocols && event.format == 32 &&
        atomProtocol == connection.m_atomWmDeleteWindow)
        ::PostMessage(pWindow, WM_CLOSE, 0, 0);
}

void HandleEvent(const XEvent& event)
{
    // Events for windows already destroyed are still in the queue after XDestroyWindow.
    HWND__* pWindow = LookupWindowById(event.xany.window);
    if (pWindow == nullptr || pWindow->m_bDestroying)
        return;
    switch (event.type) {
    case Expose:
        OnExpose(pWindow, event.xexpose);
        break;
    case ConfigureNotify:
        OnConfigure(pWindow, event.xconfigure);
        break;
    case ClientMessage:
        OnClientMessage(pWindow, event.xclient);
        break;
    default:
        break;
    }
}

}  // namespace

long long MonotonicNow()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

timespec TimeoutUntil(long long nsDeadline, long long nsNow)
{
    // Both are non-negative clock readings here, so the difference cannot overflow.
    const long long nsWait = nsDeadline > nsNow ? nsDeadline - nsNow : 0;
    timespec timeout;
    timeout.tv_sec = static_cast<time_t>(nsWait / kNanosecondsPerSecond);
    timeout.tv_nsec = static_cast<long>(nsWait % kNanosecondsPerSecond);
    return timeout;
}

void ProcessPendingEvents()
{
    Display* pDisplay = TheConnection().m_pDisplay;
    // XPending reads what the socket holds: events Xlib has already buffered would not wake
    // the poll in WaitForInput, so all of them are taken here.
    while (XPending(pDisplay) > 0) {
        XEvent event;
        XNextEvent(pDisplay, &event);
        HandleEvent(event);
    }
}

bool WaitForInput(long long nsDeadline)
{
    Display* pDisplay = TheConnection().m_pDisplay;
    XFlush(pDisplay);
    if (XQLength(pDisplay) > 0)
        return true;
    pollfd descriptor = {ConnectionNumber(pDisplay), POLLIN, 0};
    // An interrupted or failed poll just returns early; the caller loops and looks again, and
    // a broken connection is noticed by the next read, which calls the connection-lost handler.
    // The timeout is exact to the nanosecond: rounded up to whole milliseconds, every wake-up
    // would come up to a millisecond late, and the interval after it would be that much long.
    if (nsDeadline == kNoDeadline)
        return ppoll(&descriptor, 1, nullptr, nullptr) != 0;
    const timespec timeout = TimeoutUntil(nsDeadline, MonotonicNow());
    return ppoll(&descriptor, 1, &timeout, nullptr) != 0;
}

}  // namespace x11

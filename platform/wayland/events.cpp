// The wayland event source: the compositor's events read and dispatched into the core's
// notifications, and the wait for them or the next deadline. The 50 ms ticks are the core's
// deadlines; frame callbacks are not asked for, so a hidden window costs nothing and a
// window shown again does not catch up on ticks.
#include "display.h"
#include "functions.h"
#include "window.h"

#include <libdecor.h>

#include <poll.h>
#include <time.h>

#include <cerrno>

namespace wayland {

namespace {

using linuxclock::TimeoutUntil;

// Runs what has been read: the windows' events, then the buffers' releases. Gives whether
// anything ran.
bool DispatchRead()
{
    const CConnection& connection = TheConnection();
    const int nWindows = wl_display_dispatch_pending(connection.m_pDisplay);
    CheckDisplayResult(nWindows);
    const int nBuffers =
        wl_display_dispatch_queue_pending(connection.m_pDisplay, connection.m_pBufferQueue);
    CheckDisplayResult(nBuffers);
    ReportSizes();
    // Only the windows' queue carries what libdecor hears of, so only its events can have
    // redrawn the decorations.
    if (nWindows > 0)
        RepaintWindowEdges();
    return nWindows > 0 || nBuffers > 0;
}

// Requests wait in libwayland's buffer until flushed. A compositor slow to read leaves the
// socket full (EAGAIN): what is left goes with a later flush, and the wait below also wakes
// when the socket takes more.
bool Flush()
{
    const int nResult = wl_display_flush(TheConnection().m_pDisplay);
    if (nResult < 0 && errno != EAGAIN)
        ExitConnectionLost();
    return nResult >= 0;
}

// libwayland's protocol for reading: events already queued are dispatched first (a read
// cannot be prepared while any are), then the socket is polled, read, and dispatched. The
// timeout is exact to the nanosecond, or null for no limit. Gives whether anything arrived.
bool ReadEvents(const timespec* pTimeout)
{
    wl_display* pDisplay = TheConnection().m_pDisplay;
    if (wl_display_prepare_read(pDisplay) != 0)
        return DispatchRead();
    const bool bFlushed = Flush();
    pollfd descriptor = {wl_display_get_fd(pDisplay),
                         static_cast<short>(POLLIN | (bFlushed ? 0 : POLLOUT)), 0};
    // An interrupted or failed poll just returns early; the caller loops and looks again.
    if (ppoll(&descriptor, 1, pTimeout, nullptr) > 0 && (descriptor.revents & ~POLLOUT) != 0) {
        CheckDisplayResult(wl_display_read_events(pDisplay));
        DispatchRead();
        return true;
    }
    wl_display_cancel_read(pDisplay);
    return DispatchRead();
}

}  // namespace

void TakePendingEvents()
{
    if (!IsConnected())
        return;
    const timespec noWait = {0, 0};
    ReadEvents(&noWait);
}

// Frames are presented here, when the program has finished drawing and waits, never in the
// middle of a handler.
portable::WaitResult WaitForEvents(long long nsDeadline)
{
    PresentWindows();
    if (DispatchRead())
        return portable::WaitResult::Events;
    if (nsDeadline == portable::kNoDeadline)
        return ReadEvents(nullptr) ? portable::WaitResult::Events : portable::WaitResult::Timeout;
    const timespec timeout = TimeoutUntil(nsDeadline, Now());
    return ReadEvents(&timeout) ? portable::WaitResult::Events : portable::WaitResult::Timeout;
}

// The frames go out, and a round trip makes sure the compositor has them.
void DeviceFlush()
{
    if (!IsConnected())
        return;
    PresentWindows();
    CheckDisplayResult(wl_display_roundtrip_queue(TheConnection().m_pDisplay,
                                                  TheConnection().m_pBufferQueue));
}

}  // namespace wayland

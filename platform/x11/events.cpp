// The x11 event source: X events turned into the core's notifications, and the wait for the
// server or the next deadline.
#include "events.h"
#include "x11backend.h"
#include "display.h"
#include "window.h"
#include "windowprops.h"

#include <algorithm>

#include <poll.h>
#include <signal.h>
#include <time.h>

namespace x11 {

namespace {

// An Expose series covers the exposed area with several rectangles; the program repaints its
// whole client area anyway, so only the last of the series (count 0) asks for the paint. The
// server has cleared what it exposed, so the frame is presented whole again.
void OnExpose(CX11Window* pWindow, const XExposeEvent& event)
{
    pWindow->Invalidate();
    if (event.count == 0) {
        pWindow->NoteExposed();
        portable::NotifyExposed(pWindow->m_hWnd);
    }
}

// The device takes the new size before the core hears of it, so that the repaint it asks for
// draws at that size.
void OnConfigure(CX11Window* pWindow, const XConfigureEvent& event)
{
    pWindow->Resize(event.width, event.height);
    portable::NotifyResized(pWindow->m_hWnd, event.width, event.height);
}

void OnClientMessage(HWND hWnd, const XClientMessageEvent& event)
{
    const Connection& connection = TheConnection();
    const Atom atomProtocol = static_cast<Atom>(event.data.l[0]);
    if (event.message_type == connection.m_atomWmProtocols && event.format == 32 &&
        atomProtocol == connection.m_atomWmDeleteWindow)
        portable::NotifyCloseRequest(hWnd);
}

void HandleEvent(const XEvent& event)
{
    if (TakeCompletion(event))
        return;
    // Events for windows already destroyed are still in the queue after XDestroyWindow.
    CX11Window* pWindow = FindWindow(event.xany.window);
    if (pWindow == nullptr)
        return;
    switch (event.type) {
    case Expose:
        OnExpose(pWindow, event.xexpose);
        break;
    case ConfigureNotify:
        // Any client can send a ConfigureNotify. A synthetic one is the window manager's
        // report of where the frame put the window, and only its position means anything;
        // sizes come from the server's own.
        if (!event.xconfigure.send_event)
            OnConfigure(pWindow, event.xconfigure);
        break;
    case DestroyNotify:
        // The program's own windows leave the look-up as they are destroyed, before any
        // event is read again, so this one was destroyed by another client.
        ExitWindowDestroyed();
    case ClientMessage:
        OnClientMessage(pWindow->m_hWnd, event.xclient);
        break;
    default:
        break;
    }
}

// The wait for the next deadline is a relative ppoll. A process stopped in it (a debugger, a
// shell's job control) would, once continued, sleep on for the time that was left when it
// stopped, and the tick due meanwhile would come that much late. With a handler for SIGCONT,
// even one that does nothing, the continued wait returns at once instead, and the loop reads
// the clock again. SA_RESTART leaves every other system call as it was; a program that
// handles or ignores SIGCONT itself is left alone.
void OnContinued(int) {}

// The longest a wait leaves the connection unwatched while a frame is being read: one tick of
// the program's timer, so that no event waits longer than the next frame would.
const long long kLongestUnwatched = 50'000'000;

void CatchContinued()
{
    [[maybe_unused]] static const bool s_bCaught = [] {
        struct sigaction current;
        if (sigaction(SIGCONT, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
            current.sa_handler != SIG_DFL)
            return false;
        struct sigaction action = {};
        action.sa_handler = OnContinued;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        return sigaction(SIGCONT, &action, nullptr) == 0;
    }();
}

}  // namespace

void TakePendingEvents()
{
    if (!IsConnected())
        return;
    Display* pDisplay = TheConnection().m_pDisplay;
    // XPending reads what the socket holds: events Xlib has already buffered would not wake
    // the poll in WaitForEvents, so all of them are taken here.
    while (XPending(pDisplay) > 0) {
        XEvent event;
        XNextEvent(pDisplay, &event);
        HandleEvent(event);
    }
    AnswerHeldPings();
}

WaitResult WaitForEvents(long long nsDeadline)
{
    Display* pDisplay = TheConnection().m_pDisplay;
    // Requests made since the events were taken may have read pings.
    AnswerHeldPings();
    PresentWindows();
    XFlush(pDisplay);
    if (XQLength(pDisplay) > 0)
        return WaitResult::Events;
    CatchContinued();
    // The server answers each shared-memory frame with word that it has read it, a fraction of
    // a millisecond after the frame went out. Watching the connection then would wake the
    // program just after it went to sleep, only for it to sleep again: a second wake-up every
    // tick, which costs more than drawing the frame. So while a frame is being read the wait
    // runs to the deadline (at most kLongestUnwatched) without the connection, and the caller
    // then reads the word with whatever else arrived: a close request or an exposure waits at
    // most until the next tick. A window's first exposure does not wait: its paint is the
    // first picture of the program.
    if (nsDeadline != kNoDeadline && CanWaitUnwatched()) {
        const long long nsNow = Now();
        const timespec timeout =
            TimeoutUntil(std::min(nsDeadline, nsNow + kLongestUnwatched), nsNow);
        ppoll(nullptr, 0, &timeout, nullptr);
        return WaitResult::Events;
    }
    pollfd descriptor = {ConnectionNumber(pDisplay), POLLIN, 0};
    // An interrupted or failed poll just returns early; the caller loops and looks again, and
    // a broken connection is noticed by the next read, which calls the connection-lost handler.
    // The deadline is exact to the nanosecond: a poll timeout in whole milliseconds, rounded
    // up, would wake every tick up to a millisecond late.
    if (nsDeadline == kNoDeadline) {
        poll(&descriptor, 1, -1);
    } else {
        const timespec timeout = TimeoutUntil(nsDeadline, Now());
        ppoll(&descriptor, 1, &timeout, nullptr);
    }
    return descriptor.revents != 0 ? WaitResult::Events : WaitResult::Timeout;
}

// The frames go out, and a round trip makes sure the server has carried them out.
void DeviceFlush()
{
    if (!IsConnected())
        return;
    PresentWindows();
    XSync(TheConnection().m_pDisplay, False);
}

}  // namespace x11

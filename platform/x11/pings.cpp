// A window manager pings a window now and then and waits for the answer to its latest ping.
// Any client can send a flood of them, though, and while the program is stopped or busy the
// server holds them all for it. Xlib would read them all into its event queue at once, some
// 200 bytes each, and it keeps the memory of its largest queue until the connection closes:
// 100,000 pings would cost 20 MB for good. So pings are taken out as Xlib reads them, before
// they reach the queue, and only the latest few are kept to be answered; older ones have been
// given up on by whoever sent them.
#include "pings.h"

// Before Xlib's internal header, whose min and max macros would break it.
#include <algorithm>

#include <X11/Xlibint.h>

namespace x11 {

namespace {

using WireToEvent = Bool (*)(Display*, XEvent*, xEvent*);

struct PingCatcher {
    WireToEvent m_pfnConvert = nullptr;
    Atom m_atomWmProtocols = None;
    Atom m_atomNetWmPing = None;
    XClientMessageEvent m_held[kHeldPings];
    int m_nHeld = 0;
};

PingCatcher s_catcher;

bool IsPing(const XClientMessageEvent& event)
{
    return event.message_type == s_catcher.m_atomWmProtocols && event.format == 32 &&
           static_cast<Atom>(event.data.l[0]) == s_catcher.m_atomNetWmPing;
}

// Runs inside Xlib, for every ClientMessage it reads, so it makes no request. Xlib's own
// conversion fills in the event; returning False then keeps it out of the queue.
Bool CatchPing(Display* pDisplay, XEvent* pEvent, xEvent* pWire)
{
    if (!s_catcher.m_pfnConvert(pDisplay, pEvent, pWire))
        return False;
    if (!IsPing(pEvent->xclient))
        return True;
    if (s_catcher.m_nHeld == kHeldPings) {
        std::copy(s_catcher.m_held + 1, s_catcher.m_held + kHeldPings, s_catcher.m_held);
        --s_catcher.m_nHeld;
    }
    s_catcher.m_held[s_catcher.m_nHeld++] = pEvent->xclient;
    return False;
}

}  // namespace

void CatchPings(Display* pDisplay, Atom atomWmProtocols, Atom atomNetWmPing)
{
    s_catcher.m_atomWmProtocols = atomWmProtocols;
    s_catcher.m_atomNetWmPing = atomNetWmPing;
    s_catcher.m_pfnConvert = XESetWireToEvent(pDisplay, ClientMessage, CatchPing);
}

int TakeHeldPings(XClientMessageEvent* pPings)
{
    const int nPings = s_catcher.m_nHeld;
    std::copy(s_catcher.m_held, s_catcher.m_held + nPings, pPings);
    s_catcher.m_nHeld = 0;
    return nPings;
}

}  // namespace x11

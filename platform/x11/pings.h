// The window manager's pings, taken out of what Xlib reads before they reach its event queue.
// Apart from the rest of the backend, because Xlib's internal header, which this needs,
// defines a BOOL of its own.
#ifndef VURAZEVEDADAR_X11_PINGS_H
#define VURAZEVEDADAR_X11_PINGS_H

#include <X11/Xlib.h>

namespace x11 {

// The most pings held between two answers; beyond it the oldest are dropped.
const int kHeldPings = 16;

// From now on, the _NET_WM_PING messages Xlib reads are held here instead of queued.
void CatchPings(Display* pDisplay, Atom atomWmProtocols, Atom atomNetWmPing);
// Moves the held pings, oldest first, into pPings (room for kHeldPings); returns how many.
int TakeHeldPings(XClientMessageEvent* pPings);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_PINGS_H

// What a window manager needs to know of the process behind a window, so that it can offer to
// end a program that has stopped answering: which process on which machine, and answers to its
// pings.
#include "display.h"
#include "pings.h"
#include "windowprops.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <unistd.h>

#include <climits>

namespace x11 {

namespace {

// POSIX's guaranteed minimum for a host name; longer names are cut, which only shortens what
// the window manager shows.
const int kHostNameSize = _POSIX_HOST_NAME_MAX + 1;

// The answer is the ping itself, sent back to the root window, where the window manager
// listens.
void AnswerPing(const Connection& connection, const XClientMessageEvent& event)
{
    XEvent reply = XEvent();
    reply.xclient = event;
    reply.xclient.window = connection.m_idRoot;
    XSendEvent(connection.m_pDisplay, connection.m_idRoot, False,
               SubstructureNotifyMask | SubstructureRedirectMask, &reply);
}

void SetClientMachine(Display* pDisplay, Window idWindow)
{
    char szHost[kHostNameSize] = {};
    if (gethostname(szHost, sizeof szHost - 1) != 0)
        return;
    char* lpszHost = szHost;
    XTextProperty property;
    if (XStringListToTextProperty(&lpszHost, 1, &property) == 0)
        return;
    XSetWMClientMachine(pDisplay, idWindow, &property);
    XFree(property.value);
}

}  // namespace

// _NET_WM_PID only means something together with WM_CLIENT_MACHINE, so both are set.
void SetProcessIdentity(Window idWindow)
{
    const Connection& connection = TheConnection();
    SetClientMachine(connection.m_pDisplay, idWindow);
    // Format-32 properties are passed as longs, whatever their width.
    const long nPid = static_cast<long>(getpid());
    XChangeProperty(connection.m_pDisplay, idWindow, connection.m_atomNetWmPid, XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&nPid), 1);
}

// Answering sends requests, which may read more events and catch more pings meanwhile: the
// held ones are copied out first.
void AnswerHeldPings()
{
    XClientMessageEvent pings[kHeldPings];
    const int nPings = TakeHeldPings(pings);
    if (nPings == 0)
        return;
    const Connection& connection = TheConnection();
    for (int i = 0; i < nPings; ++i)
        AnswerPing(connection, pings[i]);
}

}  // namespace x11

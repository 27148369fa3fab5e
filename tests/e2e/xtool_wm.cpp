// xtool's requests to a window manager, as its task bar and window menu make them (the
// Extended Window Manager Hints: client messages to the root window), and what it reports back.
//   xtool frame <caption>        prints "framed LEFT RIGHT TOP BOTTOM" (_NET_FRAME_EXTENTS) when
//                                a window manager has put the window into a frame of its own
//   xtool state <caption>        prints the ICCCM state (normal, iconic, withdrawn), whether the
//                                window is viewable, then its _NET_WM_STATE atoms
//   xtool maximize <caption>     asks for the window maximised both ways
//   xtool activate <caption>     asks for the window raised and focused, restoring it when
//                                minimised
//   xtool wm-close <caption>     asks the window manager to close the window (_NET_CLOSE_WINDOW),
//                                which it does with the window's own close protocol
#include "xtool_wm.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// _NET_WM_STATE's actions and the source indication that says the request comes from a pager
// or task bar, which window managers honour without focus-stealing checks.
const long kStateAdd = 1;
const long kSourcePager = 2;
const int kFrameSides = 4;
const char* const kIcccmStates[] = {"withdrawn", "normal", "zoom", "iconic"};
const long kIcccmStateCount = 4;

// A round trip, so that the server has delivered the request before the tool exits.
int SendToRoot(Display* pDisplay, Window window, const char* pszMessage, long l0, long l1,
               long l2, long l3)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(pDisplay, pszMessage, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    const Status sent =
        XSendEvent(pDisplay, DefaultRootWindow(pDisplay), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(pDisplay, False);
    return sent ? 0 : 1;
}

// A property of 32-bit items; nullptr when the window has none of that type.
unsigned long* LongProperty(Display* pDisplay, Window window, const char* pszName, Atom type,
                            unsigned long* pCount)
{
    Atom actualType;
    int format;
    unsigned long nAfter;
    unsigned char* pData = nullptr;
    *pCount = 0;
    if (XGetWindowProperty(pDisplay, window, XInternAtom(pDisplay, pszName, False), 0, 1024,
                           False, type, &actualType, &format, pCount, &nAfter,
                           &pData) != Success ||
        pData == nullptr || format != 32) {
        if (pData)
            XFree(pData);
        *pCount = 0;
        return nullptr;
    }
    return reinterpret_cast<unsigned long*>(pData);
}

bool IsReparented(Display* pDisplay, Window window)
{
    Window root, parent, *pChildren = nullptr;
    unsigned int nChildren = 0;
    if (!XQueryTree(pDisplay, window, &root, &parent, &pChildren, &nChildren))
        return false;
    if (pChildren)
        XFree(pChildren);
    return parent != root;
}

int Frame(Display* pDisplay, Window window)
{
    unsigned long nCount = 0;
    unsigned long* pExtents =
        LongProperty(pDisplay, window, "_NET_FRAME_EXTENTS", XA_CARDINAL, &nCount);
    const bool bFramed = IsReparented(pDisplay, window) && nCount == kFrameSides;
    if (bFramed)
        std::printf("framed %lu %lu %lu %lu\n", pExtents[0], pExtents[1], pExtents[2],
                    pExtents[3]);
    else
        std::printf("unframed\n");
    if (pExtents)
        XFree(pExtents);
    return bFramed ? 0 : 1;
}

int State(Display* pDisplay, Window window)
{
    const Atom atomWmState = XInternAtom(pDisplay, "WM_STATE", False);
    unsigned long nCount = 0;
    unsigned long* pIcccm = LongProperty(pDisplay, window, "WM_STATE", atomWmState, &nCount);
    const long nState = pIcccm && nCount > 0 ? static_cast<long>(pIcccm[0]) : 0;
    XWindowAttributes attributes;
    const bool bViewable = XGetWindowAttributes(pDisplay, window, &attributes) &&
                           attributes.map_state == IsViewable;
    std::printf("%s %s", nState >= 0 && nState < kIcccmStateCount ? kIcccmStates[nState] : "?",
                bViewable ? "viewable" : "unviewable");
    unsigned long* pAtoms = LongProperty(pDisplay, window, "_NET_WM_STATE", XA_ATOM, &nCount);
    for (unsigned long i = 0; i < nCount; ++i) {
        char* pszName = XGetAtomName(pDisplay, static_cast<Atom>(pAtoms[i]));
        std::printf(" %s", pszName ? pszName : "?");
        if (pszName)
            XFree(pszName);
    }
    std::printf("\n");
    if (pIcccm)
        XFree(pIcccm);
    if (pAtoms)
        XFree(pAtoms);
    return 0;
}

long AtomValue(Display* pDisplay, const char* pszName)
{
    return static_cast<long>(XInternAtom(pDisplay, pszName, False));
}

}  // namespace

int ActThroughWindowManager(Display* pDisplay, Window window, int argc, char** argv)
{
    const std::string verb = argv[1];
    if (argc != 3)
        return 2;
    if (verb == "frame")
        return Frame(pDisplay, window);
    if (verb == "state")
        return State(pDisplay, window);
    if (verb == "maximize")
        return SendToRoot(pDisplay, window, "_NET_WM_STATE", kStateAdd,
                          AtomValue(pDisplay, "_NET_WM_STATE_MAXIMIZED_VERT"),
                          AtomValue(pDisplay, "_NET_WM_STATE_MAXIMIZED_HORZ"), kSourcePager);
    if (verb == "activate")
        return SendToRoot(pDisplay, window, "_NET_ACTIVE_WINDOW", kSourcePager, CurrentTime,
                          None, 0);
    if (verb == "wm-close")
        return SendToRoot(pDisplay, window, "_NET_CLOSE_WINDOW", CurrentTime, kSourcePager, 0,
                          0);
    return 2;
}

// A test tool that finds the program's top-level window on an X display by its caption and
// acts on it as a user or window manager would.
//   xtool find <caption>              prints "window x y width height" (root coordinates)
//   xtool props <caption>             prints WM_NAME, _NET_WM_NAME and WM_CLASS, one a line
//   xtool close <caption>             sends WM_DELETE_WINDOW, as the close button does
//   xtool resize <caption> <w> <h>    asks for a new size
//   xtool startup <caption> <program>  starts the program and prints the milliseconds from its
//                                      start to its window's first painted pixel, then ends it
//   xtool close <caption> <count>     sends that many WM_DELETE_WINDOW messages back to back
//   xtool geometry <caption>          prints "width height" as the server holds them now
//   xtool unmap|map <caption>         takes the window off the screen and puts it back, which
//                                     is what minimising and restoring come to without a
//                                     window manager
//   xtool iconify <caption>           asks the window manager to minimise the window
//   xtool painted <caption>           succeeds when the part of the window on the screen shows
//                                     the picture's blue background somewhere
//   xtool resize-storm <caption> <count> <milliseconds>
//                                     resizes the window count times, spread over about that
//                                     long, each resize carried out by the server before the
//                                     next; stops early once the window is gone; prints the
//                                     resizes done and the milliseconds taken
//   xtool expose-storm <caption> <count>
//                                     makes the server expose the whole window count times;
//                                     prints the milliseconds taken
//   xtool identity <caption>          prints "pid machine icon-sizes" from _NET_WM_PID,
//                                     WM_CLIENT_MACHINE and _NET_WM_ICON ("16x16,32x32")
//   xtool ping <caption>              pings the window as a window manager does
//                                     (_NET_WM_PING) and succeeds when the answer comes back
//   xtool ping-flood <caption> <count>
//                                     sends that many pings back to back, not waiting for
//                                     the answers
//   xtool fake-configure <caption> <w> <h> [<count>]
//                                     sends the window a synthetic ConfigureNotify claiming
//                                     that size (count times), as any client may
//   xtool destroy <caption>           destroys the window, as any client may
//   xtool frame|state|maximize|activate|wm-close <caption>
//                                     asks a window manager, or reads what it did: xtool_wm.cpp
// Exits 0 on success, 1 when no such window exists (or a check fails), 2 on bad usage or no
// display.
#include "xtool_wm.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const long long kNanosecondsPerSecond = 1000000000;
const long long kNanosecondsPerMillisecond = 1000000;

// The storms visit mostly ordinary sizes drawn from a fixed pseudo-random sequence (the same on
// every run), and every so often one of the extremes a window manager may impose.
const unsigned kStormMaxWidth = 1000;
const unsigned kStormMaxHeight = 750;
const int kStormExtremeEvery = 50;
const unsigned kStormExtremes[][2] = {{1, 1}, {1, 800}, {800, 1}, {4000, 3000}, {32000, 200}};
const int kStormExtremeCount = sizeof kStormExtremes / sizeof kStormExtremes[0];
// Knuth's MMIX multiplier and increment; unsigned arithmetic wraps, as the sequence wants.
const std::uint64_t kLcgMultiplier = 6364136223846793005ull;
const std::uint64_t kLcgIncrement = 1442695040888963407ull;
const int kLcgOutputShift = 33;
// Exposures are sent in batches, each waited for: the server must really carry them out, but a
// round trip for every one of them would measure the connection rather than the program.
const int kExposeBatch = 100;

// The program may close its window while a storm is still running; the requests that then
// name a window that no longer exists must end the storm quietly rather than end this tool
// with Xlib's report, so errors are recorded here and looked at after each round trip.
int s_nLastError = Success;

int OnXError(Display*, XErrorEvent* pError)
{
    s_nLastError = pError->error_code;
    return 0;
}

// Whether the requests made so far went through: the round trip makes the server report any
// error for them first.
int Carried(Display* pDisplay)
{
    XSync(pDisplay, False);
    return s_nLastError == Success ? 0 : 1;
}

std::string TextProperty(Display* pDisplay, Window window, Atom property)
{
    Atom type;
    int format;
    unsigned long nItems, nAfter;
    unsigned char* pData = nullptr;
    if (XGetWindowProperty(pDisplay, window, property, 0, 1024, False, AnyPropertyType, &type,
                           &format, &nItems, &nAfter, &pData) != Success || !pData)
        return std::string();
    std::string text(reinterpret_cast<char*>(pData), nItems * (format / 8));
    XFree(pData);
    return text;
}

// Searches the tree below `window`, a few levels deep (window managers add frames).
Window FindByName(Display* pDisplay, Window window, const char* pszName, int nDepth)
{
    if (TextProperty(pDisplay, window, XA_WM_NAME) == pszName)
        return window;
    if (nDepth == 0)
        return None;
    Window root, parent, *pChildren = nullptr;
    unsigned int nChildren = 0;
    if (!XQueryTree(pDisplay, window, &root, &parent, &pChildren, &nChildren))
        return None;
    Window found = None;
    for (unsigned int i = 0; i < nChildren && found == None; ++i)
        found = FindByName(pDisplay, pChildren[i], pszName, nDepth - 1);
    if (pChildren)
        XFree(pChildren);
    return found;
}

// The window may be going away meanwhile (the program closing), and then there is nothing
// true to print.
int Find(Display* pDisplay, Window window)
{
    XWindowAttributes attributes;
    int x = 0, y = 0;
    Window child;
    if (!XGetWindowAttributes(pDisplay, window, &attributes) ||
        !XTranslateCoordinates(pDisplay, window, DefaultRootWindow(pDisplay), 0, 0, &x, &y,
                               &child))
        return 1;
    std::printf("%lu %d %d %d %d\n", window, x, y, attributes.width, attributes.height);
    return 0;
}

int Props(Display* pDisplay, Window window)
{
    const Atom netName = XInternAtom(pDisplay, "_NET_WM_NAME", False);
    std::string wmClass = TextProperty(pDisplay, window, XA_WM_CLASS);
    for (char& c : wmClass)
        c = c == '\0' ? ',' : c;
    std::printf("%s\n%s\n%s\n", TextProperty(pDisplay, window, XA_WM_NAME).c_str(),
                TextProperty(pDisplay, window, netName).c_str(), wmClass.c_str());
    return 0;
}

long long Now();

// The sizes of the images in an _NET_WM_ICON, which holds them one after the other.
std::string IconSizes(Display* pDisplay, Window window)
{
    const Atom atomIcon = XInternAtom(pDisplay, "_NET_WM_ICON", False);
    Atom type = None;
    int nFormat = 0;
    unsigned long nItems = 0, nAfter = 0;
    unsigned char* pData = nullptr;
    if (XGetWindowProperty(pDisplay, window, atomIcon, 0, 1 << 20, False, XA_CARDINAL, &type,
                           &nFormat, &nItems, &nAfter, &pData) != Success || pData == nullptr)
        return "-";
    const unsigned long* pValues = reinterpret_cast<const unsigned long*>(pData);
    std::string sizes;
    for (unsigned long i = 0; i + 2 <= nItems;) {
        const unsigned long nWidth = pValues[i], nHeight = pValues[i + 1];
        sizes += (sizes.empty() ? "" : ",") + std::to_string(nWidth) + "x" + std::to_string(nHeight);
        i += 2 + nWidth * nHeight;
    }
    XFree(pData);
    return sizes.empty() ? "-" : sizes;
}

int Identity(Display* pDisplay, Window window)
{
    const Atom atomPid = XInternAtom(pDisplay, "_NET_WM_PID", False);
    Atom type = None;
    int nFormat = 0;
    unsigned long nItems = 0, nAfter = 0;
    unsigned char* pData = nullptr;
    long nPid = 0;
    if (XGetWindowProperty(pDisplay, window, atomPid, 0, 1, False, XA_CARDINAL, &type, &nFormat,
                           &nItems, &nAfter, &pData) == Success && pData != nullptr) {
        if (nItems == 1)
            nPid = *reinterpret_cast<const long*>(pData);
        XFree(pData);
    }
    const std::string machine = TextProperty(pDisplay, window, XA_WM_CLIENT_MACHINE);
    std::printf("%ld %s %s\n", nPid, machine.empty() ? "-" : machine.c_str(),
                IconSizes(pDisplay, window).c_str());
    return 0;
}

void SendPing(Display* pDisplay, Window window, long nStamp)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(pDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(pDisplay, "_NET_WM_PING", False));
    event.xclient.data.l[1] = nStamp;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(pDisplay, window, False, NoEventMask, &event);
}

// The answer is the same client message, sent to the root window.
int Ping(Display* pDisplay, Window window)
{
    const Window root = DefaultRootWindow(pDisplay);
    const Atom atomPing = XInternAtom(pDisplay, "_NET_WM_PING", False);
    const long nStamp = 4242;
    XSelectInput(pDisplay, root, SubstructureNotifyMask);
    SendPing(pDisplay, window, nStamp);
    XFlush(pDisplay);
    const long long nsGiveUp = Now() + 2000000000LL;
    while (Now() < nsGiveUp) {
        while (XPending(pDisplay) > 0) {
            XEvent reply;
            XNextEvent(pDisplay, &reply);
            if (reply.type == ClientMessage && reply.xclient.window == root &&
                static_cast<Atom>(reply.xclient.data.l[0]) == atomPing &&
                reply.xclient.data.l[1] == nStamp &&
                static_cast<Window>(reply.xclient.data.l[2]) == window)
                return 0;
        }
        usleep(10000);
    }
    return 1;
}

// Xlib caches atoms, so only the first ping looks them up; the rest go out back to back.
int PingFlood(Display* pDisplay, Window window, int nCount)
{
    for (int i = 0; i < nCount; ++i)
        SendPing(pDisplay, window, i);
    return Carried(pDisplay);
}

// What a window manager sends when it moves a frame without resizing the window in it, but
// with any size at all: a client can send anything.
int FakeConfigure(Display* pDisplay, Window window, int nWidth, int nHeight, int nCount)
{
    XEvent event = {};
    event.xconfigure.type = ConfigureNotify;
    event.xconfigure.event = window;
    event.xconfigure.window = window;
    event.xconfigure.width = nWidth;
    event.xconfigure.height = nHeight;
    for (int i = 0; i < nCount; ++i)
        XSendEvent(pDisplay, window, False, StructureNotifyMask, &event);
    return Carried(pDisplay);
}

int Close(Display* pDisplay, Window window, int nCount)
{
    // The atoms are looked up first: a look-up is a round trip, which would send the messages
    // one at a time instead of back to back.
    const Atom atomProtocols = XInternAtom(pDisplay, "WM_PROTOCOLS", False);
    const Atom atomDeleteWindow = XInternAtom(pDisplay, "WM_DELETE_WINDOW", False);
    for (int i = 0; i < nCount; ++i) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = atomProtocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(atomDeleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(pDisplay, window, False, NoEventMask, &event);
    }
    return Carried(pDisplay);
}

double Milliseconds(const timespec& from, const timespec& to)
{
    return (to.tv_sec - from.tv_sec) * 1e3 + (to.tv_nsec - from.tv_nsec) / 1e6;
}

// Whether the window shows the background colour a quarter of the way across its middle row,
// where only the first paint's clearing puts it.
bool IsPainted(Display* pDisplay, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(pDisplay, window, &attributes) ||
        attributes.map_state != IsViewable)
        return false;
    XImage* pImage = XGetImage(pDisplay, window, attributes.width / 4, attributes.height / 2, 1,
                               1, AllPlanes, ZPixmap);
    if (!pImage)
        return false;
    const unsigned long pixel = XGetPixel(pImage, 0, 0);
    const bool bBlue = pixel == pImage->blue_mask;
    XDestroyImage(pImage);
    return bBlue;
}

int Startup(Display* pDisplay, const char* pszCaption, char* pszProgram)
{
    timespec start, now;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid == 0) {
        char* argv[] = {pszProgram, nullptr};
        execv(pszProgram, argv);
        _exit(127);
    }
    int nStatus = 1;
    for (int nTry = 0; nTry < 20000 && nStatus != 0; ++nTry) {
        const Window window = FindByName(pDisplay, DefaultRootWindow(pDisplay), pszCaption, 3);
        if (window != None && IsPainted(pDisplay, window)) {
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("%.2f\n", Milliseconds(start, now));
            nStatus = 0;
        } else {
            usleep(250);
        }
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return nStatus;
}

// What the server holds now, not what the last ConfigureNotify said.
int Geometry(Display* pDisplay, Window window)
{
    Window root;
    int x, y;
    unsigned int nWidth, nHeight, nBorder, nDepth;
    if (!XGetGeometry(pDisplay, window, &root, &x, &y, &nWidth, &nHeight, &nBorder, &nDepth))
        return 1;
    std::printf("%u %u\n", nWidth, nHeight);
    return 0;
}

// The part of a viewable window that lies on the screen, in window coordinates: XGetImage
// refuses any rectangle reaching beyond it, and hostile sizes make windows far larger than it.
bool VisiblePart(Display* pDisplay, Window window, XRectangle* pPart)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(pDisplay, window, &attributes) ||
        attributes.map_state != IsViewable)
        return false;
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(pDisplay, window, attributes.root, 0, 0, &x, &y, &child);
    const int nLeft = std::max(0, -x);
    const int nTop = std::max(0, -y);
    const int nRight = std::min(attributes.width, WidthOfScreen(attributes.screen) - x);
    const int nBottom = std::min(attributes.height, HeightOfScreen(attributes.screen) - y);
    if (nRight <= nLeft || nBottom <= nTop)
        return false;
    *pPart = XRectangle{static_cast<short>(nLeft), static_cast<short>(nTop),
                        static_cast<unsigned short>(nRight - nLeft),
                        static_cast<unsigned short>(nBottom - nTop)};
    return true;
}

bool ShowsBlue(XImage* pImage)
{
    for (int y = 0; y < pImage->height; ++y) {
        for (int x = 0; x < pImage->width; ++x) {
            if (XGetPixel(pImage, x, y) == pImage->blue_mask)
                return true;
        }
    }
    return false;
}

// The server clears a resized or exposed window to its white background, so blue on the
// screen means the program has painted since.
int Painted(Display* pDisplay, Window window)
{
    XRectangle part;
    if (!VisiblePart(pDisplay, window, &part))
        return 1;
    XImage* pImage = XGetImage(pDisplay, window, part.x, part.y, part.width, part.height,
                               AllPlanes, ZPixmap);
    if (!pImage)
        return 1;
    const bool bBlue = ShowsBlue(pImage);
    XDestroyImage(pImage);
    return bBlue ? 0 : 1;
}

long long Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * kNanosecondsPerSecond + now.tv_nsec;
}

void SleepUntil(long long nsDeadline)
{
    timespec deadline;
    deadline.tv_sec = static_cast<time_t>(nsDeadline / kNanosecondsPerSecond);
    deadline.tv_nsec = static_cast<long>(nsDeadline % kNanosecondsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) != 0) {
    }
}

void StormSize(int nIndex, std::uint64_t* pState, unsigned* pWidth, unsigned* pHeight)
{
    if (nIndex % kStormExtremeEvery == kStormExtremeEvery - 1) {
        const int nExtreme = (nIndex / kStormExtremeEvery) % kStormExtremeCount;
        *pWidth = kStormExtremes[nExtreme][0];
        *pHeight = kStormExtremes[nExtreme][1];
        return;
    }
    *pState = *pState * kLcgMultiplier + kLcgIncrement;
    *pWidth = 1 + static_cast<unsigned>((*pState >> kLcgOutputShift) % kStormMaxWidth);
    *pState = *pState * kLcgMultiplier + kLcgIncrement;
    *pHeight = 1 + static_cast<unsigned>((*pState >> kLcgOutputShift) % kStormMaxHeight);
}

// Each resize is followed by a round trip, so that the server has carried it out (and sent the
// program its ConfigureNotify and Expose) before the next; the pacing spreads them evenly
// over the time asked for, and a loaded machine only makes the storm take longer.
int ResizeStorm(Display* pDisplay, Window window, int nCount, long long nMilliseconds)
{
    const long long nsStart = Now();
    const long long nsEach = nMilliseconds * kNanosecondsPerMillisecond / std::max(nCount, 1);
    std::uint64_t nState = 1;
    int nDone = 0;
    while (nDone < nCount && s_nLastError == Success) {
        unsigned nWidth, nHeight;
        StormSize(nDone, &nState, &nWidth, &nHeight);
        XResizeWindow(pDisplay, window, nWidth, nHeight);
        XSync(pDisplay, False);
        if (s_nLastError == Success)
            ++nDone;
        SleepUntil(nsStart + nDone * nsEach);
    }
    std::printf("%d %.0f\n", nDone, (Now() - nsStart) / 1e6);
    return 0;
}

// XClearArea with no extent and exposures on clears the whole window and sends a real Expose
// for it, as uncovering the window would.
int ExposeStorm(Display* pDisplay, Window window, int nCount)
{
    const long long nsStart = Now();
    for (int i = 0; i < nCount && s_nLastError == Success; ++i) {
        XClearArea(pDisplay, window, 0, 0, 0, 0, True);
        if ((i + 1) % kExposeBatch == 0)
            XSync(pDisplay, False);
    }
    XSync(pDisplay, False);
    std::printf("%.0f\n", (Now() - nsStart) / 1e6);
    return s_nLastError == Success ? 0 : 1;
}

// Everything but startup acts on a window found by its caption.
int Act(Display* pDisplay, Window window, int argc, char** argv)
{
    const std::string verb = argv[1];
    if (verb == "find" && argc == 3)
        return Find(pDisplay, window);
    if (verb == "props" && argc == 3)
        return Props(pDisplay, window);
    if (verb == "identity" && argc == 3)
        return Identity(pDisplay, window);
    if (verb == "ping" && argc == 3)
        return Ping(pDisplay, window);
    if (verb == "ping-flood" && argc == 4)
        return PingFlood(pDisplay, window, std::atoi(argv[3]));
    if (verb == "fake-configure" && (argc == 5 || argc == 6))
        return FakeConfigure(pDisplay, window, std::atoi(argv[3]), std::atoi(argv[4]),
                             argc == 6 ? std::atoi(argv[5]) : 1);
    if (verb == "destroy" && argc == 3) {
        XDestroyWindow(pDisplay, window);
        return Carried(pDisplay);
    }
    if (verb == "close" && (argc == 3 || argc == 4))
        return Close(pDisplay, window, argc == 4 ? std::atoi(argv[3]) : 1);
    if (verb == "resize" && argc == 5) {
        XResizeWindow(pDisplay, window, std::atoi(argv[3]), std::atoi(argv[4]));
        return Carried(pDisplay);
    }
    if (verb == "geometry" && argc == 3)
        return Geometry(pDisplay, window);
    if (verb == "unmap" && argc == 3) {
        XUnmapWindow(pDisplay, window);
        return Carried(pDisplay);
    }
    if (verb == "map" && argc == 3) {
        XMapWindow(pDisplay, window);
        return Carried(pDisplay);
    }
    if (verb == "iconify" && argc == 3) {
        if (!XIconifyWindow(pDisplay, window, DefaultScreen(pDisplay)))
            return 1;
        return Carried(pDisplay);
    }
    if (verb == "painted" && argc == 3)
        return Painted(pDisplay, window);
    if (verb == "resize-storm" && argc == 5)
        return ResizeStorm(pDisplay, window, std::atoi(argv[3]), std::atoll(argv[4]));
    if (verb == "expose-storm" && argc == 4)
        return ExposeStorm(pDisplay, window, std::atoi(argv[3]));
    return ActThroughWindowManager(pDisplay, window, argc, argv);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    Display* pDisplay = XOpenDisplay(nullptr);
    if (!pDisplay)
        return 2;
    if (std::strcmp(argv[1], "startup") == 0) {
        const int nStatus = argc == 4 ? Startup(pDisplay, argv[2], argv[3]) : 2;
        XCloseDisplay(pDisplay);
        return nStatus;
    }
    XSetErrorHandler(OnXError);
    const Window window = FindByName(pDisplay, DefaultRootWindow(pDisplay), argv[2], 3);
    const int nStatus = window != None ? Act(pDisplay, window, argc, argv) : 1;
    XCloseDisplay(pDisplay);
    return nStatus;
}

// A test tool that finds the program's top-level window on an X display by its caption and
// acts on it as a user or window manager would.
//   xtool find <caption>              prints "window x y width height" (root coordinates)
//   xtool props <caption>             prints WM_NAME, _NET_WM_NAME and WM_CLASS, one a line
//   xtool close <caption>             sends WM_DELETE_WINDOW, as the close button does
//   xtool resize <caption> <w> <h>    asks for a new size
//   xtool startup <caption> <program>  starts the program and prints the milliseconds from its
//                                      start to its window's first painted pixel, then ends it
// Exits 0 on success, 1 when no such window exists, 2 on bad usage or no display.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

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

int Find(Display* pDisplay, Window window)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(pDisplay, window, &attributes);
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(pDisplay, window, DefaultRootWindow(pDisplay), 0, 0, &x, &y, &child);
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

int Close(Display* pDisplay, Window window)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(pDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(pDisplay, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(pDisplay, window, False, NoEventMask, &event);
    return 0;
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
    const Window window = FindByName(pDisplay, DefaultRootWindow(pDisplay), argv[2], 3);
    int nStatus = 1;
    if (window != None) {
        const std::string verb = argv[1];
        if (verb == "find")
            nStatus = Find(pDisplay, window);
        else if (verb == "props")
            nStatus = Props(pDisplay, window);
        else if (verb == "close")
            nStatus = Close(pDisplay, window);
        else if (verb == "resize" && argc == 5)
            nStatus = XResizeWindow(pDisplay, window, std::atoi(argv[3]), std::atoi(argv[4])) ? 0 : 2;
        else
            nStatus = 2;
    }
    XCloseDisplay(pDisplay);
    return nStatus;
}

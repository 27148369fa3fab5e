// X11: reads the window's pixels from the server over a connection of our own, after the
// program's own connection has been synchronised (GdiFlush). The window is found by its
// caption, as another client would find it.
#include "readback.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

namespace {

const char kCaption[] = "Vurazevedadar";

// The display is shared with Wine and with the dumper run before this one, whose windows may go
// away between being listed and being asked for their name: such a window is simply not the
// one looked for. Xlib's error handler is the whole process's, so errors of this connection are
// kept from the program's handler, which would end the run.
Display* s_pReadback = nullptr;
XErrorHandler s_pfnProgram = nullptr;

int OnReadbackError(Display* pDisplay, XErrorEvent* pError)
{
    if (pDisplay == s_pReadback)
        return 0;
    return s_pfnProgram != nullptr ? s_pfnProgram(pDisplay, pError) : 0;
}

Window FindCaptioned(Display* pDisplay, Window window)
{
    char* pszName = nullptr;
    if (XFetchName(pDisplay, window, &pszName) && pszName) {
        const bool bMatch = std::strcmp(pszName, kCaption) == 0;
        XFree(pszName);
        if (bMatch)
            return window;
    }
    Window root, parent, *pChildren = nullptr;
    unsigned int nChildren = 0;
    Window found = None;
    if (XQueryTree(pDisplay, window, &root, &parent, &pChildren, &nChildren)) {
        for (unsigned int i = 0; i < nChildren && found == None; ++i)
            found = FindCaptioned(pDisplay, pChildren[i]);
        if (pChildren)
            XFree(pChildren);
    }
    return found;
}

unsigned char Channel(unsigned long pixel, unsigned long mask)
{
    int nShift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++nShift;
    }
    return static_cast<unsigned char>((pixel >> nShift) & 0xFF);
}

}  // namespace

bool ReadClientArea(HWND, int nWidth, int nHeight, std::vector<unsigned char>& rgb)
{
    Display* pDisplay = XOpenDisplay(nullptr);
    if (!pDisplay)
        return false;
    s_pReadback = pDisplay;
    s_pfnProgram = XSetErrorHandler(OnReadbackError);
    const Window window = FindCaptioned(pDisplay, DefaultRootWindow(pDisplay));
    XImage* pImage = window != None ? XGetImage(pDisplay, window, 0, 0, nWidth, nHeight,
                                                AllPlanes, ZPixmap)
                                    : nullptr;
    if (pImage) {
        rgb.resize(static_cast<size_t>(nWidth) * nHeight * 3);
        size_t i = 0;
        for (int y = 0; y < nHeight; ++y) {
            for (int x = 0; x < nWidth; ++x) {
                const unsigned long pixel = XGetPixel(pImage, x, y);
                rgb[i++] = Channel(pixel, pImage->red_mask);
                rgb[i++] = Channel(pixel, pImage->green_mask);
                rgb[i++] = Channel(pixel, pImage->blue_mask);
            }
        }
        XDestroyImage(pImage);
    }
    XCloseDisplay(pDisplay);
    XSetErrorHandler(s_pfnProgram);
    return pImage != nullptr;
}

// What the x11 backend keeps of a window: its X window and the one GC everything in it is
// drawn with, with what the server currently holds in that GC. Private to the backend.
#ifndef VURAZEVEDADAR_X11_STATE_H
#define VURAZEVEDADAR_X11_STATE_H

#include "backend.h"

#include <X11/Xlib.h>

namespace x11 {

// The GC and what it was last given, as the core gave it, so that a drawing call sends only
// what has changed since the last one.
struct GcCache {
    GC m_gc;
    COLORREF m_crForeground;
    portable::ClipRect m_clip;
};

// The window a handle stands for, among all the backend's windows; null for another client's.
HWND LookupWindowById(Window idWindow);

// Every X window and GC the backend makes goes through these, so that leak tests can count them.
Window CreateCountedWindow(Display* pDisplay, Window idParent, int x, int y, unsigned nWidth,
                           unsigned nHeight, unsigned long nValueMask,
                           XSetWindowAttributes* pAttributes);
void DestroyCountedWindow(Display* pDisplay, Window idWindow);
GC CreateCountedGC(Display* pDisplay, Drawable idDrawable, unsigned long nValueMask,
                   XGCValues* pValues);
void FreeCountedGC(Display* pDisplay, GC gc);

}  // namespace x11

struct CNativeWindow {
    HWND m_hWnd;
    Window m_idWindow;
    x11::GcCache m_gcCache;
};

#endif  // VURAZEVEDADAR_X11_STATE_H

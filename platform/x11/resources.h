// Every X window, GC and pixmap the backend makes, counted, so that leak tests can compare the
// backend's own view with the server's. Both counts are 0 once the program has closed its
// windows.
#ifndef VURAZEVEDADAR_X11_RESOURCES_H
#define VURAZEVEDADAR_X11_RESOURCES_H

#include <X11/Xlib.h>

namespace x11 {

Window CreateCountedWindow(Display* pDisplay, Window idParent, int x, int y, unsigned nWidth,
                           unsigned nHeight, unsigned long nValueMask,
                           XSetWindowAttributes* pAttributes);
void DestroyCountedWindow(Display* pDisplay, Window idWindow);
GC CreateCountedGC(Display* pDisplay, Drawable idDrawable, unsigned long nValueMask,
                   XGCValues* pValues);
void FreeCountedGC(Display* pDisplay, GC gc);
Pixmap CreateCountedPixmap(Display* pDisplay, Drawable idDrawable, unsigned nWidth,
                           unsigned nHeight, unsigned nDepth);
void FreeCountedPixmap(Display* pDisplay, Pixmap idPixmap);

// GCs created on the server and not yet freed.
int LiveGCs();
// X windows created and not yet destroyed (message boxes included while they are open).
int LiveWindows();
// Back buffers on the server.
int LivePixmaps();

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_RESOURCES_H

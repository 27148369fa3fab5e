// The counted creation of server resources that the leak counters report.
#include "resources.h"

namespace x11 {

namespace {

struct Counts {
    int m_nLiveGCs = 0;
    int m_nLiveXWindows = 0;
    int m_nLivePixmaps = 0;
};

Counts& TheCounts()
{
    static Counts counts;
    return counts;
}

}  // namespace

Window CreateCountedWindow(Display* pDisplay, Window idParent, int x, int y, unsigned nWidth,
                           unsigned nHeight, unsigned long nValueMask,
                           XSetWindowAttributes* pAttributes)
{
    const Window idWindow =
        XCreateWindow(pDisplay, idParent, x, y, nWidth, nHeight, 0, CopyFromParent, InputOutput,
                      CopyFromParent, nValueMask, pAttributes);
    if (idWindow != None)
        ++TheCounts().m_nLiveXWindows;
    return idWindow;
}

void DestroyCountedWindow(Display* pDisplay, Window idWindow)
{
    XDestroyWindow(pDisplay, idWindow);
    --TheCounts().m_nLiveXWindows;
}

GC CreateCountedGC(Display* pDisplay, Drawable idDrawable, unsigned long nValueMask,
                   XGCValues* pValues)
{
    GC gc = XCreateGC(pDisplay, idDrawable, nValueMask, pValues);
    if (gc != nullptr)
        ++TheCounts().m_nLiveGCs;
    return gc;
}

void FreeCountedGC(Display* pDisplay, GC gc)
{
    XFreeGC(pDisplay, gc);
    --TheCounts().m_nLiveGCs;
}

Pixmap CreateCountedPixmap(Display* pDisplay, Drawable idDrawable, unsigned nWidth,
                           unsigned nHeight, unsigned nDepth)
{
    const Pixmap idPixmap = XCreatePixmap(pDisplay, idDrawable, nWidth, nHeight, nDepth);
    if (idPixmap != None)
        ++TheCounts().m_nLivePixmaps;
    return idPixmap;
}

void FreeCountedPixmap(Display* pDisplay, Pixmap idPixmap)
{
    XFreePixmap(pDisplay, idPixmap);
    --TheCounts().m_nLivePixmaps;
}

int LiveGCs()
{
    return TheCounts().m_nLiveGCs;
}

int LiveWindows()
{
    return TheCounts().m_nLiveXWindows;
}

int LivePixmaps()
{
    return TheCounts().m_nLivePixmaps;
}

}  // namespace x11

// The counted creation of server resources that the leak counters report, and the look-up
// from an X window to the window handle behind it.
#include "x11counters.h"
#include "x11state.h"

namespace x11 {

namespace {

struct Counts {
    int m_nLiveGCs = 0;
    int m_nLiveXWindows = 0;
};

Counts& TheCounts()
{
    static Counts counts;
    return counts;
}

}  // namespace

HWND LookupWindowById(Window idWindow)
{
    for (const auto& pWindow : portable::TheState().m_windows) {
        if (pWindow->m_pNative->m_idWindow == idWindow)
            return pWindow.get();
    }
    return nullptr;
}

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

int LiveGCs()
{
    return TheCounts().m_nLiveGCs;
}

int LiveWindows()
{
    return TheCounts().m_nLiveXWindows;
}

}  // namespace x11

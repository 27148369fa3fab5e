// The x11 device's one GC per window, kept in step with what each drawing call needs.
#ifndef VURAZEVEDADAR_X11_DEVICE_H
#define VURAZEVEDADAR_X11_DEVICE_H

#include "x11display.h"
#include "x11state.h"

namespace x11 {

// Where one drawing request goes.
struct DrawTarget {
    Display* m_pDisplay;
    Window m_idWindow;
    GC m_gc;
};

// Sends the GC the call's clip and the given colour where they differ from what it was last
// given.
void UpdateGC(const portable::DrawContext& dc, COLORREF crColor);

// Where a figure is to be drawn, with the window's GC brought to the call's clip and colour.
// Called for every figure, which nearly always finds the GC as it needs it, so the comparison
// inlines.
inline DrawTarget PrepareDrawing(const portable::DrawContext& dc, COLORREF crColor)
{
    const GcCache& cache = dc.m_pWindow->m_gcCache;
    if (cache.m_clip != dc.m_clip || cache.m_crForeground != crColor)
        UpdateGC(dc, crColor);
    return DrawTarget{TheConnection().m_pDisplay, dc.m_pWindow->m_idWindow, cache.m_gc};
}

// The GC a new window gets, with GDI's line conventions: width 0 (the server's thin-line
// algorithm, which is what matches cosmetic pens), the last point of a line left out as GDI
// does, and pie-slice fills.
GC CreateWindowGC(Display* pDisplay, Window idWindow, GcCache* pCache);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_DEVICE_H

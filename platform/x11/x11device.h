// The x11 device's one GC per window, kept in step with what each drawing call needs.
#ifndef VURAZEVEDADAR_X11_DEVICE_H
#define VURAZEVEDADAR_X11_DEVICE_H

#include "x11state.h"

namespace x11 {

// Where one drawing request goes.
struct DrawTarget {
    Display* m_pDisplay;
    Window m_idWindow;
    GC m_gc;
};

// Brings the window's GC to the call's clip and the given colour, sending only what differs
// from what the GC was last given.
DrawTarget PrepareDrawing(const portable::DrawContext& dc, COLORREF crColor);

// The GC a new window gets, with GDI's line conventions: width 0 (the server's thin-line
// algorithm, which is what matches cosmetic pens), the last point of a line left out as GDI
// does, and pie-slice fills.
GC CreateWindowGC(Display* pDisplay, Window idWindow, GcCache* pCache);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_DEVICE_H

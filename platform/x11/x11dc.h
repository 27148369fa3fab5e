// Device contexts as the drawing code needs them: a window's GC made ready for one colour.
#ifndef VURAZEVEDADAR_X11_DC_H
#define VURAZEVEDADAR_X11_DC_H

#include "x11state.h"

namespace x11 {

// Where one drawing request goes.
struct DrawTarget {
    Display* m_pDisplay;
    Window m_idWindow;
    GC m_gc;
};

// Brings the window's GC to the DC's clip and the given colour, sending only what differs from
// what the GC already holds. False when the DC has no window to draw on.
bool PrepareDrawing(const HDC__* pDC, COLORREF crColor, DrawTarget* pTarget);
bool CanDraw(const HDC__* pDC);

COLORREF PenColorOf(const HDC__* pDC);
COLORREF BrushColorOf(const HDC__* pDC);

// A window going away leaves its device contexts as handles that draw nothing, still to be
// released by their owners.
void DetachDeviceContexts(HWND hWnd);

// The GC a new window gets, with GDI's line conventions: width 0 (the server's thin-line
// algorithm, which is what matches cosmetic pens), the last point of a line left out as GDI
// does, and pie-slice fills.
GC CreateWindowGC(Display* pDisplay, Window idWindow, GcCache* pCache);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_DC_H

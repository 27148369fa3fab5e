// Lines, rectangles, ellipses, arcs and pies: GDI's rules for what a call draws at all, and the
// step from logical to device coordinates; the device does the pixels.
#include "core.h"

#include <coreprobe.h>

using portable::DeviceBox;
using portable::DevicePoint;
using portable::GdiObject;
using portable::GdiOp;
using portable::LookupDC;
using portable::Record;

namespace {

// GDI draws nothing for a Rectangle thinner than this in either direction.
const long long kMinRectangleExtent = 2;

DevicePoint ToDevice(const HDC__* pDC, long long x, long long y)
{
    return DevicePoint{x + pDC->m_ptViewportOrg.x, y + pDC->m_ptViewportOrg.y};
}

DeviceBox ToDeviceBox(const HDC__* pDC, int left, int top, int right, int bottom)
{
    const DevicePoint a = ToDevice(pDC, left, top);
    const DevicePoint b = ToDevice(pDC, right, bottom);
    return portable::NormalizeBox(a.x, a.y, b.x, b.y);
}

// A selected object is never freed (deleting it is deferred until it is let go), so the
// handle can be read directly.
COLORREF ColorOf(HGDIOBJ hObject)
{
    return static_cast<const GdiObject*>(hObject)->m_crColor;
}

portable::DrawContext ContextOf(const HDC__* pDC)
{
    return portable::DrawContext{ColorOf(pDC->m_hPen), ColorOf(pDC->m_hBrush), pDC->m_clip};
}

portable::CDevice& DeviceOf(const HDC__* pDC)
{
    return *pDC->m_hWnd->m_pNative->m_pDevice;
}

bool HasArea(const DeviceBox& box)
{
    return box.Width() > 0 && box.Height() > 0;
}

// The result of a figure on a DC that draws nowhere: the screen has no pixels here, which is
// no failure, but a DC whose window has gone can no longer draw.
BOOL NothingToDraw(const HDC__* pDC)
{
    return pDC->m_bWindowGone ? FALSE : TRUE;
}

}  // namespace

// GDI leaves the end point out, and a line of length zero has no pixel at all.
BOOL LineTo(HDC hdc, int x, int y)
{
    HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return FALSE;
    Record(pDC, GdiOp::LineTo, {x, y});
    const DevicePoint from = ToDevice(pDC, pDC->m_ptCurrent.x, pDC->m_ptCurrent.y);
    const DevicePoint to = ToDevice(pDC, x, y);
    pDC->m_ptCurrent = POINT{x, y};
    if (pDC->m_hWnd == nullptr)
        return NothingToDraw(pDC);
    if (from != to)
        DeviceOf(pDC).Line(ContextOf(pDC), from, to);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    const HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return FALSE;
    Record(pDC, GdiOp::Rectangle, {left, top, right, bottom});
    if (pDC->m_hWnd == nullptr)
        return NothingToDraw(pDC);
    const DeviceBox box = ToDeviceBox(pDC, left, top, right, bottom);
    if (box.Width() >= kMinRectangleExtent && box.Height() >= kMinRectangleExtent)
        DeviceOf(pDC).Rectangle(ContextOf(pDC), box);
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    const HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return FALSE;
    Record(pDC, GdiOp::Ellipse, {left, top, right, bottom});
    if (pDC->m_hWnd == nullptr)
        return NothingToDraw(pDC);
    const DeviceBox box = ToDeviceBox(pDC, left, top, right, bottom);
    if (!HasArea(box))
        return TRUE;
    return DeviceOf(pDC).Ellipse(ContextOf(pDC), box) ? TRUE : FALSE;
}

BOOL Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return FALSE;
    Record(pDC, GdiOp::Arc, {x1, y1, x2, y2, x3, y3, x4, y4});
    if (pDC->m_hWnd == nullptr)
        return NothingToDraw(pDC);
    const DeviceBox box = ToDeviceBox(pDC, x1, y1, x2, y2);
    if (!HasArea(box))
        return TRUE;
    return DeviceOf(pDC).Arc(ContextOf(pDC), box, ToDevice(pDC, x3, y3), ToDevice(pDC, x4, y4))
               ? TRUE
               : FALSE;
}

BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xr1, int yr1, int xr2, int yr2)
{
    const HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return FALSE;
    Record(pDC, GdiOp::Pie, {left, top, right, bottom, xr1, yr1, xr2, yr2});
    if (pDC->m_hWnd == nullptr)
        return NothingToDraw(pDC);
    const DeviceBox box = ToDeviceBox(pDC, left, top, right, bottom);
    if (!HasArea(box))
        return TRUE;
    return DeviceOf(pDC).Pie(ContextOf(pDC), box, ToDevice(pDC, xr1, yr1),
                             ToDevice(pDC, xr2, yr2))
               ? TRUE
               : FALSE;
}

// Drawing requests may wait in a buffer; this makes sure they have been carried out, so that
// another program reading the window's pixels sees them.
BOOL GdiFlush(void)
{
    portable::DeviceFlush();
    return TRUE;
}

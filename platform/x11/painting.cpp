// Lines, rectangles, ellipses, arcs and pies, drawn straight into the window with GDI's pixel
// conventions (see x11geometry.h for the conversions). Each figure fills with the brush first
// and outlines with the pen after, as GDI does, so the outline is never painted over.
#include "x11dc.h"
#include "x11geometry.h"

using x11::DeviceBox;
using x11::DevicePoint;
using x11::DrawTarget;
using x11::LookupDC;

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
    return x11::NormalizeBox(a.x, a.y, b.x, b.y);
}

// The cap style leaves out the end point, as GDI does; a line of length zero has no pixel
// at all in GDI, whereas X would still plot its one point.
void DrawSegment(const DrawTarget& target, DevicePoint from, DevicePoint to)
{
    if (from == to || !x11::ClipSegment(&from, &to))
        return;
    XDrawLine(target.m_pDisplay, target.m_idWindow, target.m_gc, static_cast<int>(from.x),
              static_cast<int>(from.y), static_cast<int>(to.x), static_cast<int>(to.y));
}

void FillArc(const HDC__* pDC, const x11::ArcRequest& arc)
{
    DrawTarget target;
    if (x11::PrepareDrawing(pDC, x11::BrushColorOf(pDC), &target))
        XFillArc(target.m_pDisplay, target.m_idWindow, target.m_gc, arc.x, arc.y, arc.width,
                 arc.height, arc.angle1, arc.angle2);
}

void OutlineArc(const HDC__* pDC, const x11::ArcRequest& arc)
{
    DrawTarget target;
    if (x11::PrepareDrawing(pDC, x11::PenColorOf(pDC), &target))
        XDrawArc(target.m_pDisplay, target.m_idWindow, target.m_gc, arc.x, arc.y, arc.width,
                 arc.height, arc.angle1, arc.angle2);
}

// A pie's outline goes from the arc's end to the centre and on to the arc's start. The radii
// use the ends of the arc as X drew it, so that they meet it.
void DrawPieRadii(const HDC__* pDC, const x11::ArcRequest& arc, DevicePoint centre)
{
    DrawTarget target;
    if (!x11::PrepareDrawing(pDC, x11::PenColorOf(pDC), &target))
        return;
    const long long nEnd64 = static_cast<long long>(arc.angle1) + arc.angle2;
    DrawSegment(target, x11::PointOnArc(arc, nEnd64), centre);
    DrawSegment(target, centre, x11::PointOnArc(arc, arc.angle1));
}

// Converts a figure's box and radials; false when the box cannot be drawn in X's coordinates.
bool ArcOf(const HDC__* pDC, int left, int top, int right, int bottom, DevicePoint ptStart,
           DevicePoint ptEnd, x11::ArcRequest* pArc)
{
    return x11::GdiArcToX(ToDeviceBox(pDC, left, top, right, bottom), ptStart, ptEnd, pArc);
}

bool HasArea(const DeviceBox& box)
{
    return box.Width() > 0 && box.Height() > 0;
}

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return FALSE;
    if (lppt != nullptr)
        *lppt = pDC->m_ptCurrent;
    pDC->m_ptCurrent = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return FALSE;
    const DevicePoint from = ToDevice(pDC, pDC->m_ptCurrent.x, pDC->m_ptCurrent.y);
    const DevicePoint to = ToDevice(pDC, x, y);
    pDC->m_ptCurrent = POINT{x, y};
    DrawTarget target;
    if (!x11::PrepareDrawing(pDC, x11::PenColorOf(pDC), &target))
        return FALSE;
    DrawSegment(target, from, to);
    return TRUE;
}

// The outline covers left..right-1 and top..bottom-1; X's rectangle outline covers its width
// plus one, and its fill exactly its width, hence the different sizes of the two requests.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    const HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr || !x11::CanDraw(pDC))
        return FALSE;
    DeviceBox box = ToDeviceBox(pDC, left, top, right, bottom);
    if (box.Width() < kMinRectangleExtent || box.Height() < kMinRectangleExtent ||
        !x11::ClampOutlineBox(&box))
        return TRUE;
    const int x = static_cast<int>(box.left);
    const int y = static_cast<int>(box.top);
    const unsigned w = static_cast<unsigned>(box.Width());
    const unsigned h = static_cast<unsigned>(box.Height());
    DrawTarget target;
    if (w > 2 && h > 2 && x11::PrepareDrawing(pDC, x11::BrushColorOf(pDC), &target))
        XFillRectangle(target.m_pDisplay, target.m_idWindow, target.m_gc, x + 1, y + 1, w - 2,
                       h - 2);
    if (x11::PrepareDrawing(pDC, x11::PenColorOf(pDC), &target))
        XDrawRectangle(target.m_pDisplay, target.m_idWindow, target.m_gc, x, y, w - 1, h - 1);
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    const HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr || !x11::CanDraw(pDC))
        return FALSE;
    if (!HasArea(ToDeviceBox(pDC, left, top, right, bottom)))
        return TRUE;
    const DevicePoint ptAny = {0, 0};
    x11::ArcRequest arc;
    if (!ArcOf(pDC, left, top, right, bottom, ptAny, ptAny, &arc))
        return FALSE;
    FillArc(pDC, arc);
    OutlineArc(pDC, arc);
    return TRUE;
}

BOOL Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr || !x11::CanDraw(pDC))
        return FALSE;
    if (!HasArea(ToDeviceBox(pDC, x1, y1, x2, y2)))
        return TRUE;
    x11::ArcRequest arc;
    if (!ArcOf(pDC, x1, y1, x2, y2, ToDevice(pDC, x3, y3), ToDevice(pDC, x4, y4), &arc))
        return FALSE;
    OutlineArc(pDC, arc);
    return TRUE;
}

BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xr1, int yr1, int xr2, int yr2)
{
    const HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr || !x11::CanDraw(pDC))
        return FALSE;
    const DeviceBox box = ToDeviceBox(pDC, left, top, right, bottom);
    if (!HasArea(box))
        return TRUE;
    x11::ArcRequest arc;
    if (!ArcOf(pDC, left, top, right, bottom, ToDevice(pDC, xr1, yr1), ToDevice(pDC, xr2, yr2),
               &arc))
        return FALSE;
    FillArc(pDC, arc);
    OutlineArc(pDC, arc);
    DrawPieRadii(pDC, arc, x11::BoxCentre(box));
    return TRUE;
}

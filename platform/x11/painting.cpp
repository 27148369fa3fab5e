// Lines, rectangles, ellipses, arcs and pies, drawn straight into the window with GDI's pixel
// conventions (see x11geometry.h for the conversions). Each figure fills with the brush first
// and outlines with the pen after, as GDI does, so the outline is never painted over.
#include "xlibdevice.h"
#include "geometry.h"

using portable::DeviceBox;
using portable::DevicePoint;
using portable::DrawContext;
using x11::DrawTarget;

namespace {

// The cap style leaves out the end point, as GDI does; a line of length zero has no pixel
// at all in GDI, whereas X would still plot its one point.
void DrawSegment(const DrawTarget& target, DevicePoint from, DevicePoint to)
{
    if (from == to || !x11::ClipSegment(&from, &to))
        return;
    XDrawLine(target.m_pDisplay, target.m_idWindow, target.m_gc, static_cast<int>(from.x),
              static_cast<int>(from.y), static_cast<int>(to.x), static_cast<int>(to.y));
}

void FillArc(const DrawContext& dc, const x11::ArcRequest& arc)
{
    const DrawTarget target = x11::PrepareDrawing(dc, dc.m_crBrush);
    XFillArc(target.m_pDisplay, target.m_idWindow, target.m_gc, arc.x, arc.y, arc.width,
             arc.height, arc.angle1, arc.angle2);
}

void OutlineArc(const DrawContext& dc, const x11::ArcRequest& arc)
{
    const DrawTarget target = x11::PrepareDrawing(dc, dc.m_crPen);
    XDrawArc(target.m_pDisplay, target.m_idWindow, target.m_gc, arc.x, arc.y, arc.width,
             arc.height, arc.angle1, arc.angle2);
}

// A pie's outline goes from the arc's end to the centre and on to the arc's start. The radii
// use the ends of the arc as X drew it, so that they meet it.
void DrawPieRadii(const DrawContext& dc, const x11::ArcRequest& arc, DevicePoint centre)
{
    const DrawTarget target = x11::PrepareDrawing(dc, dc.m_crPen);
    const long long nEnd64 = static_cast<long long>(arc.angle1) + arc.angle2;
    DrawSegment(target, x11::PointOnArc(arc, nEnd64), centre);
    DrawSegment(target, centre, x11::PointOnArc(arc, arc.angle1));
}

}  // namespace

namespace portable {

void DeviceLine(const DrawContext& dc, DevicePoint ptFrom, DevicePoint ptTo)
{
    DrawSegment(x11::PrepareDrawing(dc, dc.m_crPen), ptFrom, ptTo);
}

// The outline covers left..right-1 and top..bottom-1; X's rectangle outline covers its width
// plus one, and its fill exactly its width, hence the different sizes of the two requests.
void DeviceRectangle(const DrawContext& dc, const DeviceBox& boxGiven)
{
    DeviceBox box = boxGiven;
    if (!x11::ClampOutlineBox(&box))
        return;
    const int x = static_cast<int>(box.left);
    const int y = static_cast<int>(box.top);
    const unsigned w = static_cast<unsigned>(box.Width());
    const unsigned h = static_cast<unsigned>(box.Height());
    if (w > 2 && h > 2) {
        const DrawTarget target = x11::PrepareDrawing(dc, dc.m_crBrush);
        XFillRectangle(target.m_pDisplay, target.m_idWindow, target.m_gc, x + 1, y + 1, w - 2,
                       h - 2);
    }
    const DrawTarget target = x11::PrepareDrawing(dc, dc.m_crPen);
    XDrawRectangle(target.m_pDisplay, target.m_idWindow, target.m_gc, x, y, w - 1, h - 1);
}

bool DeviceEllipse(const DrawContext& dc, const DeviceBox& box)
{
    const DevicePoint ptAny = {0, 0};
    x11::ArcRequest arc;
    if (!x11::GdiArcToX(box, ptAny, ptAny, &arc))
        return false;
    FillArc(dc, arc);
    OutlineArc(dc, arc);
    return true;
}

bool DeviceArc(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
               DevicePoint ptEnd)
{
    x11::ArcRequest arc;
    if (!x11::GdiArcToX(box, ptStart, ptEnd, &arc))
        return false;
    OutlineArc(dc, arc);
    return true;
}

bool DevicePie(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
               DevicePoint ptEnd)
{
    x11::ArcRequest arc;
    if (!x11::GdiArcToX(box, ptStart, ptEnd, &arc))
        return false;
    FillArc(dc, arc);
    OutlineArc(dc, arc);
    DrawPieRadii(dc, arc, BoxCentre(box));
    return true;
}

}  // namespace portable

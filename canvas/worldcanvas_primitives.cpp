// CWorldCanvas's drawing primitives: chained lines, arcs, pies and circles in world
// coordinates, and their variants in local coordinates placed by the plane transformation. A
// primitive whose points cannot all be mapped to the device draws nothing at all.
#include "worldcanvas.h"

#include <cstdlib>

namespace {

struct DevicePoint {
    int x;
    int y;
};

bool Map(const CWorldCanvas& canvas, double x, double y, DevicePoint* pPoint)
{
    return canvas.WorldToDevice(x, y, &pPoint->x, &pPoint->y) != 0;
}

}  // namespace

void CWorldCanvas::MoveTo(double x, double y)
{
    DevicePoint p;
    if (!Map(*this, x, y, &p)) {
        m_nPenState = penNoStart;
        return;
    }
    m_nLastX = p.x;
    m_nLastY = p.y;
    m_nPenState = penStartKept;
}

void CWorldCanvas::LineTo(double x, double y)
{
    if (m_pDC == nullptr)
        return;
    DevicePoint p;
    if (!Map(*this, x, y, &p)) {
        // Forgetting the start point drops the segment into this point and the one after it.
        m_nPenState = penNoStart;
        return;
    }
    if (m_nPenState == penStartKept)
        m_pDC->MoveTo(m_nLastX, m_nLastY);
    if (m_nPenState == penNoStart) {
        m_nPenState = penStartKept;
    } else {
        m_pDC->LineTo(p.x, p.y);
        m_nPenState = penAtLastPoint;
    }
    m_nLastX = p.x;
    m_nLastY = p.y;
}

int CWorldCanvas::Arc(double cx, double cy, double rx, double ry, double x1, double y1,
                      double x2, double y2)
{
    if (m_pDC == nullptr)
        return 0;
    // Both corners are mapped on their own, so after truncation the box may sit a pixel off
    // the centre; Pie and Circle avoid that, Arc keeps it.
    DevicePoint a, b, s, e;
    RECT box;
    if (!Map(*this, cx - rx, cy - ry, &a) || !Map(*this, cx + rx, cy + ry, &b) ||
        !Map(*this, x1, y1, &s) || !Map(*this, x2, y2, &e) || !MakeBox(a.x, a.y, b.x, b.y, &box))
        return 0;
    const int nResult = m_pDC->Arc(box.left, box.top, box.right, box.bottom, s.x, s.y, e.x, e.y);
    m_nPenState = penNoStart;
    return nResult;
}

int CWorldCanvas::Arc(double cx, double cy, double r, double x1, double y1, double x2,
                      double y2)
{
    return Arc(cx, cy, r, r, x1, y1, x2, y2);
}

int CWorldCanvas::Pie(double cx, double cy, double r, double x1, double y1, double x2,
                      double y2)
{
    if (m_pDC == nullptr)
        return 0;
    DevicePoint c, k, s, e;
    if (!Map(*this, cx, cy, &c) || !Map(*this, cx + r, cy + r, &k) || !Map(*this, x1, y1, &s) ||
        !Map(*this, x2, y2, &e))
        return 0;
    // The second corner is the first one mirrored through the mapped centre, so the box is
    // centred on it exactly. 2C - K may leave the int range even though C and K are inside.
    const long long kx = 2LL * c.x - k.x;
    const long long ky = 2LL * c.y - k.y;
    RECT box;
    if (!MakeBox(k.x, k.y, kx, ky, &box))
        return 0;
    const int nResult = m_pDC->Pie(box.left, box.top, box.right, box.bottom, s.x, s.y, e.x, e.y);
    m_nPenState = penNoStart;
    return nResult;
}

int CWorldCanvas::Circle(double cx, double cy, double r)
{
    if (m_pDC == nullptr)
        return 0;
    DevicePoint c, k;
    if (!Map(*this, cx, cy, &c) || !Map(*this, cx + r, cy + r, &k))
        return 0;
    // One integer radius for both axes, the mean of the two device extents, keeps the figure
    // round when the axes' scales differ by a pixel.
    const long long R = (std::llabs(static_cast<long long>(k.x) - c.x) +
                         std::llabs(static_cast<long long>(k.y) - c.y)) / 2;
    RECT box;
    if (!MakeBox(c.x - R, c.y - R, c.x + R, c.y + R, &box))
        return 0;
    const int nResult = m_pDC->Ellipse(box.left, box.top, box.right, box.bottom);
    m_nPenState = penNoStart;
    return nResult;
}

void CWorldCanvas::TMoveTo(double x, double y)
{
    double wx, wy;
    Transform(x, y, wx, wy);
    MoveTo(wx, wy);
}

void CWorldCanvas::TLineTo(double x, double y)
{
    double wx, wy;
    Transform(x, y, wx, wy);
    LineTo(wx, wy);
}

int CWorldCanvas::TArc(double cx, double cy, double r, double x1, double y1, double x2,
                       double y2)
{
    // Only the points are transformed; the radius stays in world units whatever the scale.
    double wcx, wcy, wx1, wy1, wx2, wy2;
    Transform(cx, cy, wcx, wcy);
    Transform(x1, y1, wx1, wy1);
    Transform(x2, y2, wx2, wy2);
    return Arc(wcx, wcy, r, wx1, wy1, wx2, wy2);
}

int CWorldCanvas::TCircle(double cx, double cy, double r)
{
    double wcx, wcy;
    Transform(cx, cy, wcx, wcy);
    return Circle(wcx, wcy, r);
}

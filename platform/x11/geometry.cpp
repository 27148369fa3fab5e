// The conversions of GDI boxes, lines and arcs into X's coordinate space, in one place.
#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace x11 {

namespace {

const double kPi = 3.14159265358979323846;
const double kRadiansToArcUnits = 64.0 * 180.0 / kPi;

// One boundary of the Liang-Barsky clip: narrows [*pt0, *pt1] to the parameters where
// p * t <= q holds; false when nothing remains.
bool ClipBoundary(double p, double q, double* pt0, double* pt1)
{
    if (p == 0.0)
        return q >= 0.0;
    const double r = q / p;
    if (p < 0.0) {
        if (r > *pt1)
            return false;
        *pt0 = std::max(*pt0, r);
    } else {
        if (r < *pt0)
            return false;
        *pt1 = std::min(*pt1, r);
    }
    return true;
}

// The point a fraction t along from a to b, to the nearest pixel. Device coordinates come
// from 32-bit values plus a 32-bit origin, so doubles hold them and their differences exactly.
DevicePoint Along(const DevicePoint& a, double dx, double dy, double t)
{
    return DevicePoint{std::llround(static_cast<double>(a.x) + t * dx),
                       std::llround(static_cast<double>(a.y) + t * dy)};
}

// GDI measures a radial's angle on the ellipse stretched to a circle: the y offset is scaled
// by the width and the x offset by the height before the arc tangent.
int SkewedAngle64(const DevicePoint& pt, const DevicePoint& centre, long long w, long long h)
{
    const double dy = static_cast<double>(centre.y - pt.y) * static_cast<double>(w);
    const double dx = static_cast<double>(pt.x - centre.x) * static_cast<double>(h);
    return static_cast<int>(std::lround(std::atan2(dy, dx) * kRadiansToArcUnits));
}

// X's thin arc runs on past its end angle: where GDI stops at the outline pixel nearest the end
// radial, X was measured drawing up to two pixels more along a large arc (at 3840 x 2160), and
// one at smaller sizes. Ending the sweep this much short of the radial, along the outline,
// keeps X's last pixel within one of GDI's at every size measured.
const double kEndTrimPixels = 0.75;

// The angle that runs kEndTrimPixels along the ellipse at the arc's end, in X's units.
int EndTrim64(const ArcRequest& arc)
{
    const double phi = static_cast<double>(arc.angle1 + arc.angle2) / kRadiansToArcUnits;
    const double a = arc.width / 2.0;
    const double b = arc.height / 2.0;
    const double dPixelsPerRadian = std::hypot(a * std::sin(phi), b * std::cos(phi));
    if (dPixelsPerRadian < kEndTrimPixels)
        return 0;
    return static_cast<int>(std::lround(kEndTrimPixels / dPixelsPerRadian * kRadiansToArcUnits));
}

}  // namespace

bool CutSegment(DevicePoint* pFrom, DevicePoint* pTo)
{
    const DevicePoint a = *pFrom;
    const double dx = static_cast<double>(pTo->x - a.x);
    const double dy = static_cast<double>(pTo->y - a.y);
    double t0 = 0.0;
    double t1 = 1.0;
    const double x = static_cast<double>(a.x);
    const double y = static_cast<double>(a.y);
    const double lo = static_cast<double>(kCoordMin);
    const double hi = static_cast<double>(kCoordMax);
    if (!ClipBoundary(-dx, x - lo, &t0, &t1) || !ClipBoundary(dx, hi - x, &t0, &t1) ||
        !ClipBoundary(-dy, y - lo, &t0, &t1) || !ClipBoundary(dy, hi - y, &t0, &t1))
        return false;
    *pFrom = Along(a, dx, dy, t0);
    *pTo = Along(a, dx, dy, t1);
    return true;
}

bool ClampOutlineBox(DeviceBox* pBox)
{
    if (pBox->right <= 0 || pBox->bottom <= 0 || pBox->left > kLastVisiblePixel ||
        pBox->top > kLastVisiblePixel)
        return false;
    // The outline sits on left and right - 1: at -1 and kCoordMax it is off every window.
    pBox->left = std::max(pBox->left, -1LL);
    pBox->top = std::max(pBox->top, -1LL);
    pBox->right = std::min(pBox->right, kCoordMax + 1);
    pBox->bottom = std::min(pBox->bottom, kCoordMax + 1);
    return true;
}

bool GdiArcToX(const DeviceBox& box, DevicePoint ptStart, DevicePoint ptEnd, ArcRequest* pArc)
{
    const long long w = box.Width();
    const long long h = box.Height();
    if (w <= 0 || h <= 0 || !FitsCoord(box.left) || !FitsCoord(box.top) ||
        !FitsCoord(box.right - 1) || !FitsCoord(box.bottom - 1))
        return false;
    pArc->x = static_cast<int>(box.left);
    pArc->y = static_cast<int>(box.top);
    pArc->width = static_cast<unsigned>(w - 1);
    pArc->height = static_cast<unsigned>(h - 1);

    const DevicePoint centre = BoxCentre(box);
    pArc->angle1 = SkewedAngle64(ptStart, centre, w, h);
    if (ptStart == ptEnd) {
        pArc->angle2 = kFullCircle64;
        return true;
    }
    // A sweep of zero after rounding means the radials are a hair apart, which GDI draws as
    // nearly the whole ellipse, not as nothing.
    pArc->angle2 = SkewedAngle64(ptEnd, centre, w, h) - pArc->angle1;
    if (pArc->angle2 <= 0)
        pArc->angle2 += kFullCircle64;
    const int nTrim = EndTrim64(*pArc);
    if (pArc->angle2 > 2 * nTrim)
        pArc->angle2 -= nTrim;
    return true;
}

DevicePoint PointOnArc(const ArcRequest& arc, long long nAngle64)
{
    const double phi = static_cast<double>(nAngle64) / kRadiansToArcUnits;
    const double a = arc.width / 2.0;
    const double b = arc.height / 2.0;
    return DevicePoint{std::llround(arc.x + a + a * std::cos(phi)),
                       std::llround(arc.y + b - b * std::sin(phi))};
}

}  // namespace x11

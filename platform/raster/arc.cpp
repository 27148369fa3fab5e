// Arc and Pie: which part of the traced ellipse lies between the two radials, with the tie
// rules measured under Wine.
//
// Each outline pixel has a direction from the centre: its offset from the box's exact
// centre, halved and rounded towards zero, so that on an even-sized box the two middle
// columns (or rows) share a direction. The radials run from the box's integer centre
// (left + width / 2, top + height / 2) through the given points. The arc starts at the
// first pixel on or after the start radial, counter-clockwise, and stops before the last
// pixel on or before the end radial. When equal radials select the same pixel the whole
// ellipse is drawn; otherwise, nothing. A pixel exactly on a radial counts as after the
// start radial when that radial points up, or along the x axis and the pixel is not below
// the middle; it counts as before the end radial when that radial points down, or to the
// right and the pixel is not above the middle.
#include "raster/painter.h"

#include <algorithm>

namespace raster {

namespace {

using CCurvePoint = CPainter::CCurvePoint;

// A vector in the orientation the comparison needs: y grows in the turning direction.
struct CVector {
    Wide x;
    Wide y;
};

Wide Cross(const CVector& a, const CVector& b) { return a.x * b.y - a.y * b.x; }
Wide Dot(const CVector& a, const CVector& b) { return a.x * b.x + a.y * b.y; }

bool SameDirection(const CVector& a, const CVector& b)
{
    return Cross(a, b) == 0 && Dot(a, b) > 0;
}

// Orders directions by the angle turned from a reference ray: the half turn starting at
// the ray first, then the other half; within a half, by cross product. A direction lying
// on the ray itself either comes first or, by the tie rule, last of all.
class CTurnOrder {
public:
    explicit CTurnOrder(const CVector& ray) : m_ray(ray) {}

    // 0: on the ray (counted first); 1: first half turn; 2: second; 3: on the ray, last.
    int Half(const CVector& p, bool bOnRayFirst) const
    {
        const Wide cross = Cross(m_ray, p);
        if (cross == 0 && Dot(m_ray, p) > 0)
            return bOnRayFirst ? 0 : 3;
        return cross > 0 ? 1 : 2;
    }
    bool Less(const CVector& p, int nHalfP, const CVector& q, int nHalfQ) const
    {
        if (nHalfP != nHalfQ)
            return nHalfP < nHalfQ;
        return (nHalfP == 1 || nHalfP == 2) && Cross(p, q) > 0;
    }

private:
    CVector m_ray;
};

// The pixel's direction, halved and rounded towards zero, in the given orientation.
CVector Direction(const CCurvePoint& p, bool bScreenCounterClockwise)
{
    const long long x = p.u / 2;  // C++ division rounds towards zero
    const long long y = p.v / 2;
    return CVector{x, bScreenCounterClockwise ? -Wide(y) : Wide(y)};
}

bool StartTieFirst(const CVector& screenRay, const CCurvePoint& p)
{
    return screenRay.y < 0 || (screenRay.y == 0 && p.v <= 0);
}

bool EndTieFirst(const CVector& screenRay, const CCurvePoint& p)
{
    return screenRay.y > 0 || (screenRay.y == 0 && screenRay.x > 0 && p.v >= 0);
}

// Index of the first pixel (start) or last pixel (end) nearest the ray in the turning
// direction; ties between equal directions go to the first (start) or last (end) index.
std::size_t Nearest(const std::vector<CCurvePoint>& curve, const CVector& screenRay,
                    bool bStart)
{
    const CVector ray{screenRay.x, bStart ? -screenRay.y : screenRay.y};
    const CTurnOrder order(ray);
    std::size_t best = 0;
    CVector bestDir{0, 0};
    int nBestHalf = 4;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const CVector dir = Direction(curve[i], bStart);
        if (dir.x == 0 && dir.y == 0)
            continue;  // the middle pixel of a one-pixel-high box has no direction
        const bool bTieFirst = bStart ? StartTieFirst(screenRay, curve[i])
                                      : EndTieFirst(screenRay, curve[i]);
        const int nHalf = order.Half(dir, bTieFirst);
        const bool bBetter = nBestHalf == 4 || order.Less(dir, nHalf, bestDir, nBestHalf) ||
                             (!bStart && !order.Less(bestDir, nBestHalf, dir, nHalf));
        if (bBetter) {
            best = i;
            bestDir = dir;
            nBestHalf = nHalf;
        }
    }
    return best;
}

// Rotates the outline so that it starts where the direction turns: pixels sharing one
// direction (the flat middle of a wide box, the two middle columns of an even box) then
// stay together in outline order, which decides between them.
void RotateToDirectionChange(std::vector<CCurvePoint>& curve)
{
    const std::size_t n = curve.size();
    for (std::size_t k = 0; k < n; ++k) {
        const CVector p = Direction(curve[k], true);
        const CVector q = Direction(curve[(k + n - 1) % n], true);
        if (!SameDirection(p, q)) {
            std::rotate(curve.begin(), curve.begin() + static_cast<std::ptrdiff_t>(k),
                        curve.end());
            return;
        }
    }
}

CVector Radial(CPoint64 point, const CPoint64& centre)
{
    CVector ray{Wide(point.x) - centre.x, Wide(point.y) - centre.y};
    if (ray.x == 0 && ray.y == 0)
        ray.x = 1;  // a radial point on the centre behaves as one to its right (measured)
    return ray;
}

}  // namespace

bool CPainter::Arc(const CBox& box, CPoint64 start, CPoint64 end, COLORREF crPen)
{
    return DrawCurvePart(box, start, end, false, crPen, kNoColor);
}

bool CPainter::Pie(const CBox& box, CPoint64 start, CPoint64 end, COLORREF crPen, COLORREF crBrush)
{
    return DrawCurvePart(box, start, end, true, crPen, crBrush);
}

bool CPainter::DrawCurvePart(const CBox& box, CPoint64 start, CPoint64 end, bool bPie,
                             COLORREF crPen, COLORREF crBrush)
{
    CBox b;
    bool bResult = true;
    if (!BeginCurve(box, crPen, &b, &bResult))
        return bResult;
    RotateToDirectionChange(m_curve);
    const CPoint64 centre{b.left + (b.right - b.left) / 2, b.top + (b.bottom - b.top) / 2};
    const CVector rayStart = Radial(start, centre);
    const CVector rayEnd = Radial(end, centre);
    const std::size_t first = Nearest(m_curve, rayStart, true);
    const std::size_t stop = Nearest(m_curve, rayEnd, false);
    const bool bWhole = first == stop && SameDirection(rayStart, rayEnd);
    SelectPart(first, stop, bWhole);
    if (bPie && IsColor(crBrush)) {
        m_polygon.assign(m_part.begin(), m_part.end());
        m_polygon.push_back(CPoint64{m_curve[stop].x, m_curve[stop].y});
        m_polygon.push_back(centre);
        FillPolygon(m_polygon, m_frame.PixelOf(crBrush));
    }
    if (!IsColor(crPen))
        return true;
    const std::uint32_t pixel = m_frame.PixelOf(crPen);
    for (const CPoint64& p : m_part)
        Plot(p.x, p.y, pixel);
    if (bPie) {
        // The outline goes on from the end pixel to the centre and back to the start pixel.
        const CPoint64 endPixel{m_curve[stop].x, m_curve[stop].y};
        const CPoint64 startPixel{m_curve[first].x, m_curve[first].y};
        DrawLine(endPixel, centre, pixel);
        DrawLine(centre, startPixel, pixel);
    }
    return true;
}

// The pixels from 'first' up to, not including, 'stop', counter-clockwise.
void CPainter::SelectPart(std::size_t first, std::size_t stop, bool bWhole)
{
    m_part.clear();
    const std::size_t n = m_curve.size();
    if (first == stop && !bWhole)
        return;
    std::size_t i = first;
    do {
        m_part.push_back(CPoint64{m_curve[i].x, m_curve[i].y});
        i = (i + 1) % n;
    } while (i != stop);
}

}  // namespace raster

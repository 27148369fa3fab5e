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

// A vector in the orientation the comparison needs: y grows in the turning direction. The
// outline's directions are small; a radial may reach far beyond the screen, and then needs
// 128 bits. Rays within kNarrowRay step in 64-bit arithmetic, which keeps every product of a
// ray with a direction inside 64 bits.
template <class T>
struct CVectorT {
    T x;
    T y;
};

using CVector = CVectorT<Wide>;
using CNarrowVector = CVectorT<long long>;

const long long kNarrowRay = 1LL << 40;

template <class T>
T Cross(const CVectorT<T>& a, const CVectorT<T>& b)
{
    return a.x * b.y - a.y * b.x;
}

template <class T>
T Dot(const CVectorT<T>& a, const CVectorT<T>& b)
{
    return a.x * b.x + a.y * b.y;
}

bool SameDirection(const CVector& a, const CVector& b)
{
    return Cross(a, b) == 0 && Dot(a, b) > 0;
}

bool IsNarrowRay(const CVector& ray)
{
    return ray.x > -kNarrowRay && ray.x < kNarrowRay && ray.y > -kNarrowRay &&
           ray.y < kNarrowRay;
}

// Orders directions by the angle turned from a reference ray: the half turn starting at
// the ray first, then the other half; within a half, by cross product. A direction lying
// on the ray itself either comes first or, by the tie rule, last of all.
template <class T>
class CTurnOrder {
public:
    explicit CTurnOrder(const CVectorT<T>& ray) : m_ray(ray) {}

    // 0: on the ray (counted first); 1: first half turn; 2: second; 3: on the ray, last.
    int Half(const CVectorT<T>& p, bool bOnRayFirst) const
    {
        const T cross = Cross(m_ray, p);
        if (cross == 0 && Dot(m_ray, p) > 0)
            return bOnRayFirst ? 0 : 3;
        return cross > 0 ? 1 : 2;
    }
    bool Less(const CVectorT<T>& p, int nHalfP, const CVectorT<T>& q, int nHalfQ) const
    {
        if (nHalfP != nHalfQ)
            return nHalfP < nHalfQ;
        return (nHalfP == 1 || nHalfP == 2) && Cross(p, q) > 0;
    }

private:
    CVectorT<T> m_ray;
};

// A traced outline with its box's size. A pixel's offset from the box's exact centre, doubled
// so that it is whole, is 2 x - (w - 1) across and 2 y - (h - 1) down.
struct COutline {
    const std::vector<CCurvePoint>& curve;
    long long w;
    long long h;

    std::size_t size() const { return curve.size(); }
    long long U(std::size_t i) const { return 2 * static_cast<long long>(curve[i].x) - (w - 1); }
    long long V(std::size_t i) const { return 2 * static_cast<long long>(curve[i].y) - (h - 1); }
};

// The pixel's direction, halved and rounded towards zero, in the given orientation.
template <class T>
CVectorT<T> Direction(const COutline& outline, std::size_t i, bool bScreenCounterClockwise)
{
    const long long x = outline.U(i) / 2;  // C++ division rounds towards zero
    const long long y = outline.V(i) / 2;
    return CVectorT<T>{x, bScreenCounterClockwise ? -T(y) : T(y)};
}

template <class T>
bool StartTieFirst(const CVectorT<T>& screenRay, long long v)
{
    return screenRay.y < 0 || (screenRay.y == 0 && v <= 0);
}

template <class T>
bool EndTieFirst(const CVectorT<T>& screenRay, long long v)
{
    return screenRay.y > 0 || (screenRay.y == 0 && screenRay.x > 0 && v >= 0);
}

// Index of the first pixel (start) or last pixel (end) nearest the ray in the turning
// direction; ties between equal directions go to the first (start) or last (end) index.
template <class T>
std::size_t NearestOf(const COutline& curve, const CVectorT<T>& screenRay, bool bStart)
{
    const CVectorT<T> ray{screenRay.x, bStart ? -screenRay.y : screenRay.y};
    const CTurnOrder<T> order(ray);
    std::size_t best = 0;
    CVectorT<T> bestDir{0, 0};
    int nBestHalf = 4;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        const CVectorT<T> dir = Direction<T>(curve, i, bStart);
        if (dir.x == 0 && dir.y == 0)
            continue;  // the middle pixel of a one-pixel-high box has no direction
        const bool bTieFirst = bStart ? StartTieFirst(screenRay, curve.V(i))
                                      : EndTieFirst(screenRay, curve.V(i));
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

// The same by bisection. The outline runs counter-clockwise from a direction change. For the
// start radial the turning order runs the same way, so the pixels' places in it rise, drop
// once where the order wraps round, and rise again: the nearest pixel is the first whose place
// is below the first pixel's, or the first pixel itself. For the end radial the order runs the
// other way: the places fall, jump once and fall again, and the nearest pixel, the last of
// those sharing the lowest place, is the one just before the first pixel whose place is above
// the first pixel's, or the last pixel if there is none. Pixels sharing a direction stay
// together, which keeps the rise (or fall) steady, and so do the pixels lying on a ray that is
// neither horizontal nor vertical, which the tie rules put all first or all last; a horizontal
// or vertical ray, and an outline with a pixel without direction, are left to the scan above.
template <class T>
std::size_t NearestByBisection(const COutline& curve, const CVectorT<T>& screenRay, bool bStart)
{
    const CVectorT<T> ray{screenRay.x, bStart ? -screenRay.y : screenRay.y};
    const CTurnOrder<T> order(ray);
    auto place = [&](std::size_t i, CVectorT<T>* pDir) {
        *pDir = Direction<T>(curve, i, bStart);
        const bool bTieFirst = bStart ? StartTieFirst(screenRay, curve.V(i))
                                      : EndTieFirst(screenRay, curve.V(i));
        return order.Half(*pDir, bTieFirst);
    };
    CVectorT<T> firstDir;
    const int nFirstHalf = place(0, &firstDir);
    // The first index past the wrap: below the first pixel's place for the start, above it for
    // the end.
    std::size_t low = 1;
    std::size_t high = curve.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        CVectorT<T> dir;
        const int nHalf = place(middle, &dir);
        const bool bPastWrap = bStart ? order.Less(dir, nHalf, firstDir, nFirstHalf)
                                      : order.Less(firstDir, nFirstHalf, dir, nHalf);
        if (bPastWrap)
            high = middle;
        else
            low = middle + 1;
    }
    if (bStart)
        return low == curve.size() ? 0 : low;
    return low - 1;
}

// Outlines shorter than this are scanned: bisection saves nothing there.
const std::size_t kBisectionMinimum = 8;

bool MayBisect(const COutline& curve, const CVector& screenRay)
{
    return curve.size() >= kBisectionMinimum && screenRay.x != 0 && screenRay.y != 0;
}

std::size_t Nearest(const COutline& curve, const CVector& screenRay, bool bStart,
                    bool bCentreless)
{
    const bool bBisect = !bCentreless && MayBisect(curve, screenRay);
    if (!IsNarrowRay(screenRay))
        return bBisect ? NearestByBisection(curve, screenRay, bStart)
                       : NearestOf(curve, screenRay, bStart);
    const CNarrowVector narrow{static_cast<long long>(screenRay.x),
                               static_cast<long long>(screenRay.y)};
    return bBisect ? NearestByBisection(curve, narrow, bStart)
                   : NearestOf(curve, narrow, bStart);
}

// Whether a pixel of the outline has no direction (the middle of a box one pixel high).
bool HasCentrelessPixel(const COutline& curve)
{
    for (std::size_t i = 0; i < curve.size(); ++i) {
        if (curve.U(i) / 2 == 0 && curve.V(i) / 2 == 0)
            return true;
    }
    return false;
}

// Rotates the outline so that it starts where the direction turns: pixels sharing one
// direction (the flat middle of a wide box, the two middle columns of an even box) then
// stay together in outline order, which decides between them.
void RotateToDirectionChange(std::vector<CCurvePoint>& curve, long long w, long long h)
{
    const COutline outline{curve, w, h};
    const std::size_t n = curve.size();
    for (std::size_t k = 0; k < n; ++k) {
        const CVector p = Direction<Wide>(outline, k, true);
        const CVector q = Direction<Wide>(outline, (k + n - 1) % n, true);
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

bool CPainter::Pie(const CBox& box, CPoint64 start, CPoint64 end, COLORREF crPen,
                   COLORREF crBrush)
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
    CTracedCurve& traced = TraceEllipse(b);
    if (!traced.bRotated) {
        RotateToDirectionChange(traced.curve, traced.w, traced.h);
        traced.bCentreless = HasCentrelessPixel(COutline{traced.curve, traced.w, traced.h});
        traced.bRotated = true;
    }
    const CCurvePart& part = FindCurvePart(b, traced, start, end);
    const CPoint64 centre{b.left + (b.right - b.left) / 2, b.top + (b.bottom - b.top) / 2};
    if (bPie && IsColor(crBrush)) {
        m_polygon.clear();
        ForEachPartPixel(traced, part, [&](const CCurvePoint& p) {
            m_polygon.push_back(CPoint64{b.left + p.x, b.top + p.y});
        });
        m_polygon.push_back(part.stopPixel);
        m_polygon.push_back(centre);
        FillPolygon(m_polygon, m_frame.PixelOf(crBrush));
    }
    if (!IsColor(crPen))
        return true;
    const std::uint32_t pixel = m_frame.PixelOf(crPen);
    PlotPart(traced, part, b, pixel);
    if (bPie) {
        // The outline goes on from the end pixel to the centre and back to the start pixel.
        DrawLine(part.stopPixel, centre, pixel);
        DrawLine(centre, part.firstPixel, pixel);
    }
    return true;
}

template <class F>
void CPainter::ForEachPartPixel(const CTracedCurve& traced, const CCurvePart& part, F f)
{
    const std::vector<CCurvePoint>& curve = traced.curve;
    if (part.first == part.stop && !part.bWhole)
        return;
    if (part.first < part.stop) {
        for (std::size_t i = part.first; i < part.stop; ++i)
            f(curve[i]);
        return;
    }
    // Round the end of the outline to its start.
    for (std::size_t i = part.first; i < curve.size(); ++i)
        f(curve[i]);
    for (std::size_t i = 0; i < part.stop; ++i)
        f(curve[i]);
}

// Nearly every arc lies wholly inside its clip; its pixels are then written without a test
// each, and only the changed ones make up the box to present. Most arcs' boxes lie inside the
// clip, which settles it at once; for the others the part's own pixels are looked at.
void CPainter::PlotPart(const CTracedCurve& traced, const CCurvePart& part, const CBox& b,
                        std::uint32_t pixel)
{
    auto isInsideClip = [&](const CBox& box) {
        return box.left >= m_clip.left && box.right <= m_clip.right && box.top >= m_clip.top &&
               box.bottom <= m_clip.bottom;
    };
    bool bInside = isInsideClip(b);
    if (!bInside) {
        CBox reach{0, 0, 0, 0};
        ForEachPartPixel(traced, part, [&](const CCurvePoint& p) {
            const long long x = b.left + p.x;
            const long long y = b.top + p.y;
            if (reach.IsEmpty()) {
                reach = CBox{x, y, x + 1, y + 1};
                return;
            }
            reach = CBox{std::min(reach.left, x), std::min(reach.top, y),
                         std::max(reach.right, x + 1), std::max(reach.bottom, y + 1)};
        });
        bInside = !reach.IsEmpty() && isInsideClip(reach);
    }
    if (!bInside) {
        ForEachPartPixel(traced, part,
                         [&](const CCurvePoint& p) { Plot(b.left + p.x, b.top + p.y, pixel); });
        return;
    }
    std::uint32_t* pPixels = m_frame.GetWritablePixels();
    const std::ptrdiff_t nRow = m_frame.GetRowStride();
    const std::ptrdiff_t nOrigin = static_cast<std::ptrdiff_t>(b.top) * nRow +
                                   static_cast<std::ptrdiff_t>(b.left);
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    ForEachPartPixel(traced, part, [&](const CCurvePoint& p) {
        std::uint32_t& nWord = pPixels[nOrigin + static_cast<std::ptrdiff_t>(p.y) * nRow + p.x];
        if (nWord == pixel)
            return;
        nWord = pixel;
        const int x = p.x;
        const int y = p.y;
        if (right < left) {
            left = right = x;
            top = bottom = y;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    });
    if (right >= left) {
        const int x = static_cast<int>(b.left);
        const int y = static_cast<int>(b.top);
        m_frame.MarkChanged(x + left, y + top, x + right + 1, y + bottom + 1);
    }
}

const CPainter::CCurvePart& CPainter::FindCurvePart(const CBox& b, const CTracedCurve& traced,
                                                    CPoint64 start, CPoint64 end)
{
    for (const CCurvePart& cached : m_parts) {
        if (cached.bValid && cached.box.left == b.left && cached.box.top == b.top &&
            cached.box.right == b.right && cached.box.bottom == b.bottom &&
            cached.start.x == start.x && cached.start.y == start.y && cached.end.x == end.x &&
            cached.end.y == end.y)
            return cached;
    }
    const std::vector<CCurvePoint>& curve = traced.curve;
    const CPoint64 centre{b.left + (b.right - b.left) / 2, b.top + (b.bottom - b.top) / 2};
    const CVector rayStart = Radial(start, centre);
    const CVector rayEnd = Radial(end, centre);
    CCurvePart& entry = m_parts[m_nNextPart];
    m_nNextPart = (m_nNextPart + 1) % kCachedParts;
    entry.box = b;
    entry.start = start;
    entry.end = end;
    const COutline outline{curve, traced.w, traced.h};
    entry.first = Nearest(outline, rayStart, true, traced.bCentreless);
    entry.stop = Nearest(outline, rayEnd, false, traced.bCentreless);
    entry.bWhole = entry.first == entry.stop && SameDirection(rayStart, rayEnd);
    entry.firstPixel = CPoint64{b.left + curve[entry.first].x, b.top + curve[entry.first].y};
    entry.stopPixel = CPoint64{b.left + curve[entry.stop].x, b.top + curve[entry.stop].y};
    entry.bValid = true;
    return entry;
}

}  // namespace raster

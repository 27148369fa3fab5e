// GDI's ellipse outline, as the Windows build draws it under Wine: the curve through the
// box's edge pixels that A. Zingl's "rasterizing algorithm for drawing curves" traces for
// an ellipse inscribed in a rectangle, in the variant whose diagonal step is decided by
// the horizontal error alone. Measured pixel for pixel on 1,681 box sizes: that variant
// also reproduces how very narrow, tall ellipses lose their tips.
#include "raster/painter.h"

namespace raster {

// A box whose side reaches kMaxCurveSide is refused; so is one with no pixels.
bool CPainter::IsCurveDrawable(const CBox& box) const
{
    const Wide w = Wide(box.right) - box.left;
    const Wide h = Wide(box.bottom) - box.top;
    return w > 0 && h > 0 && w <= kMaxCurveSide && h <= kMaxCurveSide;
}

// The outline's pixels in counter-clockwise order (as seen on the screen), starting at the
// right end of the middle row, relative to the box. Boxes at least 3 x 3 only.
CPainter::CTracedCurve& CPainter::TraceEllipse(const CBox& box)
{
    const long long w = box.right - box.left;
    const long long h = box.bottom - box.top;
    for (CTracedCurve& traced : m_traced) {
        if (traced.w == w && traced.h == h)
            return traced;
    }
    CTracedCurve& traced = m_traced[m_nNextTraced];
    m_nNextTraced = (m_nNextTraced + 1) % kCachedCurves;
    traced.w = w;
    traced.h = h;
    traced.bRotated = false;
    const long long a = w - 1;  // the diameters in pixel steps
    const long long b = h - 1;
    const long long b1 = b & 1;
    // Error terms grow as a^2 b^2: 128 bits hold them for every accepted box.
    Wide dx = Wide(4) * (1 - a) * b * b;
    Wide dy = Wide(4) * (b1 + 1) * a * a;
    Wide err = dx + dy + Wide(b1) * a * a;
    const Wide stepX = Wide(8) * b * b;
    const Wide stepY = Wide(8) * a * a;
    // Each step moves inwards, outwards or both, so a quarter has at most a / 2 + b / 2 + 2
    // pixels. Reserving that (and four quarters for the whole outline) spares the copies a
    // growing vector makes, which on a large window cost more memory at their peak than the
    // outlines themselves.
    traced.quarter.clear();
    traced.quarter.reserve(static_cast<std::size_t>(a / 2 + b / 2 + 2));
    // The quarter is traced from the right end of the middle row: kx steps inwards, ky
    // steps outwards; the other three quarters are its mirror images.
    long long kx = 0;
    long long ky = 0;
    while (2 * kx <= a) {
        traced.quarter.push_back(
            CQuarterPos{static_cast<std::uint16_t>(kx), static_cast<std::uint16_t>(ky)});
        const Wide e2 = 2 * err;
        if (e2 <= dy) {
            ++ky;
            dy += stepY;
            err += dy;
        }
        if (e2 >= dx) {
            ++kx;
            dx += stepX;
            err += dx;
        }
    }
    MirrorQuarter(traced);
    return traced;
}

// Lays the traced quarter out as the whole closed outline: upper right, upper left, lower
// left, lower right, each pixel with its doubled offset from the exact centre.
void CPainter::MirrorQuarter(CTracedCurve& traced)
{
    const long long w = traced.w;
    const long long h = traced.h;
    const long long lowerRow = h / 2;         // offset of the first lower-half row
    const long long upperRow = lowerRow - ((h - 1) & 1);
    const std::vector<CQuarterPos>& quarter = traced.quarter;
    std::vector<CCurvePoint>& curve = traced.curve;
    const std::size_t n = quarter.size();
    curve.clear();
    curve.reserve(4 * n);
    auto add = [&](std::size_t k, bool bRight, bool bLower) {
        const CQuarterPos& q = quarter[k];
        const long long dxOff = bRight ? w - 1 - q.kx : q.kx;
        const long long dyOff = bLower ? lowerRow + q.ky : upperRow - q.ky;
        const CCurvePoint p{static_cast<std::uint16_t>(dxOff), static_cast<std::uint16_t>(dyOff)};
        if (curve.empty() || curve.back().x != p.x || curve.back().y != p.y)
            curve.push_back(p);
    };
    for (std::size_t k = 0; k < n; ++k)
        add(k, true, false);
    for (std::size_t k = n; k-- > 0;)
        add(k, false, false);
    for (std::size_t k = 0; k < n; ++k)
        add(k, false, true);
    for (std::size_t k = n; k-- > 0;)
        add(k, true, true);
    if (curve.size() > 1 && curve.front().x == curve.back().x &&
        curve.front().y == curve.back().y)
        curve.pop_back();
}

// Boxes only one or two pixels wide are drawn solid with the pen (measured), except that a
// single pixel draws nothing. (Flat boxes need no exception: the traced curve covers them.)
bool CPainter::IsNarrow(const CBox& box)
{
    return box.right - box.left <= 2;
}

void CPainter::DrawNarrowBox(const CBox& box, std::uint32_t crPen)
{
    if ((box.right - box.left) * (box.bottom - box.top) > 1)
        Block(box.left, box.top, box.right, box.bottom, crPen);
}

bool CPainter::BeginCurve(const CBox& box, COLORREF crPen, CBox* pBox, bool* pbResult)
{
    UpdateClip();
    const CBox b = Normalised(box);
    *pBox = b;
    *pbResult = true;
    if (!IsCurveDrawable(b)) {
        *pbResult = b.IsEmpty();
        return false;
    }
    if (!Touches(b))
        return false;
    if (IsNarrow(b)) {
        if (IsColor(crPen))
            DrawNarrowBox(b, m_frame.PixelOf(crPen));
        return false;
    }
    return true;
}

bool CPainter::Ellipse(const CBox& box, COLORREF crPen, COLORREF crBrush)
{
    CBox b;
    bool bResult = true;
    if (!BeginCurve(box, crPen, &b, &bResult))
        return bResult;
    const CTracedCurve& traced = TraceEllipse(b);
    if (IsColor(crBrush))
        FillEllipse(b, traced, m_frame.PixelOf(crBrush));
    if (IsColor(crPen)) {
        const std::uint32_t pixel = m_frame.PixelOf(crPen);
        for (const CCurvePoint& p : traced.curve)
            Plot(b.left + p.x, b.top + p.y, pixel);
    }
    return true;
}

// The brush covers each row between the outline's innermost pixels on either side: the
// traced quarter gives, for each of its rows, how far in the outline reaches.
void CPainter::FillEllipse(const CBox& box, const CTracedCurve& traced, std::uint32_t crBrush)
{
    const std::vector<CQuarterPos>& quarter = traced.quarter;
    const long long h = box.bottom - box.top;
    const long long lowerRow = h / 2;
    const long long upperRow = lowerRow - ((h - 1) & 1);
    for (std::size_t k = 0; k < quarter.size(); ++k) {
        const bool bLastOfRow = k + 1 == quarter.size() || quarter[k + 1].ky != quarter[k].ky;
        if (!bLastOfRow)
            continue;
        const long long kx = quarter[k].kx;
        const Wide x0 = Wide(box.left) + kx + 1;
        const Wide x1 = Wide(box.right) - 2 - kx;
        Span(Wide(box.top) + lowerRow + quarter[k].ky, x0, x1, crBrush);
        if (upperRow - quarter[k].ky != lowerRow + quarter[k].ky)
            Span(Wide(box.top) + upperRow - quarter[k].ky, x0, x1, crBrush);
    }
}

// Whether any pixel of the box (or of lines inside it) can fall in the clip.
bool CPainter::Touches(const CBox& box) const
{
    return !m_clip.IsEmpty() && box.left < m_clip.right && box.right > m_clip.left &&
           box.top < m_clip.bottom && box.bottom > m_clip.top;
}

}  // namespace raster

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

// Fills m_curve with the outline's pixels in counter-clockwise order (as seen on the
// screen), starting at the right end of the middle row. Boxes at least 3 x 3 only.
void CPainter::TraceEllipse(const CBox& box)
{
    const long long a = box.right - box.left - 1;  // the diameters in pixel steps
    const long long b = box.bottom - box.top - 1;
    const long long b1 = b & 1;
    // Error terms grow as a^2 b^2: 128 bits hold them for every accepted box.
    Wide dx = Wide(4) * (1 - a) * b * b;
    Wide dy = Wide(4) * (b1 + 1) * a * a;
    Wide err = dx + dy + Wide(b1) * a * a;
    const Wide stepX = Wide(8) * b * b;
    const Wide stepY = Wide(8) * a * a;
    m_quarter.clear();
    // The quarter is traced from the right end of the middle row: kx steps inwards, ky
    // steps outwards; the other three quarters are its mirror images.
    CQuarterPos at{0, 0};
    while (2 * at.kx <= a) {
        m_quarter.push_back({at.kx, at.ky});
        const Wide e2 = 2 * err;
        if (e2 <= dy) {
            ++at.ky;
            dy += stepY;
            err += dy;
        }
        if (e2 >= dx) {
            ++at.kx;
            dx += stepX;
            err += dx;
        }
    }
    MirrorQuarter(box);
}

// Lays the traced quarter out as the whole closed outline: upper right, upper left, lower
// left, lower right, each pixel with its doubled offset from the exact centre.
void CPainter::MirrorQuarter(const CBox& box)
{
    const long long w = box.right - box.left;
    const long long h = box.bottom - box.top;
    const long long lowerRow = h / 2;         // offset of the first lower-half row
    const long long upperRow = lowerRow - ((h - 1) & 1);
    const std::size_t n = m_quarter.size();
    m_curve.clear();
    auto add = [&](std::size_t k, bool bRight, bool bLower) {
        const CQuarterPos& q = m_quarter[k];
        const long long dxOff = bRight ? w - 1 - q.kx : q.kx;
        const long long dyOff = bLower ? lowerRow + q.ky : upperRow - q.ky;
        const CCurvePoint p{box.left + dxOff, box.top + dyOff, 2 * dxOff - (w - 1),
                            2 * dyOff - (h - 1)};
        if (m_curve.empty() || m_curve.back().x != p.x || m_curve.back().y != p.y)
            m_curve.push_back(p);
    };
    for (std::size_t k = 0; k < n; ++k)
        add(k, true, false);
    for (std::size_t k = n; k-- > 0;)
        add(k, false, false);
    for (std::size_t k = 0; k < n; ++k)
        add(k, false, true);
    for (std::size_t k = n; k-- > 0;)
        add(k, true, true);
    if (m_curve.size() > 1 && m_curve.front().x == m_curve.back().x &&
        m_curve.front().y == m_curve.back().y)
        m_curve.pop_back();
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
    TraceEllipse(b);
    return true;
}

bool CPainter::Ellipse(const CBox& box, COLORREF crPen, COLORREF crBrush)
{
    CBox b;
    bool bResult = true;
    if (!BeginCurve(box, crPen, &b, &bResult))
        return bResult;
    if (IsColor(crBrush))
        FillEllipse(b, m_frame.PixelOf(crBrush));
    if (IsColor(crPen)) {
        const std::uint32_t pixel = m_frame.PixelOf(crPen);
        for (const CCurvePoint& p : m_curve)
            Plot(p.x, p.y, pixel);
    }
    return true;
}

// The brush covers each row between the outline's innermost pixels on either side: the
// traced quarter gives, for each of its rows, how far in the outline reaches.
void CPainter::FillEllipse(const CBox& box, std::uint32_t crBrush)
{
    const long long h = box.bottom - box.top;
    const long long lowerRow = h / 2;
    const long long upperRow = lowerRow - ((h - 1) & 1);
    for (std::size_t k = 0; k < m_quarter.size(); ++k) {
        const bool bLastOfRow = k + 1 == m_quarter.size() || m_quarter[k + 1].ky != m_quarter[k].ky;
        if (!bLastOfRow)
            continue;
        const long long kx = m_quarter[k].kx;
        const Wide x0 = Wide(box.left) + kx + 1;
        const Wide x1 = Wide(box.right) - 2 - kx;
        Span(Wide(box.top) + lowerRow + m_quarter[k].ky, x0, x1, crBrush);
        if (upperRow - m_quarter[k].ky != lowerRow + m_quarter[k].ky)
            Span(Wide(box.top) + upperRow - m_quarter[k].ky, x0, x1, crBrush);
    }
}

// Whether any pixel of the box (or of lines inside it) can fall in the clip.
bool CPainter::Touches(const CBox& box) const
{
    return !m_clip.IsEmpty() && box.left < m_clip.right && box.right > m_clip.left &&
           box.top < m_clip.bottom && box.bottom > m_clip.top;
}

}  // namespace raster

// GDI's cosmetic line: from the start pixel up to, not including, the end pixel, one pixel
// per step of the longer axis. Where the ideal line passes exactly halfway between two
// pixels, GDI takes the smaller coordinate (measured for every octant under Wine).
#include "raster/painter.h"

namespace raster {

namespace {

// One axis of a line: where it starts and how far it goes (65 bits, hence Wide).
struct CAxis {
    Wide start;
    Wide delta;
};

// The minor coordinate's offset at step i of n is i * minor / n rounded to the nearest,
// halves downwards. The exact quotient and remainder are found once by division (i and
// |minor| are below 2^64, so their product fits in 128 bits) and then advanced a step at a
// time, since |minor| <= n.
class CMinorStepper {
public:
    CMinorStepper(UWide i, Wide minor, UWide n)
        : m_magnitude(static_cast<UWide>(AbsWide(minor))), m_n(n), m_bNegative(minor < 0)
    {
        const UWide product = i * m_magnitude;
        m_quotient = product / n;
        m_rest = product % n;
    }
    Wide Offset() const
    {
        if (!m_bNegative)
            return static_cast<Wide>(m_quotient + (2 * m_rest > m_n ? 1 : 0));
        return -static_cast<Wide>(m_quotient + (2 * m_rest >= m_n ? 1 : 0));
    }
    void Advance()
    {
        m_rest += m_magnitude;
        if (m_rest >= m_n) {
            m_rest -= m_n;
            ++m_quotient;
        }
    }

private:
    UWide m_magnitude;
    UWide m_n;
    bool m_bNegative;
    UWide m_quotient = 0;
    UWide m_rest = 0;
};

// The steps i in [0, n) whose major coordinate lies in [low, high).
bool VisibleSteps(const CAxis& major, Wide low, Wide high, Wide n, Wide& first, Wide& last)
{
    if (major.delta > 0) {
        first = low - major.start;
        last = high - 1 - major.start;
    } else {
        first = major.start - (high - 1);
        last = major.start - low;
    }
    first = MaxWide(first, 0);
    last = MinWide(last, n - 1);
    return first <= last;
}

}  // namespace

void CPainter::Line(CPoint64 from, CPoint64 to, COLORREF crPen)
{
    UpdateClip();
    if (IsColor(crPen))
        DrawLine(from, to, m_frame.PixelOf(crPen));
}

void CPainter::DrawLine(CPoint64 from, CPoint64 to, std::uint32_t pixel)
{
    if (m_clip.IsEmpty())
        return;
    const CAxis ax{from.x, Wide(to.x) - from.x};
    const CAxis ay{from.y, Wide(to.y) - from.y};
    const bool bXMajor = AbsWide(ax.delta) >= AbsWide(ay.delta);
    const CAxis& major = bXMajor ? ax : ay;
    const CAxis& minor = bXMajor ? ay : ax;
    const Wide n = AbsWide(major.delta);
    if (n == 0)
        return;
    // Only the steps inside the clip's extent along the major axis are visited, so a line
    // of any length costs at most the clip's width or height.
    Wide first = 0;
    Wide last = 0;
    const Wide low = bXMajor ? m_clip.left : m_clip.top;
    const Wide high = bXMajor ? m_clip.right : m_clip.bottom;
    if (!VisibleSteps(major, low, high, n, first, last))
        return;
    const Wide step = major.delta > 0 ? 1 : -1;
    CMinorStepper stepper(static_cast<UWide>(first), minor.delta, static_cast<UWide>(n));
    for (Wide i = first; i <= last; ++i, stepper.Advance()) {
        const Wide a = major.start + step * i;
        const Wide b = minor.start + stepper.Offset();
        const Wide x = bXMajor ? a : b;
        const Wide y = bXMajor ? b : a;
        if (y >= m_clip.top && y < m_clip.bottom && x >= m_clip.left && x < m_clip.right)
            m_frame.PutPixel(static_cast<int>(x), static_cast<int>(y), pixel);
    }
}

}  // namespace raster

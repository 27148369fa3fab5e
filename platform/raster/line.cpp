// GDI's cosmetic line: from the start pixel up to, not including, the end pixel, one pixel
// per step of the longer axis. Where the ideal line passes exactly halfway between two
// pixels, GDI takes the smaller coordinate (measured for every octant under Wine).
#include "raster/painter.h"

#include <algorithm>

namespace raster {

namespace {

using CAxis = CPainter::CAxisView;

// Coordinates within this range keep every difference, product and sum of a line's stepping
// inside 64 bits.
const long long kNarrowLimit = 1LL << 30;

bool FitsInt(CPoint64 pt)
{
    return pt.x > -kNarrowLimit && pt.x < kNarrowLimit && pt.y > -kNarrowLimit &&
           pt.y < kNarrowLimit;
}

// The minor coordinate's offset at step i of n is i * minor / n rounded to the nearest,
// halves downwards. The exact quotient and remainder are found once by division and then
// advanced a step at a time, since |minor| <= n. Lines within the int range, as every line on
// a screen is, step in 64-bit arithmetic; any other in 128 bits (i and |minor| are below 2^64,
// so their product fits).
template <class Signed, class Unsigned>
class CMinorStepper {
public:
    CMinorStepper(Unsigned i, Signed minor, Unsigned n)
        : m_magnitude(static_cast<Unsigned>(minor < 0 ? -minor : minor)),
          m_n(n),
          m_bNegative(minor < 0)
    {
        const Unsigned product = i * m_magnitude;
        m_quotient = product / n;
        m_rest = product % n;
    }
    Signed Offset() const
    {
        if (!m_bNegative)
            return static_cast<Signed>(m_quotient + (2 * m_rest > m_n ? 1 : 0));
        return -static_cast<Signed>(m_quotient + (2 * m_rest >= m_n ? 1 : 0));
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
    Unsigned m_magnitude;
    Unsigned m_n;
    bool m_bNegative;
    Unsigned m_quotient = 0;
    Unsigned m_rest = 0;
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
    if (FitsInt(from) && FitsInt(to)) {
        const long long nFirst = static_cast<long long>(first);
        const long long nLast = static_cast<long long>(last);
        const long long nSteps = static_cast<long long>(n);
        if (!StepLineInside(major, minor, nFirst, nLast, nSteps, bXMajor, pixel))
            StepLine<long long, unsigned long long>(major, minor, first, last, n, bXMajor, pixel);
    } else {
        StepLine<Wide, UWide>(major, minor, first, last, n, bXMajor, pixel);
    }
}

// Nearly every line of a picture lies wholly inside its clip. Its minor coordinate moves one
// way only, so the first and last steps tell whether every step is inside, and then the steps
// walk the buffer without a test per pixel. Since both coordinates are monotonic, the first
// and last changed pixels span the box of all the changed ones.
//
// The minor offset's magnitude at step i is i * |minor| / n rounded to the nearest, halves
// downwards for a growing minor coordinate and upwards for a shrinking one (which is halves
// towards the smaller coordinate both ways): floor((2 i |minor| + bias) / 2n) with a bias of
// n - 1 or n. One remainder of that quotient, advanced by 2 |minor| a step, tells when the
// offset moves on. A line inside the int range has n and |minor| below 2^31, so every term
// fits 64 bits.
bool CPainter::StepLineInside(const CAxisView& major, const CAxisView& minor, long long first,
                              long long last, long long n, bool bXMajor, std::uint32_t pixel)
{
    using U = unsigned long long;
    const long long minorStart = static_cast<long long>(minor.start);
    const long long minorDelta = static_cast<long long>(minor.delta);
    const bool bShrinking = minorDelta < 0;
    const U magnitude = static_cast<U>(bShrinking ? -minorDelta : minorDelta);
    const U twiceN = 2 * static_cast<U>(n);
    const U bias = static_cast<U>(bShrinking ? n : n - 1);
    auto offsetAt = [&](long long i) {
        const U quotient = (2 * static_cast<U>(i) * magnitude + bias) / twiceN;
        const long long k = static_cast<long long>(quotient);
        return bShrinking ? -k : k;
    };
    const long long minorFirst = minorStart + offsetAt(first);
    const long long minorLast = minorStart + offsetAt(last);
    const long long minorLow = bXMajor ? m_clip.top : m_clip.left;
    const long long minorHigh = bXMajor ? m_clip.bottom : m_clip.right;
    if (std::min(minorFirst, minorLast) < minorLow || std::max(minorFirst, minorLast) >= minorHigh)
        return false;

    const long long step = major.delta > 0 ? 1 : -1;
    const long long majorStart = static_cast<long long>(major.start);
    const std::ptrdiff_t nRow = m_frame.GetRowStride();
    const std::ptrdiff_t nMajorStride = bXMajor ? step : step * nRow;
    const std::ptrdiff_t nMinorStride = (bXMajor ? nRow : 1) * (bShrinking ? -1 : 1);
    const long long a0 = majorStart + step * first;
    std::ptrdiff_t nIndex = bXMajor ? minorFirst * nRow + a0 : a0 * nRow + minorFirst;
    std::uint32_t* pPixels = m_frame.GetWritablePixels();

    const U twiceMagnitude = 2 * magnitude;
    U rest = (2 * static_cast<U>(first) * magnitude + bias) % twiceN;
    long long minorAt = minorFirst;
    const long long minorStep = bShrinking ? -1 : 1;
    long long firstChanged = -1;
    long long lastChanged = -1;
    long long minorFirstChanged = 0;
    long long minorLastChanged = 0;
    for (long long i = first;; ++i) {
        std::uint32_t& nWord = pPixels[nIndex];
        if (nWord != pixel) {
            nWord = pixel;
            if (firstChanged < 0) {
                firstChanged = i;
                minorFirstChanged = minorAt;
            }
            lastChanged = i;
            minorLastChanged = minorAt;
        }
        if (i == last)
            break;
        nIndex += nMajorStride;
        rest += twiceMagnitude;
        if (rest >= twiceN) {
            rest -= twiceN;
            nIndex += nMinorStride;
            minorAt += minorStep;
        }
    }
    if (firstChanged >= 0) {
        const long long a1 = majorStart + step * firstChanged;
        const long long a2 = majorStart + step * lastChanged;
        const int x0 = static_cast<int>(std::min(bXMajor ? a1 : minorFirstChanged,
                                                 bXMajor ? a2 : minorLastChanged));
        const int x1 = static_cast<int>(std::max(bXMajor ? a1 : minorFirstChanged,
                                                 bXMajor ? a2 : minorLastChanged));
        const int y0 = static_cast<int>(std::min(bXMajor ? minorFirstChanged : a1,
                                                 bXMajor ? minorLastChanged : a2));
        const int y1 = static_cast<int>(std::max(bXMajor ? minorFirstChanged : a1,
                                                 bXMajor ? minorLastChanged : a2));
        m_frame.MarkChanged(x0, y0, x1 + 1, y1 + 1);
    }
    return true;
}

// Visits steps first..last of the line; Signed holds every coordinate and step involved.
template <class Signed, class Unsigned>
void CPainter::StepLine(const CAxisView& major, const CAxisView& minor, Wide first, Wide last,
                        Wide n, bool bXMajor, std::uint32_t pixel)
{
    const Signed step = major.delta > 0 ? 1 : -1;
    const Signed majorStart = static_cast<Signed>(major.start);
    const Signed minorStart = static_cast<Signed>(minor.start);
    const Signed top = static_cast<Signed>(m_clip.top);
    const Signed bottom = static_cast<Signed>(m_clip.bottom);
    const Signed left = static_cast<Signed>(m_clip.left);
    const Signed right = static_cast<Signed>(m_clip.right);
    CMinorStepper<Signed, Unsigned> stepper(static_cast<Unsigned>(first),
                                            static_cast<Signed>(minor.delta),
                                            static_cast<Unsigned>(n));
    const Signed nLast = static_cast<Signed>(last);
    for (Signed i = static_cast<Signed>(first); i <= nLast; ++i, stepper.Advance()) {
        const Signed a = majorStart + step * i;
        const Signed b = minorStart + stepper.Offset();
        const Signed x = bXMajor ? a : b;
        const Signed y = bXMajor ? b : a;
        if (y >= top && y < bottom && x >= left && x < right)
            m_frame.PutPixel(static_cast<int>(x), static_cast<int>(y), pixel);
    }
}

}  // namespace raster

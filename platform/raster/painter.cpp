// Clipping, spans and the rectangle primitives; the curves live in ellipse.cpp and arc.cpp,
// the line in line.cpp.
#include "raster/painter.h"

#include <utility>

#include "raster/wide.h"

namespace raster {

CPainter::CPainter(CFrameBuffer& frame) : m_frame(frame), m_clip{0, 0, 0, 0} {}

void CPainter::SetClip(const CBox* pClip)
{
    m_bUserClip = pClip != nullptr;
    if (pClip != nullptr)
        m_userClip = *pClip;
}

// The clip in force: the user's rectangle (if any) within the buffer, evaluated at each
// drawing call so that a resized buffer never leaves a stale clip behind.
void CPainter::UpdateClip()
{
    m_clip = CBox{0, 0, m_frame.GetWidth(), m_frame.GetHeight()};
    if (!m_bUserClip)
        return;
    m_clip.left = m_userClip.left > m_clip.left ? m_userClip.left : m_clip.left;
    m_clip.top = m_userClip.top > m_clip.top ? m_userClip.top : m_clip.top;
    m_clip.right = m_userClip.right < m_clip.right ? m_userClip.right : m_clip.right;
    m_clip.bottom = m_userClip.bottom < m_clip.bottom ? m_userClip.bottom : m_clip.bottom;
    if (m_clip.IsEmpty())
        m_clip = CBox{0, 0, 0, 0};
}

void CPainter::Plot(long long x, long long y, std::uint32_t pixel)
{
    if (x >= m_clip.left && x < m_clip.right && y >= m_clip.top && y < m_clip.bottom)
        m_frame.PutPixel(static_cast<int>(x), static_cast<int>(y), pixel);
}

// Row y from x0 to x1 inclusive, clipped. Wide arguments: callers pass x1 = right - 1 and
// similar expressions that would overflow at the edges of the 64-bit range.
void CPainter::Span(Wide y, Wide x0, Wide x1, std::uint32_t pixel)
{
    if (y < m_clip.top || y >= m_clip.bottom)
        return;
    const Wide from = MaxWide(x0, m_clip.left);
    const Wide to = MinWide(x1 + 1, m_clip.right);
    if (from < to)
        m_frame.FillSpan(static_cast<int>(y), static_cast<int>(from), static_cast<int>(to),
                         pixel);
}

void CPainter::Block(Wide left, Wide top, Wide right, Wide bottom, std::uint32_t pixel)
{
    const Wide y0 = MaxWide(top, m_clip.top);
    const Wide y1 = MinWide(bottom, m_clip.bottom);
    for (Wide y = y0; y < y1; ++y)
        Span(y, left, right - 1, pixel);
}

CBox CPainter::Normalised(const CBox& box)
{
    CBox result = box;
    if (result.left > result.right)
        std::swap(result.left, result.right);
    if (result.top > result.bottom)
        std::swap(result.top, result.bottom);
    return result;
}

void CPainter::FillBox(const CBox& box, COLORREF colour)
{
    UpdateClip();
    if (IsColor(colour))
        Block(box.left, box.top, box.right, box.bottom, m_frame.PixelOf(colour));
}

// GDI's Rectangle: outline on left..right-1 x top..bottom-1, brush strictly inside. An
// empty box draws nothing, and so (measured) does a 1 x 1 box.
void CPainter::Rectangle(const CBox& box, COLORREF crPen, COLORREF crBrush)
{
    UpdateClip();
    const CBox b = Normalised(box);
    const Wide w = Wide(b.right) - b.left;
    const Wide h = Wide(b.bottom) - b.top;
    if (w == 0 || h == 0 || (w == 1 && h == 1))
        return;
    if (IsColor(crBrush))
        Block(Wide(b.left) + 1, Wide(b.top) + 1, Wide(b.right) - 1, Wide(b.bottom) - 1,
              m_frame.PixelOf(crBrush));
    if (!IsColor(crPen))
        return;
    const std::uint32_t pixel = m_frame.PixelOf(crPen);
    Span(b.top, b.left, Wide(b.right) - 1, pixel);
    Span(Wide(b.bottom) - 1, b.left, Wide(b.right) - 1, pixel);
    Block(b.left, Wide(b.top) + 1, Wide(b.left) + 1, Wide(b.bottom) - 1, pixel);
    Block(Wide(b.right) - 1, Wide(b.top) + 1, b.right, Wide(b.bottom) - 1, pixel);
}

}  // namespace raster

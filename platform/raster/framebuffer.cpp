#include "raster/framebuffer.h"

#include <algorithm>

namespace raster {

bool CFrameBuffer::Resize(int nWidth, int nHeight)
{
    if (nWidth < 0 || nHeight < 0 || nWidth > kMaxSide || nHeight > kMaxSide ||
        static_cast<long long>(nWidth) * nHeight > kMaxPixels)
        return false;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_pixels.assign(static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight),
                    PixelFromColour(0));
    m_dirty = CBox{0, 0, nWidth, nHeight};
    if (m_dirty.IsEmpty())
        m_dirty = CBox{0, 0, 0, 0};
    return true;
}

Colour CFrameBuffer::GetColour(int x, int y) const
{
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
                    static_cast<std::size_t>(x)] & 0x00FFFFFFu;
}

void CFrameBuffer::Clear(Colour colour)
{
    std::fill(m_pixels.begin(), m_pixels.end(), PixelFromColour(colour));
    AddDirty(0, 0, m_nWidth, m_nHeight);
}

CBox CFrameBuffer::TakeDirty()
{
    const CBox dirty = m_dirty;
    m_dirty = CBox{0, 0, 0, 0};
    return dirty;
}

void CFrameBuffer::FillSpan(int y, int x0, int x1, std::uint32_t pixel)
{
    if (x1 <= x0)
        return;
    std::uint32_t* row = m_pixels.data() + static_cast<std::size_t>(y) * m_nWidth;
    std::fill(row + x0, row + x1, pixel);
    AddDirty(x0, y, x1, y + 1);
}

void CFrameBuffer::PutPixel(int x, int y, std::uint32_t pixel)
{
    m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
             static_cast<std::size_t>(x)] = pixel;
    AddDirty(x, y, x + 1, y + 1);
}

void CFrameBuffer::AddDirty(int x0, int y0, int x1, int y1)
{
    if (x1 <= x0 || y1 <= y0)
        return;
    if (m_dirty.IsEmpty()) {
        m_dirty = CBox{x0, y0, x1, y1};
        return;
    }
    m_dirty.left = std::min<long long>(m_dirty.left, x0);
    m_dirty.top = std::min<long long>(m_dirty.top, y0);
    m_dirty.right = std::max<long long>(m_dirty.right, x1);
    m_dirty.bottom = std::max<long long>(m_dirty.bottom, y1);
}

}  // namespace raster

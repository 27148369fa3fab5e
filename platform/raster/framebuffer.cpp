// The framebuffer's memory, its clearing, and the box of what changed since it was presented.
#include "raster/framebuffer.h"

#include <algorithm>

namespace raster {

bool CFrameBuffer::IsSizeAllowed(int nWidth, int nHeight)
{
    return nWidth >= 0 && nHeight >= 0 && nWidth <= kMaxSide && nHeight <= kMaxSide &&
           static_cast<long long>(nWidth) * nHeight <= kMaxPixels;
}

bool CFrameBuffer::Resize(int nWidth, int nHeight, std::uint32_t* pMemory)
{
    if (!IsSizeAllowed(nWidth, nHeight))
        return false;
    const std::size_t nCount =
        static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight);
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    if (pMemory != nullptr) {
        std::vector<std::uint32_t>().swap(m_ownPixels);
        m_pPixels = pMemory;
    } else {
        m_ownPixels.resize(nCount);
        m_pPixels = m_ownPixels.data();
    }
    std::fill(m_pPixels, m_pPixels + nCount, PixelOf(0));
    m_dirty = CBox{0, 0, nWidth, nHeight};
    if (m_dirty.IsEmpty())
        m_dirty = CBox{0, 0, 0, 0};
    return true;
}

void CFrameBuffer::MovePixels(std::uint32_t* pMemory)
{
    std::vector<std::uint32_t>().swap(m_ownPixels);
    m_pPixels = pMemory;
}

void CFrameBuffer::Clear(COLORREF cr)
{
    for (int y = 0; y < m_nHeight; ++y)
        FillSpan(y, 0, m_nWidth, PixelOf(cr));
}

CBox CFrameBuffer::TakeDirty()
{
    const CBox dirty = m_dirty;
    m_dirty = CBox{0, 0, 0, 0};
    return dirty;
}

void CFrameBuffer::MarkAllDirty()
{
    if (m_nWidth > 0 && m_nHeight > 0)
        m_dirty = CBox{0, 0, m_nWidth, m_nHeight};
}

// Only the part of the span between its first and last changed pixel counts as changed.
void CFrameBuffer::FillSpan(int y, int x0, int x1, std::uint32_t nPixel)
{
    std::uint32_t* pRow = m_pPixels + IndexOf(0, y);
    std::uint32_t* pFirst = std::find_if(pRow + x0, pRow + x1,
                                         [nPixel](std::uint32_t n) { return n != nPixel; });
    if (pFirst == pRow + x1)
        return;
    std::uint32_t* pLast = pRow + x1;
    while (pLast[-1] == nPixel)
        --pLast;
    std::fill(pFirst, pLast, nPixel);
    AddDirty(static_cast<int>(pFirst - pRow), y, static_cast<int>(pLast - pRow), y + 1);
}

void CFrameBuffer::GrowDirty(int x0, int y0, int x1, int y1)
{
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

// A 32-bit framebuffer in the pixel layout its window system wants, which remembers the box of
// the pixels that changed since the device last presented it.
#ifndef VURAZEVEDADAR_RASTER_FRAMEBUFFER_H
#define VURAZEVEDADAR_RASTER_FRAMEBUFFER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/raster.h"

namespace raster {

// Where the red, green and blue bytes of a colour go in a 32-bit pixel word, and the bits that
// every pixel has set (an opaque alpha). The window system's own layout, so that presenting
// copies words and converts none.
struct CPixelFormat {
    unsigned m_nRedShift;
    unsigned m_nGreenShift;
    unsigned m_nBlueShift;
    std::uint32_t m_nFixedBits;
};

// The bytes R, G, B, A in memory on a little-endian machine: a canvas ImageData's layout.
constexpr CPixelFormat kRgbaFormat = {0, 8, 16, 0xFF000000u};

class CFrameBuffer {
public:
    // Larger buffers are refused: no screen needs them, and the pixel count stays far from
    // the limits of size_t and of a browser's memory.
    static constexpr int kMaxSide = 16384;
    static constexpr long long kMaxPixels = 64LL * 1024 * 1024;

    explicit CFrameBuffer(const CPixelFormat& format = kRgbaFormat) : m_format(format) {}
    CFrameBuffer(const CFrameBuffer&) = delete;
    CFrameBuffer& operator=(const CFrameBuffer&) = delete;

    static bool IsSizeAllowed(int nWidth, int nHeight);

    // Gives the buffer a new size with every pixel black; fails (and keeps the old size)
    // for negative or oversized requests. A 0 x 0 buffer is valid and draws nothing. The
    // pixels live in the buffer's own memory, or in pMemory when given: width x height words,
    // rows one after the other, which the caller keeps until the next Resize.
    bool Resize(int nWidth, int nHeight, std::uint32_t* pMemory = nullptr);
    // The pixels now live in pMemory, which the caller has filled with them and keeps until
    // the next Resize or move; nothing changes, so nothing is marked.
    void MovePixels(std::uint32_t* pMemory);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    const std::uint32_t* GetPixels() const { return m_pPixels; }
    const CPixelFormat& GetFormat() const { return m_format; }
    // The pixel at (x, y) as a COLORREF; callers keep inside the buffer.
    COLORREF GetColor(int x, int y) const { return ColorOf(m_pPixels[IndexOf(x, y)]); }

    std::uint32_t PixelOf(COLORREF cr) const
    {
        return ((cr & 0xFFu) << m_format.m_nRedShift) |
               (((cr >> 8) & 0xFFu) << m_format.m_nGreenShift) |
               (((cr >> 16) & 0xFFu) << m_format.m_nBlueShift) | m_format.m_nFixedBits;
    }
    COLORREF ColorOf(std::uint32_t nPixel) const
    {
        return ((nPixel >> m_format.m_nRedShift) & 0xFFu) |
               (((nPixel >> m_format.m_nGreenShift) & 0xFFu) << 8) |
               (((nPixel >> m_format.m_nBlueShift) & 0xFFu) << 16);
    }

    void Clear(COLORREF cr);

    // The union of the pixels changed since the last call, then forgotten: the rectangle a
    // device has to present. Empty (all zero) when nothing changed. Writing a pixel its own
    // value is no change, so a figure drawn again where it stands costs no presenting.
    CBox TakeDirty();
    // The window system lost what was presented (an exposure): everything is to be presented
    // again.
    void MarkAllDirty();

    // For the painter: writes [x0, x1) of row y, already clipped to the buffer.
    void FillSpan(int y, int x0, int x1, std::uint32_t nPixel);
    // For the painter's loops that write pixels themselves: a pixel's place in the buffer, the
    // distance from one row to the next, and the box of what they changed.
    std::uint32_t* GetWritablePixels() { return m_pPixels; }
    std::ptrdiff_t GetRowStride() const { return m_nWidth; }
    void MarkChanged(int x0, int y0, int x1, int y1) { AddDirty(x0, y0, x1, y1); }
    void PutPixel(int x, int y, std::uint32_t nPixel)
    {
        std::uint32_t& nWord = m_pPixels[IndexOf(x, y)];
        if (nWord == nPixel)
            return;
        nWord = nPixel;
        AddDirty(x, y, x + 1, y + 1);
    }

private:
    std::size_t IndexOf(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
               static_cast<std::size_t>(x);
    }
    // Nearly every changed pixel lies in the box already, so that test inlines.
    void AddDirty(int x0, int y0, int x1, int y1)
    {
        if (x0 >= m_dirty.left && x1 <= m_dirty.right && y0 >= m_dirty.top &&
            y1 <= m_dirty.bottom && !m_dirty.IsEmpty())
            return;
        GrowDirty(x0, y0, x1, y1);
    }
    void GrowDirty(int x0, int y0, int x1, int y1);

    CPixelFormat m_format;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<std::uint32_t> m_ownPixels;
    std::uint32_t* m_pPixels = nullptr;
    CBox m_dirty{0, 0, 0, 0};
};

}  // namespace raster

#endif  // VURAZEVEDADAR_RASTER_FRAMEBUFFER_H

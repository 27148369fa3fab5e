// A 32-bit framebuffer that remembers which pixels changed since the device last presented.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/raster.h"

namespace raster {

// Pixels are stored as 0xAABBGGRR words, that is the bytes R, G, B, A in memory on a
// little-endian machine: exactly the layout of a canvas ImageData, so a web device can hand
// the rows over without converting them. Alpha is always opaque.
class CFrameBuffer {
public:
    // Larger buffers are refused: no screen needs them, and the pixel count stays far from
    // the limits of size_t and of a browser's memory.
    static constexpr int kMaxSide = 16384;
    static constexpr long long kMaxPixels = 64LL * 1024 * 1024;

    CFrameBuffer() = default;

    // Gives the buffer a new size with every pixel black; fails (and keeps the old size)
    // for negative or oversized requests. A 0 x 0 buffer is valid and draws nothing.
    bool Resize(int nWidth, int nHeight);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    const std::uint32_t* GetPixels() const { return m_pixels.data(); }
    // The pixel at (x, y) as a COLORREF (alpha dropped); callers keep inside the buffer.
    Colour GetColour(int x, int y) const;

    void Clear(Colour colour);

    // The union of the pixels written since the last call, then forgotten: the rectangle a
    // device has to present. Empty (all zero) when nothing changed.
    CBox TakeDirty();
    const CBox& PeekDirty() const { return m_dirty; }

    static std::uint32_t PixelFromColour(Colour colour) { return colour | 0xFF000000u; }

    // For the painter: writes [x0, x1) of row y, already clipped to the buffer.
    void FillSpan(int y, int x0, int x1, std::uint32_t pixel);
    void PutPixel(int x, int y, std::uint32_t pixel);

private:
    void AddDirty(int x0, int y0, int x1, int y1);

    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<std::uint32_t> m_pixels;
    CBox m_dirty{0, 0, 0, 0};
};

}  // namespace raster

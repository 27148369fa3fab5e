// Value types shared by the software rasteriser: device points and boxes in 64-bit
// coordinates, and the colour convention. The rasteriser draws with GDI's pixel rules, so
// that a device drawing into memory shows what the Windows build shows.
#ifndef VURAZEVEDADAR_RASTER_RASTER_H
#define VURAZEVEDADAR_RASTER_RASTER_H

#include <cstdint>

namespace raster {

// Device coordinates: a logical int plus a viewport origin can leave the int range, so
// every coordinate is 64-bit and every primitive is clipped before it is iterated.
struct CPoint64 {
    long long x;
    long long y;
};

// A box in GDI's convention: left and top inside, right and bottom outside.
struct CBox {
    long long left;
    long long top;
    long long right;
    long long bottom;

    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// Colours are Win32's COLORREF values, 0x00BBGGRR; the rasteriser is plain C++ and does not
// include the Win32 headers, so it names the type itself. A value with any of the top eight
// bits set is not a colour; kNoColor stands for a null pen or a hollow brush and draws nothing.
using COLORREF = std::uint32_t;
constexpr COLORREF kNoColor = 0xFFFFFFFFu;

constexpr bool IsColor(COLORREF cr) { return (cr & 0xFF000000u) == 0; }

}  // namespace raster

#endif  // VURAZEVEDADAR_RASTER_RASTER_H

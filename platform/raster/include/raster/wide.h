// 128-bit helpers: differences of two 64-bit coordinates need 65 bits, and their products
// with a pixel offset need more; GCC and Clang (including Emscripten's) provide __int128.
#ifndef VURAZEVEDADAR_RASTER_WIDE_H
#define VURAZEVEDADAR_RASTER_WIDE_H

namespace raster {

__extension__ typedef __int128 Wide;
__extension__ typedef unsigned __int128 UWide;

inline Wide AbsWide(Wide value) { return value < 0 ? -value : value; }

// floor(a / b) for b > 0.
inline Wide FloorDiv(Wide a, Wide b)
{
    const Wide q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

inline Wide MinWide(Wide a, Wide b) { return a < b ? a : b; }
inline Wide MaxWide(Wide a, Wide b) { return a < b ? b : a; }

}  // namespace raster

#endif  // VURAZEVEDADAR_RASTER_WIDE_H

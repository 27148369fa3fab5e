// How a window's size in the compositor's logical units becomes its size in device pixels,
// which is its client area in GDI pixels: the buffer is drawn at device pixels, so that a
// one-pixel outline is one pixel of the screen at any scale. Plain arithmetic, tested alone.
#ifndef VURAZEVEDADAR_WAYLAND_SCALE_H
#define VURAZEVEDADAR_WAYLAND_SCALE_H

#include <vector>

namespace wayland {

// A fractional scale is given in 120ths (wp_fractional_scale_v1); an integer scale n is 120 n.
const int kScaleDenominator = 120;

struct CScale {
    int m_n120;         // device pixels per logical unit, in 120ths
    bool m_bFractional;  // presented through a viewport, else through the buffer scale

    static CScale Integer(int n) { return CScale{n * kScaleDenominator, false}; }
    static CScale Fractional(int n120) { return CScale{n120, true}; }
    // The wl_surface buffer scale: the integer scale, or 1 where a viewport does the scaling.
    int BufferScale() const { return m_bFractional ? 1 : m_n120 / kScaleDenominator; }
};

inline bool operator==(const CScale& a, const CScale& b)
{
    return a.m_n120 == b.m_n120 && a.m_bFractional == b.m_bFractional;
}

inline bool operator!=(const CScale& a, const CScale& b)
{
    return !(a == b);
}

// The device pixels of a logical extent: exact for an integer scale; for a fractional one
// rounded to the nearest pixel, halves up, as the fractional-scale protocol asks.
int DeviceExtent(int nLogical, const CScale& scale);
// The logical extent that comes nearest a wanted device extent, at least 1. Its device extent
// (DeviceExtent) may differ from the wanted one: an integer scale n only gives multiples of n.
int LogicalExtent(int nDevice, const CScale& scale);

// The scale a window is drawn at: the compositor's preferred fractional scale (in 120ths, 0
// when it has given none) where a viewport can show the buffer at logical size; else the
// largest integer scale of the outputs the window is on, or, while it is on none yet, of all
// outputs, one of which it will most likely appear on; 1 without any output.
CScale ChooseScale(const std::vector<int>& entered, const std::vector<int>& all,
                   int nPreferred120, bool bViewport);

}  // namespace wayland

#endif  // VURAZEVEDADAR_WAYLAND_SCALE_H

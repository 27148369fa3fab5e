// Colours as pixel values of the default visual: computed from the visual's masks on
// TrueColor, allocated in the default colour map on DirectColor.
#ifndef VURAZEVEDADAR_X11_COLORS_H
#define VURAZEVEDADAR_X11_COLORS_H

#include <windows.h>

namespace x11 {

// Where one colour component sits in a pixel value, from the visual's mask.
struct ColorChannel {
    unsigned m_nShift;
    unsigned long m_nMax;  // the mask shifted down: the component's full intensity
};

// The pixel value of a colour on the default visual.
unsigned long PixelOf(COLORREF crColor);
// Pure helpers behind PixelOf, exposed for tests.
ColorChannel ChannelFromMask(unsigned long nMask);
unsigned long ComponentToPixel(const ColorChannel& channel, unsigned nComponent);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_COLORS_H

// Colour to pixel conversion on the default visual. On TrueColor the pixel is the colour,
// scaled into the visual's red, green and blue fields. On DirectColor those fields index the
// colour map, which is not a straight ramp, so each colour is allocated once and remembered.
#include "colors.h"
#include "display.h"

#include <X11/Xutil.h>

namespace x11 {

namespace {

// A COLORREF component runs from 0 to this; an X colour component to 257 times as much.
const unsigned kComponentFull = 255;
const unsigned short kXColorScale = 257;

unsigned long ComputedPixel(const Connection& connection, COLORREF crColor)
{
    return ComponentToPixel(connection.m_red, GetRValue(crColor)) |
           ComponentToPixel(connection.m_green, GetGValue(crColor)) |
           ComponentToPixel(connection.m_blue, GetBValue(crColor));
}

// A colour that cannot be allocated (a full map) falls back to the computed pixel, which is
// the right colour wherever the map is the usual ramp.
unsigned long AllocatedPixel(Connection& connection, COLORREF crColor)
{
    for (const auto& entry : connection.m_allocatedColors) {
        if (entry.first == crColor)
            return entry.second;
    }
    XColor color = XColor();
    color.red = static_cast<unsigned short>(GetRValue(crColor) * kXColorScale);
    color.green = static_cast<unsigned short>(GetGValue(crColor) * kXColorScale);
    color.blue = static_cast<unsigned short>(GetBValue(crColor) * kXColorScale);
    color.flags = DoRed | DoGreen | DoBlue;
    Display* pDisplay = connection.m_pDisplay;
    const unsigned long nPixel =
        XAllocColor(pDisplay, DefaultColormap(pDisplay, connection.m_nScreen), &color) != 0
            ? color.pixel
            : ComputedPixel(connection, crColor);
    connection.m_allocatedColors.emplace_back(crColor, nPixel);
    return nPixel;
}

}  // namespace

ColorChannel ChannelFromMask(unsigned long nMask)
{
    ColorChannel channel = {0, 0};
    if (nMask == 0)
        return channel;
    while ((nMask & 1) == 0) {
        nMask >>= 1;
        ++channel.m_nShift;
    }
    channel.m_nMax = nMask;
    return channel;
}

// Scales 0..255 onto the channel's own range with rounding, so that full intensity fills the
// field whatever its width (a 5-bit field gets 31, not 255 spilling into its neighbour).
unsigned long ComponentToPixel(const ColorChannel& channel, unsigned nComponent)
{
    const unsigned long long nLevel = nComponent > kComponentFull ? kComponentFull : nComponent;
    const unsigned long long nScaled =
        (nLevel * channel.m_nMax + kComponentFull / 2) / kComponentFull;
    return static_cast<unsigned long>(nScaled) << channel.m_nShift;
}

unsigned long PixelOf(COLORREF crColor)
{
    Connection& connection = TheConnection();
    return connection.m_bAllocatesColors ? AllocatedPixel(connection, crColor)
                                         : ComputedPixel(connection, crColor);
}

}  // namespace x11

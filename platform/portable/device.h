// What the portable core hands a device: points and boxes in 64-bit device coordinates, the
// clip, the colours of the selected pen and brush, and the device itself, which draws GDI's
// figures into one window. Shared by the core and by every backend.
#ifndef VURAZEVEDADAR_PORTABLE_DEVICE_H
#define VURAZEVEDADAR_PORTABLE_DEVICE_H

#include <windows.h>

#include <algorithm>

namespace portable {

// A point or box on the device: a logical int plus a viewport origin int does not always fit
// an int, so device coordinates are 64-bit all the way to the backend.
struct DevicePoint {
    long long x;
    long long y;
};

inline bool operator==(const DevicePoint& a, const DevicePoint& b)
{
    return a.x == b.x && a.y == b.y;
}

inline bool operator!=(const DevicePoint& a, const DevicePoint& b)
{
    return !(a == b);
}

// A GDI box: right and bottom are exclusive, left <= right and top <= bottom once normalised.
struct DeviceBox {
    long long left;
    long long top;
    long long right;
    long long bottom;

    long long Width() const { return right - left; }
    long long Height() const { return bottom - top; }
};

// Every figure goes through these, hence inline.
inline DeviceBox NormalizeBox(long long x1, long long y1, long long x2, long long y2)
{
    return DeviceBox{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

// The box's integer centre, where GDI starts the radials of arcs and pies.
inline DevicePoint BoxCentre(const DeviceBox& box)
{
    return DevicePoint{box.left + box.Width() / 2, box.top + box.Height() / 2};
}

// A device context's clip: none, or one rectangle in device coordinates. A rectangle without
// area clips everything away.
struct ClipRect {
    bool m_bOn;
    DeviceBox m_box;
};

const ClipRect kNoClip = {false, {0, 0, 0, 0}};

// Clips are equal when they let the same pixels through: the box of a clip that is off does
// not count.
inline bool operator==(const ClipRect& a, const ClipRect& b)
{
    const DeviceBox& p = a.m_box;
    const DeviceBox& q = b.m_box;
    return a.m_bOn == b.m_bOn && (!a.m_bOn || (p.left == q.left && p.top == q.top &&
                                               p.right == q.right && p.bottom == q.bottom));
}

inline bool operator!=(const ClipRect& a, const ClipRect& b)
{
    return !(a == b);
}

// The state of the device context a figure is drawn with.
struct DrawContext {
    COLORREF m_crPen;
    COLORREF m_crBrush;
    const ClipRect& m_clip;
};

// Draws into one window. The core has already applied GDI's rules for degenerate figures: a
// line has two distinct ends, a rectangle is at least 2 x 2, an ellipse, arc or pie box has
// area. Boxes are normalised. A window system may have several kinds of device (drawing on the
// server, or into memory that is then presented), so the core reaches them through this table.
class CDevice {
public:
    // The start pixel drawn, the end pixel left out.
    virtual void Line(const DrawContext& dc, DevicePoint ptFrom, DevicePoint ptTo) = 0;
    // Outline on left..right-1 x top..bottom-1 with the pen, the inside with the brush.
    virtual void Rectangle(const DrawContext& dc, const DeviceBox& box) = 0;
    // The following return false when the box is beyond what the device can draw.
    virtual bool Ellipse(const DrawContext& dc, const DeviceBox& box) = 0;
    // Counter-clockwise from the start radial to the end radial; the whole ellipse when they
    // meet.
    virtual bool Arc(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
                     DevicePoint ptEnd) = 0;
    virtual bool Pie(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
                     DevicePoint ptEnd) = 0;
    // Clears the whole window to its class background.
    virtual void Erase() = 0;

protected:
    // Devices belong to their window's record and are never deleted through this table.
    ~CDevice() = default;
};

}  // namespace portable

// What a backend keeps of a window on its own side (an X window with its device, say). Each
// backend derives its record from this one; the core sees only the handle it belongs to and the
// device that draws into it.
struct CNativeWindow {
    HWND m_hWnd;
    portable::CDevice* m_pDevice;
};

#endif  // VURAZEVEDADAR_PORTABLE_DEVICE_H

// The device that draws with X requests on the server: GDI's figures with GDI's pixel
// conventions (see geometry.h for the conversions), into a back buffer of the window's size that
// is copied to the window once per frame, so that every frame reaches the screen whole. Used
// where the picture cannot be drawn in memory and shared with the server (a remote display),
// and for windows larger than a back buffer may be, which it draws into in place.
#ifndef VURAZEVEDADAR_X11_XLIBDEVICE_H
#define VURAZEVEDADAR_X11_XLIBDEVICE_H

#include "backend.h"
#include "display.h"
#include "geometry.h"
#include "redraws.h"

namespace x11 {

// The GC and what it was last given, as the core gave it, so that a drawing call sends only
// what has changed since the last one.
struct GcCache {
    GC m_gc;
    COLORREF m_crForeground;
    portable::ClipRect m_clip;
};

// Where one drawing request goes.
struct DrawTarget {
    Display* m_pDisplay;
    Drawable m_idDrawable;
    GC m_gc;
};

class CXlibDevice final : public portable::CDevice {
public:
    CXlibDevice(Window idWindow, const COLORREF* pcrBackground);
    ~CXlibDevice();
    CXlibDevice(const CXlibDevice&) = delete;
    CXlibDevice& operator=(const CXlibDevice&) = delete;

    // A back buffer for the new size, cleared to the background; none beyond the budget of
    // one, or when the server refuses it, and the device then draws into the window itself.
    void Resize(int nWidth, int nHeight);
    // Copies what changed since the last present from the back buffer to the window.
    void Present();
    // The window lost its pixels (an exposure): the next present copies everything.
    void Invalidate();

    void Line(const portable::DrawContext& dc, portable::DevicePoint ptFrom,
              portable::DevicePoint ptTo) override;
    void Rectangle(const portable::DrawContext& dc, const portable::DeviceBox& box) override;
    bool Ellipse(const portable::DrawContext& dc, const portable::DeviceBox& box) override;
    bool Arc(const portable::DrawContext& dc, const portable::DeviceBox& box,
             portable::DevicePoint ptStart, portable::DevicePoint ptEnd) override;
    bool Pie(const portable::DrawContext& dc, const portable::DeviceBox& box,
             portable::DevicePoint ptStart, portable::DevicePoint ptEnd) override;
    void Erase() override;

private:
    // Where a figure is to be drawn, with the GC brought to the call's clip and colour. Called
    // for every figure, which nearly always finds the GC as it needs it, so the comparison
    // inlines.
    DrawTarget PrepareDrawing(const portable::DrawContext& dc, COLORREF crColor)
    {
        if (m_gcCache.m_clip != dc.m_clip || m_gcCache.m_crForeground != crColor)
            UpdateGC(dc.m_clip, crColor);
        return DrawTarget{m_pDisplay, m_idTarget, m_gcCache.m_gc};
    }
    void UpdateGC(const portable::ClipRect& clip, COLORREF crColor);
    // Whether the figure stands in the back buffer already; gives the pixels it may touch.
    bool IsStanding(const portable::Figure& figure, portable::DeviceBox* pReach);
    // A figure goes to the server: the journal and the next present hear of its reach.
    void NoteDrawn(const portable::Figure& figure, const portable::DeviceBox& reach);
    // Notes the box a figure may touch, for the next present.
    void AddDirty(long long left, long long top, long long right, long long bottom);
    void FreeBackBuffer();
    void FillArc(const portable::DrawContext& dc, const ArcRequest& arc);
    void OutlineArc(const portable::DrawContext& dc, const ArcRequest& arc);
    void DrawPieRadii(const portable::DrawContext& dc, const ArcRequest& arc,
                      portable::DevicePoint centre);

    Display* m_pDisplay;
    Window m_idWindow;
    Pixmap m_idBackBuffer = None;
    Drawable m_idTarget;
    GcCache m_gcCache;
    GC m_gcCopy;
    bool m_bHasBackground;
    COLORREF m_crBackground;
    int m_nWidth = 0;
    int m_nHeight = 0;
    portable::CRedrawJournal m_journal;
    // The box that changed since the last present, within the window; empty when left >= right.
    DeviceBox m_dirty = {0, 0, 0, 0};
};

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_XLIBDEVICE_H

// The window's GC: made with GDI's conventions, and brought to each drawing call's clip and
// colour; erasing and flushing.
#include "x11device.h"
#include "x11display.h"
#include "x11geometry.h"

#include <algorithm>

namespace x11 {

namespace {

void ApplyClip(Display* pDisplay, GC gc, const ClipState& clip)
{
    if (!clip.m_bOn) {
        XSetClipMask(pDisplay, gc, None);
        return;
    }
    // An empty rectangle is sent as no rectangle at all, which clips every pixel away.
    XRectangle rect = clip.m_rect;
    const int nRects = rect.width != 0 && rect.height != 0 ? 1 : 0;
    XSetClipRectangles(pDisplay, gc, 0, 0, &rect, nRects, Unsorted);
}

short ClampCoord(long long v)
{
    return static_cast<short>(std::min(std::max(v, kCoordMin), kCoordMax));
}

}  // namespace

// X carries a clip rectangle in 16 bits. Edges beyond that range lie outside every window,
// so pulling them in to the range's ends changes nothing a window shows.
ClipState ClipOf(const portable::ClipRect& clip)
{
    if (!clip.m_bOn)
        return kNoClip;
    const short left = ClampCoord(clip.m_box.left);
    const short top = ClampCoord(clip.m_box.top);
    const long long width = static_cast<long long>(ClampCoord(clip.m_box.right)) - left;
    const long long height = static_cast<long long>(ClampCoord(clip.m_box.bottom)) - top;
    const XRectangle rect = {left, top, static_cast<unsigned short>(std::max(width, 0LL)),
                             static_cast<unsigned short>(std::max(height, 0LL))};
    return ClipState{true, rect};
}

GC CreateWindowGC(Display* pDisplay, Window idWindow, GcCache* pCache)
{
    XGCValues values = XGCValues();
    values.foreground = PixelOf(RGB(0, 0, 0));
    values.line_width = 0;
    values.cap_style = CapNotLast;
    values.arc_mode = ArcPieSlice;
    values.graphics_exposures = False;
    const unsigned long nMask =
        GCForeground | GCLineWidth | GCCapStyle | GCArcMode | GCGraphicsExposures;
    GC gc = CreateCountedGC(pDisplay, idWindow, nMask, &values);
    *pCache = GcCache{gc, values.foreground, kNoClip};
    return gc;
}

DrawTarget PrepareDrawing(const portable::DrawContext& dc, COLORREF crColor)
{
    Display* pDisplay = TheConnection().m_pDisplay;
    GcCache& cache = dc.m_pWindow->m_gcCache;
    const ClipState clip = ClipOf(dc.m_clip);
    if (cache.m_clip != clip) {
        ApplyClip(pDisplay, cache.m_gc, clip);
        cache.m_clip = clip;
    }
    const unsigned long nPixel = PixelOf(crColor);
    if (nPixel != cache.m_nForeground) {
        XSetForeground(pDisplay, cache.m_gc, nPixel);
        cache.m_nForeground = nPixel;
    }
    return DrawTarget{pDisplay, dc.m_pWindow->m_idWindow, cache.m_gc};
}

}  // namespace x11

namespace portable {

void DeviceErase(CNativeWindow* pWindow)
{
    XClearWindow(x11::TheConnection().m_pDisplay, pWindow->m_idWindow);
}

// Drawing requests wait in Xlib's buffer; a round trip makes sure the server has carried them
// out.
void DeviceFlush()
{
    if (x11::IsConnected())
        XSync(x11::TheConnection().m_pDisplay, False);
}

}  // namespace portable

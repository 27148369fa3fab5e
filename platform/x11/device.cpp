// The window's GC: made with GDI's conventions, and brought to each drawing call's clip and
// colour; erasing and flushing.
#include "x11device.h"
#include "x11display.h"
#include "x11geometry.h"

#include <algorithm>

namespace x11 {

namespace {

short ClampCoord(long long v)
{
    return static_cast<short>(std::min(std::max(v, kCoordMin), kCoordMax));
}

// X carries a clip rectangle in 16 bits. Edges beyond that range lie outside every window, so
// pulling them in to the range's ends changes nothing a window shows. An empty rectangle is
// sent as no rectangle at all, which clips every pixel away.
void ApplyClip(Display* pDisplay, GC gc, const portable::ClipRect& clip)
{
    if (!clip.m_bOn) {
        XSetClipMask(pDisplay, gc, None);
        return;
    }
    const short left = ClampCoord(clip.m_box.left);
    const short top = ClampCoord(clip.m_box.top);
    const long long width = static_cast<long long>(ClampCoord(clip.m_box.right)) - left;
    const long long height = static_cast<long long>(ClampCoord(clip.m_box.bottom)) - top;
    XRectangle rect = {left, top, static_cast<unsigned short>(std::max(width, 0LL)),
                       static_cast<unsigned short>(std::max(height, 0LL))};
    const int nRects = rect.width != 0 && rect.height != 0 ? 1 : 0;
    XSetClipRectangles(pDisplay, gc, 0, 0, &rect, nRects, Unsorted);
}

}  // namespace

GC CreateWindowGC(Display* pDisplay, Window idWindow, GcCache* pCache)
{
    XGCValues values = XGCValues();
    const COLORREF crBlack = RGB(0, 0, 0);
    values.foreground = PixelOf(crBlack);
    values.line_width = 0;
    values.cap_style = CapNotLast;
    values.arc_mode = ArcPieSlice;
    values.graphics_exposures = False;
    const unsigned long nMask =
        GCForeground | GCLineWidth | GCCapStyle | GCArcMode | GCGraphicsExposures;
    GC gc = CreateCountedGC(pDisplay, idWindow, nMask, &values);
    *pCache = GcCache{gc, crBlack, portable::kNoClip};
    return gc;
}

void UpdateGC(const portable::DrawContext& dc, COLORREF crColor)
{
    Display* pDisplay = TheConnection().m_pDisplay;
    GcCache& cache = dc.m_pWindow->m_gcCache;
    if (cache.m_clip != dc.m_clip) {
        ApplyClip(pDisplay, cache.m_gc, dc.m_clip);
        cache.m_clip = dc.m_clip;
    }
    if (cache.m_crForeground != crColor) {
        XSetForeground(pDisplay, cache.m_gc, PixelOf(crColor));
        cache.m_crForeground = crColor;
    }
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

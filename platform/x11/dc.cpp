// Device contexts of windows: obtaining and releasing them, painting, and keeping each window's
// one GC in step with the DC that draws.
#include "x11dc.h"
#include "x11display.h"

#include <algorithm>

using x11::LookupDC;
using x11::LookupObject;
using x11::LookupWindow;
using x11::TheState;

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

COLORREF ColorOf(HGDIOBJ hObject)
{
    const GdiObject* pObject = LookupObject(hObject);
    return pObject != nullptr ? pObject->m_crColor : RGB(0, 0, 0);
}

void Unselect(HGDIOBJ hObject)
{
    if (GdiObject* pObject = LookupObject(hObject))
        --pObject->m_nSelections;
}

}  // namespace

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

bool CanDraw(const HDC__* pDC)
{
    return LookupWindow(pDC->m_hWnd) != nullptr;
}

bool PrepareDrawing(const HDC__* pDC, COLORREF crColor, DrawTarget* pTarget)
{
    HWND__* pWindow = LookupWindow(pDC->m_hWnd);
    if (pWindow == nullptr)
        return false;
    Display* pDisplay = TheConnection().m_pDisplay;
    GcCache& cache = pWindow->m_gcCache;
    if (cache.m_clip != pDC->m_clip) {
        ApplyClip(pDisplay, cache.m_gc, pDC->m_clip);
        cache.m_clip = pDC->m_clip;
    }
    const unsigned long nPixel = PixelOf(crColor);
    if (nPixel != cache.m_nForeground) {
        XSetForeground(pDisplay, cache.m_gc, nPixel);
        cache.m_nForeground = nPixel;
    }
    *pTarget = DrawTarget{pDisplay, pWindow->m_idWindow, cache.m_gc};
    return true;
}

COLORREF PenColorOf(const HDC__* pDC)
{
    return ColorOf(pDC->m_hPen);
}

COLORREF BrushColorOf(const HDC__* pDC)
{
    return ColorOf(pDC->m_hBrush);
}

void DetachDeviceContexts(HWND hWnd)
{
    for (const auto& pDC : TheState().m_deviceContexts) {
        if (pDC->m_hWnd == hWnd)
            pDC->m_hWnd = nullptr;
    }
}

}  // namespace x11

// Every DC starts with the stock black pen and white brush selected, as on Windows.
HDC GetDC(HWND hWnd)
{
    x11::State& state = TheState();
    if (hWnd != nullptr && LookupWindow(hWnd) == nullptr)
        return nullptr;
    state.m_deviceContexts.push_back(std::make_unique<HDC__>(
        HDC__{hWnd, &state.m_stockBlackPen, &state.m_stockWhiteBrush, {0, 0}, {0, 0}, MM_TEXT,
              x11::kNoClip}));
    ++state.m_stockBlackPen.m_nSelections;
    ++state.m_stockWhiteBrush.m_nSelections;
    return state.m_deviceContexts.back().get();
}

int ReleaseDC(HWND, HDC hDC)
{
    HDC__* pDC = LookupDC(hDC);
    if (pDC == nullptr)
        return 0;
    x11::Unselect(pDC->m_hPen);
    x11::Unselect(pDC->m_hBrush);
    auto& dcs = TheState().m_deviceContexts;
    dcs.erase(std::remove_if(dcs.begin(), dcs.end(),
                             [pDC](const std::unique_ptr<HDC__>& p) { return p.get() == pDC; }),
              dcs.end());
    return 1;
}

// The server has already cleared exposed areas to the class background before sending Expose,
// which is what WM_ERASEBKGND would have done; only an invalidation that asked for erasing
// leaves the clearing to this point.
HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    *lpPaint = PAINTSTRUCT();
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr)
        return nullptr;
    if (pWindow->m_bNeedsErase)
        XClearWindow(x11::TheConnection().m_pDisplay, pWindow->m_idWindow);
    pWindow->m_bNeedsPaint = false;
    pWindow->m_bNeedsErase = false;
    lpPaint->hdc = GetDC(hWnd);
    lpPaint->fErase = FALSE;
    lpPaint->rcPaint = RECT{0, 0, pWindow->m_nClientWidth, pWindow->m_nClientHeight};
    return lpPaint->hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    return ReleaseDC(hWnd, lpPaint->hdc) != 0 ? TRUE : FALSE;
}

// Drawing requests wait in Xlib's buffer; a round trip makes sure the server has carried them
// out, so that another client reading the window's pixels sees them.
BOOL GdiFlush(void)
{
    if (x11::IsConnected())
        XSync(x11::TheConnection().m_pDisplay, False);
    return TRUE;
}

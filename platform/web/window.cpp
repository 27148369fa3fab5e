// The windows: the first one made takes the page's canvas, as a program's main window takes
// the screen; any other draws into memory only. The page decides the canvas's size, so a
// program's own size for it stands only until the page's is reported back.
#include "webpage.h"
#include "webwindow.h"

#include <algorithm>

namespace {

CNativeWindow* s_pPageWindow = nullptr;

}  // namespace

namespace web {

CNativeWindow* PageWindow()
{
    return s_pPageWindow;
}

SIZE FitFrame(int nWidth, int nHeight)
{
    const long long cx = std::max(nWidth, 1);
    const long long cy = std::max(nHeight, 1);
    // A screen beyond the framebuffer's budget is drawn at a lower resolution, both sides
    // divided by one whole factor, and the page scales the canvas up to its box: the picture
    // keeps its proportions, and each of its pixels covers the same square of the screen.
    for (long long nFactor = 1;; ++nFactor) {
        const long long w = (cx + nFactor - 1) / nFactor;
        const long long h = (cy + nFactor - 1) / nFactor;
        if (w <= raster::CFrameBuffer::kMaxSide && h <= raster::CFrameBuffer::kMaxSide &&
            w * h <= raster::CFrameBuffer::kMaxPixels)
            return SIZE{static_cast<int>(w), static_cast<int>(h)};
    }
}

SIZE ResizeFrame(CNativeWindow* pWindow, int nWidth, int nHeight)
{
    const SIZE size = FitFrame(nWidth, nHeight);
    const int cx = size.cx;
    const int cy = size.cy;
    pWindow->m_frame.Resize(cx, cy);
    if (pWindow->m_bHasBackground)
        pWindow->m_frame.Clear(pWindow->m_crBackground);
    if (pWindow->m_bOnPage)
        vz_page_set_canvas_size(cx, cy);
    return SIZE{cx, cy};
}

}  // namespace web

namespace portable {

SIZE DefaultWindowSize()
{
    vz_page_start();
    return SIZE{vz_page_width(), vz_page_height()};
}

// The page's icon is the program's own, linked by the page itself.
CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook& look)
{
    vz_page_start();
    CNativeWindow* pWindow = new CNativeWindow(hWnd);
    pWindow->m_bHasBackground = look.m_pBackground != nullptr;
    pWindow->m_crBackground = look.m_pBackground != nullptr ? *look.m_pBackground : 0;
    const LPCSTR lpszCaption = look.m_lpszCaption;
    const Placement& placement = look.m_placement;
    if (s_pPageWindow == nullptr) {
        s_pPageWindow = pWindow;
        pWindow->m_bOnPage = true;
        vz_page_show_canvas(0);
        vz_page_set_title(lpszCaption != nullptr ? lpszCaption : "");
        // The framebuffer takes the page's size; the core hears of it with the events.
        web::ResizeFrame(pWindow, vz_page_width(), vz_page_height());
        vz_page_poke();
    } else {
        web::ResizeFrame(pWindow, placement.m_nWidth, placement.m_nHeight);
    }
    return pWindow;
}

void DestroyNativeWindow(CNativeWindow* pWindow)
{
    if (pWindow == s_pPageWindow) {
        vz_page_show_canvas(0);
        s_pPageWindow = nullptr;
    }
    delete pWindow;
}

// The canvas is on the screen once the page has laid it out; a window off the page is exposed
// at once, having no screen to wait for.
void ShowNativeWindow(CNativeWindow* pWindow, int nCmdShow, bool)
{
    if (!pWindow->m_bOnPage) {
        if (nCmdShow != SW_HIDE)
            NotifyExposed(pWindow->m_hWnd);
        return;
    }
    vz_page_show_canvas(nCmdShow != SW_HIDE);
    if (nCmdShow == SW_HIDE)
        return;
    pWindow->m_bExposePending = true;
    vz_page_poke();
}

// The page keeps the canvas's size: the loop reports it back to the core, which took the
// program's size meanwhile.
void MoveNativeWindow(CNativeWindow* pWindow, int, int, int nWidth, int nHeight)
{
    if (pWindow->m_bOnPage)
        vz_page_poke();
    else
        web::ResizeFrame(pWindow, nWidth, nHeight);
}

// The canvas fills the page from its top-left corner.
bool NativeWindowOrigin(CNativeWindow*, POINT* pOrigin)
{
    *pOrigin = POINT{0, 0};
    return true;
}

}  // namespace portable

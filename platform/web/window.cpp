// The windows: the first one made takes the page's canvas, as a program's main window takes
// the screen; any other draws into memory only. The page decides the canvas's size, so a
// program's own size for it stands only until the page's is reported back.
#include "webpage.h"
#include "webwindow.h"

#include <algorithm>

namespace {

web::CWebWindow* s_pPageWindow = nullptr;

web::CWebWindow* AsWebWindow(CNativeWindow* pWindow)
{
    return static_cast<web::CWebWindow*>(pWindow);
}

}  // namespace

namespace web {

CWebWindow::CWebWindow(HWND hWnd, const COLORREF* pcrBackground)
    : CNativeWindow{hWnd, &m_device}, m_device(*this, raster::kRgbaFormat, pcrBackground)
{
}

// Off the page a window draws into memory only.
void CWebWindow::Present(const raster::CFrameBuffer& frame, const raster::CBox& box)
{
    if (!m_bOnPage)
        return;
    // The box lies within the framebuffer, whose sides fit an int.
    vz_page_present(frame.GetPixels(), frame.GetWidth(), frame.GetHeight(),
                    static_cast<int>(box.left), static_cast<int>(box.top),
                    static_cast<int>(box.right - box.left), static_cast<int>(box.bottom - box.top));
}

CWebWindow* PageWindow()
{
    return s_pPageWindow;
}

void PresentPageWindow()
{
    if (s_pPageWindow != nullptr)
        s_pPageWindow->Device().Present();
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

SIZE ResizeFrame(CWebWindow* pWindow, int nWidth, int nHeight)
{
    const SIZE size = FitFrame(nWidth, nHeight);
    const int cx = size.cx;
    const int cy = size.cy;
    pWindow->Device().Resize(cx, cy);
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

// A window's pixels are one framebuffer.
int MaxWindowExtent()
{
    return raster::CFrameBuffer::kMaxSide;
}

// The page's icon is the program's own, linked by the page itself.
CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook& look)
{
    vz_page_start();
    web::CWebWindow* pWindow = new web::CWebWindow(hWnd, look.m_pBackground);
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

void DestroyNativeWindow(CNativeWindow* pNative)
{
    web::CWebWindow* pWindow = AsWebWindow(pNative);
    if (pWindow == s_pPageWindow) {
        vz_page_show_canvas(0);
        s_pPageWindow = nullptr;
    }
    delete pWindow;
}

// The canvas is on the screen once the page has laid it out; a window off the page is exposed
// at once, having no screen to wait for.
void ShowNativeWindow(CNativeWindow* pNative, ShowCommand command, bool)
{
    web::CWebWindow* pWindow = AsWebWindow(pNative);
    const bool bShow = command != ShowCommand::Hide;
    if (!pWindow->m_bOnPage) {
        if (bShow)
            NotifyExposed(pWindow->m_hWnd);
        return;
    }
    vz_page_show_canvas(bShow ? 1 : 0);
    if (!bShow)
        return;
    pWindow->m_bExposePending = true;
    vz_page_poke();
}

// The page keeps the canvas's size: the loop reports it back to the core, which took the
// program's size meanwhile.
void MoveNativeWindow(CNativeWindow* pNative, int, int, int nWidth, int nHeight)
{
    web::CWebWindow* pWindow = AsWebWindow(pNative);
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

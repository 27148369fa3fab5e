// What the web backend keeps of a window: a raster device drawing into a framebuffer, and, for
// the one window that owns the page's canvas, what the page has been told and has reported.
#ifndef VURAZEVEDADAR_WEB_WINDOW_H
#define VURAZEVEDADAR_WEB_WINDOW_H

#include "backend.h"

#include <raster/rasterdevice.h>

namespace web {

// The page presents a rectangle by copying it into the canvas; the framebuffer is laid out as
// the canvas's ImageData, so nothing is converted.
class CWebWindow : public CNativeWindow, private raster::CPresenter {
public:
    CWebWindow(HWND hWnd, const COLORREF* pcrBackground);
    CWebWindow(const CWebWindow&) = delete;
    CWebWindow& operator=(const CWebWindow&) = delete;

    raster::CRasterDevice& Device() { return m_device; }

    bool m_bOnPage = false;         // draws into the page's canvas; every other window is off screen
    bool m_bExposePending = false;  // shown, waiting for the page to lay the canvas out

private:
    std::uint32_t* ProvidePixels(int, int) override { return nullptr; }
    void FinishPresenting() override {}
    void Present(const raster::CFrameBuffer& frame, const raster::CBox& box) override;

    raster::CRasterDevice m_device;
};

// The window that owns the canvas, or null.
CWebWindow* PageWindow();
// The framebuffer size that shows a window of this size: the same, or smaller by a whole
// factor where the window is beyond what a framebuffer can hold.
SIZE FitFrame(int nWidth, int nHeight);
// Gives the window's framebuffer a new size, cleared to the window's background; the size is
// first fitted (FitFrame). Gives the size taken.
SIZE ResizeFrame(CWebWindow* pWindow, int nWidth, int nHeight);
// Shows what changed in the page window's framebuffer since the last time.
void PresentPageWindow();

}  // namespace web

#endif  // VURAZEVEDADAR_WEB_WINDOW_H

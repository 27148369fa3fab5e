// What the web backend keeps of a window: a framebuffer drawn with GDI's pixel rules, and, for
// the one window that owns the page's canvas, what the page has been told and has reported.
#ifndef VURAZEVEDADAR_WEB_WINDOW_H
#define VURAZEVEDADAR_WEB_WINDOW_H

#include "backend.h"

#include <raster/framebuffer.h>
#include <raster/painter.h>

struct CNativeWindow {
    explicit CNativeWindow(HWND hWnd) : m_hWnd(hWnd), m_painter(m_frame) {}
    CNativeWindow(const CNativeWindow&) = delete;
    CNativeWindow& operator=(const CNativeWindow&) = delete;

    HWND m_hWnd;
    raster::CFrameBuffer m_frame;
    raster::CPainter m_painter;
    bool m_bHasBackground = false;
    COLORREF m_crBackground = 0;
    bool m_bOnPage = false;        // draws into the page's canvas; every other window is off screen
    bool m_bExposePending = false;  // shown, waiting for the page to lay the canvas out
};

namespace web {

// The window that owns the canvas, or null.
CNativeWindow* PageWindow();
// The framebuffer size that shows a window of this size: the same, or smaller by a whole
// factor where the window is beyond what a framebuffer can hold.
SIZE FitFrame(int nWidth, int nHeight);
// Gives the window's framebuffer a new size, cleared to the window's background; the size is
// first fitted (FitFrame). Gives the size taken.
SIZE ResizeFrame(CNativeWindow* pWindow, int nWidth, int nHeight);
// Shows what changed in the page window's framebuffer since the last time.
void PresentPageWindow();

}  // namespace web

#endif  // VURAZEVEDADAR_WEB_WINDOW_H

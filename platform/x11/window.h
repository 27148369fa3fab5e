// What the x11 backend keeps of a window: the X window, and the device that draws into it. A
// window is drawn in memory and shared with the server where the server takes shared memory
// (a local display), and by X requests into a back buffer elsewhere; either way a frame
// reaches the screen in one request, when the program waits.
#ifndef VURAZEVEDADAR_X11_WINDOW_H
#define VURAZEVEDADAR_X11_WINDOW_H

#include "backend.h"
#include "shmsurface.h"
#include "xlibdevice.h"

#include <X11/Xlib.h>

#include <memory>

namespace x11 {

class CX11Window final : public CNativeWindow {
public:
    CX11Window(HWND hWnd, Window idWindow, const COLORREF* pcrBackground);
    ~CX11Window();
    CX11Window(const CX11Window&) = delete;
    CX11Window& operator=(const CX11Window&) = delete;

    Window GetId() const { return m_idWindow; }
    // Brings the device to the window's size; a frame too large for memory is drawn by X
    // requests in place.
    void Resize(int nWidth, int nHeight);
    void Present();
    // The server has cleared part of the window: the next present shows the whole frame.
    void Invalidate();
    bool TakeCompletion(const XEvent& event);
    // Whether the server may still be reading the window's last shared-memory frame.
    bool IsFrameBeingRead() const;
    // The server has shown the window and asked for its first paint.
    void NoteExposed() { m_bExposed = true; }
    bool WasExposed() const { return m_bExposed; }

private:
    Window m_idWindow;
    int m_nWidth = 0;
    int m_nHeight = 0;
    CXlibDevice m_xlib;
    std::unique_ptr<CShmSurface> m_pShm;  // null where the server takes no shared memory
    bool m_bExposed = false;
};

// The backend's window for an X window; null for another client's.
CX11Window* FindWindow(Window idWindow);
// Presents every window's frame.
void PresentWindows();
// Whether a wait may leave the connection unwatched until its deadline: the server may still
// be reading a window's last frame, and every window has had its first exposure.
bool CanWaitUnwatched();
// Gives the server's completion event to the window it belongs to; false when it is none.
bool TakeCompletion(const XEvent& event);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_WINDOW_H

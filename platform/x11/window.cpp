// The X windows behind the core's windows: creation with the properties a window manager
// reads, their devices, showing and hiding, moving, and where a window is on the screen.
#include "window.h"
#include "colors.h"
#include "display.h"
#include "geometry.h"
#include "resources.h"
#include "windowprops.h"
#include "x11backend.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

namespace {

// The backend's windows, for finding the one an event is for.
std::vector<x11::CX11Window*>& TheWindows()
{
    static std::vector<x11::CX11Window*> s_windows;
    return s_windows;
}

x11::CX11Window* AsX11Window(CNativeWindow* pWindow)
{
    return static_cast<x11::CX11Window*>(pWindow);
}

Window CreateXWindow(const portable::Placement& placement, const COLORREF* pBackground)
{
    const x11::Connection& connection = x11::TheConnection();
    XSetWindowAttributes attributes = XSetWindowAttributes();
    attributes.event_mask = ExposureMask | StructureNotifyMask;
    unsigned long nMask = CWEventMask;
    // The server then clears exposed areas before sending Expose, which stands in for
    // WM_ERASEBKGND.
    if (pBackground != nullptr) {
        attributes.background_pixel = x11::PixelOf(*pBackground);
        nMask |= CWBackPixel;
    }
    return x11::CreateCountedWindow(connection.m_pDisplay, connection.m_idRoot, placement.m_x,
                                    placement.m_y, static_cast<unsigned>(placement.m_nWidth),
                                    static_cast<unsigned>(placement.m_nHeight), nMask,
                                    &attributes);
}

void DescribeWindow(Window idWindow, const portable::NativeWindowLook& look)
{
    x11::SetWindowCaption(idWindow, look.m_lpszCaption);
    x11::SetStandardProperties(idWindow, false);
    x11::SetWindowIcon(idWindow, look.m_pIcon);
    x11::SetSizeHints(idWindow, look.m_placement, false);
    if (look.m_pOwner != nullptr)
        XSetTransientForHint(x11::TheConnection().m_pDisplay, idWindow,
                             AsX11Window(look.m_pOwner)->GetId());
}

}  // namespace

namespace x11 {

CX11Window::CX11Window(HWND hWnd, Window idWindow, const COLORREF* pcrBackground)
    : CNativeWindow{hWnd, nullptr},
      m_idWindow(idWindow),
      m_xlib(idWindow, pcrBackground),
      m_pShm(UsesSharedMemory() ? std::make_unique<CShmSurface>(idWindow, pcrBackground)
                                : nullptr)
{
    m_pDevice = &m_xlib;
    TheWindows().push_back(this);
}

CX11Window::~CX11Window()
{
    auto& windows = TheWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

void CX11Window::Resize(int nWidth, int nHeight)
{
    if (nWidth == m_nWidth && nHeight == m_nHeight)
        return;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    if (m_pShm != nullptr && m_pShm->Resize(nWidth, nHeight)) {
        m_pDevice = &m_pShm->Device();
        return;
    }
    m_pDevice = &m_xlib;
    m_xlib.Resize(nWidth, nHeight);
}

void CX11Window::Present()
{
    if (m_pDevice == &m_xlib)
        m_xlib.Present();
    else
        m_pShm->Present();
}

void CX11Window::Invalidate()
{
    if (m_pDevice == &m_xlib)
        m_xlib.Invalidate();
    else
        m_pShm->Invalidate();
}

bool CX11Window::IsFrameBeingRead() const
{
    return m_pShm != nullptr && m_pShm->IsBeingRead();
}

bool CX11Window::TakeCompletion(const XEvent& event)
{
    return m_pShm != nullptr && m_pShm->TakeCompletion(event);
}

CX11Window* FindWindow(Window idWindow)
{
    for (CX11Window* pWindow : TheWindows()) {
        if (pWindow->GetId() == idWindow)
            return pWindow;
    }
    return nullptr;
}

// Until a window's first exposure comes, the picture the user waits for is the paint that
// answers it, so that exposure must not wait for the next tick.
bool CanWaitUnwatched()
{
    bool bBeingRead = false;
    for (CX11Window* pWindow : TheWindows()) {
        if (!pWindow->WasExposed())
            return false;
        bBeingRead = bBeingRead || pWindow->IsFrameBeingRead();
    }
    return bBeingRead;
}

void PresentWindows()
{
    for (CX11Window* pWindow : TheWindows())
        pWindow->Present();
}

bool TakeCompletion(const XEvent& event)
{
    for (CX11Window* pWindow : TheWindows()) {
        if (pWindow->TakeCompletion(event))
            return true;
    }
    return false;
}

CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook& look)
{
    const Window idWindow = CreateXWindow(look.m_placement, look.m_pBackground);
    if (idWindow == None)
        return nullptr;
    auto* pWindow = new x11::CX11Window(hWnd, idWindow, look.m_pBackground);
    pWindow->Resize(look.m_placement.m_nWidth, look.m_placement.m_nHeight);
    DescribeWindow(idWindow, look);
    return pWindow;
}

// The devices go first: they still use the X window.
void DestroyNativeWindow(CNativeWindow* pNative)
{
    Display* pDisplay = x11::TheConnection().m_pDisplay;
    const Window idWindow = AsX11Window(pNative)->GetId();
    delete AsX11Window(pNative);
    x11::DestroyCountedWindow(pDisplay, idWindow);
    // The program may end right after its last window: the window must leave the screen now.
    XFlush(pDisplay);
}

int MaxWindowExtent()
{
    return static_cast<int>(x11::kCoordMax);
}

// Mapping a window asks the window manager to show it; the server exposes it once it is on
// the screen, and that exposure is what the first paint waits for.
void ShowNativeWindow(CNativeWindow* pNative, ShowCommand command, bool bWasHidden)
{
    const x11::Connection& connection = x11::TheConnection();
    const Window idWindow = AsX11Window(pNative)->GetId();
    if (command == ShowCommand::Hide) {
        XUnmapWindow(connection.m_pDisplay, idWindow);
        return;
    }
    const bool bIconic = command == ShowCommand::Minimize;
    if (bIconic && !bWasHidden) {
        XIconifyWindow(connection.m_pDisplay, idWindow, connection.m_nScreen);
        return;
    }
    if (bWasHidden)
        x11::SetInitialState(idWindow, bIconic);
    // Mapping an iconified window is also how a client asks to have it restored.
    XMapWindow(connection.m_pDisplay, idWindow);
}

// The core takes the new size at once, and so does the device, so that a paint before the
// server confirms it already fits.
void MoveNativeWindow(CNativeWindow* pNative, int x, int y, int nWidth, int nHeight)
{
    x11::CX11Window* pWindow = AsX11Window(pNative);
    XMoveResizeWindow(x11::TheConnection().m_pDisplay, pWindow->GetId(), x, y,
                      static_cast<unsigned>(nWidth), static_cast<unsigned>(nHeight));
    pWindow->Resize(nWidth, nHeight);
}

bool NativeWindowOrigin(CNativeWindow* pNative, POINT* pOrigin)
{
    const x11::Connection& connection = x11::TheConnection();
    int x = 0;
    int y = 0;
    Window idChild = None;
    if (!XTranslateCoordinates(connection.m_pDisplay, AsX11Window(pNative)->GetId(),
                               connection.m_idRoot,
                               0, 0, &x, &y, &idChild))
        return false;
    *pOrigin = POINT{x, y};
    return true;
}

}  // namespace x11

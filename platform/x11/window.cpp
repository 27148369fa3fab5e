// The X windows behind the core's windows: creation with the properties a window manager
// reads, showing and hiding, moving, and where a window is on the screen.
#include "x11device.h"
#include "x11display.h"
#include "x11windowprops.h"

#include <X11/Xutil.h>

namespace {

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
    if (const HWND__* pOwner = portable::LookupWindow(look.m_hWndOwner))
        XSetTransientForHint(x11::TheConnection().m_pDisplay, idWindow,
                             pOwner->m_pNative->m_idWindow);
}

bool IsMinimizeCommand(int nCmdShow)
{
    return nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_MINIMIZE;
}

}  // namespace

namespace portable {

CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook& look)
{
    const Window idWindow = CreateXWindow(look.m_placement, look.m_pBackground);
    if (idWindow == None)
        return nullptr;
    CNativeWindow* pWindow = new CNativeWindow{hWnd, idWindow, x11::GcCache()};
    x11::CreateWindowGC(x11::TheConnection().m_pDisplay, idWindow, &pWindow->m_gcCache);
    DescribeWindow(idWindow, look);
    return pWindow;
}

void DestroyNativeWindow(CNativeWindow* pWindow)
{
    Display* pDisplay = x11::TheConnection().m_pDisplay;
    x11::FreeCountedGC(pDisplay, pWindow->m_gcCache.m_gc);
    x11::DestroyCountedWindow(pDisplay, pWindow->m_idWindow);
    // The program may end right after its last window: the window must leave the screen now.
    XFlush(pDisplay);
    delete pWindow;
}

// Mapping a window asks the window manager to show it; the server exposes it once it is on
// the screen, and that exposure is what the first paint waits for.
void ShowNativeWindow(CNativeWindow* pWindow, int nCmdShow, bool bWasHidden)
{
    const x11::Connection& connection = x11::TheConnection();
    if (nCmdShow == SW_HIDE) {
        XUnmapWindow(connection.m_pDisplay, pWindow->m_idWindow);
        return;
    }
    const bool bIconic = IsMinimizeCommand(nCmdShow);
    if (bIconic && !bWasHidden) {
        XIconifyWindow(connection.m_pDisplay, pWindow->m_idWindow, connection.m_nScreen);
        return;
    }
    if (bWasHidden)
        x11::SetInitialState(pWindow->m_idWindow, bIconic);
    // Mapping an iconified window is also how a client asks to have it restored.
    XMapWindow(connection.m_pDisplay, pWindow->m_idWindow);
}

void MoveNativeWindow(CNativeWindow* pWindow, int x, int y, int nWidth, int nHeight)
{
    XMoveResizeWindow(x11::TheConnection().m_pDisplay, pWindow->m_idWindow, x, y,
                      static_cast<unsigned>(nWidth), static_cast<unsigned>(nHeight));
}

bool NativeWindowOrigin(CNativeWindow* pWindow, POINT* pOrigin)
{
    const x11::Connection& connection = x11::TheConnection();
    int x = 0;
    int y = 0;
    Window idChild = None;
    if (!XTranslateCoordinates(connection.m_pDisplay, pWindow->m_idWindow, connection.m_idRoot,
                               0, 0, &x, &y, &idChild))
        return false;
    *pOrigin = POINT{x, y};
    return true;
}

}  // namespace portable

// Top-level windows: creation with the messages Windows sends, showing,
// the first paint, size and position, and destruction.
#include "x11dc.h"
#include "x11display.h"
#include "x11events.h"
#include "x11messages.h"
#include "x11state.h"
#include "x11timers.h"
#include "x11windowprops.h"

#include <X11/Xutil.h>

#include <algorithm>

using x11::LookupWindow;
using x11::Placement;
using x11::TheConnection;
using x11::TheState;

namespace {


// A window the system sizes gets three quarters of the screen in each direction.
const int kDefaultSizeNumerator = 3;
const int kDefaultSizeDenominator = 4;
// X refuses windows without area, and coordinates inside a window are 16-bit.
const long long kMinWindowExtent = 1;
const long long kMaxWindowExtent = 32767;
// How long UpdateWindow waits for the window manager to put a new window on the screen.
const long long kFirstExposeTimeout = 2000 * x11::kNanosecondsPerMillisecond;
// System-colour brushes are the colour's index plus one; real brushes are pointers, far above.
const UINT_PTR kLastSysColorBrush = 64;

int ClampExtent(long long n)
{
    return static_cast<int>(std::min(std::max(n, kMinWindowExtent), kMaxWindowExtent));
}

int ClampPosition(long long n)
{
    return static_cast<int>(std::min(std::max(n, -kMaxWindowExtent - 1), kMaxWindowExtent));
}

Placement PlaceWindow(int x, int y, int nWidth, int nHeight)
{
    const x11::Connection& connection = TheConnection();
    Placement placement = {0, 0, 0, 0, x != CW_USEDEFAULT};
    if (placement.m_bPositioned) {
        placement.m_x = ClampPosition(x);
        placement.m_y = ClampPosition(y);
    }
    // As on Windows, a default width makes the height default too.
    if (nWidth == CW_USEDEFAULT) {
        nWidth = connection.m_nScreenWidth * kDefaultSizeNumerator / kDefaultSizeDenominator;
        nHeight = connection.m_nScreenHeight * kDefaultSizeNumerator / kDefaultSizeDenominator;
    }
    placement.m_nWidth = ClampExtent(nWidth);
    placement.m_nHeight = ClampExtent(nHeight);
    return placement;
}

// The background the server clears exposed areas to, standing in for WM_ERASEBKGND. Only the
// window colour among the system colours exists here: white, as Windows has it by default.
void SetBackground(HBRUSH hbrBackground, XSetWindowAttributes* pAttributes, unsigned long* pMask)
{
    if (hbrBackground == nullptr)
        return;
    COLORREF crBackground = RGB(255, 255, 255);
    const x11::GdiObject* pBrush = x11::LookupObject(hbrBackground);
    if (pBrush != nullptr && pBrush->m_kind == x11::ObjectKind::Brush)
        crBackground = pBrush->m_crColor;
    else if (reinterpret_cast<UINT_PTR>(hbrBackground) > kLastSysColorBrush)
        return;
    pAttributes->background_pixel = x11::PixelOf(crBackground);
    *pMask |= CWBackPixel;
}

Window CreateXWindow(const WNDCLASS& wndcls, const Placement& placement)
{
    const x11::Connection& connection = TheConnection();
    XSetWindowAttributes attributes = XSetWindowAttributes();
    attributes.event_mask = ExposureMask | StructureNotifyMask;
    unsigned long nMask = CWEventMask;
    SetBackground(wndcls.hbrBackground, &attributes, &nMask);
    return x11::CreateCountedWindow(connection.m_pDisplay, connection.m_idRoot, placement.m_x,
                                    placement.m_y, static_cast<unsigned>(placement.m_nWidth),
                                    static_cast<unsigned>(placement.m_nHeight), nMask,
                                    &attributes);
}

HWND__* NewWindow(const WNDCLASS& wndcls, const Placement& placement)
{
    const Window idWindow = CreateXWindow(wndcls, placement);
    if (idWindow == None)
        return nullptr;
    auto pWindow = std::make_unique<HWND__>();
    pWindow->m_idWindow = idWindow;
    pWindow->m_pfnWndProc = wndcls.lpfnWndProc;
    pWindow->m_nClientWidth = placement.m_nWidth;
    pWindow->m_nClientHeight = placement.m_nHeight;
    pWindow->m_bVisible = false;
    pWindow->m_bIconic = false;
    pWindow->m_bAwaitingExpose = false;
    pWindow->m_bNeedsPaint = false;
    pWindow->m_bNeedsErase = false;
    pWindow->m_bDestroying = false;
    x11::CreateWindowGC(TheConnection().m_pDisplay, idWindow, &pWindow->m_gcCache);
    TheState().m_windows.push_back(std::move(pWindow));
    return TheState().m_windows.back().get();
}

void DescribeWindow(const HWND__* pWindow, LPCSTR lpWindowName, const Placement& placement,
                    HWND hWndOwner)
{
    const x11::Connection& connection = TheConnection();
    x11::SetWindowCaption(pWindow->m_idWindow, lpWindowName);
    x11::SetStandardProperties(pWindow->m_idWindow, false);
    x11::SetSizeHints(pWindow->m_idWindow, placement, false);
    if (const HWND__* pOwner = LookupWindow(hWndOwner))
        XSetTransientForHint(connection.m_pDisplay, pWindow->m_idWindow, pOwner->m_idWindow);
}

void FreeWindow(HWND__* pWindow)
{
    x11::ForgetTimers(pWindow);
    x11::ForgetPostedMessages(pWindow);
    x11::DetachDeviceContexts(pWindow);
    Display* pDisplay = TheConnection().m_pDisplay;
    x11::FreeCountedGC(pDisplay, pWindow->m_gcCache.m_gc);
    x11::DestroyCountedWindow(pDisplay, pWindow->m_idWindow);
    // The program may end right after its last window: the window must leave the screen now.
    XFlush(pDisplay);
    auto& windows = TheState().m_windows;
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [pWindow](const std::unique_ptr<HWND__>& p) {
                                     return p.get() == pWindow;
                                 }),
                  windows.end());
}

// No window procedure runs while waiting, so the window cannot go away under the loop.
void WaitForFirstExposure(HWND__* pWindow)
{
    const long long nsGiveUp = x11::MonotonicNow() + kFirstExposeTimeout;
    for (;;) {
        x11::ProcessPendingEvents();
        if (!pWindow->m_bAwaitingExpose || x11::MonotonicNow() >= nsGiveUp)
            return;
        x11::WaitForInput(nsGiveUp);
    }
}

bool IsMinimizeCommand(int nCmdShow)
{
    return nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_MINIMIZE;
}

}  // namespace

HWND CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                    HINSTANCE hInstance, LPVOID lpParam)
{
    WNDCLASS wndcls;
    if (!GetClassInfo(hInstance, lpClassName, &wndcls))
        return nullptr;
    const Placement placement = PlaceWindow(x, y, nWidth, nHeight);
    HWND hWnd = NewWindow(wndcls, placement);
    if (hWnd == nullptr)
        return nullptr;
    DescribeWindow(hWnd, lpWindowName, placement, hWndParent);
    CREATESTRUCT cs = {lpParam, hInstance, hMenu, hWndParent, placement.m_nHeight,
                       placement.m_nWidth, placement.m_y, placement.m_x,
                       static_cast<LONG>(dwStyle), lpWindowName, lpClassName, dwExStyle};
    const LPARAM lParam = reinterpret_cast<LPARAM>(&cs);
    if (!SendMessage(hWnd, WM_NCCREATE, 0, lParam)) {
        SendMessage(hWnd, WM_NCDESTROY, 0, 0);
        FreeWindow(hWnd);
        return nullptr;
    }
    if (SendMessage(hWnd, WM_CREATE, 0, lParam) == -1) {
        DestroyWindow(hWnd);
        return nullptr;
    }
    if (!IsWindow(hWnd))
        return nullptr;
    if ((dwStyle & WS_VISIBLE) != 0)
        ShowWindow(hWnd, SW_SHOW);
    return hWnd;
}

BOOL DestroyWindow(HWND hWnd)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr || pWindow->m_bDestroying)
        return FALSE;
    pWindow->m_bDestroying = true;
    SendMessage(hWnd, WM_DESTROY, 0, 0);
    SendMessage(hWnd, WM_NCDESTROY, 0, 0);
    FreeWindow(pWindow);
    return TRUE;
}

BOOL IsWindow(HWND hWnd)
{
    return LookupWindow(hWnd) != nullptr ? TRUE : FALSE;
}

// Mapping a window asks the window manager to show it; the server exposes it once it is on
// the screen, and that exposure is what the first paint waits for.
BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr)
        return FALSE;
    Display* pDisplay = TheConnection().m_pDisplay;
    const BOOL bWasVisible = pWindow->m_bVisible ? TRUE : FALSE;
    if (nCmdShow == SW_HIDE) {
        if (bWasVisible)
            XUnmapWindow(pDisplay, pWindow->m_idWindow);
        pWindow->m_bVisible = false;
        return bWasVisible;
    }
    const bool bIconic = IsMinimizeCommand(nCmdShow);
    if (bIconic && bWasVisible) {
        XIconifyWindow(pDisplay, pWindow->m_idWindow, TheConnection().m_nScreen);
    } else {
        if (!bWasVisible)
            x11::SetInitialState(pWindow->m_idWindow, bIconic);
        // Mapping an iconified window is also how a client asks to have it restored.
        XMapWindow(pDisplay, pWindow->m_idWindow);
    }
    if (!bWasVisible) {
        pWindow->m_bNeedsPaint = true;
        pWindow->m_bAwaitingExpose = true;
    }
    pWindow->m_bVisible = true;
    pWindow->m_bIconic = bIconic;
    return bWasVisible;
}

// The first paint of a new window happens here, before the caller goes on, as on Windows; but
// drawing before the window is on the screen would be lost, so it waits for the exposure
// first. A window manager that never shows the window only delays the paint, by a bounded time.
BOOL UpdateWindow(HWND hWnd)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr)
        return FALSE;
    if (!pWindow->m_bVisible || !pWindow->m_bNeedsPaint)
        return TRUE;
    if (pWindow->m_bAwaitingExpose && !pWindow->m_bIconic)
        WaitForFirstExposure(pWindow);
    if (pWindow->m_bNeedsPaint)
        SendMessage(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

// A paint DC here is not clipped to an update region, so the whole window is invalidated
// whatever the rectangle.
BOOL InvalidateRect(HWND hWnd, const RECT*, BOOL bErase)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr)
        return FALSE;
    pWindow->m_bNeedsPaint = true;
    if (bErase)
        pWindow->m_bNeedsErase = true;
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    const HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr)
        return FALSE;
    *lpRect = RECT{0, 0, pWindow->m_nClientWidth, pWindow->m_nClientHeight};
    return TRUE;
}

// The frame belongs to the window manager and is not known here: the rectangle is the client
// area's, on the root window.
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    const HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr)
        return FALSE;
    const x11::Connection& connection = TheConnection();
    int x = 0;
    int y = 0;
    Window idChild = None;
    if (!XTranslateCoordinates(connection.m_pDisplay, pWindow->m_idWindow, connection.m_idRoot,
                               0, 0, &x, &y, &idChild))
        return FALSE;
    // Root coordinates of a window are 16-bit, so the sums stay far inside a LONG.
    *lpRect = RECT{x, y, x + pWindow->m_nClientWidth, y + pWindow->m_nClientHeight};
    return TRUE;
}

// The new size is taken at once, so that a paint before the server's ConfigureNotify already
// fits it; that notification then finds the size unchanged. The exposure the server sends for
// the resized window may still bring one more paint, which only repeats the picture.
BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr || nWidth < 0 || nHeight < 0)
        return FALSE;
    const int nNewWidth = ClampExtent(nWidth);
    const int nNewHeight = ClampExtent(nHeight);
    XMoveResizeWindow(TheConnection().m_pDisplay, pWindow->m_idWindow, ClampPosition(X),
                      ClampPosition(Y), static_cast<unsigned>(nNewWidth),
                      static_cast<unsigned>(nNewHeight));
    const bool bResized =
        nNewWidth != pWindow->m_nClientWidth || nNewHeight != pWindow->m_nClientHeight;
    pWindow->m_nClientWidth = nNewWidth;
    pWindow->m_nClientHeight = nNewHeight;
    if (bRepaint || bResized)
        pWindow->m_bNeedsPaint = true;
    return TRUE;
}

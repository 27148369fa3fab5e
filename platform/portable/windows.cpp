// Top-level windows: creation with the messages Windows sends, showing, the first paint, size
// and position, invalidation, destruction, and what the window system reports about them.
#include "core.h"

#include <coreprobe.h>

#include <algorithm>

using portable::LookupWindow;
using portable::TheState;

namespace {

// Windows have at least one pixel each way; how large they may be is the window system's say.
const long long kMinWindowExtent = 1;
// How long UpdateWindow waits for the window system to put a new window on the screen.
const long long kFirstExposeTimeout = 2000 * portable::kNanosecondsPerMillisecond;
// System-colour brushes are the colour's index plus one; real brushes are pointers, far above.
const UINT_PTR kLastSysColorBrush = 64;
// The one system colour a class background names here: the window colour, white by default.
const COLORREF kWindowColor = RGB(255, 255, 255);

int ClampExtent(long long n)
{
    const long long nMax = portable::MaxWindowExtent();
    return static_cast<int>(std::min(std::max(n, kMinWindowExtent), nMax));
}

int ClampPosition(long long n)
{
    const long long nMax = portable::MaxWindowExtent();
    return static_cast<int>(std::min(std::max(n, -nMax - 1), nMax));
}

portable::Placement PlaceWindow(int x, int y, int nWidth, int nHeight)
{
    portable::Placement placement = {0, 0, 0, 0, x != CW_USEDEFAULT};
    if (placement.m_bPositioned) {
        placement.m_x = ClampPosition(x);
        placement.m_y = ClampPosition(y);
    }
    // As on Windows, a default width makes the height default too.
    if (nWidth == CW_USEDEFAULT) {
        const SIZE size = portable::DefaultWindowSize();
        nWidth = size.cx;
        nHeight = size.cy;
    }
    placement.m_nWidth = ClampExtent(nWidth);
    placement.m_nHeight = ClampExtent(nHeight);
    return placement;
}

// The colour exposed areas are cleared to, standing in for WM_ERASEBKGND; false for a class
// without a background.
bool BackgroundOf(HBRUSH hbrBackground, COLORREF* pcrBackground)
{
    if (hbrBackground == nullptr)
        return false;
    const portable::GdiObject* pBrush = portable::LookupObject(hbrBackground);
    if (pBrush != nullptr && pBrush->m_kind == portable::ObjectKind::Brush) {
        *pcrBackground = pBrush->m_crColor;
        return true;
    }
    *pcrBackground = kWindowColor;
    return reinterpret_cast<UINT_PTR>(hbrBackground) <= kLastSysColorBrush;
}

HWND__* NewWindow(const WNDCLASS& wndcls, LPCSTR lpWindowName, DWORD dwStyle,
                  const portable::Placement& placement, HWND hWndOwner)
{
    auto pWindow = std::make_unique<HWND__>();
    pWindow->m_pfnWndProc = wndcls.lpfnWndProc;
    pWindow->m_title = lpWindowName != nullptr ? lpWindowName : "";
    pWindow->m_dwStyle = dwStyle;
    pWindow->m_nClientWidth = placement.m_nWidth;
    pWindow->m_nClientHeight = placement.m_nHeight;
    pWindow->m_bVisible = false;
    pWindow->m_bIconic = false;
    pWindow->m_bAwaitingExpose = false;
    pWindow->m_bNeedsPaint = false;
    pWindow->m_bNeedsErase = false;
    pWindow->m_bDestroying = false;
    COLORREF crBackground = 0;
    const bool bBackground = BackgroundOf(wndcls.hbrBackground, &crBackground);
    const HWND__* pOwner = LookupWindow(hWndOwner);
    const portable::NativeWindowLook look = {placement, lpWindowName,
                                             bBackground ? &crBackground : nullptr,
                                             portable::ResourceIcon(wndcls.hIcon),
                                             pOwner != nullptr ? pOwner->m_pNative : nullptr};
    pWindow->m_pNative = portable::CreateNativeWindow(pWindow.get(), look);
    if (pWindow->m_pNative == nullptr)
        return nullptr;
    TheState().m_windows.push_back(std::move(pWindow));
    return TheState().m_windows.back().get();
}

void FreeWindow(HWND__* pWindow)
{
    portable::ForgetTimers(pWindow);
    portable::ForgetPostedMessages(pWindow);
    portable::DetachDeviceContexts(pWindow);
    portable::DestroyNativeWindow(pWindow->m_pNative);
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
    const long long nsGiveUp = portable::Now() + kFirstExposeTimeout;
    for (;;) {
        portable::TakePendingEvents();
        if (!pWindow->m_bAwaitingExpose || portable::Now() >= nsGiveUp)
            return;
        if (portable::WaitForEvents(nsGiveUp) == portable::WaitResult::Never)
            return;
    }
}

bool IsMinimizeCommand(int nCmdShow)
{
    return nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_MINIMIZE;
}

portable::ShowCommand ShowCommandOf(int nCmdShow)
{
    if (nCmdShow == SW_HIDE)
        return portable::ShowCommand::Hide;
    return IsMinimizeCommand(nCmdShow) ? portable::ShowCommand::Minimize
                                       : portable::ShowCommand::Show;
}

}  // namespace

HWND CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                    HINSTANCE hInstance, LPVOID lpParam)
{
    WNDCLASS wndcls;
    if (!GetClassInfo(hInstance, lpClassName, &wndcls))
        return nullptr;
    const portable::Placement placement = PlaceWindow(x, y, nWidth, nHeight);
    HWND hWnd = NewWindow(wndcls, lpWindowName, dwStyle, placement, hWndParent);
    if (hWnd == nullptr)
        return nullptr;
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
    portable::LogCall("DestroyWindow");
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

// A window shown for the first time needs its first paint, which waits until the window system
// has put it on the screen: what is drawn before that would be lost.
BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr)
        return FALSE;
    portable::LogCall("ShowWindow " + std::to_string(nCmdShow));
    const BOOL bWasVisible = pWindow->m_bVisible ? TRUE : FALSE;
    if (nCmdShow == SW_HIDE) {
        if (bWasVisible)
            portable::ShowNativeWindow(pWindow->m_pNative, portable::ShowCommand::Hide, false);
        pWindow->m_bVisible = false;
        return bWasVisible;
    }
    if (!bWasVisible) {
        pWindow->m_bNeedsPaint = true;
        pWindow->m_bAwaitingExpose = true;
    }
    pWindow->m_bVisible = true;
    pWindow->m_bIconic = IsMinimizeCommand(nCmdShow);
    portable::ShowNativeWindow(pWindow->m_pNative, ShowCommandOf(nCmdShow), !bWasVisible);
    return bWasVisible;
}

// The first paint of a new window happens here, before the caller goes on, as on Windows. A
// window system that never shows the window only delays it, by a bounded time.
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
    portable::LogCall("InvalidateRect " + std::to_string(bErase));
    pWindow->m_bNeedsPaint = true;
    if (bErase)
        pWindow->m_bNeedsErase = true;
    return TRUE;
}

// Like invalidation, validation is of the whole window.
BOOL ValidateRect(HWND hWnd, const RECT*)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr)
        return FALSE;
    pWindow->m_bNeedsPaint = false;
    pWindow->m_bNeedsErase = false;
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    const HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr || lpRect == nullptr)
        return FALSE;
    *lpRect = RECT{0, 0, pWindow->m_nClientWidth, pWindow->m_nClientHeight};
    return TRUE;
}

// The frame belongs to the window system and is not known here: the rectangle is the client
// area's, on the screen.
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    HWND__* pWindow = LookupWindow(hWnd);
    POINT origin = {0, 0};
    if (pWindow == nullptr || lpRect == nullptr ||
        !portable::NativeWindowOrigin(pWindow->m_pNative, &origin))
        return FALSE;
    // Screen coordinates and extents are 16-bit, so the sums stay far inside a LONG.
    *lpRect = RECT{origin.x, origin.y, origin.x + pWindow->m_nClientWidth,
                   origin.y + pWindow->m_nClientHeight};
    return TRUE;
}

// The new size is taken at once, so that a paint before the window system confirms it already
// fits; the confirmation then finds the size unchanged.
BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr || nWidth < 0 || nHeight < 0)
        return FALSE;
    const int nNewWidth = ClampExtent(nWidth);
    const int nNewHeight = ClampExtent(nHeight);
    portable::MoveNativeWindow(pWindow->m_pNative, ClampPosition(X), ClampPosition(Y), nNewWidth,
                               nNewHeight);
    const bool bResized =
        nNewWidth != pWindow->m_nClientWidth || nNewHeight != pWindow->m_nClientHeight;
    pWindow->m_nClientWidth = nNewWidth;
    pWindow->m_nClientHeight = nNewHeight;
    if (bRepaint || bResized)
        pWindow->m_bNeedsPaint = true;
    return TRUE;
}

namespace portable {

// The window system has cleared the exposed area to the class background already, which is
// what WM_ERASEBKGND would have done; the window only needs its paint.
void NotifyExposed(HWND hWnd)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr || pWindow->m_bDestroying)
        return;
    pWindow->m_bNeedsPaint = true;
    pWindow->m_bAwaitingExpose = false;
}

// Moves are reported too; only a new size needs a repaint. The exposure a resize brings with it
// lands on the same flag, so the two together still give one WM_PAINT.
void NotifyResized(HWND hWnd, int nWidth, int nHeight)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr || pWindow->m_bDestroying)
        return;
    if (nWidth == pWindow->m_nClientWidth && nHeight == pWindow->m_nClientHeight)
        return;
    pWindow->m_nClientWidth = nWidth;
    pWindow->m_nClientHeight = nHeight;
    pWindow->m_bNeedsPaint = true;
}

void NotifyCloseRequest(HWND hWnd)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow != nullptr && !pWindow->m_bDestroying)
        ::PostMessage(hWnd, WM_CLOSE, 0, 0);
}

}  // namespace portable

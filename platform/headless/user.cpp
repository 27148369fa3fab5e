// Windows, messages, timers and message boxes of the headless machine. Windows exist only as
// records with a client size; messages are delivered by calling the class's window procedure,
// as the real system does for sent messages.
#include "state.h"

#include <algorithm>
#include <cstdint>

using headless::LookupWindow;
using headless::TheState;

namespace {


// A timer period below this is raised to it, as on Windows.
const UINT kMinimumTimerPeriod = 10;

HWND__* NewWindow(WNDPROC lpfnWndProc, LPCSTR lpWindowName, DWORD dwStyle)
{
    headless::State& state = TheState();
    state.windows.push_back(std::make_unique<HWND__>());
    HWND__* pWindow = state.windows.back().get();
    pWindow->lpfnWndProc = lpfnWndProc;
    pWindow->title = lpWindowName != nullptr ? lpWindowName : "";
    pWindow->dwStyle = dwStyle;
    pWindow->nClientWidth = state.nDefaultClientWidth;
    pWindow->nClientHeight = state.nDefaultClientHeight;
    pWindow->bVisible = false;
    pWindow->bNeedsPaint = false;
    return pWindow;
}

void ForgetWindow(HWND hWnd)
{
    auto& windows = TheState().windows;
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [hWnd](const std::unique_ptr<HWND__>& p) { return p.get() == hWnd; }),
                  windows.end());
    auto& queue = TheState().queue;
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [hWnd](const MSG& msg) { return msg.hwnd == hWnd; }),
                queue.end());
}

HWND__* WindowNeedingPaint()
{
    for (const auto& pWindow : TheState().windows) {
        if (pWindow->bVisible && pWindow->bNeedsPaint)
            return pWindow.get();
    }
    return nullptr;
}

bool TakeQueuedMessage(LPMSG lpMsg)
{
    headless::State& state = TheState();
    if (!state.queue.empty()) {
        *lpMsg = state.queue.front();
        state.queue.pop_front();
        return true;
    }
    if (HWND__* pWindow = WindowNeedingPaint()) {
        *lpMsg = MSG{pWindow, WM_PAINT, 0, 0, 0, {0, 0}};
        return true;
    }
    if (state.bQuit) {
        *lpMsg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(state.nQuitCode), 0, 0, {0, 0}};
        return true;
    }
    return false;
}

}  // namespace

HWND CreateWindowEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                    HINSTANCE hInstance, LPVOID lpParam)
{
    WNDCLASS wndcls;
    if (lpClassName == nullptr || !GetClassInfo(hInstance, lpClassName, &wndcls))
        return nullptr;
    HWND hWnd = NewWindow(wndcls.lpfnWndProc, lpWindowName, dwStyle);
    CREATESTRUCT cs = {lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, y, x,
                       static_cast<LONG>(dwStyle), lpWindowName, lpClassName, dwExStyle};
    const LPARAM lParam = reinterpret_cast<LPARAM>(&cs);
    if (!SendMessage(hWnd, WM_NCCREATE, 0, lParam)) {
        SendMessage(hWnd, WM_NCDESTROY, 0, 0);
        ForgetWindow(hWnd);
        return nullptr;
    }
    if (SendMessage(hWnd, WM_CREATE, 0, lParam) == -1) {
        DestroyWindow(hWnd);
        return nullptr;
    }
    return hWnd;
}

BOOL DestroyWindow(HWND hWnd)
{
    if (!LookupWindow(hWnd))
        return FALSE;
    headless::Log("DestroyWindow");
    SendMessage(hWnd, WM_DESTROY, 0, 0);
    SendMessage(hWnd, WM_NCDESTROY, 0, 0);
    ForgetWindow(hWnd);
    return TRUE;
}

BOOL IsWindow(HWND hWnd)
{
    return LookupWindow(hWnd) != nullptr;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (!pWindow)
        return FALSE;
    headless::Log("ShowWindow " + std::to_string(nCmdShow));
    const BOOL bWasVisible = pWindow->bVisible;
    pWindow->bVisible = nCmdShow != SW_HIDE;
    if (pWindow->bVisible && !bWasVisible)
        pWindow->bNeedsPaint = true;
    return bWasVisible;
}

BOOL UpdateWindow(HWND hWnd)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (!pWindow)
        return FALSE;
    if (pWindow->bVisible && pWindow->bNeedsPaint)
        SendMessage(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

// The whole client area is the only update region a headless window knows.
BOOL InvalidateRect(HWND hWnd, const RECT*, BOOL bErase)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (!pWindow)
        return FALSE;
    headless::Log("InvalidateRect " + std::to_string(bErase));
    pWindow->bNeedsPaint = true;
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    HWND__* pWindow = LookupWindow(hWnd);
    if (!pWindow)
        return FALSE;
    *lpRect = RECT{0, 0, pWindow->nClientWidth, pWindow->nClientHeight};
    return TRUE;
}

// Headless windows have no frame: the window is its client area, placed at the origin.
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    return GetClientRect(hWnd, lpRect);
}

BOOL MoveWindow(HWND hWnd, int, int, int nWidth, int nHeight, BOOL)
{
    if (!LookupWindow(hWnd) || nWidth < 0 || nHeight < 0)
        return FALSE;
    headless::SetClientSize(hWnd, nWidth, nHeight);
    return TRUE;
}

LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    HWND__* pWindow = LookupWindow(hWnd);
    return pWindow ? pWindow->lpfnWndProc(hWnd, Msg, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd != nullptr && !LookupWindow(hWnd))
        return FALSE;
    TheState().queue.push_back(MSG{hWnd, Msg, wParam, lParam, 0, {0, 0}});
    return TRUE;
}

void PostQuitMessage(int nExitCode)
{
    TheState().bQuit = true;
    TheState().nQuitCode = nExitCode;
}

BOOL GetMessage(LPMSG lpMsg, HWND, UINT, UINT)
{
    if (!TakeQueuedMessage(lpMsg)) {
        if (TheState().idleHandler)
            TheState().idleHandler();
        if (!TakeQueuedMessage(lpMsg))
            return -1;
    }
    if (lpMsg->message == WM_QUIT) {
        TheState().bQuit = false;
        return FALSE;
    }
    return TRUE;
}

BOOL TranslateMessage(const MSG*)
{
    return FALSE;
}

LRESULT DispatchMessage(const MSG* lpMsg)
{
    return SendMessage(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC)
{
    HWND__* pWindow = LookupWindow(hWnd);
    headless::Log("SetTimer " + std::to_string(nIDEvent) + " " + std::to_string(uElapse));
    if (!pWindow || TheState().bTimerFails)
        return 0;
    pWindow->timers[nIDEvent] = std::max(uElapse, kMinimumTimerPeriod);
    return nIDEvent != 0 ? nIDEvent : 1;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    HWND__* pWindow = LookupWindow(hWnd);
    headless::Log("KillTimer " + std::to_string(uIDEvent));
    return pWindow && pWindow->timers.erase(uIDEvent) != 0;
}

int MessageBox(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    const std::string text = lpText != nullptr ? lpText : "";
    headless::Log("MessageBox " + text + "|" + (lpCaption != nullptr ? lpCaption : "") + "|" +
                  std::to_string(uType));
    TheState().messageBoxTexts.push_back(text);
    return IDOK;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    HWND__* pWindow = LookupWindow(hWnd);
    *lpPaint = PAINTSTRUCT();
    if (!pWindow)
        return nullptr;
    pWindow->bNeedsPaint = false;
    lpPaint->hdc = GetDC(hWnd);
    lpPaint->rcPaint = RECT{0, 0, pWindow->nClientWidth, pWindow->nClientHeight};
    return lpPaint->hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    ReleaseDC(hWnd, lpPaint->hdc);
    return TRUE;
}

// Sending, posting and retrieving messages. Retrieval follows the priorities of Windows:
// posted messages, then the quit request, then WM_PAINT for a window that needs it, then a
// due WM_TIMER; only when none is there does the loop sleep until the server sends something
// or the next timer is due.
#include "x11display.h"
#include "x11events.h"
#include "x11messages.h"
#include "x11state.h"
#include "x11timers.h"

#include <algorithm>

using x11::LookupWindow;
using x11::TheState;

namespace {

DWORD TickCount()
{
    // Milliseconds wrap at 2^32, as GetTickCount's do.
    return static_cast<DWORD>(static_cast<unsigned long long>(x11::MonotonicNow()) /
                              x11::kNanosecondsPerMillisecond);
}

bool TakePostedMessage(LPMSG lpMsg)
{
    std::deque<MSG>& queue = TheState().m_queue;
    if (queue.empty())
        return false;
    *lpMsg = queue.front();
    queue.pop_front();
    return true;
}

// A window still waiting for its first exposure is not painted: the server has not shown it
// yet, and the exposure will ask for the paint itself.
HWND__* WindowNeedingPaint()
{
    for (const auto& pWindow : TheState().m_windows) {
        if (pWindow->m_bVisible && pWindow->m_bNeedsPaint && !pWindow->m_bAwaitingExpose &&
            !pWindow->m_bDestroying)
            return pWindow.get();
    }
    return nullptr;
}

bool TakeQuitMessage(LPMSG lpMsg)
{
    x11::State& state = TheState();
    if (!state.m_bQuit)
        return false;
    state.m_bQuit = false;
    *lpMsg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(state.m_nQuitCode), 0, 0, {0, 0}};
    return true;
}

bool TakeNextMessage(LPMSG lpMsg)
{
    if (TakePostedMessage(lpMsg) || TakeQuitMessage(lpMsg))
        return true;
    if (HWND__* pWindow = WindowNeedingPaint()) {
        *lpMsg = MSG{pWindow, WM_PAINT, 0, 0, 0, {0, 0}};
        return true;
    }
    return x11::TakeDueTimer(lpMsg, x11::MonotonicNow());
}

}  // namespace

void x11::ForgetPostedMessages(HWND hWnd)
{
    std::deque<MSG>& queue = TheState().m_queue;
    queue.erase(std::remove_if(queue.begin(), queue.end(),
                               [hWnd](const MSG& msg) { return msg.hwnd == hWnd; }),
                queue.end());
}

LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    HWND__* pWindow = LookupWindow(hWnd);
    return pWindow != nullptr ? pWindow->m_pfnWndProc(hWnd, Msg, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd != nullptr && LookupWindow(hWnd) == nullptr)
        return FALSE;
    TheState().m_queue.push_back(MSG{hWnd, Msg, wParam, lParam, TickCount(), {0, 0}});
    return TRUE;
}

void PostQuitMessage(int nExitCode)
{
    TheState().m_bQuit = true;
    TheState().m_nQuitCode = nExitCode;
}

// With no window left, nothing could ever put a message in the queue: that is a failure (-1),
// as it is in the headless backend, rather than a sleep without end.
BOOL GetMessage(LPMSG lpMsg, HWND, UINT, UINT)
{
    if (lpMsg == nullptr)
        return -1;
    // After a wait that ended with nothing to read, asking the server again is a wasted
    // system call on every tick.
    bool bMayHaveEvents = true;
    while (!TakePostedMessage(lpMsg)) {
        if (x11::IsConnected() && bMayHaveEvents)
            x11::ProcessPendingEvents();
        if (TakeNextMessage(lpMsg))
            break;
        if (TheState().m_windows.empty())
            return -1;
        bMayHaveEvents = x11::WaitForInput(x11::NextTimerDeadline());
    }
    if (lpMsg->time == 0)
        lpMsg->time = TickCount();
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG*)
{
    return FALSE;
}

LRESULT DispatchMessage(const MSG* lpMsg)
{
    if (lpMsg == nullptr)
        return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
        TIMERPROC pfnTimer = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
        pfnTimer(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, lpMsg->time);
        return 0;
    }
    return SendMessage(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

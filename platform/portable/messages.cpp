// Sending, posting and retrieving messages. GetMessage retrieves in the order the remarks of
// Microsoft's GetMessage reference give for an unfiltered queue: posted messages, then input,
// then WM_PAINT, then WM_TIMER. The reference does not place a pending quit (PostQuitMessage);
// it is a flag, and under Wine the Windows build receives it as soon as no posted message is
// left, ahead of input, paints and timers, so it comes there. Only when nothing is there does
// the loop sleep, until an event arrives or the next timer is due. Paints and ticks are never
// queued, so a late loop sees one of each, never a burst.
#include "core.h"

#include <algorithm>

using portable::LookupWindow;
using portable::TheState;

namespace {

DWORD TickCount()
{
    // Milliseconds wrap at 2^32, as GetTickCount's do.
    return static_cast<DWORD>(static_cast<unsigned long long>(portable::Now()) /
                              portable::kNanosecondsPerMillisecond);
}

bool TakePostedMessage(LPMSG lpMsg, bool bRemove)
{
    std::deque<MSG>& queue = TheState().m_queue;
    if (queue.empty())
        return false;
    *lpMsg = queue.front();
    if (bRemove)
        queue.pop_front();
    return true;
}

bool TakeQuitMessage(LPMSG lpMsg, bool bRemove)
{
    portable::State& state = TheState();
    if (!state.m_bQuit)
        return false;
    if (bRemove)
        state.m_bQuit = false;
    *lpMsg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(state.m_nQuitCode), 0, 0, {0, 0}};
    return true;
}

// A window still waiting for its first exposure is not painted: the window system has not
// shown it yet, and the exposure will ask for the paint itself.
HWND__* WindowNeedingPaint()
{
    for (const auto& pWindow : TheState().m_windows) {
        if (pWindow->m_bVisible && pWindow->m_bNeedsPaint && !pWindow->m_bAwaitingExpose &&
            !pWindow->m_bDestroying)
            return pWindow.get();
    }
    return nullptr;
}

// WM_PAINT stays until the window is validated, so taking it never removes anything.
bool TakePaintMessage(LPMSG lpMsg)
{
    HWND__* pWindow = WindowNeedingPaint();
    if (pWindow == nullptr)
        return false;
    *lpMsg = MSG{pWindow, WM_PAINT, 0, 0, 0, {0, 0}};
    return true;
}

// Events from the window system come in as posted messages (close requests) or as windows
// marked for painting, so input needs no queue of its own.
bool TakeNextMessage(LPMSG lpMsg, bool bRemove, bool bTakeEvents)
{
    if (TakePostedMessage(lpMsg, bRemove) || TakeQuitMessage(lpMsg, bRemove))
        return true;
    if (bTakeEvents) {
        portable::TakePendingEvents();
        TheState().m_bMayHaveEvents = false;
        if (TakePostedMessage(lpMsg, bRemove))
            return true;
    }
    if (TakePaintMessage(lpMsg))
        return true;
    return portable::TakeDueTimer(lpMsg, portable::Now(), bRemove);
}

void StampTime(LPMSG lpMsg)
{
    if (lpMsg->time == 0)
        lpMsg->time = TickCount();
}

}  // namespace

// Timers are left out: a backend asks this to know whether it may sleep until the next one.
bool portable::IsMessageReady()
{
    const State& state = TheState();
    return !state.m_queue.empty() || state.m_bQuit || WindowNeedingPaint() != nullptr;
}

void portable::ForgetPostedMessages(HWND hWnd)
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

// Message filters are not implemented: the layer never asks for them, and every message is
// retrieved.

// With no window left, or nothing that could ever arrive, the loop would sleep without end:
// that is a failure (-1) instead.
BOOL GetMessage(LPMSG lpMsg, HWND, UINT, UINT)
{
    if (lpMsg == nullptr)
        return -1;
    portable::State& state = TheState();
    while (!TakeNextMessage(lpMsg, true, state.m_bMayHaveEvents)) {
        if (state.m_windows.empty())
            return -1;
        const portable::WaitResult result = portable::WaitForEvents(portable::NextTimerDeadline());
        if (result == portable::WaitResult::Never)
            return -1;
        // After a wait that ended with nothing to read, asking the window system again would
        // be a wasted system call on every tick; whatever arrives meanwhile ends the next wait.
        state.m_bMayHaveEvents = result == portable::WaitResult::Events;
    }
    StampTime(lpMsg);
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessage(LPMSG lpMsg, HWND, UINT, UINT, UINT wRemoveMsg)
{
    if (lpMsg == nullptr || !TakeNextMessage(lpMsg, (wRemoveMsg & PM_REMOVE) != 0, true))
        return FALSE;
    StampTime(lpMsg);
    return TRUE;
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

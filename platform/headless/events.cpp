// The headless event source: windows that are on the "screen" the moment they are shown, a
// clock that stands still while the program works, and a test's idle handler in place of a
// user. When the loop has nothing to do and the handler gives it nothing, the clock jumps to
// the next timer's deadline, so timers fire in order and at once.
#include "headless.h"
#include "headlesswindow.h"

#include <algorithm>
#include <list>

namespace {

// A start well away from zero, so that no deadline computed from it is ever near the origin.
const long long kClockStart = 1000 * 1000000LL;

struct EventSource {
    long long m_nsNow = kClockStart;
    std::function<void()> m_idleHandler;
    int m_nDefaultWidth = 800;
    int m_nDefaultHeight = 600;
    std::vector<std::string> m_messageBoxTexts;
};

// Headless windows have no pixels to limit them; this is the largest extent any window system
// here allows.
const int kMaxWindowExtent = 32767;

EventSource& TheEventSource()
{
    static EventSource source;
    return source;
}

std::list<CNativeWindow>& TheNativeWindows()
{
    static std::list<CNativeWindow> windows;
    return windows;
}

headless::CNullDevice& TheNullDevice()
{
    static headless::CNullDevice device;
    return device;
}

}  // namespace

namespace portable {

SIZE DefaultWindowSize()
{
    return SIZE{TheEventSource().m_nDefaultWidth, TheEventSource().m_nDefaultHeight};
}

int MaxWindowExtent()
{
    return kMaxWindowExtent;
}

// The records live in a list of the event source's own, so that windows a test abandons (the
// core's tables go at exit without destroying them) are freed with it.
CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook&)
{
    std::list<CNativeWindow>& windows = TheNativeWindows();
    windows.push_back(CNativeWindow{hWnd, &TheNullDevice()});
    return &windows.back();
}

void DestroyNativeWindow(CNativeWindow* pWindow)
{
    TheNativeWindows().remove_if([pWindow](const CNativeWindow& w) { return &w == pWindow; });
}

void ShowNativeWindow(CNativeWindow* pWindow, ShowCommand command, bool)
{
    if (command != ShowCommand::Hide)
        NotifyExposed(pWindow->m_hWnd);
}

void MoveNativeWindow(CNativeWindow*, int, int, int, int) {}

// Headless windows have no frame and sit at the origin.
bool NativeWindowOrigin(CNativeWindow*, POINT* pOrigin)
{
    *pOrigin = POINT{0, 0};
    return true;
}

long long Now()
{
    return TheEventSource().m_nsNow;
}

void TakePendingEvents() {}

WaitResult WaitForEvents(long long nsDeadline)
{
    EventSource& source = TheEventSource();
    if (source.m_idleHandler) {
        source.m_idleHandler();
        if (IsMessageReady())
            return WaitResult::Events;
    }
    if (nsDeadline == kNoDeadline)
        return WaitResult::Never;
    source.m_nsNow = std::max(source.m_nsNow, nsDeadline);
    return WaitResult::Timeout;
}

int ShowMessageBox(CNativeWindow*, const char* lpszText, const char*, UINT)
{
    TheEventSource().m_messageBoxTexts.push_back(lpszText);
    return IDOK;
}

}  // namespace portable

namespace headless {

void SetDefaultClientSize(int cx, int cy)
{
    TheEventSource().m_nDefaultWidth = cx;
    TheEventSource().m_nDefaultHeight = cy;
}

void SetClientSize(HWND hWnd, int cx, int cy)
{
    portable::NotifyResized(hWnd, cx, cy);
}

void SetIdleHandler(std::function<void()> handler)
{
    TheEventSource().m_idleHandler = std::move(handler);
}

long long Now()
{
    return portable::Now();
}

void AdvanceClock(long long nsDelta)
{
    TheEventSource().m_nsNow += nsDelta;
}

std::vector<std::string> MessageBoxTexts()
{
    return TheEventSource().m_messageBoxTexts;
}

// The clock keeps its time, as a clock would: only what a test set up is forgotten.
void ResetEventSource()
{
    EventSource& source = TheEventSource();
    const long long nsNow = source.m_nsNow;
    source = EventSource();
    source.m_nsNow = nsNow;
}

}  // namespace headless

// SetTimer and KillTimer, and the deadlines the message loop sleeps towards.
#include "x11events.h"
#include "x11state.h"
#include "x11timers.h"

#include <map>
#include <utility>

namespace x11 {

namespace {

// Windows raises shorter periods to this and caps longer ones at the second value.
const UINT kMinimumPeriod = 10;
const UINT kMaximumPeriod = 0x7FFFFFFF;

struct Timer {
    long long m_nsPeriod;
    long long m_nsDeadline;
    TIMERPROC m_pfnTimer;
};

typedef std::pair<HWND, UINT_PTR> TimerKey;

std::map<TimerKey, Timer>& Timers()
{
    static std::map<TimerKey, Timer> timers;
    return timers;
}

long long PeriodOf(UINT uElapse)
{
    UINT uPeriod = uElapse < kMinimumPeriod ? kMinimumPeriod : uElapse;
    if (uPeriod > kMaximumPeriod)
        uPeriod = kMaximumPeriod;
    return static_cast<long long>(uPeriod) * kNanosecondsPerMillisecond;
}

std::map<TimerKey, Timer>::iterator EarliestTimer()
{
    auto& timers = Timers();
    auto earliest = timers.end();
    for (auto entry = timers.begin(); entry != timers.end(); ++entry) {
        if (earliest == timers.end() || entry->second.m_nsDeadline < earliest->second.m_nsDeadline)
            earliest = entry;
    }
    return earliest;
}

}  // namespace

long long FollowingDeadline(long long nsDeadline, long long nsPeriod, long long nsNow)
{
    const long long nsNext = nsDeadline + nsPeriod;
    if (nsNext > nsNow)
        return nsNext;
    // Skipping whole periods keeps the ticks on the original grid, so the rate holds even
    // across a stall.
    const long long nMissed = (nsNow - nsDeadline) / nsPeriod;
    return nsDeadline + (nMissed + 1) * nsPeriod;
}

long long NextTimerDeadline()
{
    auto earliest = EarliestTimer();
    return earliest != Timers().end() ? earliest->second.m_nsDeadline : kNoDeadline;
}

bool TakeDueTimer(MSG* pMsg, long long nsNow)
{
    auto earliest = EarliestTimer();
    if (earliest == Timers().end() || earliest->second.m_nsDeadline > nsNow)
        return false;
    Timer& timer = earliest->second;
    *pMsg = MSG{earliest->first.first, WM_TIMER, earliest->first.second,
                reinterpret_cast<LPARAM>(timer.m_pfnTimer), 0, {0, 0}};
    timer.m_nsDeadline = FollowingDeadline(timer.m_nsDeadline, timer.m_nsPeriod, nsNow);
    return true;
}

void ForgetTimers(HWND hWnd)
{
    auto& timers = Timers();
    for (auto entry = timers.begin(); entry != timers.end();) {
        if (entry->first.first == hWnd)
            entry = timers.erase(entry);
        else
            ++entry;
    }
}

}  // namespace x11

// Setting a timer that exists restarts it with the new period.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (x11::LookupWindow(hWnd) == nullptr)
        return 0;
    const long long nsPeriod = x11::PeriodOf(uElapse);
    x11::Timers()[x11::TimerKey(hWnd, nIDEvent)] =
        x11::Timer{nsPeriod, x11::MonotonicNow() + nsPeriod, lpTimerFunc};
    return nIDEvent != 0 ? nIDEvent : 1;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    return x11::Timers().erase(x11::TimerKey(hWnd, uIDEvent)) != 0 ? TRUE : FALSE;
}

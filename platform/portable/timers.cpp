// SetTimer and KillTimer, and the deadlines the message loop sleeps towards. Deadlines are
// absolute, so the rate holds however long each tick's work takes; a timer has at most one
// tick pending, so a loop that fell behind gets one tick, never a burst.
#include "core.h"

#include <coreprobe.h>

#include <map>
#include <utility>

namespace portable {

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

bool TakeDueTimer(MSG* pMsg, long long nsNow, bool bRemove)
{
    auto earliest = EarliestTimer();
    if (earliest == Timers().end() || earliest->second.m_nsDeadline > nsNow)
        return false;
    Timer& timer = earliest->second;
    *pMsg = MSG{earliest->first.first, WM_TIMER, earliest->first.second,
                reinterpret_cast<LPARAM>(timer.m_pfnTimer), 0, {0, 0}};
    if (bRemove)
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

}  // namespace portable

// Setting a timer that exists restarts it with the new period.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    portable::LogCall("SetTimer " + std::to_string(nIDEvent) + " " + std::to_string(uElapse));
    if (portable::LookupWindow(hWnd) == nullptr || portable::TheProbe().m_bTimerFails)
        return 0;
    const long long nsPeriod = portable::PeriodOf(uElapse);
    portable::Timers()[portable::TimerKey(hWnd, nIDEvent)] =
        portable::Timer{nsPeriod, portable::Now() + nsPeriod, lpTimerFunc};
    return nIDEvent != 0 ? nIDEvent : 1;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    portable::LogCall("KillTimer " + std::to_string(uIDEvent));
    return portable::Timers().erase(portable::TimerKey(hWnd, uIDEvent)) != 0 ? TRUE : FALSE;
}

namespace portable {

std::vector<std::pair<UINT_PTR, UINT>> TimersOf(HWND hWnd)
{
    std::vector<std::pair<UINT_PTR, UINT>> timers;
    for (const auto& entry : Timers()) {
        if (entry.first.first == hWnd)
            timers.emplace_back(entry.first.second, static_cast<UINT>(entry.second.m_nsPeriod /
                                                                      kNanosecondsPerMillisecond));
    }
    return timers;
}

}  // namespace portable

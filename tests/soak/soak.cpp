// Runs the real program for a long time on the real window system and checks that it holds on
// to nothing it should not. The frame is the program's own CMainFrame with one message map
// entry in front of it: each WM_TIMER goes to the program's handler unchanged, and then the
// next tick is posted at once instead of waiting 50 ms for the window timer, so that ten
// thousand ticks take seconds, not minutes. Posting is used rather than re-arming the timer at
// its shortest period because Windows (and the x11 backend, which follows it) raises any
// period below 10 ms to 10 ms: a hundred thousand ticks would still take 17 minutes. A posted
// tick is the same WM_TIMER message through the same loop and dispatcher; the program's own
// timer stays armed and is simply starved, since posted messages come first. Every so many
// ticks the window is invalidated and updated, which sends WM_PAINT through the real paint
// path, as an uncovered window would.
// Usage: soak counts   10,000 ticks and 100 repaints; resource counts after the first paint,
//                      after the run (must be equal) and after the window is closed (must be
//                      what the window system keeps for any process)
//        soak memory   the same over 100,000 ticks, and resident memory must not grow after
//                      the first 1,000 ticks
// Prints its figures on stdout; exits 0 when every check holds, 1 when one fails, 2 when no
// window could be made, 3 on bad usage, 4 when the counting itself does not work here.
#include "counts.h"
#include "mainframe.h"

#include <cstdio>
#include <cstring>

namespace {

// The program's own timer; its handler does not look at the id, but the ticks carry it anyway.
const UINT_PTR kAnimationTimer = 1;

const int kExitCheckFailed = 1;
const int kExitNoWindow = 2;
const int kExitUsage = 3;
const int kExitNoCounting = 4;

const int kLayerPens = 10;
// Resident memory is read this many times over a run, for the log.
const int kMemorySamples = 10;

struct SoakPlan {
    const char* m_pszName;
    int m_nTicks;
    int m_nRepaints;
    // Resident memory is compared from this tick on: the first ticks and repaints touch code
    // and data for the first time, and Xlib and the C library size their buffers.
    int m_nWarmUpTick;
    bool m_bCheckMemory;
};

const SoakPlan kPlans[] = {
    {"counts", 10000, 100, 1000, false},
    {"memory", 100000, 100, 1000, true},
};

}  // namespace

// What the run observed; filled in by the frame, which is gone by the time the loop returns.
struct SoakLog {
    int m_nTicks = 0;
    int m_nRepaints = 0;
    ResourceCounts m_afterRun;
    long long m_kbWarm = -1;
    long long m_kbEnd = -1;
    long long m_kbSamples[kMemorySamples] = {};
};

class CSoakFrame : public CMainFrame {
public:
    CSoakFrame(const SoakPlan& plan, const ResourceCounter& counter, SoakLog* pLog);
    void PostNextTick();

protected:
    afx_msg void OnTimer(UINT nIDEvent);

    DECLARE_MESSAGE_MAP()

private:
    bool IsRepaintTick(int nTick) const;
    void Repaint();
    void NoteMemory(int nTick);
    void Finish();

    const SoakPlan& m_plan;
    const ResourceCounter& m_counter;
    SoakLog* m_pLog;
    int m_nPosted;
};

BEGIN_MESSAGE_MAP(CSoakFrame, CMainFrame)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CSoakFrame::CSoakFrame(const SoakPlan& plan, const ResourceCounter& counter, SoakLog* pLog)
    : m_plan(plan), m_counter(counter), m_pLog(pLog), m_nPosted(0)
{
}

// The number posted is capped, so that a tick of the real timer slipping in between cannot
// start a second chain that never ends.
void CSoakFrame::PostNextTick()
{
    if (m_nPosted >= m_plan.m_nTicks)
        return;
    ++m_nPosted;
    ::PostMessage(m_hWnd, WM_TIMER, kAnimationTimer, 0);
}

void CSoakFrame::OnTimer(UINT nIDEvent)
{
    if (m_pLog->m_nTicks >= m_plan.m_nTicks)
        return;
    CMainFrame::OnTimer(nIDEvent);
    const int nTick = ++m_pLog->m_nTicks;
    if (IsRepaintTick(nTick))
        Repaint();
    NoteMemory(nTick);
    if (nTick == m_plan.m_nTicks)
        Finish();
    else
        PostNextTick();
}

// Repaints fall in the middle of each stretch of ticks, so that the run neither starts nor
// ends on one: the last counts are taken after ticks have drawn over the last repaint.
bool CSoakFrame::IsRepaintTick(int nTick) const
{
    const int nStretch = m_plan.m_nTicks / m_plan.m_nRepaints;
    return nTick % nStretch == nStretch / 2;
}

void CSoakFrame::Repaint()
{
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    ::UpdateWindow(m_hWnd);
    ++m_pLog->m_nRepaints;
}

void CSoakFrame::NoteMemory(int nTick)
{
    const int nStretch = m_plan.m_nTicks / kMemorySamples;
    if (nTick % nStretch == 0)
        m_pLog->m_kbSamples[nTick / nStretch - 1] = ResidentKilobytes();
    if (nTick == m_plan.m_nWarmUpTick)
        m_pLog->m_kbWarm = ResidentKilobytes();
    if (nTick == m_plan.m_nTicks)
        m_pLog->m_kbEnd = ResidentKilobytes();
}

// The counts are read while the window still stands, then the window is closed the way the
// close button closes it.
void CSoakFrame::Finish()
{
    ::GdiFlush();
    m_pLog->m_afterRun = m_counter.Read();
    ::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
}

namespace {

const SoakPlan* FindPlan(const char* pszName)
{
    for (const SoakPlan& plan : kPlans) {
        if (std::strcmp(plan.m_pszName, pszName) == 0)
            return &plan;
    }
    return nullptr;
}

void AddNames(const ResourceCounts& counts, std::vector<std::string>* pNames)
{
    for (const ResourceCount& count : counts) {
        bool bKnown = false;
        for (const std::string& name : *pNames)
            bKnown = bKnown || name == count.m_name;
        if (!bKnown)
            pNames->push_back(count.m_name);
    }
}

// Pens made through the program's own layer must show in the count, or the counts could not
// see the program's objects at all and every later comparison would pass for nothing.
bool CountsSeeLayerPens(const ResourceCounter& counter)
{
    const long long nBefore = counter.LivePens();
    CPen* pens[kLayerPens];
    for (int i = 0; i < kLayerPens; ++i)
        pens[i] = new CPen(PS_SOLID, 1, RGB(0, i, 0));
    const long long nDuring = counter.LivePens();
    for (CPen* pPen : pens)
        delete pPen;
    const long long nAfter = counter.LivePens();
    std::printf("pens through the program's layer: %lld -> %lld with %d made -> %lld deleted\n",
                nBefore, nDuring, kLayerPens, nAfter);
    return nDuring == nBefore + kLayerPens && nAfter == nBefore;
}

struct Snapshots {
    ResourceCounts m_afterPaint;
    ResourceCounts m_afterRun;
    ResourceCounts m_afterClose;
    ResourceCounts m_kept;
};

// Prints the table and returns the number of failed comparisons.
int CompareCounts(const Snapshots& shots)
{
    std::vector<std::string> names;
    for (const ResourceCounts* pCounts :
         {&shots.m_afterPaint, &shots.m_afterRun, &shots.m_afterClose, &shots.m_kept})
        AddNames(*pCounts, &names);
    std::printf("%-32s %12s %12s %12s %12s\n", "resource", "first paint", "after run",
                "after close", "kept");
    int nFailures = 0;
    bool bWindowSeen = false;
    for (const std::string& name : names) {
        const long long nPaint = CountNamed(shots.m_afterPaint, name);
        const long long nRun = CountNamed(shots.m_afterRun, name);
        const long long nClose = CountNamed(shots.m_afterClose, name);
        const long long nKept = CountNamed(shots.m_kept, name);
        const bool bSteady = nRun == nPaint;
        const bool bReleased = nClose == nKept;
        std::printf("%-32s %12lld %12lld %12lld %12lld%s%s\n", name.c_str(), nPaint, nRun,
                    nClose, nKept, bSteady ? "" : "  GREW OR SHRANK DURING THE RUN",
                    bReleased ? "" : "  NOT RELEASED AT CLOSE");
        nFailures += (bSteady ? 0 : 1) + (bReleased ? 0 : 1);
        bWindowSeen = bWindowSeen || nPaint != nKept;
    }
    if (!bWindowSeen) {
        std::printf("FAIL: no count saw the open window: the counts see nothing of the program\n");
        ++nFailures;
    }
    return nFailures;
}

// The tolerance is none: once warm, the program allocates nothing per tick or per repaint.
int CompareMemory(const SoakPlan& plan, const SoakLog& log)
{
    std::printf("resident memory (KiB) every %d ticks:", plan.m_nTicks / kMemorySamples);
    for (long long kbSample : log.m_kbSamples)
        std::printf(" %lld", kbSample);
    std::printf("\nresident memory at tick %d: %lld KiB, at tick %d: %lld KiB\n",
                plan.m_nWarmUpTick, log.m_kbWarm, plan.m_nTicks, log.m_kbEnd);
    if (!plan.m_bCheckMemory)
        return 0;
    if (log.m_kbWarm <= 0 || log.m_kbEnd <= 0) {
        std::printf("FAIL: resident memory could not be read\n");
        return 1;
    }
    if (log.m_kbEnd > log.m_kbWarm) {
        std::printf("FAIL: resident memory grew by %lld KiB\n", log.m_kbEnd - log.m_kbWarm);
        return 1;
    }
    return 0;
}

int CompareRun(const SoakPlan& plan, const SoakLog& log, int nStatus)
{
    std::printf("ticks %d of %d, repaints %d of %d, message loop status %d\n", log.m_nTicks,
                plan.m_nTicks, log.m_nRepaints, plan.m_nRepaints, nStatus);
    const bool bComplete = log.m_nTicks == plan.m_nTicks &&
                           log.m_nRepaints == plan.m_nRepaints && nStatus == 0;
    if (!bComplete)
        std::printf("FAIL: the run did not go as planned\n");
    return bComplete ? 0 : 1;
}

CSoakFrame* OpenFrame(const SoakPlan& plan, ResourceCounter& counter, SoakLog* pLog)
{
    AfxGetApp()->m_hInstance = ::GetModuleHandle(NULL);
    CSoakFrame* pFrame = new CSoakFrame(plan, counter, pLog);
    if (pFrame->m_hWnd == NULL) {
        delete pFrame;
        return nullptr;
    }
    AfxGetApp()->m_pMainWnd = pFrame;
    pFrame->ShowWindow(SW_SHOWNORMAL);
    pFrame->UpdateWindow();
    return pFrame;
}

int Soak(const SoakPlan& plan, ResourceCounter& counter)
{
    SoakLog log;
    CSoakFrame* pFrame = OpenFrame(plan, counter, &log);
    if (pFrame == nullptr || !counter.Watch(pFrame->m_hWnd)) {
        std::printf("FAIL: no window to soak (%s)\n", counter.Problem().c_str());
        return kExitNoWindow;
    }
    Snapshots shots;
    ::GdiFlush();
    shots.m_afterPaint = counter.Read();
    pFrame->PostNextTick();
    const int nStatus = AfxGetApp()->Run();
    ::GdiFlush();
    shots.m_afterClose = counter.ReadAfterClose();
    shots.m_afterRun = log.m_afterRun;
    shots.m_kept = counter.KeptAfterClose();

    const int nFailures = CompareRun(plan, log, nStatus) + CompareCounts(shots) +
                          CompareMemory(plan, log);
    std::printf("%s: %d failed check(s)\n", nFailures == 0 ? "PASS" : "FAIL", nFailures);
    return nFailures == 0 ? 0 : kExitCheckFailed;
}

}  // namespace

int main(int argc, char** argv)
{
    const SoakPlan* pPlan = argc == 2 ? FindPlan(argv[1]) : nullptr;
    if (pPlan == nullptr) {
        std::fprintf(stderr, "usage: soak counts|memory\n");
        return kExitUsage;
    }
    // Counting starts before the program's first window, so that on Windows the baseline is
    // what the process holds without it.
    ResourceCounter counter;
    std::printf("counting with %s\n", counter.Method().c_str());
    if (!counter.IsReady() || !CountsSeeLayerPens(counter)) {
        std::printf("FAIL: the counting does not work here: %s\n", counter.Problem().c_str());
        return kExitNoCounting;
    }
    const int nExit = Soak(*pPlan, counter);
    std::fflush(stdout);
    return nExit;
}

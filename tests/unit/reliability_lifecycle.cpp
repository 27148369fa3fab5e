// What the program holds over a long life, and how it ends when the close request comes at an
// awkward moment: the same pens, brushes and device contexts after thousands of ticks as after
// the first paint, none after closing, and status 0 whenever the user closed it.
#include "mechanism_fixture.h"

#include <algorithm>
#include <functional>

namespace mechanism_test {
namespace {

struct ResourceCounts {
    int nGdiObjects;
    int nDeviceContexts;
    int nWindows;

    bool operator==(const ResourceCounts& other) const
    {
        return nGdiObjects == other.nGdiObjects && nDeviceContexts == other.nDeviceContexts &&
               nWindows == other.nWindows;
    }
};

std::ostream& operator<<(std::ostream& os, const ResourceCounts& counts)
{
    return os << counts.nGdiObjects << " GDI objects, " << counts.nDeviceContexts
              << " device contexts, " << counts.nWindows << " windows";
}

ResourceCounts LiveResources()
{
    return {headless::LiveGdiObjects(), headless::LiveDeviceContexts(), headless::LiveWindows()};
}

const ResourceCounts kNothing = {0, 0, 0};

TEST_F(FrameTest, TenThousandTicksAndHundredRepaintsHoldNoMoreThanTheFirstPaint)
{
    Paint();
    const ResourceCounts afterFirstPaint = LiveResources();
    for (int nRepaint = 0; nRepaint < 100; ++nRepaint) {
        for (int nTick = 0; nTick < 100; ++nTick)
            Tick();
        Paint();
        ASSERT_EQ(LiveResources(), afterFirstPaint) << "after repaint " << nRepaint;
    }
    EXPECT_EQ(headless::DeletesOfSelectedObjects(), 0);
    ::SendMessage(m_pFrame->m_hWnd, WM_CLOSE, 0, 0);
    m_pFrame = nullptr;
    EXPECT_EQ(LiveResources(), kNothing);
}

// The whole program, entry to exit, with a script playing the user and the timer: each time
// the message loop finds nothing to do, the script takes its next step.
class ProgramRun : public ::testing::Test {
protected:
    using Step = std::function<void(HWND)>;

    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }

    int RunScript(const std::vector<Step>& steps)
    {
        size_t nNext = 0;
        headless::SetIdleHandler([&steps, &nNext] {
            CWnd* pMainWnd = AfxGetApp()->m_pMainWnd;
            if (pMainWnd != NULL && nNext < steps.size())
                steps[nNext++](pMainWnd->m_hWnd);
        });
        const int nStatus = AfxWinMain(::GetModuleHandle(NULL), "vurazevedadar", SW_SHOWNORMAL);
        m_nStepsTaken = nNext;
        return nStatus;
    }

    void ExpectCleanEnd(int nStatus) const
    {
        EXPECT_EQ(nStatus, 0);
        EXPECT_EQ(AfxGetApp()->m_pMainWnd, nullptr);
        EXPECT_EQ(LiveResources(), kNothing);
        EXPECT_EQ(headless::DeletesOfSelectedObjects(), 0);
    }

    static Step Ticks(int nTicks)
    {
        return [nTicks](HWND hWnd) {
            for (int i = 0; i < nTicks; ++i)
                ::PostMessage(hWnd, WM_TIMER, 1, 0);
        };
    }

    // A drag of the frame: the size changes and, the class redrawing on every size change,
    // the whole window is invalidated.
    static Step Resize(int cx, int cy)
    {
        return [cx, cy](HWND hWnd) {
            headless::SetClientSize(hWnd, cx, cy);
            ::InvalidateRect(hWnd, NULL, TRUE);
        };
    }

    static Step Close()
    {
        return [](HWND hWnd) { ::PostMessage(hWnd, WM_CLOSE, 0, 0); };
    }

    size_t m_nStepsTaken = 0;
};

TEST_F(ProgramRun, CloseBetweenTicksEndsWithZeroAndReleasesEverything)
{
    ExpectCleanEnd(RunScript({Ticks(5), Ticks(1), Close()}));
    EXPECT_EQ(m_nStepsTaken, 3u);
}

TEST_F(ProgramRun, CloseTwiceInARowEndsOnceWithZero)
{
    ExpectCleanEnd(RunScript({Ticks(3), [](HWND hWnd) {
                                  ::PostMessage(hWnd, WM_CLOSE, 0, 0);
                                  ::PostMessage(hWnd, WM_CLOSE, 0, 0);
                              }}));
    EXPECT_EQ(std::count(headless::CallLog().begin(), headless::CallLog().end(), "DestroyWindow"),
              1);
}

TEST_F(ProgramRun, CloseInTheMiddleOfAResizeStormEndsWithZero)
{
    std::vector<Step> steps;
    for (int i = 0; i < 500; ++i) {
        steps.push_back(Resize(1 + (i * 37) % 1900, (i * 53) % 1100));
        steps.push_back(Ticks(1 + i % 3));
    }
    steps.push_back([](HWND hWnd) {
        headless::SetClientSize(hWnd, 640, 480);
        ::InvalidateRect(hWnd, NULL, TRUE);
        ::PostMessage(hWnd, WM_TIMER, 1, 0);
        ::PostMessage(hWnd, WM_CLOSE, 0, 0);
        ::PostMessage(hWnd, WM_TIMER, 1, 0);
    });
    for (int i = 0; i < 100; ++i)
        steps.push_back(Resize(300 + i, 200 + i));
    ExpectCleanEnd(RunScript(steps));
    EXPECT_EQ(m_nStepsTaken, 1001u);
}

}  // namespace
}  // namespace mechanism_test

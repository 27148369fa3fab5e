// The application's life: the window it opens, its timer, the refusal when no timer can be
// had, and the order in which closing releases what the frame owns.
#include "mainframe.h"

#include <headless.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kTimerFailed[] = "Timer konnte nicht gestartet werden";

class AppLifecycle : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }

    static int CountInLog(const std::string& line)
    {
        const auto& log = headless::CallLog();
        return static_cast<int>(std::count(log.begin(), log.end(), line));
    }

    // Runs the whole program: entry, InitInstance, message loop. The idle handler plays the
    // user, who closes the window as soon as nothing else is happening.
    static int RunProgramClosingWhenIdle()
    {
        headless::SetIdleHandler([] {
            if (AfxGetApp()->m_pMainWnd != NULL)
                ::PostMessage(AfxGetApp()->m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
        });
        return AfxWinMain(::GetModuleHandle(NULL), "/opt/bin/vurazevedadar", SW_SHOWNORMAL);
    }
};

TEST_F(AppLifecycle, FrameOpensCaptionedOverlappedWindowWithFiftyMillisecondTimerOne)
{
    CMainFrame* pFrame = new CMainFrame;
    ASSERT_NE(pFrame->m_hWnd, nullptr);
    EXPECT_EQ(headless::WindowTitle(pFrame->m_hWnd), "Vurazevedadar");
    EXPECT_EQ(headless::WindowStyle(pFrame->m_hWnd), 0x00CF0000u);
    const std::vector<std::pair<UINT_PTR, UINT>> expected = {{1, 50}};
    EXPECT_EQ(headless::Timers(pFrame->m_hWnd), expected);
    EXPECT_EQ(headless::LiveGdiObjects(), 4);
    pFrame->DestroyWindow();
}

TEST_F(AppLifecycle, FrameOwnsPensAndBrushesInThePaletteColours)
{
    CMainFrame* pFrame = new CMainFrame;
    CClientDC dc(pFrame);
    dc.SelectObject(pFrame->m_pPenBack);
    dc.SelectObject(pFrame->m_pBrushWheel);
    dc.Rectangle(0, 0, 1, 1);
    dc.SelectObject(pFrame->m_pPenFore);
    dc.SelectObject(pFrame->m_pBrushBack);
    dc.Rectangle(0, 0, 1, 1);
    const auto& calls = headless::DeviceCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].pen, RGB(0, 0, 255));
    EXPECT_EQ(calls[0].brush, RGB(0, 255, 255));
    EXPECT_EQ(calls[1].pen, RGB(255, 255, 255));
    EXPECT_EQ(calls[1].brush, RGB(0, 0, 255));
    EXPECT_DOUBLE_EQ(pFrame->m_dCrossRadius, 51.96152422706632);
    EXPECT_EQ(pFrame->m_dDiscYLow, 48.75);
    EXPECT_EQ(pFrame->m_dDiscYHigh, 71.25);
}

TEST_F(AppLifecycle, CloseStopsTimerBeforeReleasingObjectsBeforeDestroyingWindow)
{
    CMainFrame* pFrame = new CMainFrame;
    headless::ClearCallLog();
    ::SendMessage(pFrame->m_hWnd, WM_CLOSE, 0, 0);
    const std::vector<std::string> expected = {
        "KillTimer 1",          "DeleteObject pen",   "DeleteObject pen",
        "DeleteObject brush",   "DeleteObject brush", "DestroyWindow",
    };
    EXPECT_EQ(headless::CallLog(), expected);
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
    EXPECT_EQ(headless::LiveWindows(), 0);
    EXPECT_EQ(headless::DeletesOfSelectedObjects(), 0);
}

TEST_F(AppLifecycle, WindowDestroyedWithoutCloseStillReleasesEachObjectOnce)
{
    CMainFrame* pFrame = new CMainFrame;
    headless::ClearCallLog();
    pFrame->DestroyWindow();  // as at logoff: no WM_CLOSE
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
    EXPECT_EQ(CountInLog("DeleteObject pen"), 2);
    EXPECT_EQ(CountInLog("DeleteObject brush"), 2);
}

TEST_F(AppLifecycle, RefusedTimerShowsMessageAndLeavesFrameWindowless)
{
    headless::SetTimerFails(true);
    CMainFrame* pFrame = new CMainFrame;
    EXPECT_EQ(pFrame->m_hWnd, nullptr);
    EXPECT_EQ(headless::LiveWindows(), 0);
    EXPECT_EQ(headless::MessageBoxTexts(), std::vector<std::string>{kTimerFailed});
    delete pFrame;
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
}

TEST_F(AppLifecycle, ProgramWithoutTimerEndsWithFailureAndShowsNothing)
{
    headless::SetTimerFails(true);
    const int nStatus = RunProgramClosingWhenIdle();
    EXPECT_NE(nStatus, 0);
    EXPECT_EQ(CountInLog(std::string("MessageBox ") + kTimerFailed + "|vurazevedadar|0"), 1);
    for (const std::string& line : headless::CallLog())
        EXPECT_EQ(line.rfind("ShowWindow", 0), std::string::npos) << line;
    EXPECT_EQ(AfxGetApp()->m_pMainWnd, nullptr);
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
    EXPECT_EQ(headless::LiveWindows(), 0);
}

TEST_F(AppLifecycle, ProgramPaintsBeforeLoopAndEndsWithZeroWhenClosed)
{
    const int nStatus = RunProgramClosingWhenIdle();
    EXPECT_EQ(nStatus, 0);
    const auto& calls = headless::DeviceCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().op, headless::DeviceOp::SetMapMode);  // the first paint binds
    EXPECT_EQ(AfxGetApp()->m_pMainWnd, nullptr);
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
    EXPECT_EQ(headless::LiveDeviceContexts(), 0);
    EXPECT_EQ(headless::LiveWindows(), 0);
    EXPECT_EQ(headless::DeletesOfSelectedObjects(), 0);
}

}  // namespace

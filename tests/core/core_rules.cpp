// The Win32 rules the portable core keeps for every backend but Windows, checked once and run
// with each backend that takes part: the order of retrieval, timers, the lifetime of GDI
// objects, and the state of a device context. Everything a test makes it also destroys, since
// a backend with a real window system has no reset between tests.
#include "core.h"
#include "passtime.h"

#include <coreprobe.h>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

const long long kMs = portable::kNanosecondsPerMillisecond;
const UINT kTimerPeriodMs = 10;
const COLORREF kRed = RGB(255, 0, 0);

LRESULT CALLBACK PlainWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProc(hWnd, nMsg, wParam, lParam);
}

// A shown window that has had its first paint, with nothing left in the queue.
class CoreWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const char kClass[] = "CoreRulesTest";
        WNDCLASS wndcls = WNDCLASS();
        wndcls.lpfnWndProc = PlainWndProc;
        wndcls.lpszClassName = kClass;
        wndcls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        ::RegisterClass(&wndcls);  // fails harmlessly from the second test on
        m_hWnd = ::CreateWindowEx(0, kClass, "core", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                  CW_USEDEFAULT, 0, NULL, NULL, NULL, NULL);
        ASSERT_NE(m_hWnd, nullptr);
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(m_hWnd);
        Drain();
    }
    void TearDown() override
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }
    void Drain()
    {
        MSG msg;
        while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE))
            ::DispatchMessage(&msg);
    }
    // Retrieves messages until the queue is empty; WM_QUIT is noted and not dispatched.
    std::vector<UINT> Retrieve()
    {
        std::vector<UINT> order;
        MSG msg;
        while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
            order.push_back(msg.message);
            if (msg.message != WM_QUIT)
                ::DispatchMessage(&msg);
        }
        return order;
    }

    HWND m_hWnd = nullptr;
};

TEST_F(CoreWindow, PostedThenQuitThenPaintThenOneTick)
{
    ASSERT_EQ(::SetTimer(m_hWnd, 7, kTimerPeriodMs, NULL), UINT_PTR(7));
    PassTime(3 * kTimerPeriodMs * kMs + kMs);  // three periods due: still one tick
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    ::PostQuitMessage(3);
    ::PostMessage(m_hWnd, WM_USER, 0, 0);
    EXPECT_EQ(Retrieve(), (std::vector<UINT>{WM_USER, WM_QUIT, WM_PAINT, WM_TIMER}));

    // GetMessage reports the quit as FALSE, with its code, even with a paint waiting.
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    ::PostQuitMessage(4);
    MSG msg;
    EXPECT_EQ(::GetMessage(&msg, NULL, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, WPARAM(4));
    EXPECT_EQ(::GetMessage(&msg, NULL, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT(WM_PAINT));
    ::DispatchMessage(&msg);
    ::KillTimer(m_hWnd, 7);
}

TEST_F(CoreWindow, GetMessageWaitsForTheNextTickAndPeekingLeavesItDue)
{
    ASSERT_NE(::SetTimer(m_hWnd, 1, kTimerPeriodMs, NULL), UINT_PTR(0));
    MSG msg;
    ASSERT_EQ(::GetMessage(&msg, NULL, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(msg.wParam, WPARAM(1));
    EXPECT_FALSE(::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE));
    PassTime(kTimerPeriodMs * kMs);
    ASSERT_TRUE(::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_FALSE(::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_TRUE(::KillTimer(m_hWnd, 1));
    EXPECT_FALSE(::KillTimer(m_hWnd, 1));
    // A window that goes takes its timers with it.
    ::SetTimer(m_hWnd, 2, kTimerPeriodMs, NULL);
    ::DestroyWindow(m_hWnd);
    EXPECT_EQ(portable::NextTimerDeadline(), portable::kNoDeadline);
}

TEST(CoreTimer, DeadlinesStayOnTheGridAndMissedTicksAreNotMadeUp)
{
    const long long nsPeriod = 50 * kMs;
    EXPECT_EQ(portable::FollowingDeadline(1000 * kMs, nsPeriod, 1001 * kMs), 1050 * kMs);
    EXPECT_EQ(portable::FollowingDeadline(1000 * kMs, nsPeriod, 1050 * kMs), 1100 * kMs);
    // 130 ms late: the ticks due at 1050 and 1100 are not made up, the next is at 1150.
    EXPECT_EQ(portable::FollowingDeadline(1000 * kMs, nsPeriod, 1130 * kMs), 1150 * kMs);
}

// Deleting a pen or brush while a DC holds it succeeds, and the object lives on until the DC
// lets it go (selecting another object, or releasing the DC), as under Wine.
TEST_F(CoreWindow, SelectedObjectsAreDeletedWhenTheDcLetsThemGo)
{
    const int nLive = portable::LiveGdiObjects();
    HDC hDC = ::GetDC(m_hWnd);
    HPEN hPen = ::CreatePen(PS_SOLID, 1, kRed);
    HBRUSH hBrush = ::CreateSolidBrush(kRed);
    const HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    ::SelectObject(hDC, hBrush);
    EXPECT_TRUE(::DeleteObject(hPen));
    EXPECT_TRUE(::DeleteObject(hBrush));
    EXPECT_TRUE(::DeleteObject(hPen));  // pending already: no error
    EXPECT_EQ(portable::LiveGdiObjects(), nLive + 2);
    EXPECT_TRUE(::MoveToEx(hDC, 0, 0, NULL));
    EXPECT_TRUE(::LineTo(hDC, 5, 5));  // still drawing with it
    EXPECT_EQ(::SelectObject(hDC, hOldPen), hPen);
    EXPECT_EQ(portable::LiveGdiObjects(), nLive + 1);
    EXPECT_FALSE(::DeleteObject(hPen));  // gone
    EXPECT_EQ(::ReleaseDC(m_hWnd, hDC), 1);
    EXPECT_EQ(portable::LiveGdiObjects(), nLive);

    // A clip region is copied into the DC, so it goes at once and the clip stays.
    hDC = ::GetDC(m_hWnd);
    HRGN hRgn = ::CreateRectRgn(0, 0, 20, 20);
    EXPECT_EQ(::SelectClipRgn(hDC, hRgn), SIMPLEREGION);
    EXPECT_TRUE(::DeleteObject(hRgn));
    EXPECT_EQ(portable::LiveGdiObjects(), nLive);
    EXPECT_TRUE(::Rectangle(hDC, 0, 0, 30, 30));
    // Stock objects cannot be deleted, and asking is no error.
    EXPECT_TRUE(::DeleteObject(::GetStockObject(BLACK_PEN)));
    EXPECT_EQ(::SelectObject(hDC, ::GetStockObject(BLACK_PEN)), ::GetStockObject(BLACK_PEN));
    ::ReleaseDC(m_hWnd, hDC);
}

TEST_F(CoreWindow, DcStateFollowsTheTextMappingMode)
{
    HDC hDC = ::GetDC(m_hWnd);
    EXPECT_EQ(::SetMapMode(hDC, MM_TEXT), MM_TEXT);
    const int kAnisotropic = 8;
    EXPECT_EQ(::SetMapMode(hDC, kAnisotropic), 0);  // not implemented: refused, nothing changed
    EXPECT_EQ(::SetMapMode(hDC, MM_TEXT), MM_TEXT);

    POINT previous = {-1, -1};
    EXPECT_TRUE(::SetViewportOrgEx(hDC, 40, 70, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    POINT points[] = {{40, 70}, {0, 0}};
    EXPECT_TRUE(::DPtoLP(hDC, points, 2));
    EXPECT_EQ(points[0].x, 0);
    EXPECT_EQ(points[0].y, 0);
    EXPECT_EQ(points[1].x, -40);
    EXPECT_EQ(points[1].y, -70);
    // A conversion that would not fit changes nothing.
    ::SetViewportOrgEx(hDC, 1, 0, NULL);
    POINT edge[] = {{5, 5}, {INT_MIN, 0}};
    EXPECT_FALSE(::DPtoLP(hDC, edge, 2));
    EXPECT_EQ(edge[0].x, 5);

    ::MoveToEx(hDC, 3, 4, NULL);
    ::LineTo(hDC, 9, 8);
    EXPECT_TRUE(::MoveToEx(hDC, 0, 0, &previous));
    EXPECT_EQ(previous.x, 9);
    EXPECT_EQ(previous.y, 8);

    HRGN hEmpty = ::CreateRectRgn(10, 10, 10, 30);
    EXPECT_EQ(::SelectClipRgn(hDC, hEmpty), NULLREGION);
    EXPECT_EQ(::SelectClipRgn(hDC, NULL), SIMPLEREGION);
    EXPECT_EQ(::SelectClipRgn(hDC, reinterpret_cast<HRGN>(::GetStockObject(BLACK_PEN))), ERROR);
    ::DeleteObject(hEmpty);
    EXPECT_EQ(::GetDeviceCaps(hDC, LOGPIXELSX), 96);
    EXPECT_EQ(::GetDeviceCaps(hDC, LOGPIXELSY), 96);

    // A DC outlives its window as a handle that draws nothing, still to be released.
    ::DestroyWindow(m_hWnd);
    EXPECT_FALSE(::LineTo(hDC, 1, 1));
    EXPECT_FALSE(::Rectangle(hDC, 0, 0, 5, 5));
    EXPECT_EQ(::ReleaseDC(NULL, hDC), 1);
    EXPECT_EQ(portable::LiveDeviceContexts(), 0);
}

// One repaint per invalidation, however many come before the loop looks; validating (here by
// DefWindowProc's BeginPaint) ends it, and a resize asks for one.
TEST_F(CoreWindow, InvalidationsAndResizesGiveOnePaintUntilValidated)
{
    ::InvalidateRect(m_hWnd, NULL, TRUE);
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    EXPECT_EQ(Retrieve(), (std::vector<UINT>{WM_PAINT}));
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    ::MoveWindow(m_hWnd, 0, 0, rect.right + 10, rect.bottom + 10, FALSE);
    ::GetClientRect(m_hWnd, &rect);
    MSG msg;
    ASSERT_TRUE(::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_PAINT));
    ::ValidateRect(m_hWnd, NULL);
    EXPECT_FALSE(::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(::GetClientRect(m_hWnd, &rect));
}

}  // namespace

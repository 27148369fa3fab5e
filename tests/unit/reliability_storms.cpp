// Message storms: a thousand resizes, ten thousand repaints, paints and ticks in random order,
// ticks from any timer id. However the window was treated before, a repaint restarts the
// animation, and the picture a repaint and N ticks leave is exactly a fresh window's.
#include "mechanism_fixture.h"

#include <random>

namespace mechanism_test {
namespace {

const int kFinalTicks = 37;  // past the first engagement, into the locked part of the turn

// A fresh window's repaint and first ticks, recorded once: what every storm must end with.
const std::vector<DeviceCall>& FreshPicture()
{
    static const std::vector<DeviceCall> calls = [] {
        headless::Reset();
        headless::SetDefaultClientSize(800, 600);
        CMainFrame* pFrame = new CMainFrame;
        headless::ClearDeviceCalls();
        ::SendMessage(pFrame->m_hWnd, WM_PAINT, 0, 0);
        for (int i = 0; i < kFinalTicks; ++i)
            ::SendMessage(pFrame->m_hWnd, WM_TIMER, 1, 0);
        std::vector<DeviceCall> recorded = headless::DeviceCalls();
        ::SendMessage(pFrame->m_hWnd, WM_CLOSE, 0, 0);
        return recorded;
    }();
    return calls;
}

class Storm : public FrameTest {
protected:
    void SetUp() override
    {
        FreshPicture();
        FrameTest::SetUp();
    }

    void Resize(int cx, int cy) { headless::SetClientSize(m_pFrame->m_hWnd, cx, cy); }
    void TickWithId(WPARAM id) { ::SendMessage(m_pFrame->m_hWnd, WM_TIMER, id, 0); }

    void ExpectRestarted() const
    {
        EXPECT_EQ(m_pFrame->m_dDriveAngle, -kPi / 2.0);
        EXPECT_EQ(m_pFrame->m_dCrossAngle, 0.0);
    }

    // The window back at its first size, one repaint and the ticks: the fresh picture.
    void ExpectFreshPictureAfterRepaint()
    {
        Resize(800, 600);
        headless::ClearDeviceCalls();
        PaintAndTick(kFinalTicks);
        EXPECT_TRUE(headless::DeviceCalls() == FreshPicture());
    }
};

TEST_F(Storm, ThousandResizesEachRepaintedLeaveTheFreshPicture)
{
    std::mt19937 random(1000);
    std::uniform_int_distribution<int> side(0, 2500);
    for (int i = 0; i < 1000; ++i) {
        Resize(side(random), side(random));
        Paint();
        ExpectRestarted();
        Tick();
    }
    ExpectFreshPictureAfterRepaint();
}

TEST_F(Storm, TenThousandRepaintsLeaveTheFreshPicture)
{
    for (int i = 0; i < 10000; ++i) {
        Paint();
        if (i % 7 == 0)
            Tick();
    }
    ExpectRestarted();
    ExpectFreshPictureAfterRepaint();
}

TEST_F(Storm, AnyTimerIdIsATickLikeAnyOther)
{
    const WPARAM ids[] = {0, 1, 2, 0xFFFFFFFF};
    std::vector<std::vector<DeviceCall>> ticks;
    for (WPARAM id : ids) {
        Paint();
        headless::ClearDeviceCalls();
        TickWithId(id);
        ticks.push_back(headless::DeviceCalls());
    }
    for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_TRUE(ticks[i] == ticks[0]) << "timer id " << ids[i];
    EXPECT_FALSE(ticks[0].empty());
}

// Paints, ticks with any id and resizes to any size (hostile ones included) in an order drawn
// from a seeded generator: a failure names its seed and is reproduced by it.
TEST_F(Storm, RandomOrdersOfPaintsTicksAndResizesLeaveTheFreshPicture)
{
    const WPARAM ids[] = {0, 1, 2, 0xFFFFFFFF};
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> pick(0, 9);
        std::uniform_int_distribution<int> side(0, 1200);
        for (int i = 0; i < 2000; ++i) {
            const int nKind = pick(random);
            if (nKind == 0) {
                Resize(side(random), side(random));
            } else if (nKind <= 2) {
                Paint();
                ExpectRestarted();
            } else {
                TickWithId(ids[nKind % 4]);
            }
        }
        ExpectFreshPictureAfterRepaint();
    }
}

}  // namespace
}  // namespace mechanism_test

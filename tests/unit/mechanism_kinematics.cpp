// The mechanism as a whole, judged on the model rather than on pixels, tick by tick over two
// revolutions: while engaged the pin sits on the axis of a slot, while locked the cap of the
// locking disc runs along the concave arc that faces it.
#include "mechanism_fixture.h"

namespace mechanism_test {
namespace {

constexpr double kTolerance = 1e-9;

// A point of the cross at the given direction and distance from its centre, taken at cross
// angle 0, placed in the cross's current pose.
WorldPoint OnCross(const CMainFrame& frame, double dDegrees, double dDistance)
{
    const double dRadians = dDegrees * kPi / 180.0;
    return Transformed(frame.m_canvasCross, dDistance * std::cos(dRadians),
                       dDistance * std::sin(dRadians));
}

using Kinematics = FrameTest;

TEST_F(Kinematics, WhileEngagedThePinSitsOnASlotAxisInsideTheSlot)
{
    const double kSlotDegrees[] = {60.0, 0.0, -60.0, -120.0, 180.0, 120.0};
    Paint();
    int nEngaged = 0;
    for (int nTick = 1; nTick <= 2 * kTicksPerRevolution; ++nTick) {
        Tick();
        if (std::fabs(m_pFrame->m_dDriveAngle) >= kPi / 3.0)
            continue;
        ++nEngaged;
        const WorldPoint pin = Transformed(m_pFrame->m_canvasWheel, 0.0, 30.0);
        const WorldPoint centre = OnCross(*m_pFrame, 0.0, 0.0);
        const double dx = pin.x - centre.x;
        const double dy = pin.y - centre.y;
        EXPECT_GT(std::hypot(dx, dy), 30.0) << "tick " << nTick;
        EXPECT_LT(std::hypot(dx, dy), std::sqrt(2700.0)) << "tick " << nTick;
        int nSlots = 0;
        for (double dDegrees : kSlotDegrees) {
            const WorldPoint axis = OnCross(*m_pFrame, dDegrees, 1.0);
            const double ux = axis.x - centre.x;
            const double uy = axis.y - centre.y;
            nSlots += std::fabs(ux * dy - uy * dx) < kTolerance && ux * dx + uy * dy > 0.0;
        }
        EXPECT_EQ(nSlots, 1) << "tick " << nTick;
    }
    EXPECT_EQ(nEngaged, 20);
}

// The drive, sampled every twelve degrees, leaves the slot between two ticks: the cross then
// rests 0.19 degrees short of a multiple of sixty, and the arc's centre sits that far round,
// 0.2 units from the wheel centre at a radius of 60. A cross that failed to lock (or locked in a
// wrong pose) would put the nearest arc centre whole units away.
constexpr double kLockedShortfall = 0.21;

TEST_F(Kinematics, WhileLockedTheCapRunsAlongTheFacingArc)
{
    const double kArcDegrees[] = {90.0, 30.0, -30.0, -90.0, -150.0, 150.0};
    Paint();
    int nLocked = 0;
    for (int nTick = 1; nTick <= 2 * kTicksPerRevolution; ++nTick) {
        Tick();
        if (std::fabs(m_pFrame->m_dDriveAngle) < kPi / 3.0)
            continue;
        ++nLocked;
        const WorldPoint cap = Transformed(m_pFrame->m_canvasWheel, 0.0, 60.0);
        double dNearest = HUGE_VAL;
        for (double dDegrees : kArcDegrees) {
            const WorldPoint arc = OnCross(*m_pFrame, dDegrees, 60.0);
            dNearest = std::min(dNearest, std::hypot(arc.x - cap.x, arc.y - cap.y));
        }
        EXPECT_LT(dNearest, kLockedShortfall) << "tick " << nTick;
    }
    EXPECT_EQ(nLocked, 40);
}

}  // namespace
}  // namespace mechanism_test

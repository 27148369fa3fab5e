// A million ticks after one repaint, as a window left running for more than half a day would
// see them. The wheel's rotation is accumulated in its canvas's transformation tick by tick, so
// rounding could make the pin drift from where the angle says it is; and each tick's erasure
// must cover exactly what the tick before drew, or traces would be left behind.
#include "../unit/mechanism_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace mechanism_test {
namespace {

const long kTicks = 1000000;
const double kDriveStep = 2.0 * kPi / kTicksPerRevolution;

// Where the pin centre is after n ticks, from a single rotation by the drive angle computed
// directly from n: the wheel's figure puts the pin at (0, distance - crank) before its pose.
WorldPoint ClosedFormPin(const CMainFrame& frame, long nTick)
{
    const long nStepInTurn = nTick % kTicksPerRevolution;
    CViewTransform pose(1);
    pose.Rotate(0.0, frame.m_dDistance, -kPi / 2.0 + nStepInTurn * kDriveStep);
    WorldPoint pin{};
    pose.Transform(0.0, frame.m_dDistance - frame.m_dCrank, pin.x, pin.y);
    return pin;
}

// The pin is the one circle of the wheel; its box is centred on the pin's device point.
bool DrawnPinCentre(const std::vector<DeviceCall>& wheel, double* pX, double* pY)
{
    for (const DeviceCall& call : wheel) {
        if (call.op == DeviceOp::Ellipse) {
            *pX = (call.args[0] + call.args[2] - 1) / 2.0;
            *pY = (call.args[1] + call.args[3] - 1) / 2.0;
            return true;
        }
    }
    return false;
}

TEST_F(FrameTest, MillionTicksKeepThePinOnItsCircleAndEraseExactlyWhatWasDrawn)
{
    Paint();
    std::vector<std::vector<int>> lastWheel;
    std::vector<std::vector<int>> lastCross;
    double dWorstDistance = 0.0;
    long nWorstTick = 0;
    double dWorstDrift = 0.0;
    for (long nTick = 1; nTick <= kTicks; ++nTick) {
        headless::ClearDeviceCalls();
        Tick();
        const std::vector<DeviceCall> wheel = WheelDraw();
        const std::vector<DeviceCall> cross = CrossDraw();
        if (nTick > 1) {
            ASSERT_EQ(Uncoloured(WheelErase()), lastWheel) << "tick " << nTick;
            const std::vector<DeviceCall> crossErase = CrossErase();
            if (!crossErase.empty()) {
                ASSERT_EQ(Uncoloured(crossErase), lastCross) << "tick " << nTick;
            }
        }
        lastWheel = Uncoloured(wheel);
        lastCross = Uncoloured(cross);

        double dX = 0.0;
        double dY = 0.0;
        ASSERT_TRUE(DrawnPinCentre(wheel, &dX, &dY)) << "tick " << nTick;
        const WorldPoint pin = ClosedFormPin(*m_pFrame, nTick);
        const WorldPoint accumulated = Transformed(m_pFrame->m_canvasWheel, 0.0,
                                                   m_pFrame->m_dDistance - m_pFrame->m_dCrank);
        dWorstDrift = std::max(dWorstDrift, std::hypot(accumulated.x - pin.x, accumulated.y - pin.y));
        const CPoint expected = DevicePoint(m_pFrame->m_canvasCross, pin.x, pin.y);
        const double dDistance = std::hypot(dX - expected.x, dY - expected.y);
        if (dDistance > dWorstDistance) {
            dWorstDistance = dDistance;
            nWorstTick = nTick;
        }
        ASSERT_LE(dDistance, 1.0) << "tick " << nTick;
    }
    // The figures for the record: how far the drawn pin ever was from the closed form, in
    // pixels, and how far the accumulated rotation drifted, in world units.
    std::printf("worst pin distance %.3f px (tick %ld); accumulated rotation off by at most "
                "%.3g world units\n",
                dWorstDistance, nWorstTick, dWorstDrift);
}

}  // namespace
}  // namespace mechanism_test

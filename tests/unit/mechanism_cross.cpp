// The outline of the Maltese cross as the device receives it: its parts, their continuity,
// the DC left as found, and an erasure that retraces the drawing.
#include "mechanism_fixture.h"

namespace mechanism_test {
namespace {

// Poses of the cross: at rest, mid-way, and two that no tick produces.
const double kPoses[] = {0.0, -0.5235987755982988, -0.0033664, 2.5};
constexpr int kSixths = 6;

class CrossOutline : public FrameTest {
protected:
    // The drawing calls of one DrawCross in the given pose, on a freshly painted frame.
    std::vector<DeviceCall> DrawAt(double dAngle)
    {
        Paint();
        BoundDC bound(*m_pFrame);
        m_pFrame->m_canvasCross.SetTransform(0.0, 0.0, dAngle, 1.0, 1.0);
        headless::ClearDeviceCalls();
        m_pFrame->DrawCross(m_pFrame->m_pPenFore);
        return RecordedWhere(IsDrawing);
    }

    double WorldRadius(const DeviceCall& arc) const
    {
        const CWorldCanvas& canvas = m_pFrame->m_canvasCross;
        const double dPixelsPerUnit = canvas.m_nWidth / (canvas.m_dWinX1 - canvas.m_dWinX0);
        return (arc.args[2] - arc.args[0] - 1) / 2.0 / dPixelsPerUnit;
    }
};

std::vector<int> Start(const DeviceCall& arc) { return {arc.args[4], arc.args[5]}; }
std::vector<int> End(const DeviceCall& arc) { return {arc.args[6], arc.args[7]}; }

// Twelve arcs alternating between the disc radius and the pin radius, and between them lines
// that start where the previous part ended; the last line ends where the first arc began.
// Arcs drawn from the wrong end break the chain as surely as a missing move or line.
TEST_F(CrossOutline, IsOneClosedChainOfTwelveArcsAndTwentyFourLines)
{
    for (double dAngle : kPoses) {
        SCOPED_TRACE(dAngle);
        const std::vector<DeviceCall> calls = DrawAt(dAngle);
        ASSERT_EQ(calls.size(), 8u * kSixths);
        EXPECT_EQ(Recorded(DeviceOp::Arc).size(), 2u * kSixths);
        EXPECT_EQ(Recorded(DeviceOp::LineTo).size(), 4u * kSixths);
        int nArc = 0;
        std::vector<int> end;  // where the outline has got to
        for (const DeviceCall& call : calls) {
            const std::vector<int> point(call.args.begin(), call.args.begin() + 2);
            if (call.op == DeviceOp::Arc) {
                EXPECT_NEAR(WorldRadius(call), nArc++ % 2 == 0 ? 22.5 : 4.5, 0.5);
                if (!end.empty()) {
                    EXPECT_EQ(Start(call), end) << "a gap before arc " << nArc;
                }
                end = End(call);
            } else if (call.op == DeviceOp::MoveTo) {
                EXPECT_EQ(point, end) << "the pen jumps after arc " << nArc;
            } else {
                ASSERT_EQ(call.op, DeviceOp::LineTo);
                end = point;
            }
        }
        EXPECT_EQ(Start(calls.front()), end);
    }
}

// Only the pen is selected, and the twelve turns of the frame add up to a full revolution.
TEST_F(CrossOutline, LeavesTheDcSelectionAndTheCanvasPoseAsFound)
{
    Paint();
    BoundDC bound(*m_pFrame);
    MarkedSelection marked(bound.m_dc);
    CWorldCanvas& canvas = m_pFrame->m_canvasCross;
    canvas.SetTransform(0.0, 0.0, -0.7, 1.0, 1.0);
    const WorldPoint before = Transformed(canvas, 0.0, 30.0);
    headless::ClearDeviceCalls();
    m_pFrame->DrawCross(m_pFrame->m_pPenBack);
    for (const DeviceCall& call : RecordedWhere(IsDrawing)) {
        EXPECT_EQ(call.pen, kBlue);
        EXPECT_EQ(call.brush, MarkedSelection::kBrush);
    }
    EXPECT_TRUE(marked.IsIntact());
    const WorldPoint after = Transformed(canvas, 0.0, 30.0);
    EXPECT_NEAR(after.x, before.x, 1e-12);
    EXPECT_NEAR(after.y, before.y, 1e-12);
}

using CrossErasure = FrameTest;

// The erasure of a tick must cover, call for call, the outline the tick before drew.
TEST_F(CrossErasure, RetracesThePreviousTicksOutlineInTheBackgroundPen)
{
    Paint();
    std::vector<DeviceCall> previous;
    for (int nTick = 1; nTick <= kTicksPerRevolution + 14; ++nTick) {
        headless::ClearDeviceCalls();
        Tick();
        const std::vector<DeviceCall> erased = CrossErase();
        if (!erased.empty()) {
            EXPECT_EQ(Uncoloured(erased), Uncoloured(previous)) << "tick " << nTick;
        }
        previous = CrossDraw();
        ASSERT_EQ(previous.size(), 8u * kSixths);
    }
}

}  // namespace
}  // namespace mechanism_test

// The driving wheel as the device receives it: its worked poses, its one filled part, the DC
// and the canvas left as found, and an erasure that retraces the drawing.
#include "mechanism_fixture.h"

namespace mechanism_test {
namespace {

struct Flank {
    WorldPoint points[3];
};

class WheelFigure : public FrameTest {
protected:
    // The device calls of one DrawWheel in the pose the wheel canvas holds after a repaint, or
    // in the wheel frame itself when bUpright.
    std::vector<DeviceCall> Draw(bool bUpright)
    {
        Paint();
        BoundDC bound(*m_pFrame);
        if (bUpright) {
            m_pFrame->m_canvasWheel.ResetTransform();
            m_pFrame->m_dDriveAngle = 0.0;
        }
        headless::ClearDeviceCalls();
        m_pFrame->DrawWheel(m_pFrame->m_pPenFore, m_pFrame->m_pBrushWheel);
        return RecordedWhere(IsDrawing);
    }

    // Checks a flank drawn as one device move and two lines, to within nSlack pixels.
    void ExpectFlank(const DeviceCall* pCalls, const Flank& flank, int nSlack) const
    {
        const DeviceOp ops[] = {DeviceOp::MoveTo, DeviceOp::LineTo, DeviceOp::LineTo};
        for (int i = 0; i < 3; ++i) {
            const CPoint expected =
                DevicePoint(m_pFrame->m_canvasWheel, flank.points[i].x, flank.points[i].y);
            EXPECT_EQ(pCalls[i].op, ops[i]);
            EXPECT_NEAR(pCalls[i].args[0], expected.x, nSlack) << "point " << i;
            EXPECT_NEAR(pCalls[i].args[1], expected.y, nSlack) << "point " << i;
        }
    }

    // Checks the radial points of the cap and the centre of the pin's device box.
    void ExpectCapAndPin(const DeviceCall& cap, WorldPoint start, WorldPoint end,
                         const DeviceCall& pin, WorldPoint pinCentre, int nSlack) const
    {
        const CWorldCanvas& canvas = m_pFrame->m_canvasWheel;
        const CPoint s = DevicePoint(canvas, start.x, start.y);
        const CPoint e = DevicePoint(canvas, end.x, end.y);
        const CPoint c = DevicePoint(canvas, pinCentre.x, pinCentre.y);
        ASSERT_EQ(cap.op, DeviceOp::Arc);
        EXPECT_NEAR(cap.args[4], s.x, nSlack);
        EXPECT_NEAR(cap.args[5], s.y, nSlack);
        EXPECT_NEAR(cap.args[6], e.x, nSlack);
        EXPECT_NEAR(cap.args[7], e.y, nSlack);
        ASSERT_EQ(pin.op, DeviceOp::Ellipse);
        EXPECT_NEAR((pin.args[0] + pin.args[2] - 1) / 2, c.x, nSlack);
        EXPECT_NEAR((pin.args[1] + pin.args[3] - 1) / 2, c.y, nSlack);
    }
};

TEST_F(WheelFigure, UprightPoseHasTheWheelFrameCoordinatesMirroredExactly)
{
    const std::vector<DeviceCall> calls = Draw(true);
    ASSERT_EQ(calls.size(), 8u);
    ExpectFlank(&calls[0], Flank{{{19.48557158514987, 71.25}, {13.639900109604909, 71.25},
                                  {4.5, 30.0}}}, 0);
    ExpectFlank(&calls[3], Flank{{{-19.48557158514987, 71.25}, {-13.639900109604909, 71.25},
                                  {-4.5, 30.0}}}, 0);
    ExpectCapAndPin(calls[6], {19.48557158514987, 71.25}, {-19.48557158514987, 71.25}, calls[7],
                    {0.0, 30.0}, 0);
}

// The pose of a repaint, given to four decimals: the pin points to the left.
TEST_F(WheelFigure, RepaintPoseMatchesTheWorkedCoordinates)
{
    const std::vector<DeviceCall> calls = Draw(false);
    ASSERT_EQ(calls.size(), 8u);
    ExpectFlank(&calls[0], Flank{{{11.25, 40.5144}, {11.25, 46.3601}, {-30.0, 55.5}}}, 1);
    ExpectFlank(&calls[3], Flank{{{11.25, 79.4856}, {11.25, 73.6399}, {-30.0, 64.5}}}, 1);
    ExpectCapAndPin(calls[6], {11.25, 40.5144}, {11.25, 79.4856}, calls[7], {-30.0, 60.0}, 1);
}

TEST_F(WheelFigure, PinIsTheOnlyFilledPart)
{
    PaintAndTick(5);
    headless::ClearDeviceCalls();
    Tick();
    const std::vector<DeviceCall> filled = RecordedWhere([](const DeviceCall& call) {
        return call.op == DeviceOp::Ellipse || call.op == DeviceOp::Pie ||
               call.op == DeviceOp::Rectangle;
    });
    ASSERT_EQ(filled.size(), 2u);  // erased, then drawn
    EXPECT_EQ(filled[0].op, DeviceOp::Ellipse);
    EXPECT_EQ(filled[0].brush, kBlue);
    EXPECT_EQ(filled[1].op, DeviceOp::Ellipse);
    EXPECT_EQ(filled[1].brush, kCyan);
    EXPECT_EQ(filled[1].pen, kWhite);
}

// The erasure of a tick must cover, call for call, the wheel the tick before drew; the first
// tick after a repaint erases the repaint's pose, which was never drawn.
TEST_F(WheelFigure, ErasureRetracesThePreviousTicksDrawing)
{
    std::vector<DeviceCall> previous = Draw(false);
    for (int nTick = 1; nTick <= 2 * kTicksPerRevolution + 2; ++nTick) {
        headless::ClearDeviceCalls();
        Tick();
        EXPECT_EQ(Uncoloured(WheelErase()), Uncoloured(previous)) << "tick " << nTick;
        previous = WheelDraw();
    }
}

TEST_F(WheelFigure, LeavesTheDcSelectionAndTheCanvasPoseAsFound)
{
    PaintAndTick(9);
    BoundDC bound(*m_pFrame);
    MarkedSelection marked(bound.m_dc);
    const CWorldCanvas& canvas = m_pFrame->m_canvasWheel;
    double before[9];
    std::copy(canvas.m_matrix, canvas.m_matrix + 9, before);
    m_pFrame->DrawWheel(m_pFrame->m_pPenFore, m_pFrame->m_pBrushWheel);
    EXPECT_TRUE(marked.IsIntact());
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(canvas.m_matrix[i], before[i], 1e-12) << "element " << i;
    EXPECT_EQ(canvas.m_nPenState, 0);
}

}  // namespace
}  // namespace mechanism_test

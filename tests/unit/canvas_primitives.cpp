// Drawing primitives: the pen state that chains lines, the device boxes of arcs, pies and
// circles, the transformed variants, and points that cannot reach the device.
#include "canvas_fixture.h"

#include <limits>

namespace canvas_test {
namespace {

using headless::DeviceOp;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// On the unit-scale canvas world (x, y) is device (x, 200 - y).
class CanvasPrimitives : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        m_pCanvas = new CWorldCanvas(nullptr, &m_dc, 1);
        BindUnitScale(*m_pCanvas);
    }
    void TearDown() override
    {
        delete m_pCanvas;
        CanvasTest::TearDown();
    }

    CWorldCanvas* m_pCanvas = nullptr;
};

Call Move(int x, int y) { return Call{DeviceOp::MoveTo, {x, y}}; }
Call Line(int x, int y) { return Call{DeviceOp::LineTo, {x, y}}; }

TEST_F(CanvasPrimitives, PolylineCostsOneMoveAndOneLinePerSegment)
{
    CWorldCanvas& c = *m_pCanvas;
    c.MoveTo(10, 20);
    c.LineTo(30, 40);
    c.LineTo(50, 60);
    EXPECT_EQ(RecordedCalls(), (std::vector<Call>{Move(10, 180), Line(30, 160), Line(50, 140)}));
    EXPECT_EQ(c.m_nPenState, 2);
}

TEST_F(CanvasPrimitives, FirstLineToOnlyRecordsItsPoint)
{
    CWorldCanvas& c = *m_pCanvas;
    c.LineTo(10, 20);
    EXPECT_TRUE(headless::DeviceCalls().empty());
    c.LineTo(30, 40);
    EXPECT_EQ(RecordedCalls(), (std::vector<Call>{Move(10, 180), Line(30, 160)}));
}

TEST_F(CanvasPrimitives, UnmappablePointDropsBothSegmentsThatTouchIt)
{
    CWorldCanvas& c = *m_pCanvas;
    c.MoveTo(10, 20);
    c.LineTo(kNaN, 0);
    EXPECT_EQ(c.m_nPenState, 0);
    c.LineTo(30, 40);
    c.LineTo(50, 60);
    EXPECT_EQ(RecordedCalls(), (std::vector<Call>{Move(30, 160), Line(50, 140)}));
}

TEST_F(CanvasPrimitives, WithoutADeviceLineToChangesNothingAndMoveToStillRecords)
{
    CWorldCanvas& c = *m_pCanvas;
    c.MoveTo(10, 20);
    c.m_pDC = nullptr;
    c.LineTo(30, 40);
    EXPECT_EQ(c.m_nPenState, 1);
    EXPECT_EQ(c.m_nLastX, 10);
    EXPECT_EQ(c.m_nLastY, 180);
    c.MoveTo(50, 60);
    EXPECT_EQ(c.m_nLastX, 50);
    EXPECT_EQ(c.m_nLastY, 140);
    EXPECT_EQ(c.Circle(0, 0, 5), 0);
    EXPECT_EQ(c.Arc(0, 0, 5, 5, 0, 0, 5), 0);
    EXPECT_EQ(c.Pie(0, 0, 5, 5, 0, 0, 5), 0);
    EXPECT_TRUE(headless::DeviceCalls().empty());
}

TEST_F(CanvasPrimitives, ShapeAfterAMoveMakesTheNextLineToAMoveAgain)
{
    CWorldCanvas& c = *m_pCanvas;
    c.MoveTo(10, 20);
    c.Circle(100, 100, 10);
    c.LineTo(30, 40);
    EXPECT_EQ(RecordedCalls(), (std::vector<Call>{{DeviceOp::Ellipse, {90, 90, 111, 111}}}));
    EXPECT_EQ(c.m_nPenState, 1);
    EXPECT_EQ(c.m_nLastX, 30);

    c.MoveTo(10, 20);
    c.Pie(100, 100, 10, 110, 100, 100, 110);
    c.LineTo(30, 40);
    c.MoveTo(10, 20);
    c.Arc(100, 100, 10, 110, 100, 100, 110);
    c.LineTo(30, 40);
    EXPECT_TRUE(RecordedCalls(DeviceOp::LineTo).empty());
}

TEST_F(CanvasPrimitives, RectangleMakesTheNextLineMoveBackToTheLastPoint)
{
    CWorldCanvas& c = *m_pCanvas;
    c.MoveTo(10, 20);
    c.LineTo(30, 40);
    c.DrawRect(0, 0, 5, 5);
    EXPECT_EQ(c.m_nPenState, 1);
    c.LineTo(50, 60);
    const std::vector<Call> kCalls = {Move(10, 180), Line(30, 160),
                                      {DeviceOp::Rectangle, {0, 0, 6, 6}}, Move(30, 160),
                                      Line(50, 140)};
    EXPECT_EQ(RecordedCalls(), kCalls);
}

TEST_F(CanvasPrimitives, CircleAndPieBoxesAreCentredOnTheMappedCentre)
{
    // Centre (0, 0) maps to (100, 100) and the corner (r, r) to (130.25, 71.19...), which
    // truncates to (130, 71): extents 30 and 29.
    CWorldCanvas& c = *m_pCanvas;
    c.m_dWinX0 = -100.0;
    c.m_dWinX1 = 100.0;
    c.m_dWinY0 = -105.0;
    c.m_dWinY1 = 105.0;
    EXPECT_NE(c.Circle(0, 0, 30.25), 0);
    EXPECT_NE(c.Pie(0, 0, 30.25, 30, 0, 0, 30), 0);
    EXPECT_NE(c.Arc(0, 0, 30.25, 30, 0, 0, 30), 0);
    const std::vector<Call> kCalls = {
        {DeviceOp::Ellipse, {71, 71, 130, 130}},
        {DeviceOp::Pie, {70, 71, 131, 130, 130, 100, 100, 71}},
        // Arc maps both corners: (-30.25, -30.25) lands on (69, 128).
        {DeviceOp::Arc, {69, 71, 131, 129, 130, 100, 100, 71}},
    };
    EXPECT_EQ(RecordedCalls(), kCalls);
}

TEST_F(CanvasPrimitives, EllipticArcTakesEachRadiusOnItsOwnAxis)
{
    EXPECT_NE(m_pCanvas->Arc(100, 100, 20, 10, 120, 100, 100, 110), 0);
    EXPECT_EQ(RecordedCalls(),
              (std::vector<Call>{{DeviceOp::Arc, {80, 90, 121, 111, 120, 100, 100, 90}}}));
}

TEST_F(CanvasPrimitives, ZeroRadiusStillDrawsAOnePixelBox)
{
    CWorldCanvas& c = *m_pCanvas;
    c.Arc(10, 20, 0, 10, 20, 10, 20);
    c.Pie(10, 20, 0, 10, 20, 10, 20);
    c.Circle(10, 20, 0);
    const std::vector<Call> kCalls = {{DeviceOp::Arc, {10, 180, 11, 181, 10, 180, 10, 180}},
                                      {DeviceOp::Pie, {10, 180, 11, 181, 10, 180, 10, 180}},
                                      {DeviceOp::Ellipse, {10, 180, 11, 181}}};
    EXPECT_EQ(RecordedCalls(), kCalls);
}

TEST_F(CanvasPrimitives, ShapesThatCannotReachTheDeviceDrawNothingAndKeepThePenState)
{
    CWorldCanvas& c = *m_pCanvas;
    c.MoveTo(10, 20);
    c.LineTo(30, 40);
    headless::ClearDeviceCalls();
    EXPECT_EQ(c.Arc(0, 0, 5, 5, 0, kNaN, 0), 0);
    EXPECT_EQ(c.Pie(0, 0, 5, 5, 0, 0, 1e300), 0);
    EXPECT_EQ(c.Circle(0, 0, 3e9), 0);
    // Each point maps, but the box does not fit: 2C - K for the pie, C + R for the circle.
    EXPECT_EQ(c.Pie(2e9, 0, -2.1e9, 0, 0, 1, 1), 0);
    EXPECT_EQ(c.Circle(2e9, 0, -1e9), 0);
    EXPECT_EQ(c.Circle(-2e9, 200, 1e9), 0);
    EXPECT_TRUE(headless::DeviceCalls().empty());
    EXPECT_EQ(c.m_nPenState, 2);
}

TEST_F(CanvasPrimitives, TransformedVariantsPlacePointsButKeepTheRadius)
{
    CWorldCanvas& c = *m_pCanvas;
    c.SetTransform(10, 20, 0, 3, 3);
    c.TCircle(0, 0, 5);
    c.TArc(0, 0, 5, 1, 0, 0, 1);
    c.TMoveTo(1, 1);
    c.TLineTo(2, 1);
    const std::vector<Call> kCalls = {{DeviceOp::Ellipse, {5, 175, 16, 186}},
                                      {DeviceOp::Arc, {5, 175, 16, 186, 13, 180, 10, 177}},
                                      Move(13, 177), Line(16, 177)};
    EXPECT_EQ(RecordedCalls(), kCalls);
}

TEST_F(CanvasPrimitives, CanvasNeverBoundToADeviceDrawsNothingThroughIt)
{
    // The timer path: a DC stored straight into a canvas that no paint has bound yet.
    CWorldCanvas c(nullptr, nullptr, 1);
    c.m_pDC = &m_dc;
    c.MoveTo(0, 0);
    c.LineTo(10, 10);
    c.LineTo(20, 0);
    c.Arc(0, 0, 5, 5, 0, 0, 5);
    c.Pie(0, 0, 5, 5, 0, 0, 5);
    c.Circle(0, 0, 5);
    c.TCircle(0, 0, 5);
    EXPECT_TRUE(headless::DeviceCalls().empty());
    EXPECT_EQ(c.m_nPenState, 0);
}

}  // namespace
}  // namespace canvas_test

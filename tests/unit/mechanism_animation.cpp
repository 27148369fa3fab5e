// The animation cycle: what a repaint and each timer tick do to the two angles, when the cross
// is erased, and how a repaint refits and restarts the picture.
#include "mechanism_fixture.h"

namespace mechanism_test {
namespace {

constexpr double kMinusHalfPi = -1.5707963267948966;
constexpr double kStep = 0.20943951023931953;
constexpr double kThreeHalvesPi = 4.71238898038469;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kThirdPi = 1.0471975511965976;

// The cross angle in degrees, to four decimals, after the ticks 3 to 12 of a revolution from a
// repaint: the ticks with the pin inside a slot.
constexpr int kFirstEngagedTick = 3;
constexpr int kLastEngagedTick = 12;
const double kEngagedCross[] = {-0.1929,  -1.9698,  -6.2060,  -13.5851, -24.0649,
                                -35.9351, -46.4149, -53.7940, -58.0302, -59.8071};

using AnimationCycle = FrameTest;

// Outside the slots the cross keeps the angle of the last engaged tick, through the wrap of
// the drive angle at the end of the revolution.
TEST_F(AnimationCycle, FollowsTheWorkedRevolutionAndHoldsTheLastEngagedPose)
{
    Paint();
    for (int nTick = 1; nTick <= kTicksPerRevolution + 1; ++nTick) {
        Tick();
        SCOPED_TRACE(nTick);
        const int nDrive = -90 + 12 * nTick - (nTick > kTicksPerRevolution ? 360 : 0);
        EXPECT_NEAR(Degrees(m_pFrame->m_dDriveAngle), nDrive, 1e-9);
        if (nTick < kFirstEngagedTick) {
            EXPECT_EQ(m_pFrame->m_dCrossAngle, 0.0);
        } else if (nTick <= kLastEngagedTick) {
            EXPECT_NEAR(Degrees(m_pFrame->m_dCrossAngle),
                        kEngagedCross[nTick - kFirstEngagedTick], 0.00005);
        } else {
            EXPECT_NEAR(Degrees(m_pFrame->m_dCrossAngle), kEngagedCross[9], 0.00005);
        }
    }
}

TEST_F(AnimationCycle, SumEqualToThreeHalvesPiStaysAndTheNextStepWraps)
{
    PaintAndTick(kTicksPerRevolution);
    EXPECT_EQ(m_pFrame->m_dDriveAngle, kThreeHalvesPi);
    Tick();
    EXPECT_EQ(m_pFrame->m_dDriveAngle, kThreeHalvesPi + kStep - kTwoPi);
}

// Erasing a cross that stands still would only flicker; not erasing one that moved would leave
// its old outline on the screen.
TEST_F(AnimationCycle, CrossIsErasedExactlyOnTheTicksItMoves)
{
    Paint();
    for (int nTick = 1; nTick <= 2 * kTicksPerRevolution + 2; ++nTick) {
        headless::ClearDeviceCalls();
        Tick();
        const int nInRevolution = (nTick - 1) % kTicksPerRevolution + 1;
        const bool bMoves =
            nInRevolution >= kFirstEngagedTick && nInRevolution <= kLastEngagedTick;
        EXPECT_EQ(CrossErase().size(), bMoves ? CrossDraw().size() : 0u) << "tick " << nTick;
    }
}

// Lands the drive exactly on the given angle with the next tick.
void LandOn(CMainFrame& frame, double dDrive)
{
    frame.m_dStep = 0.0;
    frame.m_dDriveAngle = dDrive;
    frame.m_canvasWheel.ResetTransform();
    frame.m_canvasWheel.Rotate(0.0, frame.m_dDistance, dDrive);
}

TEST_F(AnimationCycle, PinOnEitherBoundOfTheSlotWindowIsNotEngaged)
{
    const double dMark = 0.25;  // a cross angle no tick computes
    Paint();
    LandOn(*m_pFrame, -kThirdPi);
    m_pFrame->m_dCrossAngle = dMark;
    headless::ClearDeviceCalls();
    Tick();
    EXPECT_EQ(m_pFrame->m_dCrossAngle, dMark);
    EXPECT_TRUE(CrossErase().empty());

    LandOn(*m_pFrame, std::nextafter(-kThirdPi, 0.0));
    Tick();
    EXPECT_NEAR(m_pFrame->m_dCrossAngle, 0.0, 1e-15);

    LandOn(*m_pFrame, kThirdPi);
    m_pFrame->m_dCrossAngle = dMark;
    headless::ClearDeviceCalls();
    Tick();
    EXPECT_EQ(m_pFrame->m_dCrossAngle, dMark);
    EXPECT_TRUE(CrossErase().empty());
}

using AnimationRepaint = FrameTest;

TEST_F(AnimationRepaint, FitsTheMechanismAndDrawsOnlyTheStaticParts)
{
    headless::ClearDeviceCalls();
    Paint();
    const CWorldCanvas& canvas = m_pFrame->m_canvasCross;
    EXPECT_NEAR(canvas.m_dWinX1, 117.65158597662771, 1e-12);
    EXPECT_NEAR(canvas.m_dWinY0, -67.725, 1e-12);
    EXPECT_NEAR(canvas.m_dWinY1, 102.225, 1e-12);
    EXPECT_EQ(DevicePoint(canvas, 0.0, 0.0).y, 360);
    EXPECT_EQ(DevicePoint(m_pFrame->m_canvasWheel, 0.0, 60.0).y, 148);

    const std::vector<DeviceCall> drawn = RecordedWhere(IsDrawing);
    ASSERT_EQ(drawn.size(), 9u);  // the clearing rectangle and two bearings of four wedges
    EXPECT_EQ(drawn[0].args, (std::vector<int>{0, 0, 799, 599}));
    EXPECT_EQ(drawn[0].pen, kWhite);
    EXPECT_EQ(drawn[0].brush, kBlue);
    EXPECT_EQ(Recorded(DeviceOp::Pie).size(), 8u);
}

// A window partly uncovered gets a paint DC that draws only in the uncovered part; the
// restarted animation would then never erase the figures left elsewhere.
TEST_F(AnimationRepaint, ClaimsTheWholeClientAreaBeforePainting)
{
    headless::ClearCallLog();
    Paint();
    ASSERT_FALSE(headless::CallLog().empty());
    EXPECT_EQ(headless::CallLog().front(), "InvalidateRect 0");
}

TEST_F(AnimationRepaint, AfterAResizeRestartsTheMechanismAndRefitsThePicture)
{
    PaintAndTick(17);
    headless::SetClientSize(m_pFrame->m_hWnd, 501, 301);
    headless::ClearDeviceCalls();
    Paint();

    EXPECT_EQ(m_pFrame->m_dDriveAngle, kMinusHalfPi);
    EXPECT_EQ(m_pFrame->m_dCrossAngle, 0.0);
    EXPECT_EQ(m_pFrame->m_dStep, kStep);
    for (const CWorldCanvas* pCanvas : {&m_pFrame->m_canvasCross, &m_pFrame->m_canvasWheel}) {
        EXPECT_EQ(pCanvas->m_pDC, nullptr);
        EXPECT_EQ(pCanvas->m_nWidth, 500);
        EXPECT_EQ(pCanvas->m_nHeight, 300);
        // The height governs at this size: the vertical window keeps its 5 % margins, the
        // horizontal one is widened symmetrically.
        EXPECT_NEAR(pCanvas->m_dWinY0, -67.725, 1e-12);
        EXPECT_NEAR(pCanvas->m_dWinY1, 102.225, 1e-12);
        EXPECT_EQ(pCanvas->m_dWinX0, -pCanvas->m_dWinX1);
    }
    EXPECT_EQ(RecordedWhere(IsDrawing)[0].args, (std::vector<int>{0, 0, 500, 300}));
    const WorldPoint pin = Transformed(m_pFrame->m_canvasWheel, 0.0, 30.0);
    EXPECT_NEAR(pin.x, -30.0, 1e-12);
    EXPECT_NEAR(pin.y, 60.0, 1e-12);
    const WorldPoint slot = Transformed(m_pFrame->m_canvasCross, -15.0, 25.0);
    EXPECT_EQ(slot.x, -15.0);
    EXPECT_EQ(slot.y, 25.0);

    Tick();
    EXPECT_NEAR(Degrees(m_pFrame->m_dDriveAngle), -78.0, 1e-9);
    EXPECT_EQ(m_pFrame->m_canvasCross.m_pDC, nullptr);
    EXPECT_EQ(m_pFrame->m_canvasWheel.m_pDC, nullptr);
    EXPECT_EQ(headless::LiveDeviceContexts(), 0);
}

}  // namespace
}  // namespace mechanism_test

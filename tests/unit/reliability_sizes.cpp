// Client areas a user or the system can impose: minimised, squeezed to a line, a few pixels,
// far larger than any screen. Whatever the size, the program draws only inside its window,
// and where the window has room for a picture the picture is where the mapping puts it.
#include "mechanism_fixture.h"

#include <cmath>
#include <ostream>

namespace mechanism_test {
namespace {

struct ClientSize {
    int cx;
    int cy;
};

std::ostream& operator<<(std::ostream& os, const ClientSize& size)
{
    return os << size.cx << " x " << size.cy;
}

const ClientSize kHostileSizes[] = {{0, 0},   {1, 1},    {2, 2},       {3, 3},     {1, 800},
                                    {800, 1}, {7, 7},    {4000, 3000}, {32000, 200}};

const int kTicks = 200;

bool PointInside(int x, int y, const ClientSize& size)
{
    return x >= 0 && y >= 0 && x < size.cx && y < size.cy;
}

// A box's right and bottom edges are exclusive, as GDI's are.
bool BoxInside(const std::vector<int>& args, const ClientSize& size)
{
    return args[0] >= 0 && args[1] >= 0 && args[2] <= size.cx && args[3] <= size.cy;
}

// An arc runs counter-clockwise (as the screen shows it) on the ellipse inscribed in its box,
// from the ray through its start point to the ray through its end point: much of the box
// may lie outside the window while the arc itself stays inside. The arc is followed in small
// steps, each point rounded to the pixel it falls on.
bool ArcInside(const std::vector<int>& args, const ClientSize& size)
{
    if (BoxInside(args, size))
        return true;
    const double cx = (args[0] + args[2] - 1) / 2.0;
    const double cy = (args[1] + args[3] - 1) / 2.0;
    const double a = (args[2] - args[0] - 1) / 2.0;
    const double b = (args[3] - args[1] - 1) / 2.0;
    if (!(a > 0.0 && b > 0.0))
        return false;  // a flat box that pokes out: its one line of pixels does too
    const double dStart = std::atan2(cy - args[5], args[4] - cx);
    double dEnd = std::atan2(cy - args[7], args[6] - cx);
    if (dEnd <= dStart)
        dEnd += 2.0 * kPi;
    const int kSteps = 4096;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = dStart + (dEnd - dStart) * i / kSteps;
        // The point on the ellipse in the direction t, as the ray from the centre meets it.
        const double dScale = 1.0 / std::hypot(std::cos(t) / a, std::sin(t) / b);
        const double x = cx + dScale * std::cos(t);
        const double y = cy - dScale * std::sin(t);
        if (!PointInside(static_cast<int>(std::floor(x + 0.5)),
                         static_cast<int>(std::floor(y + 0.5)), size))
            return false;
    }
    return true;
}

// Whether a recorded call can touch a pixel outside the client area. The radial points of
// pies only give directions, so their boxes count, as a full disc's would.
bool ReachesOutside(const DeviceCall& call, const ClientSize& size)
{
    switch (call.op) {
    case DeviceOp::MoveTo:
    case DeviceOp::LineTo:
        return !PointInside(call.args[0], call.args[1], size);
    case DeviceOp::Arc:
        return !ArcInside(call.args, size);
    case DeviceOp::Pie:
    case DeviceOp::Ellipse:
    case DeviceOp::Rectangle:
        return !BoxInside(call.args, size);
    case DeviceOp::SetViewportOrg:
        return call.args[0] != 0 || call.args[1] != 0;
    case DeviceOp::SelectClipRgn:
        return !call.args.empty() && !BoxInside(call.args, size);
    default:
        return false;
    }
}

class HostileSize : public FrameTest, public ::testing::WithParamInterface<ClientSize> {
protected:
    // Paints and ticks at the size under test, recording only what that size produced.
    void PaintAndTickAt(const ClientSize& size)
    {
        headless::SetClientSize(m_pFrame->m_hWnd, size.cx, size.cy);
        headless::ClearDeviceCalls();
        PaintAndTick(kTicks);
    }

    void ExpectNothingOutside(const ClientSize& size) const
    {
        int nOutside = 0;
        for (const DeviceCall& call : headless::DeviceCalls()) {
            if (ReachesOutside(call, size) && ++nOutside <= 3)
                ADD_FAILURE() << "call " << static_cast<int>(call.op) << " reaches outside "
                              << ::testing::PrintToString(call.args);
        }
        EXPECT_EQ(nOutside, 0);
    }

    // Where the window has room, both bearings are centred on the device points the mapping
    // gives for the pivots, and the ticks drew the moving figures.
    void ExpectPictureWhereMapped(const ClientSize& size) const
    {
        const std::vector<DeviceCall> pies = Recorded(DeviceOp::Pie);
        if (size.cx < 2 || size.cy < 2) {
            EXPECT_TRUE(RecordedWhere(IsDrawing).empty());
            return;
        }
        ASSERT_EQ(pies.size(), 8u);
        const double pivots[] = {0.0, m_pFrame->m_dDistance};
        for (int nBearing = 0; nBearing < 2; ++nBearing) {
            const CPoint centre = DevicePoint(m_pFrame->m_canvasCross, 0.0, pivots[nBearing]);
            for (int nWedge = 0; nWedge < 4; ++nWedge) {
                const std::vector<int>& box = pies[nBearing * 4 + nWedge].args;
                EXPECT_EQ(box[0] + box[2] - 1, 2 * centre.x);
                EXPECT_EQ(box[1] + box[3] - 1, 2 * centre.y);
            }
        }
        EXPECT_FALSE(WheelDraw().empty());
        EXPECT_EQ(Uncoloured(WheelErase()).size(), Uncoloured(WheelDraw()).size());
    }
};

TEST_P(HostileSize, WindowShrunkAfterAPictureDrawsOnlyInsideIt)
{
    PaintAndTick(3);
    PaintAndTickAt(GetParam());
    ExpectNothingOutside(GetParam());
    ExpectPictureWhereMapped(GetParam());
}

// No repaint has bound the canvases yet: the first one meets the size with their initial state.
TEST_P(HostileSize, WindowOpenedAtTheSizeDrawsOnlyInsideIt)
{
    PaintAndTickAt(GetParam());
    ExpectNothingOutside(GetParam());
    ExpectPictureWhereMapped(GetParam());
}

TEST_P(HostileSize, RestoredWindowDrawsTheSamePictureAsAFreshOne)
{
    PaintAndTickAt(GetParam());
    headless::SetClientSize(m_pFrame->m_hWnd, 800, 600);
    headless::ClearDeviceCalls();
    PaintAndTick(40);
    const std::vector<DeviceCall> restored = headless::DeviceCalls();

    ::SendMessage(m_pFrame->m_hWnd, WM_CLOSE, 0, 0);
    m_pFrame = new CMainFrame;
    headless::ClearDeviceCalls();
    PaintAndTick(40);
    EXPECT_TRUE(restored == headless::DeviceCalls());
}

INSTANTIATE_TEST_SUITE_P(ClientAreas, HostileSize, ::testing::ValuesIn(kHostileSizes),
                         [](const ::testing::TestParamInfo<ClientSize>& info) {
                             return std::to_string(info.param.cx) + "x" +
                                    std::to_string(info.param.cy);
                         });

}  // namespace
}  // namespace mechanism_test

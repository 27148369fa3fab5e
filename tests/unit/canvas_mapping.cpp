// The world window and the mappings from world and viewport coordinates to the device.
#include "canvas_fixture.h"

#include <climits>
#include <limits>

namespace canvas_test {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

class CanvasMapping : public CanvasTest {
protected:
    // 101 x 51 pixels (device x 0..100, y 0..50) showing the world (0, 0)-(100, 50).
    void BindSmall(CWorldCanvas& canvas)
    {
        Bind(canvas, 101, 51);
        canvas.m_dWinX1 = 100.0;
        canvas.m_dWinY1 = 50.0;
    }
};

TEST_F(CanvasMapping, FitsTheWindowToTheLastBitWhicheverAxisGoverns)
{
    struct Fit {
        int cx, cy;
        double x0, y0, x1, y1, margin;
        double winX0, winY0, winX1, winY1;
    };
    const Fit kFits[] = {
        // The paint's rectangle on 800 x 600, also mirrored in x: the vertical span governs.
        {800, 600, -60, -60, 60, 94.5, 5, -117.65158597662771, -67.725, 117.65158597662771,
         102.225},
        {800, 600, 60, -60, -60, 94.5, 5, 117.65158597662771, -67.725, -117.65158597662771,
         102.225},
        {669, 536, -60, -60, 60, 94.5, 5, -109.74504672897196, -67.725, 109.74504672897196,
         102.225},
        // The horizontal span governs, also with y flipped.
        {429, 988, -60, -60, 60, 94.5, 5, -66.0, -141.0623831775701, 66.0, 175.5623831775701},
        {429, 988, -60, 94.5, 60, -60, 5, -66.0, 175.5623831775701, 66.0, -141.0623831775701},
        // B / H equals A / W: the vertical branch, whose rounding differs from the other's.
        {817, 710, 0, 0, 3916.8, 3403.2, 20, -783.3599999999997, -680.64, 4700.16,
         4083.8399999999997},
    };
    for (const Fit& f : kFits) {
        CWorldCanvas canvas(nullptr, &m_dc, 1);
        Bind(canvas, f.cx, f.cy);
        canvas.SetWindow(f.x0, f.y0, f.x1, f.y1, f.margin);
        const double kGot[] = {canvas.m_dWinX0, canvas.m_dWinY0, canvas.m_dWinX1, canvas.m_dWinY1};
        const double kWant[] = {f.winX0, f.winY0, f.winX1, f.winY1};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Bits(kGot[i]), Bits(kWant[i])) << f.cx << " x " << f.cy << " [" << i << "]";
    }
}

TEST_F(CanvasMapping, PaintWindowPutsThePivotsOnTheirPixels)
{
    CWorldCanvas canvas(nullptr, &m_dc, 1);
    Bind(canvas, 800, 600);
    canvas.SetWindow(-60.0, -60.0, 60.0, 94.5, 5.0);
    int x = 0, y = 0;
    ASSERT_EQ(canvas.WorldToDevice(0.0, 0.0, &x, &y), 1);
    EXPECT_EQ(x, 399);
    EXPECT_EQ(y, 360);
    ASSERT_EQ(canvas.WorldToDevice(0.0, 60.0, &x, &y), 1);
    EXPECT_EQ(x, 399);
    EXPECT_EQ(y, 148);
}

TEST_F(CanvasMapping, EmptyWorldSpanKeepsThePreviousWindow)
{
    CWorldCanvas canvas(nullptr, &m_dc, 1);
    BindSmall(canvas);
    canvas.SetWindow(3.0, 0.0, 3.0, 10.0, 5.0);
    canvas.SetWindow(0.0, 1.0, 10.0, 1.0 + 1e-13, 0.0);
    canvas.SetWindow(0.0, kNaN, 10.0, 1.0, 0.0);
    EXPECT_EQ(canvas.m_dWinX0, 0.0);
    EXPECT_EQ(canvas.m_dWinY0, 0.0);
    EXPECT_EQ(canvas.m_dWinX1, 100.0);
    EXPECT_EQ(canvas.m_dWinY1, 50.0);
}

TEST_F(CanvasMapping, WindowEdgesLandOnTheViewportEdgesTruncatingTowardZero)
{
    CWorldCanvas canvas(nullptr, &m_dc, 1);
    BindSmall(canvas);
    // World point, then the device point expected.
    const double kPoints[][4] = {{0, 0, 0, 50}, {100, 50, 100, 0}, {-0.5, 50.5, 0, 0}};
    for (const auto& p : kPoints) {
        int x = -1, y = -1;
        ASSERT_EQ(canvas.WorldToDevice(p[0], p[1], &x, &y), 1);
        EXPECT_EQ(x, p[2]) << p[0] << ", " << p[1];
        EXPECT_EQ(y, p[3]) << p[0] << ", " << p[1];
    }

    // The product is divided by the span, not multiplied by a precomputed scale; the two
    // round differently, and truncation shows it.
    int x = 0, y = 0;
    canvas.m_dWinX1 = 0.7000000000000001;
    canvas.WorldToDevice(0.7000000000000001, 0.0, &x, &y);
    EXPECT_EQ(x, 99);
    canvas.m_dWinX1 = 0.30000000000000004;
    canvas.WorldToDevice(0.30000000000000004, 0.0, &x, &y);
    EXPECT_EQ(x, 100);
    canvas.m_dWinY1 = 6.0;
    canvas.WorldToDevice(0.0, 5.4, &x, &y);
    EXPECT_EQ(y, 5);
}

TEST_F(CanvasMapping, PointsBeyondTheIntRangeAreRefusedWithoutWritingOutputs)
{
    CWorldCanvas canvas(nullptr, &m_dc, 1);
    BindSmall(canvas);
    // Device y is 50 - y.
    const double kRefused[][2] = {{kNaN, 0},         {0, kNaN},           {kInf, 0},
                                  {0, -kInf},        {1e300, 0},          {2147483647.0, 0},
                                  {-2147483648.0, 0}, {0, 2147483698.0}, {0, -2147483597.0}};
    for (const auto& p : kRefused) {
        int x = -7, y = -7;
        EXPECT_EQ(canvas.WorldToDevice(p[0], p[1], &x, &y), 0) << p[0] << ", " << p[1];
        EXPECT_EQ(x, -7);
        EXPECT_EQ(y, -7);
    }

    int x = 0, y = 0;
    ASSERT_EQ(canvas.WorldToDevice(2147483646.0, 2147483697.5, &x, &y), 1);
    EXPECT_EQ(x, 2147483646);
    EXPECT_EQ(y, -2147483647);
    ASSERT_EQ(canvas.WorldToDevice(-2147483647.5, -2147483596.0, &x, &y), 1);
    EXPECT_EQ(x, -2147483647);
    EXPECT_EQ(y, 2147483646);
}

TEST_F(CanvasMapping, DegenerateOrNeverSetWindowMapsNothing)
{
    CWorldCanvas bound(nullptr, &m_dc, 1);
    BindSmall(bound);
    bound.m_dWinX1 = bound.m_dWinX0;
    int x = -7, y = -7;
    EXPECT_EQ(bound.WorldToDevice(0.0, 0.0, &x, &y), 0);
    EXPECT_EQ(bound.WorldToDevice(1.0, 0.0, &x, &y), 0);

    CWorldCanvas unbound(nullptr, nullptr, 1);
    EXPECT_EQ(unbound.WorldToDevice(0.0, 0.0, &x, &y), 0);
    unbound.SetWindow(-60.0, -60.0, 60.0, 94.5, 5.0);
    EXPECT_EQ(unbound.WorldToDevice(0.0, 0.0, &x, &y), 0);
    EXPECT_EQ(x, -7);
    EXPECT_EQ(y, -7);
}

TEST_F(CanvasMapping, ToDeviceFollowsTheOrientationAndWritesNothingItCannotMap)
{
    CWorldCanvas canvas(nullptr, &m_dc, 1);
    Bind(canvas, 100, 50);  // W = 99 and H = 49: integer halves 49 and 24
    // Mode, point, then the device point expected; -7 where nothing may be written.
    const int kCases[][5] = {
        {0, 3, 4, 3, 45},          {1, 3, 4, 52, 20},    {1, -60, 30, -11, -6},
        {2, 3, 4, 3, 4},           {3, 3, 4, 96, 4},     {4, 3, 4, 96, 45},
        {5, 3, 4, -7, -7},         {-1, 3, 4, -7, -7},   {0, 0, INT_MIN, -7, -7},
        {1, INT_MAX, 0, -7, -7},   {1, 0, INT_MIN, -7, -7}, {3, INT_MIN, 0, -7, -7},
        {4, 0, INT_MIN, -7, -7},
    };
    for (const auto& c : kCases) {
        canvas.m_nOrientation = c[0];
        int x = -7, y = -7;
        canvas.ToDevice(c[1], c[2], &x, &y);
        EXPECT_EQ(x, c[3]) << "mode " << c[0] << " (" << c[1] << ", " << c[2] << ")";
        EXPECT_EQ(y, c[4]) << "mode " << c[0] << " (" << c[1] << ", " << c[2] << ")";
    }
}

TEST_F(CanvasMapping, PaletteDependsOnTheAbsoluteIndexModuloEight)
{
    const CWorldCanvas canvas(nullptr, nullptr, 1);
    const COLORREF kColors[] = {0x000000, 0xFF0000, 0x00FF00, 0xFFFF00,
                                0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(canvas.ColorOf(i), kColors[i]) << i;
        EXPECT_EQ(canvas.ColorOf(-i), kColors[i]) << -i;
        EXPECT_EQ(canvas.ColorOf(i + 8), kColors[i]) << i + 8;
    }
    EXPECT_EQ(canvas.ColorOf(INT_MIN), 0x000000u);
    EXPECT_EQ(canvas.ColorOf(INT_MAX), 0xFFFFFFu);
}

}  // namespace
}  // namespace canvas_test

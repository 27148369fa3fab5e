// Faults the canvas fuzz targets found, each kept as the smallest input that showed it. Every
// test here failed before its fix.
#include "canvas_fixture.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

namespace canvas_test {
namespace {

const double kInf = std::numeric_limits<double>::infinity();

bool SameMatrix(const double* a, const double* b)
{
    return std::memcmp(a, b, 9 * sizeof(double)) == 0;
}

// diag(1e103, 1e103, 1e103) has the inverse diag(1e-103, ...), but its determinant, 1e309,
// overflows: dividing the adjugate by it gave the zero matrix, reported as the inverse.
TEST(CanvasFuzzRegressions, InversionRefusesADeterminantPastTheDoubleRange)
{
    const double kMatrix[9] = {1e103, 0, 0, 0, 1e103, 0, 0, 0, 1e103};
    double m[9];
    std::memcpy(m, kMatrix, sizeof m);
    EXPECT_EQ(Invert3x3(m, 1e-10), 0);
    EXPECT_TRUE(SameMatrix(m, kMatrix));
}

// An infinite element makes the determinant infinite, and the sum of the elements too, so the
// relative test let it by; the quotients were NaN and zeros.
TEST(CanvasFuzzRegressions, InversionRefusesAnInfiniteElement)
{
    const double kMatrix[9] = {kInf, 0, 0, 0, 1, 0, 0, 0, 1};
    double m[9];
    std::memcpy(m, kMatrix, sizeof m);
    EXPECT_EQ(Invert3x3(m, 1e-10), 0);
    EXPECT_TRUE(SameMatrix(m, kMatrix));
}

// The determinant is 2 and the inverse's middle element DBL_MAX, but the adjugate element
// behind it, 2 * DBL_MAX, overflows: the result held an infinity.
TEST(CanvasFuzzRegressions, InversionRefusesAnAdjugateElementPastTheDoubleRange)
{
    const double kMatrix[9] = {2, 0, 0, 0, 0, -1, 0, 1, DBL_MAX};
    double m[9];
    std::memcpy(m, kMatrix, sizeof m);
    EXPECT_EQ(Invert3x3(m, 0.0), 0);
    EXPECT_TRUE(SameMatrix(m, kMatrix));

    // The same shape with moderate numbers inverts as before.
    double moderate[9] = {2, 0, 0, 0, 0, -1, 0, 1, 4};
    const double kInverse[9] = {0.5, 0, 0, 0, 4, 1, 0, -1, 0};
    EXPECT_EQ(Invert3x3(moderate, 0.0), 1);
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(moderate[k], kInverse[k]) << k;
}

// An infinite sight vector gave a camera that reported success with NaN in its view matrix.
// Now the basis stays uninverted, as for any other basis the inversion refuses.
TEST(CanvasFuzzRegressions, CameraWithAnInfiniteSightIsRefused)
{
    CViewTransform t(1);
    t.m_dSight[0] = kInf;
    t.m_dSight[1] = 0.0;
    t.m_dSight[2] = 0.0;
    EXPECT_EQ(t.UpdateCamera(), 0);
    EXPECT_EQ(t.m_dView[2], -kInf);
    EXPECT_EQ(Bits(t.m_dView[5]), Bits(-0.0));
    EXPECT_EQ(Bits(t.m_dView[8]), Bits(-0.0));
    for (int k = 0; k < 9; ++k)
        EXPECT_FALSE(std::isnan(t.m_dView[k])) << k;
}

// The fuzzer's camera: a finite basis whose determinant (about 2.2e300) and inverse are finite,
// but one adjugate element overflowed, so the accepted view matrix held -infinity.
TEST(CanvasFuzzRegressions, CameraWhoseAdjugateOverflowsIsRefused)
{
    CViewTransform t(1);
    const double kDir[3] = {7.2911220195563967e-304, 1.4411518807585587e+17, 1769269016.0};
    const double kUp[3] = {0.0, 0.0, 1.0};
    const double kSight[3] = {30.0, -8.3355302457351164e-174, DBL_MAX};
    std::memcpy(t.m_dDir, kDir, sizeof kDir);
    std::memcpy(t.m_dUp, kUp, sizeof kUp);
    std::memcpy(t.m_dSight, kSight, sizeof kSight);
    EXPECT_EQ(t.UpdateCamera(), 0);
    EXPECT_EQ(t.m_dView[8], -DBL_MAX);  // the basis, uninverted
}

class CanvasFuzzBinding : public CanvasTest {};

// Binding after a viewport whose origin is INT_MIN converts the marker size through the DC's
// DPtoLP relative to that origin; the device must refuse the conversion rather than overflow
// (the asan preset would stop there), and the marker keeps its device size.
TEST_F(CanvasFuzzBinding, BindingAfterAViewportAtTheLowestOriginKeepsTheMarker)
{
    CWorldCanvas canvas(nullptr, &m_dc, 0);
    canvas.SetViewport(INT_MIN, INT_MIN, 2, 2, 2);
    ASSERT_EQ(canvas.m_nOrgX, INT_MIN);
    canvas.SetDC(&m_dc, 1, 1, 0);  // refused viewport: the origin stays at INT_MIN
    EXPECT_EQ(canvas.m_nMarkerSize, 96 / 20);
}

}  // namespace
}  // namespace canvas_test

// The camera defaults, the derivation of the view basis, and the 3x3 inversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include <viewtransform.h>

namespace canvas_test {
namespace {

// The default camera's unit direction, up and side vectors, to the last bit.
const double kDir[3] = {-0.3481553119113957, 0.8703882797784892, -0.3481553119113957};
const double kUp[3] = {-0.1293016367670472, 0.323254091917618, 0.9374368665610922};
const double kSide[3] = {0.9284766908852593, 0.3713906763541038, 0.0};
// |eye - target|^2: the basis is orthonormal apart from its third column t, so the inverse's
// last row is t / |t|^2 (up to the sign of the mode).
const double kSightSquared = 33000000.0;
const double kDefaultSight[3] = {-2000.0, 5000.0, -2000.0};

std::uint64_t Bits(double d)
{
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

bool SameBits(const double* a, const double* b, int n)
{
    return std::memcmp(a, b, sizeof(double) * n) == 0;
}

void ExpectDefaultView(const CViewTransform& t, double sign)
{
    const double* v = t.m_dView;
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(v[i], kSide[i], 1e-15) << i;
        EXPECT_NEAR(v[3 + i], kUp[i], 1e-15) << i;
        EXPECT_NEAR(v[6 + i], sign * -kDefaultSight[i] / kSightSquared, 1e-19) << i;
    }
}

TEST(CanvasCamera, DefaultCameraInvertsItsBasisInBothModes)
{
    CViewTransform t1(1);
    EXPECT_EQ(t1.m_nCameraMode, 1);
    EXPECT_TRUE(SameBits(t1.m_dDir, kDir, 3));
    EXPECT_EQ(Bits(t1.m_dCameraAngle), 0x3FE921FB54442D18u);
    ExpectDefaultView(t1, 1.0);

    // Mode 0 takes target - eye for the third column, the sight negated: the last row flips.
    CViewTransform t0(0);
    EXPECT_EQ(t0.ResetCamera(0), 1);
    ExpectDefaultView(t0, -1.0);
}

TEST(CanvasCamera, EyeOnTargetLeavesTheBasisUninverted)
{
    CViewTransform t(1);
    t.m_nCameraMode = 0;
    std::memcpy(t.m_dTarget, t.m_dEye, sizeof t.m_dEye);
    std::memcpy(t.m_dDir, kDefaultSight, sizeof kDefaultSight);
    EXPECT_EQ(t.UpdateCamera(), 0);
    const double kBasis[9] = {kSide[0], kUp[0], 0.0, kSide[1], kUp[1], 0.0,
                              kSide[2], kUp[2], 0.0};
    EXPECT_TRUE(SameBits(t.m_dView, kBasis, 9));
}

TEST(CanvasCamera, UnusableDirectionOrUpStopsEarly)
{
    CViewTransform t(1);
    double view[9];
    std::memcpy(view, t.m_dView, sizeof view);

    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const double kUnusable[][3] = {{0.0, 0.0, 0.0}, {kNaN, 0.0, 0.0}};
    for (const auto& dir : kUnusable) {
        std::memcpy(t.m_dDir, dir, sizeof dir);
        EXPECT_EQ(t.UpdateCamera(), 0);
        EXPECT_TRUE(SameBits(t.m_dDir, dir, 3));
        EXPECT_TRUE(SameBits(t.m_dView, view, 9));
    }

    // A zero up vector leaves a zero remainder, which stays behind in column 1.
    const double kZero[3] = {0.0, 0.0, 0.0};
    std::memcpy(t.m_dDir, kDefaultSight, sizeof kDefaultSight);
    std::memcpy(t.m_dUp, kZero, sizeof kZero);
    EXPECT_EQ(t.UpdateCamera(), 0);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Bits(t.m_dView[row * 3 + 1]), Bits(0.0)) << row;

    // Up along the view direction leaves nothing once the direction is removed from it.
    std::memcpy(t.m_dDir, kDefaultSight, sizeof kDefaultSight);
    std::memcpy(t.m_dUp, kDefaultSight, sizeof kDefaultSight);
    EXPECT_EQ(t.UpdateCamera(), 0);
    EXPECT_TRUE(SameBits(t.m_dDir, kDir, 3));
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(t.m_dView[row * 3], view[row * 3]) << row;
        EXPECT_EQ(t.m_dView[row * 3 + 2], view[row * 3 + 2]) << row;
    }
}

TEST(CanvasCamera, InvertsAGeneralMatrixExactly)
{
    // Not symmetric, so a transposed adjugate or a wrong cofactor sign shows.
    double m[9] = {2, 1, 1, 1, 3, 2, 1, 0, 0};
    const double kInverse[9] = {0, 0, 1, -2, 1, 3, 3, -1, -5};
    ASSERT_EQ(Invert3x3(m, 1e-10), 1);
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(m[k], kInverse[k]) << k;

    double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double kIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(Invert3x3(identity, 1e-10), 1);
    EXPECT_TRUE(SameBits(identity, kIdentity, 9));
}

TEST(CanvasCamera, SingularMatricesAreLeftUntouched)
{
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const double kSingular[][9] = {
        {1, 2, 3, 4, 5, 6, 1, 2, 3},     // two equal rows
        {0, 0, 0, 0, 0, 0, 0, 0, 0},     // zero determinant that the relative test lets by
        {1, 0, 0, 0, 1, 0, 0, 0, kNaN},  // NaN determinant
        {1e6, 0, 0, 0, 1e-6, 0, 0, 0, 1e-6},  // det 1e-6: small against the mean element
    };
    for (const auto& matrix : kSingular) {
        double m[9];
        std::memcpy(m, matrix, sizeof m);
        EXPECT_EQ(Invert3x3(m, 1e-10), 0);
        EXPECT_TRUE(SameBits(m, matrix, 9));
    }

    double small[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1e-10};
    EXPECT_EQ(Invert3x3(small, 1e-10), 1);
    EXPECT_EQ(small[8], 1e10);
}

}  // namespace
}  // namespace canvas_test

// The plane transformation: setting, applying, composing, rotating and mirroring.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include <viewtransform.h>

namespace canvas_test {
namespace {

const double kPi = 3.141592653589793;

class CanvasTransform : public ::testing::Test {
protected:
    CViewTransform m_t{1};

    void ExpectMaps(double x, double y, double xExpected, double yExpected, double tolerance)
    {
        double xOut = 0.0, yOut = 0.0;
        m_t.Transform(x, y, xOut, yOut);
        EXPECT_NEAR(xOut, xExpected, tolerance) << "(" << x << ", " << y << ")";
        EXPECT_NEAR(yOut, yExpected, tolerance) << "(" << x << ", " << y << ")";
    }
};

TEST_F(CanvasTransform, SetTransformScalesThenTurnsThenMoves)
{
    m_t.m_matrix3d[5] = 42.0;
    m_t.m_dScaleZ = 3.0;
    m_t.SetTransform(5.0, 7.0, kPi / 2, 2.0, 3.0);
    ExpectMaps(1.0, 0.0, 5.0, 9.0, 0.0);
    ExpectMaps(0.0, 1.0, 2.0, 7.0, 0.0);
    EXPECT_EQ(m_t.m_matrix[6], 0.0);
    EXPECT_EQ(m_t.m_matrix[7], 0.0);
    EXPECT_EQ(m_t.m_matrix[8], 1.0);
    EXPECT_EQ(m_t.m_dScaleX, 2.0);
    EXPECT_EQ(m_t.m_dScaleY, 3.0);
    EXPECT_EQ(m_t.m_dScaleZ, 3.0);
    EXPECT_EQ(m_t.m_matrix3d[5], 42.0);

    m_t.ResetTransform();
    const double kIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(std::memcmp(m_t.m_matrix, kIdentity, sizeof kIdentity), 0);
    EXPECT_EQ(m_t.m_matrix3d[5], 1.0);
    EXPECT_EQ(m_t.m_dScaleZ, 1.0);
}

TEST_F(CanvasTransform, TransformIgnoresTheThirdRow)
{
    m_t.SetTransform(1.0, 2.0, 0.0, 1.0, 1.0);
    m_t.m_matrix[6] = std::numeric_limits<double>::quiet_NaN();
    m_t.m_matrix[8] = 5.0;
    ExpectMaps(3.0, 4.0, 4.0, 6.0, 0.0);
}

TEST_F(CanvasTransform, ComposeActsAfterTheExistingTransformation)
{
    m_t.SetTransform(0.0, 0.0, 0.0, 2.0, 2.0);
    const double kShift[9] = {1, 0, 1, 0, 1, 0, 0, 0, 1};
    m_t.Compose(kShift);
    ExpectMaps(1.0, 0.0, 3.0, 0.0, 0.0);  // scaled first, then moved; 4 would mean the reverse
}

TEST_F(CanvasTransform, RotateTurnsCounterClockwiseAboutThePivotsWorldImage)
{
    m_t.Rotate(0.0, 0.0, 0.5);
    double x = 0.0, y = 0.0;
    m_t.Transform(1.0, 0.0, x, y);
    EXPECT_EQ(x, std::cos(0.5));
    EXPECT_EQ(y, std::sin(0.5));

    m_t.SetTransform(10.0, 0.0, 0.0, 1.0, 1.0);
    m_t.Rotate(0.0, 0.0, kPi / 2);
    ExpectMaps(0.0, 0.0, 10.0, 0.0, 1e-14);
    ExpectMaps(1.0, 0.0, 10.0, 1.0, 1e-14);
}

TEST_F(CanvasTransform, TwelveTwelfthTurnsComeBackToTheStart)
{
    m_t.SetTransform(0.0, 0.0, 0.7, 1.0, 1.0);
    double start[9];
    std::memcpy(start, m_t.m_matrix, sizeof start);
    for (int i = 0; i < 12; ++i)
        m_t.Rotate(0.0, 0.0, -kPi / 6);
    for (int k = 0; k < 9; ++k)
        EXPECT_NEAR(m_t.m_matrix[k], start[k], 1e-15) << k;
}

TEST_F(CanvasTransform, MirrorXNegatesWorldXAndTwiceIsExact)
{
    m_t.SetTransform(0.0, 0.0, 0.0, 1.0, 1.0);
    m_t.MirrorX();
    ExpectMaps(1.0, 2.0, -1.0, 2.0, 0.0);
    m_t.SetTransform(5.0, 0.0, 0.0, 1.0, 1.0);
    m_t.MirrorX();
    ExpectMaps(1.0, 2.0, -6.0, 2.0, 0.0);  // the translation is mirrored too

    m_t.SetTransform(3.0, -4.0, 0.3, 1.5, 0.5);
    double before[9];
    std::memcpy(before, m_t.m_matrix, sizeof before);
    m_t.MirrorX();
    m_t.MirrorX();
    EXPECT_EQ(std::memcmp(m_t.m_matrix, before, sizeof before), 0);
}

// The wheel's mirror pass: turn back about the pivot, mirror, turn forward. It reflects the
// figure in its own vertical axis; two passes restore the turned frame.
TEST_F(CanvasTransform, MirrorPassAboutAPivotReflectsInTheTurnedAxis)
{
    const double a = -kPi / 2 + 3 * kPi / 15;
    m_t.Rotate(0.0, 60.0, a);
    double before[9];
    std::memcpy(before, m_t.m_matrix, sizeof before);

    m_t.Rotate(0.0, 60.0, -a);
    m_t.MirrorX();
    m_t.Rotate(0.0, 60.0, a);
    // Local (1, 60) is mirrored to (-1, 60), one unit left of the pivot, then turned by a.
    ExpectMaps(1.0, 60.0, -std::cos(a), 60.0 - std::sin(a), 1e-13);

    m_t.Rotate(0.0, 60.0, -a);
    m_t.MirrorX();
    m_t.Rotate(0.0, 60.0, a);
    for (int k = 0; k < 9; ++k)
        EXPECT_NEAR(m_t.m_matrix[k], before[k], 1e-13) << k;
}

}  // namespace
}  // namespace canvas_test

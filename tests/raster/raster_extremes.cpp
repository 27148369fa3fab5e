// Coordinates far outside the buffer, up to the ends of the 64-bit range: every primitive
// must be clipped before it is iterated (so it finishes at once) and must stay exact where
// its pixels are visible. Run under the sanitizers, these also prove there is no overflow.
#include <gtest/gtest.h>

#include <climits>

#include "raster/painter.h"

using raster::CBox;
using raster::CFrameBuffer;
using raster::CPainter;

namespace {

constexpr raster::COLORREF kPen = 0x0000FF;
constexpr raster::COLORREF kBrush = 0x00FF00;
constexpr raster::COLORREF kPaper = 0xFFFFFF;
constexpr long long kMin = LLONG_MIN;
constexpr long long kMax = LLONG_MAX;

class RasterExtremes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_frame.Resize(64, 48));
        m_frame.Clear(kPaper);
    }
    int Count(raster::COLORREF colour) const
    {
        int n = 0;
        for (int y = 0; y < m_frame.GetHeight(); ++y)
            for (int x = 0; x < m_frame.GetWidth(); ++x)
                n += m_frame.GetColor(x, y) == colour ? 1 : 0;
        return n;
    }

    CFrameBuffer m_frame;
    CPainter m_painter{m_frame};
};

}  // namespace

// From one corner of the coordinate range to the other: dx = dy = 2^64 - 1, so the visible
// part is the exact diagonal x = y.
TEST_F(RasterExtremes, LineAcrossTheWholeRangeKeepsItsExactSlope)
{
    m_painter.Line({kMin, kMin}, {kMax, kMax}, kPen);
    for (int k = 0; k < 48; ++k)
        EXPECT_EQ(m_frame.GetColor(k, k), kPen) << k;
    EXPECT_EQ(Count(kPen), 48);
}

// A slope of 1/2 from far away: the visible pixels are those of the same line drawn from
// nearby, ties included (the start moved by an even number of steps along the line).
TEST_F(RasterExtremes, FarStartGivesTheSamePixelsAsANearOne)
{
    const long long far = 1LL << 61;
    m_painter.Line({-2 * far, 10 - far}, {100, 60}, kPen);
    CFrameBuffer near;
    ASSERT_TRUE(near.Resize(64, 48));
    near.Clear(kPaper);
    CPainter nearPainter(near);
    nearPainter.Line({-100, -40}, {100, 60}, kPen);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(m_frame.GetColor(x, y), near.GetColor(x, y)) << x << "," << y;
}

TEST_F(RasterExtremes, RectangleSpanningTheRangeFillsTheBufferInsideItsOutline)
{
    m_painter.Rectangle(CBox{kMin, 2, kMax, kMax}, kPen, kBrush);
    EXPECT_EQ(Count(kPen), 64);  // the top edge, row 2; the other edges are far away
    EXPECT_EQ(Count(kBrush), 64 * 45);
    m_painter.Rectangle(CBox{kMax, kMax, kMin, kMin}, kPen, kBrush);  // reversed corners
    EXPECT_EQ(Count(kPaper), 0);
}

TEST_F(RasterExtremes, CurvesBeyondTheTracedSizeAreRefusedAndDrawNothing)
{
    const CBox huge{-(1LL << 40), -(1LL << 40), 1LL << 40, 1LL << 40};
    EXPECT_FALSE(m_painter.Ellipse(huge, kPen, kBrush));
    EXPECT_FALSE(m_painter.Pie(huge, {kMin, 0}, {kMax, 0}, kPen, kBrush));
    EXPECT_FALSE(m_painter.Arc(CBox{kMin, kMin, kMax, kMax}, {0, 0}, {1, 1}, kPen));
    EXPECT_EQ(Count(kPaper), 64 * 48);
}

// A curve of the largest accepted size whose box ends at the top of the range, and radial
// points at both ends of it: nothing visible, nothing overflowing.
TEST_F(RasterExtremes, CurvesAtTheEndsOfTheRangeStayQuiet)
{
    const long long side = CPainter::kMaxCurveSide;
    const CBox corner{kMax - side, kMax - side, kMax, kMax};
    EXPECT_TRUE(m_painter.Ellipse(corner, kPen, kBrush));
    EXPECT_TRUE(m_painter.Pie(corner, {kMin, kMin}, {kMax, kMin}, kPen, kBrush));
    const CBox low{kMin, kMin, kMin + 7, kMin + 5};
    EXPECT_TRUE(m_painter.Arc(low, {kMax, kMax}, {kMin, kMax}, kPen));
    EXPECT_EQ(Count(kPaper), 64 * 48);
}

// A pie of the largest accepted size around the buffer, with radials at the ends of the
// range: the fill covers the visible quarter and the radials run along its edges.
TEST_F(RasterExtremes, LargestPieWithFarRadialsFillsItsVisibleQuarter)
{
    const long long half = CPainter::kMaxCurveSide / 2;
    const CBox box{-half, -half, half, half};  // centre (0, 0)
    // From straight down to straight right, counter-clockwise: the lower right quarter.
    EXPECT_TRUE(m_painter.Pie(box, {0, kMax}, {kMax, 0}, kPen, kBrush));
    EXPECT_EQ(m_frame.GetColor(0, 20), kPen);   // the radial straight down
    EXPECT_EQ(m_frame.GetColor(20, 0), kPen);   // the radial to the right
    EXPECT_EQ(m_frame.GetColor(30, 30), kBrush);
    EXPECT_EQ(Count(kPen) + Count(kBrush), 64 * 48);
}

TEST_F(RasterExtremes, ClipAtTheEndsOfTheRangeIsTheBuffer)
{
    const CBox clip{kMin, kMin, kMax, kMax};
    m_painter.SetClip(&clip);
    m_painter.FillBox(CBox{kMin, kMin, kMax, kMax}, kBrush);
    EXPECT_EQ(Count(kBrush), 64 * 48);
    const CBox empty{kMax, kMax, kMin, kMin};
    m_painter.SetClip(&empty);
    m_painter.Line({0, 0}, {60, 40}, kPen);
    EXPECT_EQ(Count(kPen), 0);
}

// The x11 backend's conversions from GDI's conventions to X's, checked without a server:
// arc angles, 16-bit coordinate limits, timer deadlines, pixel values and caption encoding.
#include <gtest/gtest.h>

#include <cmath>

#include "display.h"
#include "events.h"
#include "geometry.h"
#include "windowprops.h"

namespace {

using x11::ArcRequest;
using x11::DeviceBox;
using x11::DevicePoint;

const long long kMs = x11::kNanosecondsPerMillisecond;

ArcRequest ArcFor(DeviceBox box, DevicePoint ptStart, DevicePoint ptEnd)
{
    ArcRequest arc = {};
    EXPECT_TRUE(x11::GdiArcToX(box, ptStart, ptEnd, &arc));
    return arc;
}

TEST(X11Arc, BoxLosesItsLastColumnAndRowBecauseXArcsCoverTheirFarEdges)
{
    const ArcRequest arc = ArcFor({10, 20, 111, 71}, {0, 0}, {0, 0});
    EXPECT_EQ(arc.x, 10);
    EXPECT_EQ(arc.y, 20);
    EXPECT_EQ(arc.width, 100u);
    EXPECT_EQ(arc.height, 50u);
}

// X's arc runs on past its end angle, so every sweep ends a little short of the end radial:
// less than a degree on these boxes.
void ExpectSweepEndingShortOf(const ArcRequest& arc, int nDegrees)
{
    EXPECT_LT(arc.angle2, nDegrees * 64);
    EXPECT_GT(arc.angle2, (nDegrees - 1) * 64);
}

TEST(X11Arc, QuarterFromThreeToTwelveOClockRunsCounterClockwise)
{
    const ArcRequest arc = ArcFor({0, 0, 100, 100}, {100, 50}, {50, 0});
    EXPECT_EQ(arc.angle1, 0);
    ExpectSweepEndingShortOf(arc, 90);
}

TEST(X11Arc, FromTwelveToThreeOClockIsThreeQuartersNotAQuarterBackwards)
{
    const ArcRequest arc = ArcFor({0, 0, 100, 100}, {50, 0}, {100, 50});
    EXPECT_EQ(arc.angle1, 90 * 64);
    ExpectSweepEndingShortOf(arc, 270);
}

// Short by three quarters of a pixel along the outline, whatever the size and wherever the end
// lies on a flat ellipse; a sweep too short to lose that keeps its length.
TEST(X11Arc, SweepEndsThreeQuartersOfAPixelShortOfTheEndRadial)
{
    for (long long nRadius : {20LL, 400LL, 3000LL}) {
        const ArcRequest arc =
            ArcFor({0, 0, 2 * nRadius + 1, 2 * nRadius + 1}, {2 * nRadius, nRadius}, {nRadius, 0});
        const DevicePoint ptEnd = x11::PointOnArc(arc, arc.angle1 + arc.angle2);
        const double dShortBy = std::hypot(static_cast<double>(ptEnd.x - nRadius),
                                           static_cast<double>(ptEnd.y));
        EXPECT_NEAR(dShortBy, 0.75, 0.5) << "radius " << nRadius;
    }
    const ArcRequest flat = ArcFor({0, 0, 2001, 201}, {2000, 100}, {0, 100});
    const double dRadians = (180.0 * 64 - flat.angle2) / 64 * 3.14159265358979 / 180;
    EXPECT_NEAR(dRadians * 100, 0.75, 0.02);  // at nine o'clock the outline runs at b = 100
    // Radials 0.057 degrees apart: 4 units, of which three quarters of a pixel would take 3.
    EXPECT_EQ(ArcFor({0, 0, 2001, 2001}, {2000, 1000}, {2000, 999}).angle2, 4);
}

TEST(X11Arc, FlatBoxUsesSkewedAnglesSoTheRadialMeetsItsCorner)
{
    // The radial to the box's corner is at 26.57 degrees on the screen but at 45 degrees on
    // the ellipse stretched to a circle, which is the measure X uses.
    const ArcRequest arc = ArcFor({0, 0, 200, 100}, {200, 0}, {0, 50});
    EXPECT_EQ(arc.angle1, 45 * 64);
    ExpectSweepEndingShortOf(arc, 135);
}

TEST(X11Arc, CoincidentRadialsDrawTheWholeEllipse)
{
    const ArcRequest arc = ArcFor({0, 0, 40, 30}, {7, 3}, {7, 3});
    EXPECT_EQ(arc.angle2, x11::kFullCircle64);
}

TEST(X11Arc, RadialsStartAtTheIntegerCentreOfAnOddBox)
{
    // Centre (2, 2) of the box 0..5: the point (5, 2) is due east, not slightly below.
    const ArcRequest arc = ArcFor({0, 0, 5, 5}, {5, 2}, {2, 0});
    EXPECT_EQ(arc.angle1, 0);
}

TEST(X11Arc, BoxBeyondSixteenBitsIsRefusedInsteadOfWrappingAround)
{
    ArcRequest arc = {};
    EXPECT_FALSE(x11::GdiArcToX({-40000, 0, 10, 10}, {0, 0}, {0, 0}, &arc));
    EXPECT_FALSE(x11::GdiArcToX({0, 0, 32769, 10}, {0, 0}, {0, 0}, &arc));
    EXPECT_TRUE(x11::GdiArcToX({-32768, 0, 32768, 10}, {0, 0}, {0, 0}, &arc));
}

TEST(X11Arc, EmptyBoxHasNoArc)
{
    ArcRequest arc = {};
    EXPECT_FALSE(x11::GdiArcToX({5, 5, 5, 20}, {0, 0}, {1, 1}, &arc));
}

TEST(X11Arc, PieRadiusEndsOnTheArcAtItsAngle)
{
    const ArcRequest arc = {0, 0, 100, 50, 0, 90 * 64};
    EXPECT_EQ(x11::PointOnArc(arc, 0), (DevicePoint{100, 25}));
    EXPECT_EQ(x11::PointOnArc(arc, 90 * 64), (DevicePoint{50, 0}));
    EXPECT_EQ(x11::PointOnArc(arc, 180 * 64), (DevicePoint{0, 25}));
}

TEST(X11Segment, SegmentInsideTheRangeIsLeftExactlyAsItWas)
{
    DevicePoint a = {-32768, 5};
    DevicePoint b = {32767, -7};
    ASSERT_TRUE(x11::ClipSegment(&a, &b));
    EXPECT_EQ(a, (DevicePoint{-32768, 5}));
    EXPECT_EQ(b, (DevicePoint{32767, -7}));
}

TEST(X11Segment, HugeHorizontalLineKeepsItsRowAndCoversTheWholeRange)
{
    DevicePoint a = {-4294967296LL, 100};
    DevicePoint b = {4294967294LL, 100};
    ASSERT_TRUE(x11::ClipSegment(&a, &b));
    EXPECT_EQ(a, (DevicePoint{x11::kCoordMin, 100}));
    EXPECT_EQ(b, (DevicePoint{x11::kCoordMax, 100}));
}

TEST(X11Segment, CutEndStaysOnTheLineAndTheOtherEndIsExact)
{
    DevicePoint a = {-100000, -100000};
    DevicePoint b = {100, 100};
    ASSERT_TRUE(x11::ClipSegment(&a, &b));
    EXPECT_EQ(a, (DevicePoint{-32768, -32768}));
    EXPECT_EQ(b, (DevicePoint{100, 100}));
}

TEST(X11Segment, SegmentEntirelyOutsideTheRangeIsDropped)
{
    DevicePoint a = {40000, 0};
    DevicePoint b = {50000, 10};
    EXPECT_FALSE(x11::ClipSegment(&a, &b));
}

TEST(X11Rectangle, HugeBoxIsPulledInJustOutsideTheVisibleRange)
{
    DeviceBox box = {-3000000000LL, 10, 3000000000LL, 20};
    ASSERT_TRUE(x11::ClampOutlineBox(&box));
    EXPECT_EQ(box.left, -1);  // the left outline off screen, the brush from column 0
    EXPECT_EQ(box.right, x11::kCoordMax + 1);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.bottom, 20);
}

TEST(X11Rectangle, BoxWhoseOutlineEndsAtColumnZeroIsStillDrawn)
{
    DeviceBox box = {-50, 0, 1, 10};  // right outline on column 0
    EXPECT_TRUE(x11::ClampOutlineBox(&box));
    DeviceBox gone = {-50, 0, 0, 10};
    EXPECT_FALSE(x11::ClampOutlineBox(&gone));
}

TEST(X11Clock, WaitIsExactToTheNanosecondAndNeverNegative)
{
    const timespec soon = x11::TimeoutUntil(1 * kMs + 1, 1 * kMs);
    EXPECT_EQ(soon.tv_sec, 0);
    EXPECT_EQ(soon.tv_nsec, 1);
    const timespec later = x11::TimeoutUntil(2050 * kMs + 7, 1 * kMs);
    EXPECT_EQ(later.tv_sec, 2);
    EXPECT_EQ(later.tv_nsec, 49 * kMs + 7);
    const timespec passed = x11::TimeoutUntil(5 * kMs, 9 * kMs);
    EXPECT_EQ(passed.tv_sec, 0);
    EXPECT_EQ(passed.tv_nsec, 0);
}

TEST(X11Color, EightBitMasksGiveTheComponentsUnchanged)
{
    const x11::ColorChannel red = x11::ChannelFromMask(0xFF0000);
    EXPECT_EQ(red.m_nShift, 16u);
    EXPECT_EQ(x11::ComponentToPixel(red, 0x12), 0x120000ul);
}

TEST(X11Color, NarrowFieldIsScaledNotOverflowedIntoItsNeighbour)
{
    const x11::ColorChannel red = x11::ChannelFromMask(0xF800);  // 5 bits at 11
    EXPECT_EQ(x11::ComponentToPixel(red, 255), 0xF800ul);
    EXPECT_EQ(x11::ComponentToPixel(red, 0), 0ul);
    const x11::ColorChannel green = x11::ChannelFromMask(0x07E0);  // 6 bits at 5
    EXPECT_EQ(x11::ComponentToPixel(green, 255), 0x07E0ul);
}

TEST(X11Caption, LatinOneCharactersSurviveInWmName)
{
    EXPECT_EQ(x11::Utf8ToLatin1("Vurazevedadar"), "Vurazevedadar");
    EXPECT_EQ(x11::Utf8ToLatin1("Gr\xC3\xB6\xC3\x9F" "e"), "Gr\xF6\xDF" "e");
}

TEST(X11Caption, OtherCharactersAndBrokenSequencesBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(x11::Utf8ToLatin1("1\xE2\x82\xAC"), "1?");  // the euro sign
    EXPECT_EQ(x11::Utf8ToLatin1("a\xC3"), "a?");
    EXPECT_EQ(x11::Utf8ToLatin1("\x80z"), "?z");
}

}  // namespace

// The Wayland backend's sizes: a window of so many logical units is drawn at the device pixels
// the output's scale gives, and a size asked for in device pixels comes as near as the scale
// allows.
#include "scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>

namespace wayland {

// How a failing expectation shows a scale.
void PrintTo(const CScale& scale, std::ostream* pStream)
{
    *pStream << scale.m_n120 << "/120" << (scale.m_bFractional ? " through a viewport" : "");
}

}  // namespace wayland

namespace {

using wayland::CScale;
using wayland::DeviceExtent;
using wayland::LogicalExtent;

// 1, 1.25, 1.5, 1.75, 2, 2.5 and 3 times, as desktops offer them.
const int kFractions[] = {120, 150, 180, 210, 240, 300, 360};
const int kIntegers[] = {1, 2, 3, 4};
const int kLargestSide = 16384;

TEST(WaylandScale, IntegerScaleMultipliesExactly)
{
    for (int n : kIntegers) {
        for (int nLogical = 1; nLogical <= kLargestSide / n; nLogical += 7)
            ASSERT_EQ(DeviceExtent(nLogical, CScale::Integer(n)), nLogical * n) << n;
    }
}

// The fractional-scale protocol rounds the scaled size to the nearest pixel, halves up:
// 533 units at 1.5 are 799.5 pixels, drawn as 800.
TEST(WaylandScale, FractionalScaleRoundsToTheNearestPixelHalvesUp)
{
    EXPECT_EQ(DeviceExtent(533, CScale::Fractional(180)), 800);
    EXPECT_EQ(DeviceExtent(1, CScale::Fractional(180)), 2);
    EXPECT_EQ(DeviceExtent(3, CScale::Fractional(150)), 4);  // 3.75
    EXPECT_EQ(DeviceExtent(2, CScale::Fractional(150)), 3);  // 2.5
    EXPECT_EQ(DeviceExtent(640, CScale::Fractional(210)), 1120);
}

// Taking a window's own device size back to logical units must not change the window.
TEST(WaylandScale, LogicalSizeSurvivesTheTripToDevicePixelsAndBack)
{
    for (int n120 : kFractions) {
        const CScale scale = CScale::Fractional(n120);
        for (int nLogical = 1; nLogical <= 8000; ++nLogical)
            ASSERT_EQ(LogicalExtent(DeviceExtent(nLogical, scale), scale), nLogical)
                << "scale " << n120 << "/120";
    }
}

// A size the program asks for comes within half a logical unit; at an integer scale it is the
// nearest multiple of the scale, as a buffer must be.
TEST(WaylandScale, RequestedDeviceSizeComesAsNearAsTheScaleAllows)
{
    for (int n : kIntegers) {
        const CScale scale = CScale::Integer(n);
        for (int nDevice = 1; nDevice <= 5000; ++nDevice) {
            const int nGot = DeviceExtent(LogicalExtent(nDevice, scale), scale);
            ASSERT_EQ(nGot % n, 0) << nDevice << " at " << n;
            // Below half the scale the window is still one logical unit wide.
            const int nMaxOff = nDevice >= n ? n / 2 : n - 1;
            ASSERT_LE(std::abs(nGot - nDevice), nMaxOff) << nDevice << " at " << n;
        }
    }
    for (int n120 : kFractions) {
        const CScale scale = CScale::Fractional(n120);
        for (int nDevice = (n120 + 119) / 120; nDevice <= 5000; ++nDevice) {
            const int nGot = DeviceExtent(LogicalExtent(nDevice, scale), scale);
            ASSERT_LE(2 * std::abs(nGot - nDevice) * 120, n120 + 120)
                << nDevice << " at " << n120 << "/120 gave " << nGot;
        }
    }
}

TEST(WaylandScale, BufferScaleIsTheIntegerScaleOrOneUnderAViewport)
{
    EXPECT_EQ(CScale::Integer(3).BufferScale(), 3);
    EXPECT_EQ(CScale::Fractional(360).BufferScale(), 1);
}

TEST(WaylandScale, LargestFramebufferAtTheLargestScaleDoesNotOverflow)
{
    const CScale scale = CScale::Fractional(10 * 120);
    EXPECT_EQ(DeviceExtent(kLargestSide, scale), kLargestSide * 10);
    EXPECT_EQ(LogicalExtent(kLargestSide * 10, scale), kLargestSide);
}

// A window spanning outputs is drawn for the sharpest of them; before it is on any it is
// drawn for the sharpest there is, where it will most likely appear.
TEST(WaylandScale, WindowTakesTheLargestScaleOfItsOutputsOrOfAllBeforeItIsOnAny)
{
    using wayland::ChooseScale;
    EXPECT_EQ(ChooseScale({1, 2}, {1, 2, 3}, 0, false), CScale::Integer(2));
    EXPECT_EQ(ChooseScale({}, {1, 3, 2}, 0, false), CScale::Integer(3));
    EXPECT_EQ(ChooseScale({}, {}, 0, false), CScale::Integer(1));
}

// The compositor's preferred scale counts only where a viewport can show the buffer at logical
// size; without one, a fractional buffer would be shown at the wrong size.
TEST(WaylandScale, PreferredFractionalScaleNeedsAViewport)
{
    using wayland::ChooseScale;
    EXPECT_EQ(ChooseScale({2}, {2}, 180, true), CScale::Fractional(180));
    EXPECT_EQ(ChooseScale({2}, {2}, 180, false), CScale::Integer(2));
    EXPECT_EQ(ChooseScale({2}, {2}, 0, true), CScale::Integer(2));
}

}  // namespace

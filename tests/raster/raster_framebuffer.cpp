// The framebuffer's contract with the devices: pixel layout, clearing, the changed
// rectangle, and sizes it refuses.
#include <gtest/gtest.h>

#include <cstring>

#include "raster/painter.h"

using raster::CBox;
using raster::CFrameBuffer;
using raster::CPainter;

namespace {

void ExpectBox(const CBox& box, long long l, long long t, long long r, long long b)
{
    EXPECT_EQ(box.left, l);
    EXPECT_EQ(box.top, t);
    EXPECT_EQ(box.right, r);
    EXPECT_EQ(box.bottom, b);
}

}  // namespace

// A canvas's ImageData wants the bytes R, G, B, A; COLORREF is 0x00BBGGRR.
TEST(RasterFrameBuffer, PixelsAreRedGreenBlueOpaqueAlphaInMemory)
{
    CFrameBuffer frame;
    ASSERT_TRUE(frame.Resize(3, 2));
    frame.Clear(0x00332211);  // RGB(0x11, 0x22, 0x33)
    unsigned char bytes[4];
    std::memcpy(bytes, frame.GetPixels() + 5, 4);
    EXPECT_EQ(bytes[0], 0x11);
    EXPECT_EQ(bytes[1], 0x22);
    EXPECT_EQ(bytes[2], 0x33);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(frame.GetColor(2, 1), 0x00332211u);
}

TEST(RasterFrameBuffer, ChangedRectangleIsTheUnionOfWhatChangedSinceLastTaken)
{
    CFrameBuffer frame;
    ASSERT_TRUE(frame.Resize(100, 80));
    ExpectBox(frame.TakeDirty(), 0, 0, 100, 80);  // a new buffer must be presented whole
    ExpectBox(frame.TakeDirty(), 0, 0, 0, 0);
    CPainter painter(frame);
    painter.Line({10, 20}, {30, 25}, 0xFF);
    painter.Rectangle(CBox{50, 5, 60, 9}, 0xFF, 0xFF00);
    ExpectBox(frame.TakeDirty(), 10, 5, 60, 26);  // the line ends at (29, 25)
    // Drawing wholly outside the clip changes nothing, and so reports nothing.
    const CBox clip{0, 0, 5, 5};
    painter.SetClip(&clip);
    painter.Ellipse(CBox{20, 20, 70, 60}, 0xFF, 0xFF00);
    ExpectBox(frame.TakeDirty(), 0, 0, 0, 0);
    painter.SetClip(nullptr);
    painter.FillBox(CBox{-10, 70, 1000, 1000}, 0xFF0000);
    ExpectBox(frame.TakeDirty(), 0, 70, 100, 80);
    // A figure drawn again where it stands changes no pixel: a locked picture costs no
    // presenting. Only the pixels that do change count, not the figure's whole box.
    painter.Line({10, 20}, {30, 25}, 0xFF);
    painter.FillBox(CBox{0, 70, 100, 80}, 0xFF0000);
    ExpectBox(frame.TakeDirty(), 0, 0, 0, 0);
    painter.FillBox(CBox{0, 70, 100, 80}, 0xFF0000);
    painter.Line({40, 72}, {41, 72}, 0xFF);
    ExpectBox(frame.TakeDirty(), 40, 72, 41, 73);
    // An exposure loses what was presented: everything is to be presented again.
    frame.MarkAllDirty();
    ExpectBox(frame.TakeDirty(), 0, 0, 100, 80);
}

TEST(RasterFrameBuffer, RefusesImpossibleSizesAndKeepsTheOldOne)
{
    CFrameBuffer frame;
    ASSERT_TRUE(frame.Resize(8, 4));
    EXPECT_FALSE(frame.Resize(-1, 4));
    EXPECT_FALSE(frame.Resize(CFrameBuffer::kMaxSide + 1, 1));
    EXPECT_FALSE(frame.Resize(CFrameBuffer::kMaxSide, CFrameBuffer::kMaxSide));
    EXPECT_EQ(frame.GetWidth(), 8);
    EXPECT_EQ(frame.GetHeight(), 4);
    EXPECT_TRUE(frame.Resize(0, 0));
    CPainter painter(frame);
    painter.Line({-5, -5}, {5, 5}, 0xFF);  // nothing to draw into: no crash, no change
    ExpectBox(frame.TakeDirty(), 0, 0, 0, 0);
}

// The clip follows the buffer: after a resize, drawing reaches the new edges and no further.
TEST(RasterFrameBuffer, ClipFollowsResizedBuffer)
{
    CFrameBuffer frame;
    ASSERT_TRUE(frame.Resize(10, 10));
    CPainter painter(frame);
    ASSERT_TRUE(frame.Resize(40, 3));
    frame.TakeDirty();
    painter.Line({-100, 1}, {100, 1}, 0xFF);
    ExpectBox(frame.TakeDirty(), 0, 1, 40, 2);
    EXPECT_EQ(frame.GetColor(39, 1), 0xFFu);
}

// The raster device as a window system sees it: what it presents, when, and from which memory.
#include <raster/rasterdevice.h>
#include <redraws.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using raster::CBox;
using raster::CFrameBuffer;
using raster::CRasterDevice;

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const portable::ClipRect kNoClip = portable::kNoClip;

// A window system that notes every call the device makes of it, in order.
class CRecordingPresenter : public raster::CPresenter {
public:
    std::uint32_t* ProvidePixels(int nWidth, int nHeight) override
    {
        m_calls.push_back("provide");
        if (!m_bOffersMemory)
            return nullptr;
        m_memory.assign(static_cast<std::size_t>(nWidth) * static_cast<std::size_t>(nHeight), 0);
        return m_memory.data();
    }
    void FinishPresenting() override { m_calls.push_back("finish"); }
    std::uint32_t* ProvideNextPixels() override
    {
        if (m_next.empty())
            return nullptr;
        m_calls.push_back("move");
        return m_next.data();
    }
    void Present(const CFrameBuffer&, const CBox& box) override
    {
        m_calls.push_back("present " + std::to_string(box.left) + "," +
                          std::to_string(box.top) + "," + std::to_string(box.right) + "," +
                          std::to_string(box.bottom));
    }

    bool m_bOffersMemory = false;
    std::vector<std::uint32_t> m_memory;
    std::vector<std::uint32_t> m_next;  // where the device is to draw after presenting
    std::vector<std::string> m_calls;
};

using Calls = std::vector<std::string>;

class RasterDevice : public ::testing::Test {
protected:
    RasterDevice() : m_device(m_presenter, raster::kRgbaFormat, &m_crBackground) {}

    portable::DrawContext Pen(COLORREF cr) const { return {cr, kBlue, kNoClip}; }

    COLORREF m_crBackground = kBlue;
    CRecordingPresenter m_presenter;
    CRasterDevice m_device;
};

TEST_F(RasterDevice, PresentsEachFrameOnceAndOnlyWhatChanged)
{
    ASSERT_TRUE(m_device.Resize(40, 30));
    m_device.Present();  // a new size is presented whole, in the background colour
    EXPECT_EQ(m_device.GetFrame().GetColor(39, 29), kBlue);
    m_device.Line(Pen(kWhite), {5, 6}, {15, 6});
    m_device.Line(Pen(kWhite), {5, 8}, {5, 12});
    m_device.Present();
    m_device.Present();  // nothing changed since
    // The same line drawn again changes no pixel, so there is nothing to present.
    m_device.Line(Pen(kWhite), {5, 6}, {15, 6});
    m_device.Present();
    EXPECT_EQ(m_presenter.m_calls, (Calls{"finish", "provide", "present 0,0,40,30", "finish",
                                          "present 5,6,15,12", "finish"}));
}

TEST_F(RasterDevice, WaitsForThePresenterOnlyBeforeDrawingOverPresentedPixels)
{
    ASSERT_TRUE(m_device.Resize(40, 30));
    m_device.Present();
    m_device.Line(Pen(kWhite), {1, 1}, {9, 1});
    m_presenter.m_calls.clear();
    m_device.Line(Pen(kWhite), {1, 3}, {9, 3});
    m_device.Present();
    m_device.Rectangle(Pen(kWhite), portable::DeviceBox{2, 2, 8, 8});
    m_device.Erase();
    EXPECT_EQ(m_presenter.m_calls, (Calls{"present 1,1,9,4", "finish"}));
    m_presenter.m_calls.clear();
    m_device.Present();
    EXPECT_EQ(m_presenter.m_calls, (Calls{"present 1,1,9,8"}));
    EXPECT_EQ(m_device.GetFrame().GetColor(2, 2), kBlue);  // erased to the background
}

TEST_F(RasterDevice, DrawsIntoTheWindowSystemsMemoryInItsLayout)
{
    m_presenter.m_bOffersMemory = true;
    const raster::CPixelFormat xrgb = {16, 8, 0, 0};
    CRasterDevice device(m_presenter, xrgb, &m_crBackground);
    ASSERT_TRUE(device.Resize(20, 10));
    device.Line(Pen(RGB(0x11, 0x22, 0x33)), {3, 4}, {4, 4});
    EXPECT_EQ(m_presenter.m_memory[4 * 20 + 3], 0x112233u);
    EXPECT_EQ(m_presenter.m_memory[0], 0x0000FFu);  // cleared to blue
    // The clip limits drawing as the device context's does.
    const portable::ClipRect clip = {true, {0, 0, 5, 5}};
    device.Line(portable::DrawContext{kWhite, kBlue, clip}, {0, 6}, {10, 6});
    EXPECT_EQ(device.GetFrame().GetColor(1, 6), kBlue);
}

// A compositor reads the memory it was given until it has another; the device draws on in the
// memory the presenter moves it to, which holds the frame already, and leaves the old alone.
TEST_F(RasterDevice, DrawsOnInTheMemoryThePresenterMovesItToAfterPresenting)
{
    m_presenter.m_bOffersMemory = true;
    ASSERT_TRUE(m_device.Resize(20, 10));
    m_device.Present();
    m_presenter.m_next = m_presenter.m_memory;
    m_presenter.m_calls.clear();
    m_device.Line(Pen(kWhite), {3, 4}, {6, 4});
    m_device.Line(Pen(kWhite), {3, 6}, {6, 6});
    m_device.Present();
    EXPECT_EQ(m_presenter.m_calls, (Calls{"finish", "move", "present 3,4,6,7"}));
    EXPECT_EQ(m_presenter.m_next[4 * 20 + 3], m_device.GetFrame().PixelOf(kWhite));
    EXPECT_EQ(m_presenter.m_memory[4 * 20 + 3], m_device.GetFrame().PixelOf(kBlue));
    EXPECT_EQ(m_device.GetFrame().GetPixels(), m_presenter.m_next.data());
}

TEST_F(RasterDevice, RefusesSizesNoFramebufferMayHave)
{
    ASSERT_TRUE(m_device.Resize(40, 30));
    EXPECT_FALSE(m_device.Resize(CFrameBuffer::kMaxSide + 1, 10));
    EXPECT_FALSE(m_device.Resize(CFrameBuffer::kMaxSide, CFrameBuffer::kMaxSide));
    EXPECT_EQ(m_device.GetFrame().GetWidth(), 40);
}

// The journal of figures a device has drawn: a figure drawn again stands while nothing has
// changed within its reach, and its reach holds every pixel the rasteriser draws for it.
class RedrawJournal : public ::testing::Test {
protected:
    RedrawJournal() { m_journal.Reset(200, 100); }

    bool Stands(const portable::Figure& figure)
    {
        portable::DeviceBox reach;
        return m_journal.IsStanding(figure, &reach);
    }
    void Draw(const portable::Figure& figure)
    {
        m_journal.NoteDrawn(figure, portable::FigureReach(figure, 200, 100));
    }

    portable::CRedrawJournal m_journal;
};

TEST_F(RedrawJournal, AFigureStandsUntilSomethingChangesWithinItsReach)
{
    const portable::DrawContext white{kWhite, kBlue, kNoClip};
    const portable::Figure line = portable::LineFigure(white, {10, 10}, {20, 15});
    EXPECT_FALSE(Stands(line));  // never drawn
    Draw(line);
    EXPECT_TRUE(Stands(line));
    EXPECT_TRUE(Stands(line));

    m_journal.NoteChanged(portable::DeviceBox{150, 50, 190, 90});  // far away
    EXPECT_TRUE(Stands(line));
    m_journal.NoteChanged(portable::DeviceBox{19, 14, 21, 16});  // over its end
    EXPECT_FALSE(Stands(line));
    Draw(line);
    EXPECT_TRUE(Stands(line));

    // The same ends in another colour, or under a clip, are other figures.
    const portable::DrawContext blue{kBlue, kBlue, kNoClip};
    EXPECT_FALSE(Stands(portable::LineFigure(blue, {10, 10}, {20, 15})));
    const portable::ClipRect clip{true, {0, 0, 15, 100}};
    const portable::DrawContext clipped{kWhite, kBlue, clip};
    EXPECT_FALSE(Stands(portable::LineFigure(clipped, {10, 10}, {20, 15})));

    // A figure drawn over this one, or a new size, take its place.
    Draw(portable::LineFigure(blue, {10, 10}, {20, 15}));
    EXPECT_FALSE(Stands(line));
    Draw(line);
    m_journal.Reset(200, 100);
    EXPECT_FALSE(Stands(line));

    // On the largest window the tiles are coarser, and the same rules hold.
    m_journal.Reset(32767, 32767);
    const portable::Figure far = portable::LineFigure(white, {30000, 30000}, {30100, 30050});
    portable::DeviceBox reach;
    EXPECT_FALSE(m_journal.IsStanding(far, &reach));
    EXPECT_EQ(reach.left, 29999);
    EXPECT_EQ(reach.bottom, 30051);
    m_journal.NoteDrawn(far, reach);
    EXPECT_TRUE(m_journal.IsStanding(far, &reach));
    m_journal.NoteChanged(portable::DeviceBox{0, 0, 20000, 20000});
    EXPECT_TRUE(m_journal.IsStanding(far, &reach));
    m_journal.NoteChanged(portable::DeviceBox{30050, 30020, 30051, 30021});
    EXPECT_FALSE(m_journal.IsStanding(far, &reach));
}

// The sides of one outline share their ends: drawing one again must not unsettle the next, or
// every side of a standing outline would be drawn on every tick. Anything in another colour
// still does, however many changes in the figure's own colour come after it.
TEST_F(RedrawJournal, ChangesInAFiguresOwnColourLeaveItStanding)
{
    const portable::DrawContext white{kWhite, kBlue, kNoClip};
    const portable::Figure side = portable::LineFigure(white, {10, 10}, {40, 10});
    const portable::Figure next = portable::LineFigure(white, {40, 10}, {40, 40});
    Draw(side);
    Draw(next);
    Draw(side);
    EXPECT_TRUE(Stands(next));
    EXPECT_TRUE(Stands(side));

    m_journal.NoteChanged(portable::DeviceBox{38, 20, 42, 22}, kBlue);
    m_journal.NoteChanged(portable::DeviceBox{38, 20, 42, 22}, kWhite);
    EXPECT_FALSE(Stands(next));
    Draw(next);
    m_journal.NoteChanged(portable::DeviceBox{38, 20, 42, 22});  // colours unknown
    EXPECT_FALSE(Stands(next));
    Draw(next);

    // A filled figure writes its pen and its brush: with two colours it is foreign to both.
    Draw(portable::BoxFigure(portable::FigureKind::Ellipse, white, {30, 15, 50, 34}));
    EXPECT_FALSE(Stands(next));
    Draw(next);
    const portable::DrawContext allWhite{kWhite, kWhite, kNoClip};
    Draw(portable::BoxFigure(portable::FigureKind::Ellipse, allWhite, {30, 15, 50, 34}));
    EXPECT_TRUE(Stands(next));
}

TEST_F(RedrawJournal, TheReachOfEveryCurveHoldsAllItsPixels)
{
    CRecordingPresenter presenter;
    const COLORREF crBackground = kBlue;
    CRasterDevice device(presenter, raster::kRgbaFormat, &crBackground);
    const int nSize = 160;
    ASSERT_TRUE(device.Resize(nSize, nSize));
    const portable::DrawContext dc{kWhite, RGB(255, 0, 0), kNoClip};
    std::uint32_t nSeed = 12345;
    auto next = [&nSeed](int nRange) {
        nSeed = nSeed * 1664525u + 1013904223u;
        return static_cast<long long>((nSeed >> 8) % static_cast<std::uint32_t>(nRange));
    };
    const portable::FigureKind kinds[] = {portable::FigureKind::Arc, portable::FigureKind::Pie,
                                          portable::FigureKind::Ellipse};
    for (int nCase = 0; nCase < 3000; ++nCase) {
        const portable::FigureKind kind = kinds[nCase % 3];
        // Boxes partly outside the device too, and radials anywhere, the centre included.
        const long long left = next(nSize) - 20;
        const long long top = next(nSize) - 20;
        const portable::DeviceBox box{left, top, left + 2 + next(120), top + 2 + next(120)};
        const portable::DevicePoint start{box.left + next(140) - 10, box.top + next(140) - 10};
        const portable::DevicePoint end = nCase % 7 == 0
            ? portable::DevicePoint{start.x + 1, start.y}  // nearly the same radial
            : portable::DevicePoint{box.left + next(140) - 10, box.top + next(140) - 10};
        const portable::Figure figure = portable::BoxFigure(kind, dc, box, start, end);
        device.Erase();
        if (kind == portable::FigureKind::Arc)
            device.Arc(dc, box, start, end);
        else if (kind == portable::FigureKind::Pie)
            device.Pie(dc, box, start, end);
        else
            device.Ellipse(dc, box);
        const portable::DeviceBox reach = portable::FigureReach(figure, nSize, nSize);
        for (int y = 0; y < nSize; ++y) {
            for (int x = 0; x < nSize; ++x) {
                if (device.GetFrame().GetColor(x, y) == crBackground)
                    continue;
                ASSERT_TRUE(x >= reach.left && x < reach.right && y >= reach.top &&
                            y < reach.bottom)
                    << "case " << nCase << ": pixel " << x << "," << y << " outside "
                    << reach.left << "," << reach.top << "," << reach.right << ","
                    << reach.bottom;
            }
        }
    }
}

}  // namespace

// The Wayland backend's buffers as a compositor sees them: whichever buffers it holds when the
// program draws again, every buffer it is handed holds the whole frame, and the program never
// draws into one it still holds.
#include "bufferring.h"

#include <raster/rasterdevice.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using raster::CBox;
using raster::CFrameBuffer;
using wayland::CBufferRing;

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kPalette[] = {RGB(255, 255, 255), RGB(0, 255, 255), RGB(255, 255, 0),
                             RGB(0, 0, 0), kBlue};

// How the compositor lets buffers go: at once (a renderer that copies what it is given), the
// one shown before as soon as another is shown (a renderer that reads the buffer it shows), or
// late and in any order.
enum class Compositor { ReleasesAtOnce, ReleasesPrevious, ReleasesLate };

// The presenter of the Wayland backend over plain memory, with a compositor that holds
// buffers as the test says, and that notes each frame it is handed.
class CCompositorPresenter : public raster::CPresenter {
public:
    explicit CCompositorPresenter(Compositor compositor, unsigned nSeed)
        : m_compositor(compositor), m_random(nSeed)
    {
    }

    std::uint32_t* ProvidePixels(int nWidth, int nHeight) override
    {
        m_memory.clear();
        m_held.clear();
        std::vector<std::uint32_t*> buffers;
        for (int i = 0; i < CBufferRing::kInitialBuffers; ++i)
            buffers.push_back(NewMemory(nWidth, nHeight));
        m_nWidth = nWidth;
        m_nHeight = nHeight;
        m_ring.Reset(buffers, nWidth, nHeight);
        return m_ring.GetPixels(0);
    }

    void FinishPresenting() override {}

    void Present(const CFrameBuffer&, const CBox& box) override
    {
        const int nShown = m_ring.GetCurrent();
        const std::uint32_t* pPixels = m_ring.GetPixels(nShown);
        m_shown.assign(pPixels, pPixels + static_cast<std::size_t>(m_nWidth) * m_nHeight);
        m_ring.Presented(box);
        if (m_compositor == Compositor::ReleasesPrevious)
            ReleaseAllBut(nShown);
        m_held.insert(nShown);
        if (m_compositor == Compositor::ReleasesAtOnce)
            Release(nShown);
        m_nLastShown = nShown;
        ++m_nPresents;
    }

    std::uint32_t* ProvideNextPixels() override
    {
        if (m_compositor == Compositor::ReleasesLate)
            ReleaseSome();
        int nNext = m_ring.ChooseNext();
        if (nNext < 0 && m_ring.GetCount() < CBufferRing::kMaxBuffers)
            nNext = m_ring.Add(NewMemory(m_nWidth, m_nHeight));
        while (nNext < 0) {
            Release(*m_held.begin());
            nNext = m_ring.ChooseNext();
        }
        if (m_held.count(nNext) != 0)
            m_nDrawsIntoHeld++;
        return nNext != m_ring.GetCurrent() ? m_ring.MoveTo(nNext) : nullptr;
    }

    std::vector<std::uint32_t> m_shown;
    int m_nLastShown = -1;
    int m_nPresents = 0;
    int m_nDrawsIntoHeld = 0;
    std::set<int> m_buffersShown;

private:
    std::uint32_t* NewMemory(int nWidth, int nHeight)
    {
        // Garbage, as new memory may hold: a buffer that is not brought up to date shows it.
        m_memory.push_back(std::make_unique<std::vector<std::uint32_t>>(
            static_cast<std::size_t>(nWidth) * nHeight, 0xDEADBEEFu));
        return m_memory.back()->data();
    }
    void Release(int nIndex)
    {
        m_held.erase(nIndex);
        m_ring.Released(nIndex);
    }
    void ReleaseAllBut(int nKept)
    {
        for (int nIndex : std::set<int>(m_held)) {
            if (nIndex != nKept)
                Release(nIndex);
        }
    }
    void ReleaseSome()
    {
        for (int nIndex : std::set<int>(m_held)) {
            if (m_random() % 3 == 0)
                Release(nIndex);
        }
    }

    Compositor m_compositor;
    std::mt19937 m_random;
    CBufferRing m_ring;
    std::vector<std::unique_ptr<std::vector<std::uint32_t>>> m_memory;
    std::set<int> m_held;
    int m_nWidth = 0;
    int m_nHeight = 0;
};

// A presenter that takes no part: the device keeps its frame in its own memory, the model.
class CModelPresenter : public raster::CPresenter {
public:
    std::uint32_t* ProvidePixels(int, int) override { return nullptr; }
    void FinishPresenting() override {}
    void Present(const CFrameBuffer&, const CBox&) override {}
};

// Draws the same random figures on the device under test and on the model, presents both,
// and compares what the compositor was handed with the model's whole frame.
void RunFrames(Compositor compositor, int nFrames, CCompositorPresenter* pPresenter)
{
    const COLORREF crBackground = kBlue;
    CModelPresenter model;
    raster::CRasterDevice device(*pPresenter, raster::kRgbaFormat, &crBackground);
    raster::CRasterDevice reference(model, raster::kRgbaFormat, &crBackground);
    std::mt19937 random(static_cast<unsigned>(compositor) + 1);
    int nWidth = 37;
    int nHeight = 23;
    ASSERT_TRUE(device.Resize(nWidth, nHeight));
    ASSERT_TRUE(reference.Resize(nWidth, nHeight));
    for (int nFrame = 0; nFrame < nFrames; ++nFrame) {
        if (nFrame % 97 == 96) {
            nWidth = 20 + static_cast<int>(random() % 30);
            ASSERT_TRUE(device.Resize(nWidth, nHeight));
            ASSERT_TRUE(reference.Resize(nWidth, nHeight));
        }
        const int nFigures = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < nFigures; ++i) {
            const long long x = random() % nWidth;
            const long long y = random() % nHeight;
            const portable::DeviceBox box = portable::NormalizeBox(
                x, y, x + 2 + random() % 8, y + 2 + random() % 8);
            const COLORREF crPen = kPalette[random() % 5];
            const portable::DrawContext dc = {crPen, kPalette[random() % 5], portable::kNoClip};
            device.Rectangle(dc, box);
            reference.Rectangle(dc, box);
        }
        device.Present();
        const std::uint32_t* pModel = reference.GetFrame().GetPixels();
        const std::size_t nCount = static_cast<std::size_t>(nWidth) * nHeight;
        const auto mismatch = std::mismatch(pModel, pModel + nCount, pPresenter->m_shown.begin());
        ASSERT_TRUE(mismatch.first == pModel + nCount)
            << "frame " << nFrame << ": buffer " << pPresenter->m_nLastShown << " shows "
            << std::hex << *mismatch.second << " at pixel " << std::dec
            << (mismatch.first - pModel) << " where the frame has " << std::hex
            << *mismatch.first;
        pPresenter->m_buffersShown.insert(pPresenter->m_nLastShown);
    }
}

TEST(WaylandBuffers, EveryBufferHandedToTheCompositorHoldsTheWholeFrame)
{
    for (Compositor compositor : {Compositor::ReleasesAtOnce, Compositor::ReleasesPrevious,
                                  Compositor::ReleasesLate}) {
        SCOPED_TRACE(static_cast<int>(compositor));
        CCompositorPresenter presenter(compositor, 7);
        RunFrames(compositor, 400, &presenter);
        EXPECT_EQ(presenter.m_nDrawsIntoHeld, 0) << "drew into a buffer the compositor held";
    }
}

TEST(WaylandBuffers, CompositorThatLetsGoAtOnceKeepsTheFrameInOneBuffer)
{
    CCompositorPresenter presenter(Compositor::ReleasesAtOnce, 7);
    RunFrames(Compositor::ReleasesAtOnce, 50, &presenter);
    EXPECT_EQ(presenter.m_buffersShown, std::set<int>{0});
}

TEST(WaylandBuffers, CompositorThatReadsWhatItShowsGetsTwoBuffersInTurn)
{
    CCompositorPresenter presenter(Compositor::ReleasesPrevious, 7);
    RunFrames(Compositor::ReleasesPrevious, 50, &presenter);
    EXPECT_EQ(presenter.m_buffersShown, (std::set<int>{0, 1}));
}

TEST(WaylandBuffers, CompositorSlowToLetGoGetsMoreBuffersUpToFour)
{
    CCompositorPresenter presenter(Compositor::ReleasesLate, 7);
    RunFrames(Compositor::ReleasesLate, 200, &presenter);
    EXPECT_GT(presenter.m_buffersShown.size(), 2u);
    EXPECT_LE(presenter.m_buffersShown.size(), static_cast<std::size_t>(CBufferRing::kMaxBuffers));
}

}  // namespace

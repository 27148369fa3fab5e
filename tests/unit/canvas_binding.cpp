// Binding a canvas to a device: construction, Attach, SetDC, SetViewport and its clip region,
// Clear and DrawRect.
#include "canvas_fixture.h"

#include <climits>

namespace canvas_test {
namespace {

using headless::DeviceOp;

class CanvasBinding : public CanvasTest {};

TEST_F(CanvasBinding, NeverBoundCanvasStartsEmptyWithClippingOn)
{
    CWorldCanvas canvas(nullptr, nullptr, 0);
    EXPECT_EQ(canvas.m_pDC, nullptr);
    EXPECT_EQ(canvas.m_pClipRgn, nullptr);
    EXPECT_EQ(canvas.m_nWidth, 0);
    EXPECT_EQ(canvas.m_nHeight, 0);
    EXPECT_EQ(canvas.m_nOrientation, 2);
    EXPECT_EQ(canvas.m_nPenState, 0);
    EXPECT_EQ(canvas.m_nMarkerSize, 0);
    EXPECT_EQ(canvas.m_bClip, 1);  // the caller's 0 is stored only by a binding with a DC
    EXPECT_EQ(canvas.m_dWinX1 - canvas.m_dWinX0, 0.0);
    EXPECT_EQ(canvas.m_dWinY1 - canvas.m_dWinY0, 0.0);

    canvas.DrawRect(0, 0, 5, 5);
    canvas.Clear(nullptr, nullptr, 0);
    EXPECT_TRUE(headless::DeviceCalls().empty());
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
}

TEST_F(CanvasBinding, BindingSetsViewportWindowAndMarkerAndUnbindingKeepsThem)
{
    CWorldCanvas canvas(nullptr, nullptr, 1);
    canvas.SetDC(&m_dc, 640, 480, 1);
    EXPECT_EQ(canvas.m_pDC, &m_dc);
    EXPECT_EQ(canvas.m_nWidth, 639);
    EXPECT_EQ(canvas.m_nHeight, 479);
    EXPECT_EQ(canvas.m_dWinX1, 640.0);
    EXPECT_EQ(canvas.m_dWinY1, 480.0);
    EXPECT_EQ(canvas.m_nMarkerSize, 96 / 20);
    EXPECT_EQ(RecordedCalls(DeviceOp::SetMapMode),
              (std::vector<Call>{{DeviceOp::SetMapMode, {MM_TEXT}}}));

    // Too narrow for a viewport: bound, with the new world window, but the old viewport.
    canvas.m_pDC = nullptr;
    canvas.SetDC(&m_dc, 1, 100, 1);
    EXPECT_EQ(canvas.m_pDC, &m_dc);
    EXPECT_EQ(canvas.m_nWidth, 639);
    EXPECT_EQ(canvas.m_nHeight, 479);
    EXPECT_EQ(canvas.m_dWinX1, 1.0);
    EXPECT_EQ(canvas.m_dWinY1, 100.0);

    canvas.Attach(nullptr, nullptr, 1);
    EXPECT_EQ(canvas.m_pDC, nullptr);
    EXPECT_EQ(canvas.m_pClipRgn, nullptr);
    EXPECT_EQ(canvas.m_nWidth, 639);
    EXPECT_EQ(canvas.m_dWinX1, 1.0);
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
}

TEST_F(CanvasBinding, AttachToAWindowAloneMeasuresItThroughATemporaryDC)
{
    headless::SetDefaultClientSize(320, 240);
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "t"));
    const int nDCs = headless::LiveDeviceContexts();
    {
        CWorldCanvas canvas(pFrame, nullptr, 1);
        EXPECT_EQ(canvas.m_pDC, nullptr);
        EXPECT_EQ(canvas.m_nWidth, 319);
        EXPECT_EQ(canvas.m_nHeight, 239);
        EXPECT_EQ(canvas.m_dWinX1, 320.0);
        EXPECT_EQ(canvas.m_dWinY1, 240.0);
        EXPECT_EQ(headless::LiveDeviceContexts(), nDCs);
        // The region outlives the temporary DC; the canvas still owns and releases it.
        EXPECT_NE(canvas.m_pClipRgn, nullptr);
        EXPECT_EQ(RecordedCalls(DeviceOp::SelectClipRgn),
                  (std::vector<Call>{{DeviceOp::SelectClipRgn, {0, 0, 320, 240}}}));
    }
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
    pFrame->DestroyWindow();
}

TEST_F(CanvasBinding, ClipFlagTakesEffectAtTheNextBinding)
{
    CWorldCanvas canvas(nullptr, nullptr, 0);
    const int kFlags[] = {0, 1, 1};
    const int kRegions[] = {1, 0, 1};  // the first follows the initial flag, 1
    for (int i = 0; i < 3; ++i) {
        headless::ClearDeviceCalls();
        canvas.SetDC(&m_dc, 100, 50, kFlags[i]);
        EXPECT_EQ(canvas.m_bClip, kFlags[i]);
        EXPECT_EQ(canvas.m_pClipRgn != nullptr, kRegions[i] == 1) << "binding " << i;
        EXPECT_EQ(headless::LiveGdiObjects(), kRegions[i]) << "binding " << i;
        EXPECT_EQ(RecordedCalls(DeviceOp::SelectClipRgn).size(), size_t(kRegions[i]));
    }
}

TEST_F(CanvasBinding, ViewportMovesTheOriginAndClipsToItsOwnArea)
{
    CWorldCanvas canvas(nullptr, &m_dc, 1);
    Bind(canvas, 101, 51);
    canvas.m_bClip = 1;
    canvas.m_nPenState = 2;
    canvas.SetViewport(10, 20, 30, 40, 4);
    const std::vector<Call> kCalls = {{DeviceOp::SetViewportOrg, {10, 20}},
                                      {DeviceOp::SelectClipRgn, {10, 20, 40, 60}}};
    EXPECT_EQ(RecordedCalls(), kCalls);
    EXPECT_EQ(canvas.m_nOrgX, 10);
    EXPECT_EQ(canvas.m_nOrgY, 20);
    EXPECT_EQ(canvas.m_nWidth, 29);
    EXPECT_EQ(canvas.m_nHeight, 39);
    EXPECT_EQ(canvas.m_nOrientation, 4);
    EXPECT_EQ(canvas.m_nPenState, 0);
    EXPECT_EQ(headless::LiveGdiObjects(), 1);  // the old region was released

    headless::ClearDeviceCalls();
    canvas.SetViewport(INT_MAX - 100, 0, 100, 50, 2);
    EXPECT_EQ(RecordedCalls(DeviceOp::SelectClipRgn),
              (std::vector<Call>{{DeviceOp::SelectClipRgn, {INT_MAX - 100, 0, INT_MAX, 50}}}));
}

TEST_F(CanvasBinding, RefusedViewportChangesNothing)
{
    CWorldCanvas canvas(nullptr, &m_dc, 1);
    Bind(canvas, 101, 51);
    canvas.m_bClip = 1;
    canvas.m_nPenState = 2;
    CRgn* pRegion = canvas.m_pClipRgn;
    const int kRefused[][4] = {{5, 5, 1, 50},
                               {5, 5, 50, 1},
                               {5, 5, -50, 50},
                               {INT_MAX - 10, 0, 100, 50},
                               {0, INT_MAX - 10, 100, 50}};
    for (const auto& v : kRefused)
        canvas.SetViewport(v[0], v[1], v[2], v[3], 3);
    canvas.m_pDC = nullptr;
    canvas.SetViewport(5, 5, 50, 50, 3);

    EXPECT_TRUE(headless::DeviceCalls().empty());
    EXPECT_EQ(canvas.m_pClipRgn, pRegion);
    EXPECT_EQ(canvas.m_nOrientation, 2);
    EXPECT_EQ(canvas.m_nOrgX, 0);
    EXPECT_EQ(canvas.m_nWidth, 100);
    EXPECT_EQ(canvas.m_nHeight, 50);
    EXPECT_EQ(canvas.m_nPenState, 2);
}

TEST_F(CanvasBinding, ClearFillsAllButTheLastRowAndColumnAndRestoresTheDC)
{
    CWorldCanvas canvas(nullptr, &m_dc, 1);
    Bind(canvas, 100, 50);
    {
        CPen pen(PS_SOLID, 1, canvas.ColorOf(7));
        CBrush brush(canvas.ColorOf(1));
        canvas.m_nPenState = 2;
        canvas.Clear(&brush, &pen, 3);
        canvas.Clear(&brush, &pen, -5);
        canvas.Clear(&brush, &pen, INT_MAX);  // the far corner would overflow: nothing drawn
        EXPECT_EQ(canvas.m_nPenState, 0);

        const std::vector<headless::DeviceCall>& calls = headless::DeviceCalls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].args, (std::vector<int>{3, 3, 96, 46}));
        EXPECT_EQ(calls[1].args, (std::vector<int>{0, 0, 99, 49}));
        EXPECT_EQ(calls[0].pen, canvas.ColorOf(7));
        EXPECT_EQ(calls[0].brush, canvas.ColorOf(1));
    }
    EXPECT_EQ(headless::DeletesOfSelectedObjects(), 0);
}

TEST_F(CanvasBinding, RectangleBeyondTheIntRangeOrOrientationDrawsNothing)
{
    CWorldCanvas canvas(nullptr, &m_dc, 1);
    Bind(canvas, 100, 50);
    canvas.m_nPenState = 2;
    canvas.DrawRect(0, 0, INT_MAX, 5);
    canvas.DrawRect(INT_MIN, 0, 5, INT_MAX);
    canvas.m_nOrientation = 7;
    canvas.DrawRect(0, 0, 5, 5);
    EXPECT_TRUE(headless::DeviceCalls().empty());
    EXPECT_EQ(canvas.m_nPenState, 2);

    canvas.m_nOrientation = 4;
    canvas.DrawRect(0, 0, 5, 5);
    EXPECT_EQ(RecordedCalls(), (std::vector<Call>{{DeviceOp::Rectangle, {94, 44, 100, 50}}}));
}

}  // namespace
}  // namespace canvas_test

// The bearing symbols: four wedges tiling a disc at each pivot, upright whatever the cross's
// pose, drawn with temporaries that are gone when the call returns.
#include "mechanism_fixture.h"

namespace mechanism_test {
namespace {

class BearingSymbol : public FrameTest {
protected:
    // The four wedges a bearing at (0, y) must consist of, in the order they are drawn:
    // (start radial, end radial, brush), each wedge running counter-clockwise in world terms.
    void ExpectWedges(const DeviceCall* pPies, double y) const
    {
        const CWorldCanvas& canvas = m_pFrame->m_canvasCross;
        const double r = 4.5;
        const CPoint centre = DevicePoint(canvas, 0.0, y);
        const CPoint top = DevicePoint(canvas, 0.0, y + r);
        const CPoint left = DevicePoint(canvas, -r, y);
        const CPoint bottom = DevicePoint(canvas, 0.0, y - r);
        const CPoint right = DevicePoint(canvas, r, y);
        const struct {
            CPoint start;
            CPoint end;
            COLORREF brush;
            const char* quadrant;
        } wedges[] = {{top, left, kBlack, "upper left"},
                      {bottom, right, kBlack, "lower right"},
                      {right, top, kYellow, "upper right"},
                      {left, bottom, kYellow, "lower left"}};
        for (int i = 0; i < 4; ++i) {
            const DeviceCall& pie = pPies[i];
            SCOPED_TRACE(wedges[i].quadrant);
            ASSERT_EQ(pie.op, DeviceOp::Pie);
            EXPECT_EQ(pie.args[0] + pie.args[2] - 1, 2 * centre.x);  // a box centred on
            EXPECT_EQ(pie.args[1] + pie.args[3] - 1, 2 * centre.y);  // the pivot
            EXPECT_EQ(pie.args[4], wedges[i].start.x);
            EXPECT_EQ(pie.args[5], wedges[i].start.y);
            EXPECT_EQ(pie.args[6], wedges[i].end.x);
            EXPECT_EQ(pie.args[7], wedges[i].end.y);
            EXPECT_EQ(pie.pen, kWhite);
            EXPECT_EQ(pie.brush, wedges[i].brush);
            EXPECT_EQ(pie.args[0], pPies[0].args[0]);  // one disc for all four
        }
    }
};

TEST_F(BearingSymbol, RepaintMarksBothPivotsWithFourAlternatingWedges)
{
    headless::ClearDeviceCalls();
    Paint();
    const std::vector<DeviceCall> pies = Recorded(DeviceOp::Pie);
    ASSERT_EQ(pies.size(), 8u);
    ExpectWedges(&pies[0], 0.0);
    ExpectWedges(&pies[4], 60.0);
}

TEST_F(BearingSymbol, StandsUprightAtItsPivotWhateverTheCrossPose)
{
    Paint();
    BoundDC bound(*m_pFrame);
    m_pFrame->m_canvasCross.SetTransform(7.0, -3.0, 0.8, 1.5, 0.5);
    headless::ClearDeviceCalls();
    m_pFrame->DrawBearing(60.0);
    const std::vector<DeviceCall> pies = Recorded(DeviceOp::Pie);
    ASSERT_EQ(pies.size(), 4u);
    ExpectWedges(&pies[0], 60.0);
}

TEST_F(BearingSymbol, ReleasesItsTemporariesAndRestoresTheDc)
{
    Paint();
    BoundDC bound(*m_pFrame);
    MarkedSelection marked(bound.m_dc);
    const int nLive = headless::LiveGdiObjects();
    m_pFrame->DrawBearing(0.0);
    EXPECT_EQ(headless::LiveGdiObjects(), nLive);
    EXPECT_EQ(headless::DeletesOfSelectedObjects(), 0);
    EXPECT_TRUE(marked.IsIntact());
}

// When GDI's objects run out part-way through a repaint, the temporary that could not be made
// ends the repaint there: no wedge is drawn with whatever the DC held instead, the objects made
// so far are released, and the window is validated rather than asked to repaint at once.
TEST_F(BearingSymbol, ObjectsThatCannotBeCreatedEndTheRepaintWithoutStrayWedges)
{
    ::ShowWindow(m_pFrame->m_hWnd, SW_SHOW);
    Paint();
    const int nLive = headless::LiveGdiObjects();
    for (int nCreations = 0; nCreations < 12; ++nCreations) {
        SCOPED_TRACE("creations allowed: " + std::to_string(nCreations));
        headless::ClearDeviceCalls();
        headless::SetGdiCreationsLeft(nCreations);
        ::InvalidateRect(m_pFrame->m_hWnd, NULL, TRUE);
        MSG msg;
        ASSERT_TRUE(::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE));
        ASSERT_EQ(msg.message, UINT(WM_PAINT));
        ::DispatchMessage(&msg);
        headless::SetGdiCreationsLeft(-1);
        for (const DeviceCall& pie : Recorded(DeviceOp::Pie)) {
            EXPECT_EQ(pie.pen, kWhite);
            EXPECT_TRUE(pie.brush == kBlack || pie.brush == kYellow) << std::hex << pie.brush;
        }
        // The canvases' clip regions may be missing now (they are two-step objects, whose
        // failure the canvas takes as no clip), but nothing is left over.
        EXPECT_LE(headless::LiveGdiObjects(), nLive);
        EXPECT_EQ(headless::DeletesOfSelectedObjects(), 0);
        EXPECT_FALSE(::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE));
    }
    headless::ClearDeviceCalls();
    Paint();
    EXPECT_EQ(Recorded(DeviceOp::Pie).size(), 8u);
    EXPECT_EQ(headless::LiveGdiObjects(), nLive);
}

}  // namespace
}  // namespace mechanism_test

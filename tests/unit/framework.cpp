// The MFC-style framework itself: message routing through the class chain, self-deleting
// frames, and the wrappers that SelectObject hands back.
#include <afxwin.h>

#include <headless.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

class Framework : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }
};

// A frame that notes which of its handlers ran and when it is deleted.
class CProbeFrame : public CFrameWnd {
public:
    explicit CProbeFrame(std::vector<UINT>* pHeard, bool* pDeleted)
        : m_pHeard(pHeard), m_pDeleted(pDeleted)
    {
        Create(NULL, "probe");
    }
    ~CProbeFrame() override { *m_pDeleted = true; }

protected:
    afx_msg void OnTimer(UINT nIDEvent) { m_pHeard->push_back(nIDEvent); }
    DECLARE_MESSAGE_MAP()

private:
    std::vector<UINT>* m_pHeard;
    bool* m_pDeleted;
};

BEGIN_MESSAGE_MAP(CProbeFrame, CFrameWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(Framework, MessagesReachDerivedMapThenBaseMapThenDefaultProcessing)
{
    std::vector<UINT> heard;
    bool bDeleted = false;
    CProbeFrame* pFrame = new CProbeFrame(&heard, &bDeleted);
    HWND hWnd = pFrame->m_hWnd;
    ASSERT_NE(hWnd, nullptr);

    ::SendMessage(hWnd, WM_TIMER, 0xFFFFFFFF, 0);
    EXPECT_EQ(heard, std::vector<UINT>{0xFFFFFFFFu});
    EXPECT_EQ(::SendMessage(hWnd, WM_USER, 0, 0), 0);  // in no map: default processing

    ::SendMessage(hWnd, WM_CLOSE, 0, 0);  // handled by the frame's own map
    EXPECT_TRUE(bDeleted);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(Framework, SelectObjectReturnsTheOwnersObjectOrAWrapperForStockOnes)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "dc"));
    {
        CClientDC dc(pFrame);
        CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        CPen* pStock = dc.SelectObject(&pen);
        ASSERT_NE(pStock, nullptr);
        EXPECT_NE(pStock, &pen);
        EXPECT_EQ(dc.SelectObject(pStock), &pen);
        CBrush brush(RGB(4, 5, 6));
        dc.SelectObject(dc.SelectObject(&brush));
    }
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
    EXPECT_EQ(headless::LiveDeviceContexts(), 0);
    EXPECT_EQ(headless::DeletesOfSelectedObjects(), 0);
    pFrame->DestroyWindow();
}

TEST_F(Framework, DeletingAnObjectStillSelectedIsCaught)
{
    HDC hDC = ::GetDC(NULL);
    CDC dc;
    dc.Attach(hDC);
    CPen* pPen = new CPen(PS_SOLID, 1, RGB(9, 9, 9));
    CPen* pOld = dc.SelectObject(pPen);
    delete pPen;
    EXPECT_EQ(headless::DeletesOfSelectedObjects(), 1);
    dc.SelectObject(pOld);
    ::ReleaseDC(NULL, dc.Detach());
}

TEST_F(Framework, SizeConversionIgnoresTheViewportOrigin)
{
    HDC hDC = ::GetDC(NULL);
    CDC dc;
    dc.Attach(hDC);
    dc.SetMapMode(MM_TEXT);
    dc.SetViewportOrg(40, 70);
    SIZE size = {4, 5};
    dc.DPtoLP(&size);
    EXPECT_EQ(size.cx, 4);
    EXPECT_EQ(size.cy, 5);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    ::ReleaseDC(NULL, dc.Detach());
}

TEST_F(Framework, ObjectsAttachDetachAndDeleteTheirHandlesOnce)
{
    CRgn rgn;
    ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 10, 10));
    EXPECT_EQ(headless::LiveGdiObjects(), 1);
    HGDIOBJ hRgn = rgn.Detach();
    EXPECT_EQ(rgn.m_hObject, nullptr);
    EXPECT_FALSE(rgn.DeleteObject());
    EXPECT_EQ(headless::LiveGdiObjects(), 1);
    CGdiObject owner;
    owner.Attach(hRgn);
    EXPECT_EQ(CGdiObject::FromHandle(hRgn), &owner);
    EXPECT_TRUE(owner.DeleteObject());
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
}

// MFC's constructors that create an object throw when they cannot; the two-step form reports
// the failure as a result. Nothing is left behind either way.
TEST_F(Framework, WrapperThatCannotCreateItsObjectThrowsAResourceException)
{
    headless::SetGdiCreationsLeft(0);
    const auto throwsResourceException = [](const auto& create) {
        try {
            create();
        } catch (CResourceException* e) {
            e->Delete();
            return true;
        }
        return false;
    };
    EXPECT_TRUE(throwsResourceException([] { CPen pen(PS_SOLID, 1, RGB(1, 2, 3)); }));
    EXPECT_TRUE(throwsResourceException([] { CBrush brush(RGB(1, 2, 3)); }));
    CPen pen;
    EXPECT_FALSE(pen.CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    CRgn rgn;
    EXPECT_FALSE(rgn.CreateRectRgn(0, 0, 1, 1));
    EXPECT_EQ(headless::LiveGdiObjects(), 0);
}

// A handle the program owns as one kind of object, asked for as another, comes back as a
// wrapper of the kind asked for, never as the owner cast to what it is not.
TEST_F(Framework, FromHandleGivesAnObjectOfTheKindAskedFor)
{
    CBrush brush(RGB(1, 2, 3));
    EXPECT_EQ(CBrush::FromHandle(static_cast<HBRUSH>(brush.m_hObject)), &brush);
    CPen* pPen = CPen::FromHandle(static_cast<HPEN>(brush.m_hObject));
    ASSERT_NE(pPen, nullptr);
    EXPECT_NE(static_cast<CGdiObject*>(pPen), static_cast<CGdiObject*>(&brush));
    EXPECT_EQ(pPen->m_hObject, brush.m_hObject);
    EXPECT_EQ(CGdiObject::FromHandle(brush.m_hObject), &brush);
}

}  // namespace

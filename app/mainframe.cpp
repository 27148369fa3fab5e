// The main frame's own life: the dimensions of the mechanism, its pens and brushes, the window
// with its caption, and the animation timer started on WM_CREATE and stopped on WM_CLOSE. What
// the frame draws, and when, lives in mechanism/.
#include "mainframe.h"

#include <cmath>

namespace {

const char kCaption[] = "Vurazevedadar";
const char kTimerFailed[] = "Timer konnte nicht gestartet werden";

const UINT_PTR kAnimationTimer = 1;
const UINT kTickPeriod = 50;  // milliseconds

const double kThirdPi = 1.0471975511965976;

// Palette indices.
const int kBlue = 1;
const int kCyan = 3;
const int kWhite = 7;

const int kPenWidth = 1;

}  // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

// The rim points of the locking disc are computed from the literal radius and distance, not
// from the members that hold the same values.
CMainFrame::CMainFrame()
    : m_canvasCross(NULL, NULL, 1),
      m_canvasWheel(NULL, NULL, 1),
      m_dDistance(60.0),
      m_dCrank(30.0),
      m_dDisc(22.5),
      m_dPin(4.5),
      m_dDiscX(std::sin(kThirdPi) * 22.5),
      m_dDiscYLow(60.0 - std::cos(kThirdPi) * 22.5),
      m_dDiscYHigh(std::cos(kThirdPi) * 22.5 + 60.0),
      m_dCrossRadius(std::sqrt(2700.0)),
      m_pPenBack(NULL),
      m_pPenFore(NULL),
      m_pBrushBack(NULL),
      m_pBrushWheel(NULL),
      m_dCrossAngle(0.0),
      m_dDriveAngle(0.0),
      m_dStep(0.0),
      m_bNoRoom(FALSE)
{
    // Should an allocation fail part-way, the objects made so far are released before the
    // exception leaves: the destructor does not run for an object never fully constructed.
    try {
        m_pPenBack = new CPen(PS_SOLID, kPenWidth, m_canvasCross.ColorOf(kBlue));
        m_pPenFore = new CPen(PS_SOLID, kPenWidth, m_canvasCross.ColorOf(kWhite));
        m_pBrushBack = new CBrush(m_canvasCross.ColorOf(kBlue));
        m_pBrushWheel = new CBrush(m_canvasCross.ColorOf(kCyan));
    } catch (...) {
        DeleteGdiObjects();
        throw;
    }
    Create(NULL, kCaption, WS_OVERLAPPEDWINDOW, rectDefault, NULL, NULL, 0, NULL);
}

// The pens and brushes normally go on WM_CLOSE; a window destroyed by any other path leaves
// them to be released here.
CMainFrame::~CMainFrame()
{
    DeleteGdiObjects();
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (SetTimer(kAnimationTimer, kTickPeriod, NULL) == 0) {
        MessageBox(kTimerFailed, NULL, MB_OK);
        return -1;
    }
    return 0;
}

// The timer stops first, so that no tick can run with the pens and brushes gone.
void CMainFrame::OnClose()
{
    KillTimer(kAnimationTimer);
    DeleteGdiObjects();
    CFrameWnd::OnClose();
}

void CMainFrame::DeleteGdiObjects()
{
    delete m_pPenBack;
    m_pPenBack = NULL;
    delete m_pPenFore;
    m_pPenFore = NULL;
    delete m_pBrushBack;
    m_pBrushBack = NULL;
    delete m_pBrushWheel;
    m_pBrushWheel = NULL;
}

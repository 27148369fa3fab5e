// The driving wheel: the crank with its pin and the cap of the locking disc, one closed outline
// of which only the pin is filled. The figure is symmetric about the crank, so only its right
// flank is given; the left one is the same calls through a transformation mirrored about the
// crank axis.
#include "mainframe.h"

namespace {

constexpr int kHalfCount = 2;

// Where the flank leaves the cap's end and turns down towards the pin, as a share of the
// cap end's distance from the crank axis.
constexpr double kShoulder = 0.7;

// The shoulder along the cap's chord, then down to the side of the pin. Starting with a move
// keeps the flank from being joined to wherever the pen stood before.
void TraceFlank(CMainFrame& frame)
{
    CWorldCanvas& canvas = frame.m_canvasWheel;
    canvas.TMoveTo(frame.m_dDiscX, frame.m_dDiscYHigh);
    canvas.TLineTo(kShoulder * frame.m_dDiscX, frame.m_dDiscYHigh);
    canvas.TLineTo(frame.m_dPin, frame.m_dDistance - frame.m_dCrank);
}

// Reflects the figure in the crank axis. Rotate composes on the world side, so the pose is
// undone about the wheel centre, the mirror applied in x = 0 and the pose put back. Run twice,
// the two mirrors cancel and the canvas holds its entry transformation again.
void MirrorAboutCrank(CMainFrame& frame)
{
    CWorldCanvas& canvas = frame.m_canvasWheel;
    canvas.Rotate(0.0, frame.m_dDistance, -frame.m_dDriveAngle);
    canvas.MirrorX();
    canvas.Rotate(0.0, frame.m_dDistance, frame.m_dDriveAngle);
}

}  // namespace

void CMainFrame::DrawWheel(CPen* pPen, CBrush* pBrush)
{
    CDC* pDC = m_canvasWheel.m_pDC;
    CPen* pOldPen = pDC->SelectObject(pPen);
    CBrush* pOldBrush = pDC->SelectObject(pBrush);

    for (int nHalf = 0; nHalf < kHalfCount; ++nHalf) {
        TraceFlank(*this);
        MirrorAboutCrank(*this);
    }

    // The cap is drawn counter-clockwise from its right end, i.e. the 120 degrees away from
    // the pin; the brush only matters for the pin, the one closed shape GDI fills here.
    m_canvasWheel.TArc(0.0, m_dDistance, m_dDisc, m_dDiscX, m_dDiscYHigh, -m_dDiscX,
                       m_dDiscYHigh);
    m_canvasWheel.TCircle(0.0, m_dDistance - m_dCrank, m_dPin);

    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

// The Maltese cross: six slots with concave locking arcs between them, drawn as one closed
// outline. The outline is traced one sixth at a time in a local frame that the cross canvas's
// transformation turns by half a slot pitch twice per sixth, so every sixth is drawn from the
// same coordinates and the six meet without a gap.
#include "angles.h"
#include "mainframe.h"

using mechanism::kSixthPi;

namespace {

constexpr int kSlotCount = 6;

// The concave arc that the locking disc runs along, centred where the driving wheel's centre
// is in this frame, then the pen to the arc's end. The arc leaves the canvas's pen state at 0,
// so the end face that follows needs the explicit move to start where the arc stops.
void TraceConcaveArc(CMainFrame& frame)
{
    CWorldCanvas& canvas = frame.m_canvasCross;
    canvas.TArc(0.0, frame.m_dDistance, frame.m_dDisc, -frame.m_dDiscX, frame.m_dDiscYLow,
                frame.m_dDiscX, frame.m_dDiscYLow);
    canvas.TMoveTo(frame.m_dDiscX, frame.m_dDiscYLow);
}

// One slot along the frame's y axis: the end face from the arc (the pen still stands there in
// device coordinates although the frame has turned), the left side, the bottom half circle
// towards the cross centre and the right side back out to the rim.
void TraceSlot(CMainFrame& frame)
{
    CWorldCanvas& canvas = frame.m_canvasCross;
    const double dBottom = frame.m_dDistance - frame.m_dCrank;
    canvas.TLineTo(-frame.m_dPin, frame.m_dCrossRadius);
    canvas.TLineTo(-frame.m_dPin, dBottom);
    canvas.TArc(0.0, dBottom, frame.m_dPin, -frame.m_dPin, dBottom, frame.m_dPin, dBottom);
    canvas.TMoveTo(frame.m_dPin, dBottom);
    canvas.TLineTo(frame.m_dPin, frame.m_dCrossRadius);
}

// One sixth: arc, slot, and the end face that reaches the start of the next sixth's arc. After
// six sixths the canvas has turned a full revolution, so the last face closes the outline.
void TraceSixth(CMainFrame& frame)
{
    CWorldCanvas& canvas = frame.m_canvasCross;
    TraceConcaveArc(frame);
    canvas.Rotate(0.0, 0.0, -kSixthPi);
    TraceSlot(frame);
    canvas.Rotate(0.0, 0.0, -kSixthPi);
    canvas.TLineTo(-frame.m_dDiscX, frame.m_dDiscYLow);
}

}  // namespace

void CMainFrame::DrawCross(CPen* pPen)
{
    // Outline only: the brush in the DC is never used, because no call below fills.
    CDC* pDC = m_canvasCross.m_pDC;
    CPen* pOldPen = pDC->SelectObject(pPen);
    for (int nSixth = 0; nSixth < kSlotCount; ++nSixth)
        TraceSixth(*this);
    pDC->SelectObject(pOldPen);
}

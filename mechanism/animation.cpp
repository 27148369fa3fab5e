// The animation cycle of the Geneva drive. A repaint clears the window, fits the mechanism into
// it and puts the mechanism back into its initial pose; every timer tick erases the moving parts
// by drawing them in the background colours, advances the driving wheel by one step, derives
// the cross angle from it and draws both figures in their new pose.
#include <cmath>

#include "angles.h"
#include "mainframe.h"

using mechanism::kDriveLimit;
using mechanism::kDriveStep;
using mechanism::kFullTurn;
using mechanism::kHalfPi;
using mechanism::kSixthPi;
using mechanism::kThirdPi;

namespace {

// Adds one step and keeps the drive angle in (-pi/2, 3pi/2]. The comparison is strict: from a
// repaint, the thirtieth sum comes out exactly equal to the limit and is left as it is.
double AdvanceDrive(double dAngle, double dStep)
{
    dAngle = dAngle + dStep;
    if (dAngle > kDriveLimit)
        dAngle = dAngle - kFullTurn;
    return dAngle;
}

// Both bounds are strict: on the bound the pin is at the slot's mouth and exerts no drive.
bool IsPinInSlot(double dDrive)
{
    return dDrive > -kThirdPi && dDrive < kThirdPi;
}

// The cross angle that turns a slot's axis onto the pin centre. dRatio is the centre distance
// over the crank radius. Seen from the cross centre, the pin's radial lies atan2(...) clockwise
// of the line of centres, and at cross angle 0 the waiting slot lies pi/6 anticlockwise of it.
double CrossAngleFor(double dDrive, double dRatio)
{
    return -std::atan2(std::sin(dDrive), dRatio - std::cos(dDrive)) - kSixthPi;
}

// The canvases refuse a viewport narrower or lower than this and would go on mapping into the
// previous one, outside the window.
const int kMinPictureSize = 2;

bool HasRoomForPicture(CWnd& wnd)
{
    CRect rcClient;
    wnd.GetClientRect(&rcClient);
    return rcClient.Width() >= kMinPictureSize && rcClient.Height() >= kMinPictureSize;
}

}  // namespace

void CMainFrame::OnPaint()
{
    // A repaint restarts the animation, so the figures drawn so far must go wherever they
    // are; but the paint DC draws only inside the part of the window that needs painting
    // (what was just uncovered, say). Making that the whole client area lets the clearing
    // reach every old figure.
    Invalidate(FALSE);
    CPaintDC paintDC(this);
    m_bNoRoom = !HasRoomForPicture(*this);
    if (!m_bNoRoom) {
        m_canvasCross.Attach(this, &paintDC, 1);
        m_canvasWheel.Attach(this, &paintDC, 1);
        m_canvasCross.Clear(m_pBrushBack, m_pPenFore, 0);

        // The world rectangle reaches up to the top of the pin circle, where the pin stands
        // when the crank points straight up. Both canvases need the same mapping: the cap of
        // the wheel runs along the arcs of the cross.
        const double dTop = m_dDistance + m_dCrank + m_dPin;
        m_canvasCross.SetWindow(-m_dDistance, -m_dDistance, m_dDistance, dTop, 5.0);
        m_canvasWheel.SetWindow(-m_dDistance, -m_dDistance, m_dDistance, dTop, 5.0);

        DrawBearing(0.0);
        DrawBearing(m_dDistance);
    }

    // Every repaint restarts the mechanism: the window has just been cleared, so no earlier
    // pose is left on the screen that a later tick would have to erase.
    m_dCrossAngle = 0.0;
    m_dDriveAngle = -kHalfPi;
    m_dStep = kDriveStep;
    m_canvasCross.ResetTransform();
    m_canvasWheel.ResetTransform();
    m_canvasWheel.Rotate(0.0, m_dDistance, m_dDriveAngle);

    // The paint DC dies with this function; the canvases must not keep pointing at it.
    m_canvasCross.m_pDC = nullptr;
    m_canvasWheel.m_pDC = nullptr;
}

void CMainFrame::OnTimer(UINT /*nIDEvent*/)
{
    // Nothing is shown, so nothing needs erasing or drawing; the repaint that brings the
    // window back restarts the cycle anyway.
    if (m_bNoRoom)
        return;

    // Stored without Attach, so that the viewport and world window of the last repaint stay.
    CClientDC clientDC(this);
    m_canvasCross.m_pDC = &clientDC;
    m_canvasWheel.m_pDC = &clientDC;

    DrawWheel(m_pPenBack, m_pBrushBack);
    m_dDriveAngle = AdvanceDrive(m_dDriveAngle, m_dStep);

    // The cross moves only while the pin is in a slot; the cross canvas still holds the
    // previous pose, so DrawCross erases the cross where it was drawn. Outside the slots the
    // cross keeps the angle of the last engaged tick. Twelve-degree steps never land on the
    // exit angle pi/3, so that angle stops 0.19 degrees short of a multiple of 60 degrees;
    // by six-fold symmetry the next engaged pose then lies only 0.39 degrees on.
    if (IsPinInSlot(m_dDriveAngle)) {
        m_dCrossAngle = CrossAngleFor(m_dDriveAngle, m_dDistance / m_dCrank);
        DrawCross(m_pPenBack);
    }

    // The wheel canvas accumulates the rotation; only the stored angle is ever wrapped.
    m_canvasWheel.Rotate(0.0, m_dDistance, m_dStep);
    DrawWheel(m_pPenFore, m_pBrushWheel);

    m_canvasCross.SetTransform(0.0, 0.0, m_dCrossAngle, 1.0, 1.0);
    DrawCross(m_pPenFore);

    m_canvasCross.m_pDC = nullptr;
    m_canvasWheel.m_pDC = nullptr;
}

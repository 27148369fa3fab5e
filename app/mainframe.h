// The application object and the one main window, which animates a Geneva drive: a driving
// wheel whose pin turns a six-slot Maltese cross by 60 degrees per revolution and then locks it.
#ifndef VURAZEVEDADAR_MAINFRAME_H
#define VURAZEVEDADAR_MAINFRAME_H

#include <afxwin.h>

#include "../canvas/worldcanvas.h"

class CMainApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    CWorldCanvas m_canvasCross;  // background, bearings and the cross
    CWorldCanvas m_canvasWheel;  // the driving wheel

    // Dimensions of the mechanism, in world units. The cross turns about the origin, the
    // driving wheel about (0, m_dDistance).
    double m_dDistance;
    double m_dCrank;
    double m_dDisc;
    double m_dPin;
    double m_dDiscX;
    double m_dDiscYLow;
    double m_dDiscYHigh;
    double m_dCrossRadius;

    CPen* m_pPenBack;
    CPen* m_pPenFore;
    CBrush* m_pBrushBack;
    CBrush* m_pBrushWheel;

    double m_dCrossAngle;
    double m_dDriveAngle;
    double m_dStep;
    // The last repaint found the client area too small for a picture (a minimised window, or
    // one squeezed to a line); the ticks draw nothing until a repaint finds room again.
    BOOL m_bNoRoom;

    // The figures, drawn in the pose their canvas's transformation holds.
    void DrawCross(CPen* pPen);
    void DrawWheel(CPen* pPen, CBrush* pBrush);
    void DrawBearing(double y);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnTimer(UINT nIDEvent);
    afx_msg void OnPaint();
    afx_msg void OnClose();

    DECLARE_MESSAGE_MAP()

private:
    void DeleteGdiObjects();
};

#endif  // VURAZEVEDADAR_MAINFRAME_H

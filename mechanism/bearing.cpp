// The bearing symbol that marks a pivot: a small disc in four quadrant wedges of alternating
// colours, drawn once per repaint. It uses the untransformed Pie, so it stands upright at its
// pivot whatever pose the cross canvas holds.
#include "mainframe.h"

namespace {

// Palette indices of CWorldCanvas::ColorOf.
constexpr int kPaletteBlack = 0;
constexpr int kPaletteYellow = 6;
constexpr int kPaletteWhite = 7;

constexpr int kPenWidth = 1;

}  // namespace

void CMainFrame::DrawBearing(double y)
{
    CDC* pDC = m_canvasCross.m_pDC;
    const double r = m_dPin;

    // Declared before anything is selected, so that they are destroyed only after the DC's
    // previous objects are back: Windows refuses to delete an object still selected.
    CPen pen(PS_SOLID, kPenWidth, m_canvasCross.ColorOf(kPaletteWhite));
    CBrush brushDark(m_canvasCross.ColorOf(kPaletteBlack));
    CBrush brushLight(m_canvasCross.ColorOf(kPaletteYellow));

    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brushDark);
    m_canvasCross.Pie(0.0, y, r, 0.0, y + r, -r, y);  // upper left
    m_canvasCross.Pie(0.0, y, r, 0.0, y - r, r, y);   // lower right

    pDC->SelectObject(&brushLight);
    m_canvasCross.Pie(0.0, y, r, r, y, 0.0, y + r);   // upper right
    m_canvasCross.Pie(0.0, y, r, -r, y, 0.0, y - r);  // lower left

    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

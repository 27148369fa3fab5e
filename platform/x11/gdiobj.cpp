// Pens, brushes and regions: plain descriptions kept by the backend. They cost the server
// nothing; a pen or brush becomes the GC's foreground only when something is drawn with it.
#include "x11state.h"

#include <algorithm>

using x11::GdiObject;
using x11::LookupDC;
using x11::LookupObject;
using x11::ObjectKind;
using x11::TheState;

namespace {

HGDIOBJ NewObject(ObjectKind kind, COLORREF crColor, RECT rect)
{
    auto& objects = TheState().m_objects;
    objects.push_back(std::make_unique<GdiObject>(GdiObject{kind, crColor, rect, 0, false}));
    return objects.back().get();
}

const RECT kNoRect = {0, 0, 0, 0};

}  // namespace

// Widths 0 and 1 are the same cosmetic one-pixel pen on Windows; wider pens are drawn one
// pixel wide here as well.
HPEN CreatePen(int iStyle, int, COLORREF color)
{
    if (iStyle != PS_SOLID)
        return nullptr;
    return static_cast<HPEN>(NewObject(ObjectKind::Pen, color, kNoRect));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    return static_cast<HBRUSH>(NewObject(ObjectKind::Brush, color, kNoRect));
}

HRGN CreateRectRgn(int x1, int y1, int x2, int y2)
{
    const RECT rect = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    return static_cast<HRGN>(NewObject(ObjectKind::Region, 0, rect));
}

HGDIOBJ GetStockObject(int i)
{
    if (i == BLACK_PEN)
        return &TheState().m_stockBlackPen;
    if (i == WHITE_BRUSH)
        return &TheState().m_stockWhiteBrush;
    return nullptr;
}

// Windows refuses to delete a pen or brush still selected into a device context. A region is
// never selected: SelectClipRgn copies it.
BOOL DeleteObject(HGDIOBJ ho)
{
    GdiObject* pObject = LookupObject(ho);
    if (pObject == nullptr)
        return FALSE;
    if (pObject->m_bStock)
        return TRUE;
    if (pObject->m_nSelections > 0)
        return FALSE;
    auto& objects = TheState().m_objects;
    objects.erase(std::remove_if(objects.begin(), objects.end(),
                                 [pObject](const std::unique_ptr<GdiObject>& p) {
                                     return p.get() == pObject;
                                 }),
                  objects.end());
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h)
{
    HDC__* pDC = LookupDC(hdc);
    GdiObject* pObject = LookupObject(h);
    if (pDC == nullptr || pObject == nullptr || pObject->m_kind == ObjectKind::Region)
        return nullptr;
    HGDIOBJ& hSlot = pObject->m_kind == ObjectKind::Pen ? pDC->m_hPen : pDC->m_hBrush;
    const HGDIOBJ hPrevious = hSlot;
    if (GdiObject* pPrevious = LookupObject(hPrevious))
        --pPrevious->m_nSelections;
    ++pObject->m_nSelections;
    hSlot = h;
    return hPrevious;
}

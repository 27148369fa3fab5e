// Pens, brushes and regions: plain descriptions kept by the core. They cost the device nothing;
// a pen or brush reaches it only as the colour of something drawn.
#include "core.h"

#include <coreprobe.h>

#include <algorithm>

using portable::GdiObject;
using portable::LookupDC;
using portable::LookupObject;
using portable::ObjectKind;
using portable::TheState;

namespace {

const RECT kNoRect = {0, 0, 0, 0};

// Creation fails as it does on Windows when GDI's objects run out; tests ask for that.
bool MayCreate()
{
    int& nLeft = portable::TheProbe().m_nGdiCreationsLeft;
    if (nLeft == 0)
        return false;
    if (nLeft > 0)
        --nLeft;
    return true;
}

HGDIOBJ NewObject(ObjectKind kind, COLORREF crColor, RECT rect)
{
    if (!MayCreate())
        return nullptr;
    auto& objects = TheState().m_objects;
    objects.push_back(
        std::make_unique<GdiObject>(GdiObject{kind, crColor, rect, 0, false, false}));
    return objects.back().get();
}

void Forget(const GdiObject* pObject)
{
    auto& objects = TheState().m_objects;
    objects.erase(std::remove_if(objects.begin(), objects.end(),
                                 [pObject](const std::unique_ptr<GdiObject>& p) {
                                     return p.get() == pObject;
                                 }),
                  objects.end());
}

const char* KindName(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Pen:
        return "pen";
    case ObjectKind::Brush:
        return "brush";
    case ObjectKind::Region:
        return "region";
    }
    return "?";
}

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

// A pen or brush still selected into a device context is deleted only once the last DC has let
// it go; the call succeeds at once, and until then the object draws and may even be selected
// elsewhere. That is what the Windows build shows under Wine, though Microsoft's documentation
// has the call fail. A region is never selected: SelectClipRgn copies it. Stock objects cannot
// be deleted, and saying so is no error.
BOOL DeleteObject(HGDIOBJ ho)
{
    GdiObject* pObject = LookupObject(ho);
    if (pObject == nullptr)
        return FALSE;
    if (pObject->m_bStock || pObject->m_bDeletePending)
        return TRUE;
    portable::LogCall(std::string("DeleteObject ") + KindName(pObject->m_kind));
    if (pObject->m_nSelections > 0) {
        ++portable::TheProbe().m_nDeletesOfSelected;
        pObject->m_bDeletePending = true;
        return TRUE;
    }
    Forget(pObject);
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
    ++pObject->m_nSelections;
    hSlot = h;
    portable::Unselect(hPrevious);
    return hPrevious;
}

void portable::Unselect(HGDIOBJ hObject)
{
    GdiObject* pObject = LookupObject(hObject);
    if (pObject == nullptr)
        return;
    --pObject->m_nSelections;
    if (pObject->m_bDeletePending && pObject->m_nSelections == 0)
        Forget(pObject);
}

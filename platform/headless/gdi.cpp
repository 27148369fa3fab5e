// Device contexts and GDI objects of the headless machine. Nothing is rendered: each drawing
// call appends a record of its arguments and of the colours in force.
#include "state.h"

#include <algorithm>
#include <initializer_list>

using headless::GdiObject;
using headless::LookupDC;
using headless::LookupObject;
using headless::ObjectKind;
using headless::TheState;

namespace {

// The resolution every headless device reports, that of a usual Windows screen.
const int kPixelsPerInch = 96;

HGDIOBJ NewObject(ObjectKind kind, COLORREF color, RECT rect)
{
    auto& objects = TheState().objects;
    objects.push_back(std::make_unique<GdiObject>(GdiObject{kind, color, rect, 0, false}));
    return objects.back().get();
}

COLORREF ColorOf(HGDIOBJ hObject)
{
    const GdiObject* pObject = LookupObject(hObject);
    return pObject ? pObject->color : RGB(0, 0, 0);
}

// Takes the DC its caller has looked up already (null when there is none), so that a drawing
// call searches the DC list once.
BOOL Record(HDC__* pDC, headless::DeviceOp op, std::initializer_list<int> args)
{
    if (!pDC)
        return FALSE;
    headless::State& state = TheState();
    if (state.bRecording) {
        state.deviceCalls.push_back(
            headless::DeviceCall{op, args, ColorOf(pDC->hPen), ColorOf(pDC->hBrush), pDC});
    }
    return TRUE;
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

HDC GetDC(HWND hWnd)
{
    headless::State& state = TheState();
    if (hWnd != nullptr && !headless::LookupWindow(hWnd))
        return nullptr;
    state.deviceContexts.push_back(std::make_unique<HDC__>(
        HDC__{hWnd, &state.stockBlackPen, &state.stockWhiteBrush, {0, 0}, {0, 0}, MM_TEXT}));
    HDC__* pDC = state.deviceContexts.back().get();
    ++state.stockBlackPen.nSelections;
    ++state.stockWhiteBrush.nSelections;
    return pDC;
}

int ReleaseDC(HWND, HDC hDC)
{
    HDC__* pDC = LookupDC(hDC);
    if (!pDC)
        return 0;
    for (HGDIOBJ hObject : {pDC->hPen, pDC->hBrush}) {
        if (GdiObject* pObject = LookupObject(hObject))
            --pObject->nSelections;
    }
    auto& dcs = TheState().deviceContexts;
    dcs.erase(std::remove_if(dcs.begin(), dcs.end(),
                             [pDC](const std::unique_ptr<HDC__>& p) { return p.get() == pDC; }),
              dcs.end());
    return 1;
}

HPEN CreatePen(int, int, COLORREF color)
{
    return static_cast<HPEN>(NewObject(ObjectKind::Pen, color, RECT{0, 0, 0, 0}));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    return static_cast<HBRUSH>(NewObject(ObjectKind::Brush, color, RECT{0, 0, 0, 0}));
}

HRGN CreateRectRgn(int x1, int y1, int x2, int y2)
{
    RECT rect = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    return static_cast<HRGN>(NewObject(ObjectKind::Region, 0, rect));
}

HGDIOBJ GetStockObject(int i)
{
    if (i == BLACK_PEN)
        return &TheState().stockBlackPen;
    if (i == WHITE_BRUSH)
        return &TheState().stockWhiteBrush;
    return nullptr;
}

// Windows will not delete a pen or brush still selected into a device context; the attempt is
// counted, since it always means the caller forgot to select the old object back.
BOOL DeleteObject(HGDIOBJ ho)
{
    GdiObject* pObject = LookupObject(ho);
    if (!pObject)
        return FALSE;
    if (pObject->bStock)
        return TRUE;
    headless::Log(std::string("DeleteObject ") + KindName(pObject->kind));
    if (pObject->nSelections > 0) {
        ++TheState().nDeletesOfSelected;
        return FALSE;
    }
    auto& objects = TheState().objects;
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
    if (!pDC || !pObject || pObject->kind == ObjectKind::Region)
        return nullptr;
    HGDIOBJ& slot = pObject->kind == ObjectKind::Pen ? pDC->hPen : pDC->hBrush;
    HGDIOBJ hPrevious = slot;
    if (GdiObject* pPrevious = LookupObject(hPrevious))
        --pPrevious->nSelections;
    ++pObject->nSelections;
    slot = h;
    return hPrevious;
}

// The device keeps its own copy of the region, so the region object may be deleted at once.
int SelectClipRgn(HDC hdc, HRGN hrgn)
{
    HDC__* pDC = LookupDC(hdc);
    const GdiObject* pRegion = LookupObject(hrgn);
    if (hrgn == nullptr) {
        Record(pDC, headless::DeviceOp::SelectClipRgn, {});
        return SIMPLEREGION;
    }
    if (!pRegion || pRegion->kind != ObjectKind::Region)
        return ERROR;
    const RECT& r = pRegion->rect;
    if (!Record(pDC, headless::DeviceOp::SelectClipRgn, {r.left, r.top, r.right, r.bottom}))
        return ERROR;
    return r.left == r.right || r.top == r.bottom ? NULLREGION : SIMPLEREGION;
}

int SetMapMode(HDC hdc, int iMode)
{
    HDC__* pDC = LookupDC(hdc);
    if (!pDC || !Record(pDC, headless::DeviceOp::SetMapMode, {iMode}))
        return 0;
    const int nPrevious = pDC->nMapMode;
    pDC->nMapMode = iMode;
    return nPrevious;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    HDC__* pDC = LookupDC(hdc);
    if (!pDC || !Record(pDC, headless::DeviceOp::SetViewportOrg, {x, y}))
        return FALSE;
    if (lppt)
        *lppt = pDC->viewportOrg;
    pDC->viewportOrg = POINT{x, y};
    return TRUE;
}

// Only the text mapping mode exists here: logical units are pixels, shifted by the origin. A
// point whose shifted coordinates would not fit fails the whole call, as nothing is converted.
BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c)
{
    HDC__* pDC = LookupDC(hdc);
    if (!pDC)
        return FALSE;
    const auto fits = [](long long v) { return v >= INT32_MIN && v <= INT32_MAX; };
    for (int i = 0; i < c; ++i) {
        if (!fits(static_cast<long long>(lppt[i].x) - pDC->viewportOrg.x) ||
            !fits(static_cast<long long>(lppt[i].y) - pDC->viewportOrg.y))
            return FALSE;
    }
    for (int i = 0; i < c; ++i) {
        lppt[i].x -= pDC->viewportOrg.x;
        lppt[i].y -= pDC->viewportOrg.y;
    }
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index)
{
    if (!LookupDC(hdc))
        return 0;
    return index == LOGPIXELSX || index == LOGPIXELSY ? kPixelsPerInch : 0;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    HDC__* pDC = LookupDC(hdc);
    if (!pDC || !Record(pDC, headless::DeviceOp::MoveTo, {x, y}))
        return FALSE;
    if (lppt)
        *lppt = pDC->position;
    pDC->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    HDC__* pDC = LookupDC(hdc);
    if (!pDC || !Record(pDC, headless::DeviceOp::LineTo, {x, y}))
        return FALSE;
    pDC->position = POINT{x, y};
    return TRUE;
}

BOOL Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    HDC__* pDC = LookupDC(hdc);
    return Record(pDC, headless::DeviceOp::Arc, {x1, y1, x2, y2, x3, y3, x4, y4});
}

BOOL Pie(HDC hdc, int left, int top, int right, int bottom, int xr1, int yr1, int xr2, int yr2)
{
    HDC__* pDC = LookupDC(hdc);
    return Record(pDC, headless::DeviceOp::Pie, {left, top, right, bottom, xr1, yr1, xr2, yr2});
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    HDC__* pDC = LookupDC(hdc);
    return Record(pDC, headless::DeviceOp::Ellipse, {left, top, right, bottom});
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    HDC__* pDC = LookupDC(hdc);
    return Record(pDC, headless::DeviceOp::Rectangle, {left, top, right, bottom});
}

BOOL GdiFlush(void)
{
    return TRUE;
}

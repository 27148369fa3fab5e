// Device contexts: obtaining and releasing them, painting, and their state: the text mapping
// mode (logical units are pixels, shifted by the viewport origin), the current position, and
// the clip region, which lives in device coordinates and so is not shifted.
#include "core.h"

#include <coreprobe.h>

#include <algorithm>
#include <climits>

using portable::GdiOp;
using portable::LookupDC;
using portable::LookupWindow;
using portable::Record;
using portable::TheState;

namespace {

// The resolution of a usual Windows screen, which is what the program sizes its markers for.
const int kPixelsPerInch = 96;

bool FitsLong(long long v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

}  // namespace

void portable::DetachDeviceContexts(HWND hWnd)
{
    for (const auto& pDC : TheState().m_deviceContexts) {
        if (pDC->m_hWnd == hWnd) {
            pDC->m_hWnd = nullptr;
            pDC->m_bWindowGone = true;
        }
    }
}

// Every DC starts with the stock black pen and white brush selected, as on Windows.
HDC GetDC(HWND hWnd)
{
    portable::State& state = TheState();
    if (hWnd != nullptr && LookupWindow(hWnd) == nullptr)
        return nullptr;
    state.m_deviceContexts.push_back(std::make_unique<HDC__>(
        HDC__{hWnd, false, &state.m_stockBlackPen, &state.m_stockWhiteBrush, {0, 0}, {0, 0},
              MM_TEXT, portable::kNoClip}));
    ++state.m_stockBlackPen.m_nSelections;
    ++state.m_stockWhiteBrush.m_nSelections;
    return state.m_deviceContexts.back().get();
}

int ReleaseDC(HWND, HDC hDC)
{
    HDC__* pDC = LookupDC(hDC);
    if (pDC == nullptr)
        return 0;
    portable::Unselect(pDC->m_hPen);
    portable::Unselect(pDC->m_hBrush);
    auto& dcs = TheState().m_deviceContexts;
    dcs.erase(std::remove_if(dcs.begin(), dcs.end(),
                             [pDC](const std::unique_ptr<HDC__>& p) { return p.get() == pDC; }),
              dcs.end());
    return 1;
}

// Exposed areas were cleared to the class background before the exposure was reported, which
// is what WM_ERASEBKGND would have done; only an invalidation that asked for erasing leaves
// the clearing to this point.
HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    *lpPaint = PAINTSTRUCT();
    HWND__* pWindow = LookupWindow(hWnd);
    if (pWindow == nullptr)
        return nullptr;
    if (pWindow->m_bNeedsErase)
        pWindow->m_pNative->m_pDevice->Erase();
    pWindow->m_bNeedsPaint = false;
    pWindow->m_bNeedsErase = false;
    lpPaint->hdc = GetDC(hWnd);
    lpPaint->fErase = FALSE;
    lpPaint->rcPaint = RECT{0, 0, pWindow->m_nClientWidth, pWindow->m_nClientHeight};
    return lpPaint->hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    return ReleaseDC(hWnd, lpPaint->hdc) != 0 ? TRUE : FALSE;
}

// The DC keeps its own copy of the region, so the region object may be deleted at once.
int SelectClipRgn(HDC hdc, HRGN hrgn)
{
    HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return ERROR;
    if (hrgn == nullptr) {
        Record(pDC, GdiOp::SelectClipRgn, {});
        pDC->m_clip = portable::kNoClip;
        return SIMPLEREGION;
    }
    const portable::GdiObject* pRegion = portable::LookupObject(hrgn);
    if (pRegion == nullptr || pRegion->m_kind != portable::ObjectKind::Region)
        return ERROR;
    const RECT& r = pRegion->m_rect;
    Record(pDC, GdiOp::SelectClipRgn, {r.left, r.top, r.right, r.bottom});
    pDC->m_clip = portable::ClipRect{true, {r.left, r.top, r.right, r.bottom}};
    return r.left == r.right || r.top == r.bottom ? NULLREGION : SIMPLEREGION;
}

// Only the text mapping mode is implemented; asking for another fails and changes nothing.
int SetMapMode(HDC hdc, int iMode)
{
    HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return 0;
    Record(pDC, GdiOp::SetMapMode, {iMode});
    if (iMode != MM_TEXT)
        return 0;
    const int nPrevious = pDC->m_nMapMode;
    pDC->m_nMapMode = iMode;
    return nPrevious;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return FALSE;
    Record(pDC, GdiOp::SetViewportOrg, {x, y});
    if (lppt != nullptr)
        *lppt = pDC->m_ptViewportOrg;
    pDC->m_ptViewportOrg = POINT{x, y};
    return TRUE;
}

// All points are checked before any is changed, so a conversion that would not fit leaves the
// array as it was.
BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c)
{
    const HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr || (lppt == nullptr && c > 0))
        return FALSE;
    const POINT org = pDC->m_ptViewportOrg;
    for (int i = 0; i < c; ++i) {
        if (!FitsLong(static_cast<long long>(lppt[i].x) - org.x) ||
            !FitsLong(static_cast<long long>(lppt[i].y) - org.y))
            return FALSE;
    }
    for (int i = 0; i < c; ++i) {
        lppt[i].x = static_cast<LONG>(static_cast<long long>(lppt[i].x) - org.x);
        lppt[i].y = static_cast<LONG>(static_cast<long long>(lppt[i].y) - org.y);
    }
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index)
{
    if (LookupDC(hdc) == nullptr)
        return 0;
    return index == LOGPIXELSX || index == LOGPIXELSY ? kPixelsPerInch : 0;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return FALSE;
    Record(pDC, GdiOp::MoveTo, {x, y});
    if (lppt != nullptr)
        *lppt = pDC->m_ptCurrent;
    pDC->m_ptCurrent = POINT{x, y};
    return TRUE;
}

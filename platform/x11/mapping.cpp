// The text mapping mode: logical units are pixels, shifted by the viewport origin; and the
// clip region, which lives in device coordinates and so is not shifted.
#include "x11geometry.h"
#include "x11state.h"

#include <algorithm>
#include <climits>

using x11::LookupDC;

namespace {

// The resolution of a usual Windows screen, which is what the program sizes its markers for.
const int kPixelsPerInch = 96;

bool FitsLong(long long v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

short ClampCoord(LONG v)
{
    return static_cast<short>(std::min<long long>(std::max<long long>(v, x11::kCoordMin),
                                                  x11::kCoordMax));
}

// X carries a clip rectangle in 16 bits. Edges beyond that range lie outside every window,
// so pulling them in to the range's ends changes nothing a window shows.
x11::ClipState ClipOf(const RECT& rect)
{
    const short left = ClampCoord(rect.left);
    const short top = ClampCoord(rect.top);
    const long long width = static_cast<long long>(ClampCoord(rect.right)) - left;
    const long long height = static_cast<long long>(ClampCoord(rect.bottom)) - top;
    XRectangle clip = {left, top, static_cast<unsigned short>(std::max(width, 0LL)),
                       static_cast<unsigned short>(std::max(height, 0LL))};
    return x11::ClipState{true, clip};
}

}  // namespace

int SelectClipRgn(HDC hdc, HRGN hrgn)
{
    HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr)
        return ERROR;
    if (hrgn == nullptr) {
        pDC->m_clip = x11::kNoClip;
        return SIMPLEREGION;
    }
    const x11::GdiObject* pRegion = x11::LookupObject(hrgn);
    if (pRegion == nullptr || pRegion->m_kind != x11::ObjectKind::Region)
        return ERROR;
    pDC->m_clip = ClipOf(pRegion->m_rect);
    const RECT& r = pRegion->m_rect;
    return r.left == r.right || r.top == r.bottom ? NULLREGION : SIMPLEREGION;
}

int SetMapMode(HDC hdc, int iMode)
{
    HDC__* pDC = LookupDC(hdc);
    if (pDC == nullptr || iMode != MM_TEXT)
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

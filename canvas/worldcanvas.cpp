// CWorldCanvas, the canvas surface: binding to a device context, the viewport and its clip
// region, the world window and the mapping from world to device coordinates, clearing,
// rectangles and the palette.
#include "worldcanvas.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The camera every canvas carries; no drawing operation reads it.
const int kCanvasCameraMode = 1;

// Device size assumed when there is no window to measure.
const int kUnboundSize = 2;

// Orientation modes of ToDevice.
enum {
    orientBottomLeft = 0,  // origin bottom left, y up
    orientCentre = 1,      // origin at the centre, y up
    orientDevice = 2,      // device axes unchanged
    orientMirrorX = 3,     // x mirrored
    orientMirrorXY = 4     // both axes mirrored
};

// The marker is one twentieth of an inch.
const int kMarkerPerInch = 20;

// Spans of the world window at or below this (after the margin) are treated as empty.
const double kMinWorldSpan = 1e-12;

// Palette: the three low bits of the index switch the components fully on.
const unsigned kPaletteSize = 8;
const unsigned kBlueBit = 1;
const unsigned kGreenBit = 2;
const unsigned kRedBit = 4;
const int kFull = 255;

bool FitsInt(long long v) { return v >= INT_MIN && v <= INT_MAX; }

// The distance from lo to hi, or 0 (a size every viewport refuses) when it does not fit.
int SpanOf(long lo, long hi)
{
    const long long span = static_cast<long long>(hi) - lo;
    return FitsInt(span) ? static_cast<int>(span) : 0;
}

}  // namespace

CWorldCanvas::CWorldCanvas(CWnd* pWnd, CDC* pDC, int bClip)
    : CViewTransform(kCanvasCameraMode),
      m_pDC(nullptr),
      m_pClipRgn(nullptr),
      // Until a DC is bound the viewport is empty and the world window degenerate, so that
      // WorldToDevice computes 0 / 0 and maps nothing. The clip flag starts set because the
      // first binding's SetViewport reads it before SetDC stores the caller's flag: the first
      // paint then gets its clip region as every later one does.
      m_nWidth(0),
      m_nHeight(0),
      m_nOrgX(0),
      m_nOrgY(0),
      m_nOrientation(orientDevice),
      m_nPenState(penNoStart),
      m_nLastX(0),
      m_nLastY(0),
      m_nMarkerSize(0),
      m_bClip(1),
      m_dWinX0(0.0),
      m_dWinY0(0.0),
      m_dWinX1(0.0),
      m_dWinY1(0.0)
{
    Attach(pWnd, pDC, bClip);
}

CWorldCanvas::~CWorldCanvas() { ReleaseClipRgn(); }

void CWorldCanvas::ReleaseClipRgn()
{
    if (m_pClipRgn == nullptr)
        return;
    m_pClipRgn->DeleteObject();
    delete m_pClipRgn;
    m_pClipRgn = nullptr;
}

void CWorldCanvas::Attach(CWnd* pWnd, CDC* pDC, int bClip)
{
    int nWidth = kUnboundSize;
    int nHeight = kUnboundSize;
    if (pWnd != nullptr) {
        CRect rc;
        pWnd->GetClientRect(&rc);
        nWidth = SpanOf(rc.left, rc.right);
        nHeight = SpanOf(rc.top, rc.bottom);
    }
    if (pWnd != nullptr && pDC == nullptr) {
        // Measure through a client DC of our own, then forget it: everything SetDC derived
        // from it stays, including a clip region that outlives the DC it was selected into.
        CClientDC dc(pWnd);
        SetDC(&dc, nWidth, nHeight, bClip);
        m_pDC = nullptr;
        return;
    }
    SetDC(pDC, nWidth, nHeight, bClip);
}

void CWorldCanvas::SetDC(CDC* pDC, int nWidth, int nHeight, int bClip)
{
    m_pDC = pDC;
    ReleaseClipRgn();
    if (pDC == nullptr)
        return;

    pDC->SetMapMode(MM_TEXT);
    // The viewport is set before the new clip flag is stored, so it follows the old flag.
    SetViewport(0, 0, nWidth, nHeight, orientDevice);
    m_bClip = bClip;

    m_dWinX0 = 0.0;
    m_dWinY0 = 0.0;
    m_dWinX1 = nWidth;
    m_dWinY1 = nHeight;

    SIZE size;
    size.cx = pDC->GetDeviceCaps(LOGPIXELSX) / kMarkerPerInch;
    size.cy = pDC->GetDeviceCaps(LOGPIXELSY) / kMarkerPerInch;
    pDC->DPtoLP(&size);
    // The halved sum always fits in an int; the sum itself need not.
    m_nMarkerSize = static_cast<int>((static_cast<long long>(size.cx) + size.cy) / 2);
}

void CWorldCanvas::SetViewport(int x, int y, int nWidth, int nHeight, int nOrientation)
{
    if (m_pDC == nullptr || nWidth <= 1 || nHeight <= 1)
        return;
    const long long right = static_cast<long long>(x) + nWidth;
    const long long bottom = static_cast<long long>(y) + nHeight;
    if (!FitsInt(right) || !FitsInt(bottom))
        return;

    m_nOrientation = nOrientation;
    m_pDC->SetViewportOrg(x, y);
    if (m_bClip) {
        ReleaseClipRgn();
        // The region is in device coordinates, which the viewport origin does not shift; its
        // right and bottom edges are exclusive, so it covers exactly the viewport.
        m_pClipRgn = new CRgn;
        if (m_pClipRgn->CreateRectRgn(x, y, static_cast<int>(right), static_cast<int>(bottom)))
            m_pDC->SelectClipRgn(m_pClipRgn);
        else
            ReleaseClipRgn();
    }
    m_nOrgX = x;
    m_nOrgY = y;
    m_nWidth = nWidth - 1;
    m_nHeight = nHeight - 1;
    m_nPenState = penNoStart;
}

void CWorldCanvas::SetWindow(double x0, double y0, double x1, double y1, double dMargin)
{
    const double W = m_nWidth;
    const double H = m_nHeight;
    const double g = dMargin * 0.02 + 1.0;
    const double A = std::fabs(x0 - x1) * g;
    const double B = std::fabs(y0 - y1) * g;
    if (!(A > kMinWorldSpan) || !(B > kMinWorldSpan))
        return;

    // The governing axis gets its margin twice (once inside A or B, once as 2|d|), so the
    // governed axis comes out slightly wider than equal scales need. That is intended.
    double dx;
    double dy;
    if (B / H < A / W) {
        dx = (x1 - x0) * dMargin * 0.01;
        dy = (((2.0 * std::fabs(dx) + A) * H) / W - B) * 0.5;
        if (y0 > y1)
            dy = -dy;
    } else {
        dy = (y1 - y0) * dMargin * 0.01;
        dx = (((2.0 * std::fabs(dy) + B) * W) / H - A) * 0.5;
        if (x0 > x1)
            dx = -dx;
    }
    m_dWinX0 = x0 - dx;
    m_dWinY0 = y0 - dy;
    m_dWinX1 = x1 + dx;
    m_dWinY1 = y1 + dy;
}

int CWorldCanvas::OrientPoint(int x, int y, long long* pX, long long* pY) const
{
    const long long W = m_nWidth;
    const long long H = m_nHeight;
    switch (m_nOrientation) {
    case orientBottomLeft:
        *pX = x;
        *pY = H - y;
        return 1;
    case orientCentre:
        // The centre is found by integer halving, truncated as the device would.
        *pX = x + W / 2;
        *pY = H / 2 - y;
        return 1;
    case orientDevice:
        *pX = x;
        *pY = y;
        return 1;
    case orientMirrorX:
        *pX = W - x;
        *pY = y;
        return 1;
    case orientMirrorXY:
        *pX = W - x;
        *pY = H - y;
        return 1;
    default:
        return 0;
    }
}

void CWorldCanvas::ToDevice(int x, int y, int* px, int* py) const
{
    long long X;
    long long Y;
    if (!OrientPoint(x, y, &X, &Y) || !FitsInt(X) || !FitsInt(Y))
        return;
    *px = static_cast<int>(X);
    *py = static_cast<int>(Y);
}

int CWorldCanvas::MakeBox(long long x0, long long y0, long long x1, long long y1, RECT* pBox)
{
    const long long left = std::min(x0, x1);
    const long long top = std::min(y0, y1);
    const long long right = std::max(x0, x1) + 1;
    const long long bottom = std::max(y0, y1) + 1;
    if (!FitsInt(left) || !FitsInt(top) || !FitsInt(right) || !FitsInt(bottom))
        return 0;
    pBox->left = static_cast<int>(left);
    pBox->top = static_cast<int>(top);
    pBox->right = static_cast<int>(right);
    pBox->bottom = static_cast<int>(bottom);
    return 1;
}

void CWorldCanvas::DrawRect(int x0, int y0, int x1, int y1)
{
    if (m_pDC == nullptr)
        return;
    // Corners that cannot be placed (unknown orientation, or beyond the int range) draw
    // nothing and leave the pen state alone, as an unmappable point does for an Arc.
    long long X0, Y0, X1, Y1;
    RECT box;
    if (!OrientPoint(x0, y0, &X0, &Y0) || !OrientPoint(x1, y1, &X1, &Y1) ||
        !MakeBox(X0, Y0, X1, Y1, &box))
        return;
    m_pDC->Rectangle(box.left, box.top, box.right, box.bottom);
    if (m_nPenState == penAtLastPoint)
        m_nPenState = penStartKept;
}

void CWorldCanvas::Clear(CBrush* pBrush, CPen* pPen, int nInset)
{
    if (m_pDC == nullptr)
        return;
    const int nIn = std::max(nInset, 0);
    // The far corner is one pixel further in than the near one, so the last column and row
    // of the viewport stay unpainted. In 64 bits, since the fields are open to any value.
    const long long right = static_cast<long long>(m_nWidth) - nIn - 1;
    const long long bottom = static_cast<long long>(m_nHeight) - nIn - 1;

    CPen* pOldPen = m_pDC->SelectObject(pPen);
    CBrush* pOldBrush = m_pDC->SelectObject(pBrush);
    if (FitsInt(right) && FitsInt(bottom))
        DrawRect(nIn, nIn, static_cast<int>(right), static_cast<int>(bottom));
    m_pDC->SelectObject(pOldPen);
    m_pDC->SelectObject(pOldBrush);
    m_nPenState = penNoStart;
}

COLORREF CWorldCanvas::ColorOf(int nIndex) const
{
    // The magnitude is taken in unsigned arithmetic, where the smallest int has one too
    // (2^31, a multiple of 8, so black).
    const unsigned magnitude = nIndex < 0 ? 0u - static_cast<unsigned>(nIndex)
                                          : static_cast<unsigned>(nIndex);
    const unsigned bits = magnitude % kPaletteSize;
    return RGB((bits & kRedBit) ? kFull : 0, (bits & kGreenBit) ? kFull : 0,
               (bits & kBlueBit) ? kFull : 0);
}

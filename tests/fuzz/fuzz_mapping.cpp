// Fuzz target: binding a canvas, its viewport and clip region, the world window and the two
// mappings to the device, Clear, DrawRect and the palette, in any order and with any values.
// After every operation the canvas must hold what the operation promises, each mapping must
// agree with the model, and no clip region or device context may be leaked.
#include <worldcanvas.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "canvas_model.h"
#include "fuzz_device.h"
#include "fuzz_input.h"

namespace {

using fuzz::CFuzzInput;
using fuzz::SameBits;

// Enough operations for long chains; more would only slow each input down.
const int kMaxOperations = 64;

// Written into the outputs of a mapping beforehand, to see whether a failed mapping wrote them.
const int kUntouched = 0x5EED;

// The headless device reports 96 pixels per inch, so the marker, one twentieth of an inch, is
// 96 / 20 pixels in the text mapping mode.
const int kMarkerSize = 96 / 20;

// The smallest world span SetWindow accepts.
const double kMinWorldSpan = 1e-12;

enum {
    opAttach,
    opSetDC,
    opSetViewport,
    opSetWindow,
    opWorldToDevice,
    opToDevice,
    opClear,
    opDrawRect,
    opBindDirectly,
    opColorOf,
    opWriteField,
    opCount
};

struct CWindowCorners {
    double x0, y0, x1, y1;
};

CWindowCorners WindowOf(const CWorldCanvas& c)
{
    return CWindowCorners{c.m_dWinX0, c.m_dWinY0, c.m_dWinX1, c.m_dWinY1};
}

bool SameWindow(const CWindowCorners& a, const CWindowCorners& b)
{
    return SameBits(&a.x0, &b.x0, 1) && SameBits(&a.y0, &b.y0, 1) &&
           SameBits(&a.x1, &b.x1, 1) && SameBits(&a.y1, &b.y1, 1);
}

// Whatever state the canvas is in, these hold: a known pen state, exactly one GDI region for a
// clip region it owns, and no device context of its own left behind.
void CheckInvariants(const CWorldCanvas& c)
{
    FUZZ_CHECK(c.m_nPenState >= 0 && c.m_nPenState <= 2);
    FUZZ_CHECK(headless::LiveGdiObjects() ==
               fuzz::kKeptGdiObjects + (c.m_pClipRgn != nullptr ? 1 : 0));
    FUZZ_CHECK(headless::LiveDeviceContexts() == fuzz::kKeptDeviceContexts);
    FUZZ_CHECK(c.m_pClipRgn == nullptr || c.m_pClipRgn->m_hObject != NULL);
    FUZZ_CHECK(fuzz::AllBoxesProper());
}

// A binding with a DC sets the world window to the full device size and the marker size.
void CheckBound(const CWorldCanvas& c, int nWidth, int nHeight, int bClip)
{
    const CWindowCorners expected = {0.0, 0.0, static_cast<double>(nWidth),
                                     static_cast<double>(nHeight)};
    FUZZ_CHECK(SameWindow(WindowOf(c), expected));
    FUZZ_CHECK(c.m_bClip == bClip);
    FUZZ_CHECK(c.m_nMarkerSize == kMarkerSize);
}

// The client rectangle of the window is (0, 0)-(cx, cy) on the headless machine, so its size is
// exactly what was set.
void Attach(CFuzzInput& in, CWorldCanvas& c)
{
    const uint8_t nWhich = in.Byte();
    CWnd* pWnd = (nWhich & 1) ? &fuzz::Window() : nullptr;
    CDC* pDC = (nWhich & 2) ? &fuzz::ScreenDC() : nullptr;
    int nWidth = 2;
    int nHeight = 2;
    if (pWnd != nullptr) {
        nWidth = in.Int();
        nHeight = in.Int();
        headless::SetClientSize(pWnd->m_hWnd, nWidth, nHeight);
    }
    const int bClip = in.Int();
    c.Attach(pWnd, pDC, bClip);
    FUZZ_CHECK(c.m_pDC == pDC);
    if (pWnd != nullptr || pDC != nullptr)
        CheckBound(c, nWidth, nHeight, bClip);
    else
        FUZZ_CHECK(c.m_pClipRgn == nullptr);
}

void SetDC(CFuzzInput& in, CWorldCanvas& c)
{
    CDC* pDC = in.Flag() ? &fuzz::ScreenDC() : nullptr;
    const int nWidth = in.Int();
    const int nHeight = in.Int();
    const int bClip = in.Int();
    const int bOldClip = c.m_bClip;
    c.SetDC(pDC, nWidth, nHeight, bClip);
    FUZZ_CHECK(c.m_pDC == pDC);
    if (pDC == nullptr) {
        FUZZ_CHECK(c.m_pClipRgn == nullptr);
        FUZZ_CHECK(c.m_bClip == bOldClip);
        return;
    }
    CheckBound(c, nWidth, nHeight, bClip);
}

struct CViewportFields {
    int nWidth, nHeight, nOrgX, nOrgY, nOrientation, nPenState;
    CRgn* pClipRgn;

    explicit CViewportFields(const CWorldCanvas& c)
        : nWidth(c.m_nWidth),
          nHeight(c.m_nHeight),
          nOrgX(c.m_nOrgX),
          nOrgY(c.m_nOrgY),
          nOrientation(c.m_nOrientation),
          nPenState(c.m_nPenState),
          pClipRgn(c.m_pClipRgn)
    {
    }

    bool operator==(const CViewportFields& o) const
    {
        return nWidth == o.nWidth && nHeight == o.nHeight && nOrgX == o.nOrgX &&
               nOrgY == o.nOrgY && nOrientation == o.nOrientation && nPenState == o.nPenState &&
               pClipRgn == o.pClipRgn;
    }
};

void SetViewport(CFuzzInput& in, CWorldCanvas& c)
{
    const int x = in.Int();
    const int y = in.Int();
    const int nWidth = in.Int();
    const int nHeight = in.Int();
    const int nOrientation = in.Int();
    const CViewportFields before(c);
    const bool bTaken = c.m_pDC != nullptr && nWidth > 1 && nHeight > 1 &&
                        fuzz::FitsInt(static_cast<long long>(x) + nWidth) &&
                        fuzz::FitsInt(static_cast<long long>(y) + nHeight);
    c.SetViewport(x, y, nWidth, nHeight, nOrientation);
    if (!bTaken) {
        FUZZ_CHECK(CViewportFields(c) == before);
        return;
    }
    FUZZ_CHECK(c.m_nWidth == nWidth - 1 && c.m_nHeight == nHeight - 1);
    FUZZ_CHECK(c.m_nOrgX == x && c.m_nOrgY == y);
    FUZZ_CHECK(c.m_nOrientation == nOrientation);
    FUZZ_CHECK(c.m_nPenState == 0);
    // With the clip flag set the viewport gets a region of its own; without it, whatever region
    // an earlier viewport made stays.
    if (c.m_bClip)
        FUZZ_CHECK(c.m_pClipRgn != nullptr);
    else
        FUZZ_CHECK(c.m_pClipRgn == before.pClipRgn);
}

// The world window as SetWindow computes it, in the same order of operations.
CWindowCorners ModelWindow(const CWorldCanvas& c, const CWindowCorners& w, double dMargin)
{
    const double W = c.m_nWidth;
    const double H = c.m_nHeight;
    const double g = dMargin * 0.02 + 1.0;
    const double A = std::fabs(w.x0 - w.x1) * g;
    const double B = std::fabs(w.y0 - w.y1) * g;
    double dx, dy;
    if (B / H < A / W) {
        dx = (w.x1 - w.x0) * dMargin * 0.01;
        dy = (((2.0 * std::fabs(dx) + A) * H) / W - B) * 0.5;
        if (w.y0 > w.y1)
            dy = -dy;
    } else {
        dy = (w.y1 - w.y0) * dMargin * 0.01;
        dx = (((2.0 * std::fabs(dy) + B) * W) / H - A) * 0.5;
        if (w.x0 > w.x1)
            dx = -dx;
    }
    return CWindowCorners{w.x0 - dx, w.y0 - dy, w.x1 + dx, w.y1 + dy};
}

void SetWindow(CFuzzInput& in, CWorldCanvas& c)
{
    CWindowCorners w;
    w.x0 = in.Double();
    w.y0 = in.Double();
    w.x1 = in.Double();
    w.y1 = in.Double();
    const double dMargin = in.Double();
    const CWindowCorners before = WindowOf(c);
    const double g = dMargin * 0.02 + 1.0;
    const bool bTaken = std::fabs(w.x0 - w.x1) * g > kMinWorldSpan &&
                        std::fabs(w.y0 - w.y1) * g > kMinWorldSpan;
    const CWindowCorners expected = bTaken ? ModelWindow(c, w, dMargin) : before;
    c.SetWindow(w.x0, w.y0, w.x1, w.y1, dMargin);
    FUZZ_CHECK(SameWindow(WindowOf(c), expected));
}

void WorldToDevice(CFuzzInput& in, const CWorldCanvas& c)
{
    const double x = in.Double();
    const double y = in.Double();
    int px = kUntouched;
    int py = kUntouched;
    const int nResult = c.WorldToDevice(x, y, &px, &py);
    fuzz::CModelPoint expected;
    if (!fuzz::ModelWorldToDevice(c, x, y, &expected)) {
        FUZZ_CHECK(nResult == 0);
        FUZZ_CHECK(px == kUntouched && py == kUntouched);
        return;
    }
    FUZZ_CHECK(nResult == 1);
    FUZZ_CHECK(px == expected.x && py == expected.y);
}

void ToDevice(CFuzzInput& in, const CWorldCanvas& c)
{
    const int x = in.Int();
    const int y = in.Int();
    int px = kUntouched;
    int py = kUntouched;
    c.ToDevice(x, y, &px, &py);
    long long X, Y;
    if (fuzz::ModelOrient(c, x, y, &X, &Y) && fuzz::FitsInt(X) && fuzz::FitsInt(Y))
        FUZZ_CHECK(px == X && py == Y);
    else
        FUZZ_CHECK(px == kUntouched && py == kUntouched);
}

// The one rectangle a DrawRect or Clear may record, or none.
void CheckRectangle(bool bExpected, const std::vector<int>& expected)
{
    const std::vector<headless::DeviceCall>& calls = headless::DeviceCalls();
    int nRectangles = 0;
    for (const headless::DeviceCall& call : calls) {
        if (call.op != headless::DeviceOp::Rectangle)
            continue;
        ++nRectangles;
        FUZZ_CHECK(call.args == expected);
    }
    FUZZ_CHECK(nRectangles == (bExpected ? 1 : 0));
}

void Clear(CFuzzInput& in, CWorldCanvas& c)
{
    const uint8_t nWhich = in.Byte();
    CPen* pPen = (nWhich & 1) ? &fuzz::Pen() : nullptr;
    CBrush* pBrush = (nWhich & 2) ? &fuzz::Brush() : nullptr;
    const int nInset = in.Int();
    const int nPenState = c.m_nPenState;

    const long long nIn = nInset > 0 ? nInset : 0;
    const long long right = c.m_nWidth - nIn - 1;
    const long long bottom = c.m_nHeight - nIn - 1;
    std::vector<int> box;
    const bool bDrawn = c.m_pDC != nullptr && fuzz::FitsInt(right) && fuzz::FitsInt(bottom) &&
                        fuzz::ModelDrawRect(c, static_cast<int>(nIn), static_cast<int>(nIn),
                                            static_cast<int>(right), static_cast<int>(bottom),
                                            &box);
    headless::ClearDeviceCalls();
    c.Clear(pBrush, pPen, nInset);
    CheckRectangle(bDrawn, box);
    if (bDrawn && pPen != nullptr && pBrush != nullptr) {
        FUZZ_CHECK(headless::DeviceCalls().back().pen == fuzz::kPenColor);
        FUZZ_CHECK(headless::DeviceCalls().back().brush == fuzz::kBrushColor);
    }
    FUZZ_CHECK(c.m_nPenState == (c.m_pDC != nullptr ? 0 : nPenState));
    // Clear must have put the old pen and brush back: selecting ours now returns something else.
    CDC& dc = fuzz::ScreenDC();
    CPen* pOldPen = dc.SelectObject(&fuzz::Pen());
    CBrush* pOldBrush = dc.SelectObject(&fuzz::Brush());
    FUZZ_CHECK(pOldPen != &fuzz::Pen() && pOldBrush != &fuzz::Brush());
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
}

void DrawRect(CFuzzInput& in, CWorldCanvas& c)
{
    const int x0 = in.Int();
    const int y0 = in.Int();
    const int x1 = in.Int();
    const int y1 = in.Int();
    const int nPenState = c.m_nPenState;
    std::vector<int> box;
    const bool bDrawn = c.m_pDC != nullptr && fuzz::ModelDrawRect(c, x0, y0, x1, y1, &box);
    headless::ClearDeviceCalls();
    c.DrawRect(x0, y0, x1, y1);
    CheckRectangle(bDrawn, box);
    FUZZ_CHECK(c.m_nPenState == (bDrawn && nPenState == 2 ? 1 : nPenState));
}

void ColorOf(CFuzzInput& in, const CWorldCanvas& c)
{
    static const COLORREF kPalette[] = {
        RGB(0, 0, 0),     RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
        RGB(255, 0, 0),   RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255)};
    const int nIndex = in.Int();
    const long long magnitude = nIndex < 0 ? -static_cast<long long>(nIndex) : nIndex;
    FUZZ_CHECK(c.ColorOf(nIndex) == kPalette[magnitude % 8]);
}

// The fields are public and the canvas promises defined behaviour whatever they hold, not
// only for the values its own operations store.
void WriteField(CFuzzInput& in, CWorldCanvas& c)
{
    switch (in.Byte() % 7) {
    case 0:
        c.m_nWidth = in.Int();
        break;
    case 1:
        c.m_nHeight = in.Int();
        break;
    case 2:
        c.m_nOrientation = in.Int();
        break;
    case 3:
        c.m_dWinX0 = in.Double();
        break;
    case 4:
        c.m_dWinY0 = in.Double();
        break;
    case 5:
        c.m_dWinX1 = in.Double();
        break;
    default:
        c.m_dWinY1 = in.Double();
        break;
    }
}

void RunOperation(CFuzzInput& in, CWorldCanvas& c)
{
    switch (in.Byte() % opCount) {
    case opAttach:
        Attach(in, c);
        break;
    case opSetDC:
        SetDC(in, c);
        break;
    case opSetViewport:
        SetViewport(in, c);
        break;
    case opSetWindow:
        SetWindow(in, c);
        break;
    case opWorldToDevice:
        WorldToDevice(in, c);
        break;
    case opToDevice:
        ToDevice(in, c);
        break;
    case opClear:
        Clear(in, c);
        break;
    case opDrawRect:
        DrawRect(in, c);
        break;
    case opBindDirectly:
        c.m_pDC = in.Flag() ? &fuzz::ScreenDC() : nullptr;
        break;
    case opColorOf:
        ColorOf(in, c);
        break;
    default:
        WriteField(in, c);
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    fuzz::MakeDevice();
    fuzz::ForgetCalls();
    CFuzzInput in(pData, nSize);
    {
        // The same three ways in as Attach: nothing, a window, a DC, or both.
        const uint8_t nWhich = in.Byte();
        CWnd* pWnd = (nWhich & 1) ? &fuzz::Window() : nullptr;
        CDC* pDC = (nWhich & 2) ? &fuzz::ScreenDC() : nullptr;
        if (pWnd != nullptr) {
            const int cx = in.Int();
            const int cy = in.Int();
            headless::SetClientSize(pWnd->m_hWnd, cx, cy);
        }
        CWorldCanvas canvas(pWnd, pDC, in.Int());
        CheckInvariants(canvas);
        for (int i = 0; i < kMaxOperations && !in.IsEmpty(); ++i) {
            RunOperation(in, canvas);
            CheckInvariants(canvas);
            headless::ClearDeviceCalls();
        }
    }
    // The destructor released the clip region, and nothing else was left behind.
    FUZZ_CHECK(headless::LiveGdiObjects() == fuzz::kKeptGdiObjects);
    FUZZ_CHECK(headless::LiveDeviceContexts() == fuzz::kKeptDeviceContexts);
    return 0;
}

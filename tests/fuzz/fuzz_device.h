// The headless machine as the fuzz targets use it: one screen device context, one window and a
// pen and a brush, all made on first use and kept for the whole run. A run executes millions of
// inputs, so nothing here is made or forgotten per input; each input only clears the recorded
// calls.
#ifndef VURAZEVEDADAR_FUZZ_DEVICE_H
#define VURAZEVEDADAR_FUZZ_DEVICE_H

#include <afxwin.h>
#include <headless.h>

#include <climits>

#include "fuzz_input.h"

namespace fuzz {

// The colours of the pen and brush given to Clear, so that a recorded rectangle shows that they
// were selected while it was drawn.
const COLORREF kPenColor = RGB(255, 255, 255);
const COLORREF kBrushColor = RGB(0, 0, 255);

inline CDC& ScreenDC()
{
    static CDC* s_pDC = [] {
        CDC* pDC = new CDC;
        pDC->Attach(::GetDC(NULL));
        return pDC;
    }();
    return *s_pDC;
}

inline CWnd& Window()
{
    static CFrameWnd* s_pFrame = [] {
        CFrameWnd* pFrame = new CFrameWnd;
        FUZZ_CHECK(pFrame->Create(NULL, "fuzz"));
        return pFrame;
    }();
    return *s_pFrame;
}

inline CPen& Pen()
{
    static CPen* s_pPen = new CPen(PS_SOLID, 1, kPenColor);
    return *s_pPen;
}

inline CBrush& Brush()
{
    static CBrush* s_pBrush = new CBrush(kBrushColor);
    return *s_pBrush;
}

// Makes everything above, so that the GDI objects and device contexts alive from then on are
// exactly these plus whatever the canvas under test holds.
inline void MakeDevice()
{
    ScreenDC();
    Window();
    Pen();
    Brush();
}

// The machine logs every deletion of a clip region, so both records are cleared per input;
// otherwise a long run would only grow them.
inline void ForgetCalls()
{
    headless::ClearDeviceCalls();
    headless::ClearCallLog();
}

// GDI objects that MakeDevice keeps alive: the pen and the brush.
const int kKeptGdiObjects = 2;
// Device contexts that MakeDevice keeps alive: the screen's.
const int kKeptDeviceContexts = 1;

inline bool FitsInt(long long v) { return v >= INT_MIN && v <= INT_MAX; }

// Whether a recorded Arc, Pie, Ellipse, Rectangle or clip region has a box with its left edge
// before its right and its top before its bottom, as every box the canvas makes must. (A clip
// region recorded without arguments is the removal of clipping.)
inline bool HasProperBox(const headless::DeviceCall& call)
{
    switch (call.op) {
    case headless::DeviceOp::SelectClipRgn:
        if (call.args.empty())
            return true;
        [[fallthrough]];
    case headless::DeviceOp::Arc:
    case headless::DeviceOp::Pie:
    case headless::DeviceOp::Ellipse:
    case headless::DeviceOp::Rectangle:
        return call.args.size() >= 4 && call.args[0] < call.args[2] &&
               call.args[1] < call.args[3];
    default:
        return true;
    }
}

inline bool AllBoxesProper()
{
    for (const headless::DeviceCall& call : headless::DeviceCalls()) {
        if (!HasProperBox(call))
            return false;
    }
    return true;
}

}  // namespace fuzz

#endif  // VURAZEVEDADAR_FUZZ_DEVICE_H

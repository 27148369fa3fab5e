// Fuzz target: the drawing primitives, world and transformed, in any order over a canvas with
// any viewport, world window and plane transformation. Each primitive must record exactly the
// device calls the model predicts (or none), every recorded box must be proper, and the pen
// state must follow its three-state machine.
#include <worldcanvas.h>

#include <cstdint>
#include <vector>

#include "canvas_model.h"
#include "fuzz_device.h"
#include "fuzz_input.h"

namespace {

using fuzz::CFuzzInput;
using fuzz::CModelPoint;
using headless::DeviceOp;

const int kMaxOperations = 64;

// The mechanism's world rectangle and margin, as the paint handler fits it into the window.
const double kWorldLeft = -60.0;
const double kWorldBottom = -60.0;
const double kWorldRight = 60.0;
const double kWorldTop = 94.5;
const double kWorldMargin = 5.0;

// The pen state values.
enum { penNoStart = 0, penStartKept = 1, penAtLastPoint = 2 };

enum {
    opMoveTo,
    opLineTo,
    opArc,
    opArcOneRadius,
    opPie,
    opCircle,
    opTMoveTo,
    opTLineTo,
    opTArc,
    opTCircle,
    opSetTransform,
    opRotate,
    opMirrorX,
    opResetTransform,
    opSetWindow,
    opBindDirectly,
    opDrawRect,
    opClear,
    opSetViewport,
    opCount
};

struct CExpectedCall {
    DeviceOp op;
    std::vector<int> args;
};

// The pen state and last point the canvas should hold, kept alongside it.
struct CPenModel {
    int nState;
    int nLastX;
    int nLastY;

    void Sync(const CWorldCanvas& c)
    {
        nState = c.m_nPenState;
        nLastX = c.m_nLastX;
        nLastY = c.m_nLastY;
    }

    bool Matches(const CWorldCanvas& c) const
    {
        return c.m_nPenState == nState && c.m_nLastX == nLastX && c.m_nLastY == nLastY;
    }
};

void CheckCalls(const std::vector<CExpectedCall>& expected)
{
    const std::vector<headless::DeviceCall>& calls = headless::DeviceCalls();
    FUZZ_CHECK(calls.size() == expected.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        FUZZ_CHECK(calls[i].op == expected[i].op);
        FUZZ_CHECK(calls[i].args == expected[i].args);
    }
}

// Draw makes the canvas call (MoveTo or TMoveTo) whose world point is (x, y).
template <class Draw>
void MoveTo(const CWorldCanvas& c, CPenModel& pen, double x, double y, Draw draw)
{
    CModelPoint p;
    if (fuzz::ModelWorldToDevice(c, x, y, &p)) {
        pen.nState = penStartKept;
        pen.nLastX = p.x;
        pen.nLastY = p.y;
    } else {
        pen.nState = penNoStart;
    }
    draw();
    CheckCalls({});
}

template <class Draw>
void LineTo(const CWorldCanvas& c, CPenModel& pen, double x, double y, Draw draw)
{
    std::vector<CExpectedCall> expected;
    CModelPoint p;
    if (c.m_pDC == nullptr) {
        // Nothing at all changes.
    } else if (!fuzz::ModelWorldToDevice(c, x, y, &p)) {
        pen.nState = penNoStart;
    } else {
        if (pen.nState == penStartKept)
            expected.push_back({DeviceOp::MoveTo, {pen.nLastX, pen.nLastY}});
        if (pen.nState == penNoStart) {
            pen.nState = penStartKept;
        } else {
            expected.push_back({DeviceOp::LineTo, {p.x, p.y}});
            pen.nState = penAtLastPoint;
        }
        pen.nLastX = p.x;
        pen.nLastY = p.y;
    }
    draw();
    CheckCalls(expected);
}

// The common ending of Arc, Pie and Circle: the one device call and pen state 0 when the model
// draws, otherwise no call, a result of 0 and the pen state untouched.
void CheckFigure(const CWorldCanvas& c, CPenModel& pen, int nResult, bool bDrawn, DeviceOp op,
                 const std::vector<int>& args)
{
    bDrawn = bDrawn && c.m_pDC != nullptr;
    if (!bDrawn) {
        FUZZ_CHECK(nResult == 0);
        CheckCalls({});
        return;
    }
    FUZZ_CHECK(nResult != 0);
    CheckCalls({{op, args}});
    pen.nState = penNoStart;
}

void Arc(CWorldCanvas& c, CPenModel& pen, const double* v)
{
    std::vector<int> args;
    const bool bDrawn = fuzz::ModelArc(c, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], &args);
    const int nResult = c.Arc(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    CheckFigure(c, pen, nResult, bDrawn, DeviceOp::Arc, args);
}

void ArcOneRadius(CWorldCanvas& c, CPenModel& pen, const double* v)
{
    std::vector<int> args;
    const bool bDrawn = fuzz::ModelArc(c, v[0], v[1], v[2], v[2], v[3], v[4], v[5], v[6], &args);
    const int nResult = c.Arc(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    CheckFigure(c, pen, nResult, bDrawn, DeviceOp::Arc, args);
}

void Pie(CWorldCanvas& c, CPenModel& pen, const double* v)
{
    std::vector<int> args;
    const bool bDrawn = fuzz::ModelPie(c, v[0], v[1], v[2], v[3], v[4], v[5], v[6], &args);
    const int nResult = c.Pie(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    CheckFigure(c, pen, nResult, bDrawn, DeviceOp::Pie, args);
    if (bDrawn && c.m_pDC != nullptr) {
        // The box is centred on the mapped centre exactly.
        CModelPoint centre;
        FUZZ_CHECK(fuzz::ModelWorldToDevice(c, v[0], v[1], &centre));
        FUZZ_CHECK(static_cast<long long>(args[0]) + args[2] - 1 == 2LL * centre.x);
        FUZZ_CHECK(static_cast<long long>(args[1]) + args[3] - 1 == 2LL * centre.y);
    }
}

void Circle(CWorldCanvas& c, CPenModel& pen, double cx, double cy, double r)
{
    std::vector<int> args;
    const bool bDrawn = fuzz::ModelCircle(c, cx, cy, r, &args);
    const int nResult = c.Circle(cx, cy, r);
    CheckFigure(c, pen, nResult, bDrawn, DeviceOp::Ellipse, args);
    if (bDrawn && c.m_pDC != nullptr) {
        // A true circle on the device: a square box centred on the mapped centre.
        CModelPoint centre;
        FUZZ_CHECK(fuzz::ModelWorldToDevice(c, cx, cy, &centre));
        FUZZ_CHECK(static_cast<long long>(args[2]) - args[0] ==
                   static_cast<long long>(args[3]) - args[1]);
        FUZZ_CHECK(static_cast<long long>(args[0]) + args[2] - 1 == 2LL * centre.x);
        FUZZ_CHECK(static_cast<long long>(args[1]) + args[3] - 1 == 2LL * centre.y);
    }
}

void ReadDoubles(CFuzzInput& in, double* v, int n)
{
    for (int i = 0; i < n; ++i)
        v[i] = in.Double();
}

// The transformed primitives are the world ones at the transformed points, with the radius
// passed on as it is.
void TArc(CWorldCanvas& c, CPenModel& pen, const double* v)
{
    double w[7];
    c.Transform(v[0], v[1], w[0], w[1]);
    w[2] = v[2];
    c.Transform(v[3], v[4], w[3], w[4]);
    c.Transform(v[5], v[6], w[5], w[6]);
    std::vector<int> args;
    const bool bDrawn = fuzz::ModelArc(c, w[0], w[1], w[2], w[2], w[3], w[4], w[5], w[6], &args);
    const int nResult = c.TArc(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    CheckFigure(c, pen, nResult, bDrawn, DeviceOp::Arc, args);
}

void TCircle(CWorldCanvas& c, CPenModel& pen, const double* v)
{
    double wx, wy;
    c.Transform(v[0], v[1], wx, wy);
    std::vector<int> args;
    const bool bDrawn = fuzz::ModelCircle(c, wx, wy, v[2], &args);
    const int nResult = c.TCircle(v[0], v[1], v[2]);
    CheckFigure(c, pen, nResult, bDrawn, DeviceOp::Ellipse, args);
}

// Runs one primitive and checks its calls and the pen model; false when the operation was not
// a primitive.
bool RunPrimitive(int nOp, CFuzzInput& in, CWorldCanvas& c, CPenModel& pen)
{
    double v[8];
    double wx, wy;
    switch (nOp) {
    case opMoveTo:
        ReadDoubles(in, v, 2);
        MoveTo(c, pen, v[0], v[1], [&] { c.MoveTo(v[0], v[1]); });
        return true;
    case opLineTo:
        ReadDoubles(in, v, 2);
        LineTo(c, pen, v[0], v[1], [&] { c.LineTo(v[0], v[1]); });
        return true;
    case opTMoveTo:
        ReadDoubles(in, v, 2);
        c.Transform(v[0], v[1], wx, wy);
        MoveTo(c, pen, wx, wy, [&] { c.TMoveTo(v[0], v[1]); });
        return true;
    case opTLineTo:
        ReadDoubles(in, v, 2);
        c.Transform(v[0], v[1], wx, wy);
        LineTo(c, pen, wx, wy, [&] { c.TLineTo(v[0], v[1]); });
        return true;
    case opArc:
        ReadDoubles(in, v, 8);
        Arc(c, pen, v);
        return true;
    case opArcOneRadius:
        ReadDoubles(in, v, 7);
        ArcOneRadius(c, pen, v);
        return true;
    case opPie:
        ReadDoubles(in, v, 7);
        Pie(c, pen, v);
        return true;
    case opCircle:
        ReadDoubles(in, v, 3);
        Circle(c, pen, v[0], v[1], v[2]);
        return true;
    case opTArc:
        ReadDoubles(in, v, 7);
        TArc(c, pen, v);
        return true;
    case opTCircle:
        ReadDoubles(in, v, 3);
        TCircle(c, pen, v);
        return true;
    default:
        return false;
    }
}

void RunSetting(int nOp, CFuzzInput& in, CWorldCanvas& c)
{
    double v[5];
    switch (nOp) {
    case opSetTransform:
        ReadDoubles(in, v, 5);
        c.SetTransform(v[0], v[1], v[2], v[3], v[4]);
        break;
    case opRotate:
        ReadDoubles(in, v, 3);
        c.Rotate(v[0], v[1], v[2]);
        break;
    case opMirrorX:
        c.MirrorX();
        break;
    case opResetTransform:
        c.ResetTransform();
        break;
    case opSetWindow:
        ReadDoubles(in, v, 5);
        c.SetWindow(v[0], v[1], v[2], v[3], v[4]);
        break;
    case opBindDirectly:
        c.m_pDC = in.Flag() ? &fuzz::ScreenDC() : nullptr;
        break;
    case opDrawRect: {
        const int x0 = in.Int();
        const int y0 = in.Int();
        const int x1 = in.Int();
        const int y1 = in.Int();
        c.DrawRect(x0, y0, x1, y1);
        break;
    }
    case opClear:
        c.Clear(&fuzz::Brush(), &fuzz::Pen(), in.Int());
        break;
    default: {
        const int x = in.Int();
        const int y = in.Int();
        const int cx = in.Int();
        const int cy = in.Int();
        c.SetViewport(x, y, cx, cy, in.Int());
        break;
    }
    }
}

// The canvas as the program binds it, with a fuzzed client size: the mechanism's rectangle, a
// fuzzed rectangle, or the device-sized window the binding leaves.
void SetUp(CFuzzInput& in, CWorldCanvas& c)
{
    const int nWidth = in.Int();
    const int nHeight = in.Int();
    c.SetDC(&fuzz::ScreenDC(), nWidth, nHeight, 1);
    switch (in.Byte() % 3) {
    case 0:
        c.SetWindow(kWorldLeft, kWorldBottom, kWorldRight, kWorldTop, kWorldMargin);
        break;
    case 1: {
        double v[5];
        ReadDoubles(in, v, 5);
        c.SetWindow(v[0], v[1], v[2], v[3], v[4]);
        break;
    }
    default:
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    fuzz::MakeDevice();
    fuzz::ForgetCalls();
    CFuzzInput in(pData, nSize);
    CWorldCanvas canvas(nullptr, &fuzz::ScreenDC(), 1);
    SetUp(in, canvas);
    CPenModel pen;
    pen.Sync(canvas);
    for (int i = 0; i < kMaxOperations && !in.IsEmpty(); ++i) {
        headless::ClearDeviceCalls();
        const int nOp = in.Byte() % opCount;
        if (RunPrimitive(nOp, in, canvas, pen)) {
            FUZZ_CHECK(pen.Matches(canvas));
        } else {
            RunSetting(nOp, in, canvas);
            pen.Sync(canvas);
        }
        FUZZ_CHECK(canvas.m_nPenState >= 0 && canvas.m_nPenState <= 2);
        FUZZ_CHECK(fuzz::AllBoxesProper());
    }
    headless::ClearDeviceCalls();
    return 0;
}

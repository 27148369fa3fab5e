// Shared set-up of the mechanism tests: a real frame on the headless machine, driven through
// its message map, and helpers that read the recorded device calls back.
#ifndef VURAZEVEDADAR_MECHANISM_FIXTURE_H
#define VURAZEVEDADAR_MECHANISM_FIXTURE_H

#include <gtest/gtest.h>
#include <headless.h>

#include <cmath>
#include <functional>
#include <vector>

#include "mainframe.h"

namespace mechanism_test {

using headless::DeviceCall;
using headless::DeviceOp;

// The palette as the screen shows it (0x00BBGGRR), written out rather than asked of the canvas.
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kCyan = 0xFFFF00;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr COLORREF kWhite = 0xFFFFFF;

constexpr double kPi = 3.141592653589793;
constexpr int kTicksPerRevolution = 30;

inline double Degrees(double dRadians) { return dRadians * 180.0 / kPi; }

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::Reset();
        headless::SetDefaultClientSize(800, 600);
        m_pFrame = new CMainFrame;
        ASSERT_NE(m_pFrame->m_hWnd, nullptr);
    }

    // The frame deletes itself when its window goes.
    void TearDown() override
    {
        if (m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr)
            ::SendMessage(m_pFrame->m_hWnd, WM_CLOSE, 0, 0);
    }

    void Paint() { ::SendMessage(m_pFrame->m_hWnd, WM_PAINT, 0, 0); }
    void Tick() { ::SendMessage(m_pFrame->m_hWnd, WM_TIMER, 1, 0); }
    void PaintAndTick(int nTicks)
    {
        Paint();
        for (int i = 0; i < nTicks; ++i)
            Tick();
    }

    CMainFrame* m_pFrame = nullptr;
};

// Binds both canvases of a painted frame to a client DC, so that a test can call a figure
// directly; unbinds them before the DC goes.
class BoundDC {
public:
    explicit BoundDC(CMainFrame& frame) : m_frame(frame), m_dc(&frame)
    {
        m_frame.m_canvasCross.m_pDC = &m_dc;
        m_frame.m_canvasWheel.m_pDC = &m_dc;
    }
    ~BoundDC()
    {
        m_frame.m_canvasCross.m_pDC = nullptr;
        m_frame.m_canvasWheel.m_pDC = nullptr;
    }

    CMainFrame& m_frame;
    CClientDC m_dc;
};

// Selects a pen and a brush of colours no figure uses into a DC, so that a test can see after
// a figure whether the DC still has them; selects the DC's own objects back at the end.
class MarkedSelection {
public:
    static constexpr COLORREF kPen = 0x0000FF;    // red
    static constexpr COLORREF kBrush = 0x00FF00;  // green

    explicit MarkedSelection(CDC& dc)
        : m_dc(dc), m_pen(PS_SOLID, 1, kPen), m_brush(kBrush),
          m_pOldPen(dc.SelectObject(&m_pen)), m_pOldBrush(dc.SelectObject(&m_brush))
    {
    }
    ~MarkedSelection()
    {
        m_dc.SelectObject(m_pOldPen);
        m_dc.SelectObject(m_pOldBrush);
    }

    // Draws a probe rectangle and reports whether it came out in the marked colours.
    bool IsIntact() const
    {
        m_dc.Rectangle(0, 0, 2, 2);
        const DeviceCall& probe = headless::DeviceCalls().back();
        return probe.pen == kPen && probe.brush == kBrush;
    }

private:
    CDC& m_dc;
    CPen m_pen;
    CBrush m_brush;
    CPen* m_pOldPen;
    CBrush* m_pOldBrush;
};

inline std::vector<DeviceCall> RecordedWhere(const std::function<bool(const DeviceCall&)>& keep)
{
    std::vector<DeviceCall> result;
    for (const DeviceCall& call : headless::DeviceCalls()) {
        if (keep(call))
            result.push_back(call);
    }
    return result;
}

// Drawing calls only: what binding a canvas does to the DC is not part of a figure.
inline bool IsDrawing(const DeviceCall& call)
{
    return call.op == DeviceOp::MoveTo || call.op == DeviceOp::LineTo ||
           call.op == DeviceOp::Arc || call.op == DeviceOp::Pie ||
           call.op == DeviceOp::Ellipse || call.op == DeviceOp::Rectangle;
}

inline std::vector<DeviceCall> Recorded(DeviceOp op)
{
    return RecordedWhere([op](const DeviceCall& call) { return call.op == op; });
}

// The figures of a tick are told apart by their colours: the wheel selects a brush of its own,
// the cross draws with the DC's default (white) brush.
inline std::vector<DeviceCall> RecordedFigure(COLORREF pen, COLORREF brush)
{
    return RecordedWhere([pen, brush](const DeviceCall& call) {
        return IsDrawing(call) && call.pen == pen && call.brush == brush;
    });
}

inline std::vector<DeviceCall> CrossErase() { return RecordedFigure(kBlue, kWhite); }
inline std::vector<DeviceCall> CrossDraw() { return RecordedFigure(kWhite, kWhite); }
inline std::vector<DeviceCall> WheelErase() { return RecordedFigure(kBlue, kBlue); }
inline std::vector<DeviceCall> WheelDraw() { return RecordedFigure(kWhite, kCyan); }

// The calls as operation and arguments only, without colours and device context, to compare
// an erasure with a drawing (and to print legibly when they differ).
inline std::vector<std::vector<int>> Uncoloured(const std::vector<DeviceCall>& calls)
{
    std::vector<std::vector<int>> shapes;
    for (const DeviceCall& call : calls) {
        shapes.push_back({static_cast<int>(call.op)});
        shapes.back().insert(shapes.back().end(), call.args.begin(), call.args.end());
    }
    return shapes;
}

inline CPoint DevicePoint(const CWorldCanvas& canvas, double x, double y)
{
    int px = 0;
    int py = 0;
    EXPECT_EQ(canvas.WorldToDevice(x, y, &px, &py), 1) << "(" << x << ", " << y << ")";
    return CPoint(px, py);
}

struct WorldPoint {
    double x;
    double y;
};

inline WorldPoint Transformed(const CWorldCanvas& canvas, double x, double y)
{
    WorldPoint p{};
    canvas.Transform(x, y, p.x, p.y);
    return p;
}

}  // namespace mechanism_test

#endif  // VURAZEVEDADAR_MECHANISM_FIXTURE_H

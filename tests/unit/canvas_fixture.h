// Shared set-up for the canvas tests: a fresh headless machine with one screen device context,
// and the recorded device calls reduced to operation and arguments.
#ifndef VURAZEVEDADAR_TESTS_CANVAS_FIXTURE_H
#define VURAZEVEDADAR_TESTS_CANVAS_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <vector>

#include <afxwin.h>
#include <headless.h>
#include <worldcanvas.h>

namespace canvas_test {

struct Call {
    headless::DeviceOp op;
    std::vector<int> args;

    bool operator==(const Call& other) const { return op == other.op && args == other.args; }
};

inline void PrintTo(const Call& call, std::ostream* os)
{
    *os << "op " << static_cast<int>(call.op) << " (";
    for (size_t i = 0; i < call.args.size(); ++i)
        *os << (i ? ", " : "") << call.args[i];
    *os << ")";
}

inline std::vector<Call> RecordedCalls()
{
    std::vector<Call> calls;
    for (const headless::DeviceCall& call : headless::DeviceCalls())
        calls.push_back(Call{call.op, call.args});
    return calls;
}

inline std::vector<Call> RecordedCalls(headless::DeviceOp op)
{
    std::vector<Call> calls;
    for (const Call& call : RecordedCalls()) {
        if (call.op == op)
            calls.push_back(call);
    }
    return calls;
}

// The representation of a double, so that results are compared to the last bit (and -0.0 is
// told apart from 0.0).
inline std::uint64_t Bits(double d)
{
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::Reset();
        m_hScreen = ::GetDC(NULL);
        m_dc.Attach(m_hScreen);
    }

    void TearDown() override
    {
        m_dc.Detach();
        ::ReleaseDC(NULL, m_hScreen);
        headless::Reset();
    }

    // Binds the canvas to the screen with a viewport of cx x cy pixels and forgets the calls
    // that the binding made.
    void Bind(CWorldCanvas& canvas, int cx, int cy)
    {
        canvas.SetDC(&m_dc, cx, cy, 0);
        headless::ClearDeviceCalls();
    }

    // World (x, y) lands on device (x, 200 - y): one pixel per unit, y up.
    void BindUnitScale(CWorldCanvas& canvas)
    {
        Bind(canvas, 201, 201);
        canvas.m_dWinX1 = 200.0;
        canvas.m_dWinY1 = 200.0;
    }

    HDC m_hScreen = NULL;
    CDC m_dc;
};

}  // namespace canvas_test

#endif  // VURAZEVEDADAR_TESTS_CANVAS_FIXTURE_H

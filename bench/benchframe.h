// Shared set-up of the micro-benchmarks: a real frame on the headless machine with the device's
// recording switched off, delivered its messages as the message loop would, and the means to
// put the mechanism back into a saved pose so that every iteration does the same work.
#ifndef VURAZEVEDADAR_BENCHFRAME_H
#define VURAZEVEDADAR_BENCHFRAME_H

#include <afximpl.h>
#include <headless.h>

#include <cstring>

#include "mainframe.h"

namespace bench {

// The size a fresh window gets on the headless machine, the program's usual start.
constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;

// The frame's animation timer; the frame arms it under this identifier.
constexpr WPARAM kAnimationTimer = 1;

// Ticks after a repaint before the pin stands in a slot: ticks 3 to 12 of each revolution of
// 30 are engaged, the rest locked.
constexpr int kTicksBeforeEngaged = 6;
constexpr int kTicksBeforeLocked = 15;

// What a tick reads and changes: both angles, the step, and the two canvases' plane
// transformations. Viewport, world window and pens stay as the last repaint left them.
struct CPose {
    double m_dCrossAngle;
    double m_dDriveAngle;
    double m_dStep;
    double m_matrixCross[9];
    double m_matrixWheel[9];

    void Save(const CMainFrame& frame)
    {
        m_dCrossAngle = frame.m_dCrossAngle;
        m_dDriveAngle = frame.m_dDriveAngle;
        m_dStep = frame.m_dStep;
        std::memcpy(m_matrixCross, frame.m_canvasCross.m_matrix, sizeof m_matrixCross);
        std::memcpy(m_matrixWheel, frame.m_canvasWheel.m_matrix, sizeof m_matrixWheel);
    }

    void Restore(CMainFrame& frame) const
    {
        frame.m_dCrossAngle = m_dCrossAngle;
        frame.m_dDriveAngle = m_dDriveAngle;
        frame.m_dStep = m_dStep;
        std::memcpy(frame.m_canvasCross.m_matrix, m_matrixCross, sizeof m_matrixCross);
        std::memcpy(frame.m_canvasWheel.m_matrix, m_matrixWheel, sizeof m_matrixWheel);
    }
};

// A fresh headless machine with one painted frame. The frame deletes itself when its window
// closes, which the destructor asks for.
class CBenchFrame {
public:
    CBenchFrame()
    {
        headless::Reset();
        headless::SetRecording(false);
        headless::SetDefaultClientSize(kClientWidth, kClientHeight);
        m_pFrame = new CMainFrame;
        Paint();
    }
    // A frame whose window was never made is still ours to delete (see CWnd::CreateEx).
    ~CBenchFrame()
    {
        if (m_pFrame->m_hWnd != NULL)
            ::SendMessage(m_pFrame->m_hWnd, WM_CLOSE, 0, 0);
        else
            delete m_pFrame;
        headless::Reset();
    }
    CBenchFrame(const CBenchFrame&) = delete;
    CBenchFrame& operator=(const CBenchFrame&) = delete;

    CMainFrame& Frame() { return *m_pFrame; }

    // After each message the loop frees the wrappers that SelectObject made for objects the
    // program does not own; that belongs to the cost of a message as the program sees it.
    void Paint() { Deliver(WM_PAINT, 0); }
    void Tick() { Deliver(WM_TIMER, kAnimationTimer); }
    void Ticks(int nCount)
    {
        for (int i = 0; i < nCount; ++i)
            Tick();
    }

    // The number of device calls one tick from the given pose makes, counted with the
    // recording switched on for that one tick.
    int DeviceCallsOfTick(const CPose& pose)
    {
        pose.Restore(*m_pFrame);
        headless::ClearDeviceCalls();
        headless::SetRecording(true);
        Tick();
        headless::SetRecording(false);
        const int nCalls = static_cast<int>(headless::DeviceCalls().size());
        headless::ClearDeviceCalls();
        pose.Restore(*m_pFrame);
        return nCalls;
    }

private:
    void Deliver(UINT nMessage, WPARAM wParam)
    {
        ::SendMessage(m_pFrame->m_hWnd, nMessage, wParam, 0);
        AfxDeleteTempMap();
    }

    CMainFrame* m_pFrame;
};

// Binds both canvases of a painted frame to a client DC, so that a figure can be drawn on its
// own; unbinds them before the DC goes, as a tick does.
class CBoundDC {
public:
    explicit CBoundDC(CMainFrame& frame) : m_frame(frame), m_dc(&frame)
    {
        m_frame.m_canvasCross.m_pDC = &m_dc;
        m_frame.m_canvasWheel.m_pDC = &m_dc;
    }
    ~CBoundDC()
    {
        m_frame.m_canvasCross.m_pDC = nullptr;
        m_frame.m_canvasWheel.m_pDC = nullptr;
    }
    CBoundDC(const CBoundDC&) = delete;
    CBoundDC& operator=(const CBoundDC&) = delete;

private:
    CMainFrame& m_frame;
    CClientDC m_dc;
};

}  // namespace bench

#endif  // VURAZEVEDADAR_BENCHFRAME_H

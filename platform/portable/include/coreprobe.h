// What tests may observe of the portable core and inject into it: a record of the GDI and
// window calls made on it, counts of what is alive, and refusals of resources. Recording is
// off until a test asks for it, so that a program that never asks pays one test of a flag.
#ifndef VURAZEVEDADAR_PORTABLE_COREPROBE_H
#define VURAZEVEDADAR_PORTABLE_COREPROBE_H

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace portable {

enum class GdiOp {
    MoveTo,         // x, y
    LineTo,         // x, y
    Arc,            // left, top, right, bottom, xStart, yStart, xEnd, yEnd
    Pie,            // left, top, right, bottom, xStart, yStart, xEnd, yEnd
    Ellipse,        // left, top, right, bottom
    Rectangle,      // left, top, right, bottom
    SetViewportOrg, // x, y
    SelectClipRgn,  // left, top, right, bottom of the region; no arguments when removed
    SetMapMode,     // mode
};

// One call on a device context, in the program's logical coordinates, with the colours of the
// pen and brush selected at that moment.
struct GdiCall {
    GdiOp op;
    std::vector<int> args;
    COLORREF pen;
    COLORREF brush;
    HDC hdc;

    // Equal calls draw the same thing; which device context made them does not count, since
    // every handler gets a fresh one.
    bool operator==(const GdiCall& other) const;
};

struct Probe {
    bool m_bRecording = false;
    std::vector<GdiCall> m_calls;
    // The window-system calls, one line each: "SetTimer <id> <ms>", "KillTimer <id>",
    // "MessageBox <text>|<caption>|<type>", "DeleteObject pen|brush|region",
    // "DestroyWindow", "ShowWindow <cmd>", "InvalidateRect <erase>".
    bool m_bLogging = false;
    std::vector<std::string> m_log;
    // DeleteObject calls on an object still selected into a device context: Windows defers
    // those, but each one means the caller forgot to select the old object back.
    int m_nDeletesOfSelected = 0;
    // Injected refusals: SetTimer fails; so does every pen, brush or region creation once
    // this many more have succeeded (negative: never).
    bool m_bTimerFails = false;
    int m_nGdiCreationsLeft = -1;
};

// Inline, so that the test of the recording flag in every drawing call is not a call itself.
inline Probe& TheProbe()
{
    static Probe probe;
    return probe;
}

void LogCall(const std::string& line);

int LiveGdiObjects();
int LiveDeviceContexts();
int LiveWindows();
// Timers running on a window: (id, period in ms) pairs.
std::vector<std::pair<UINT_PTR, UINT>> TimersOf(HWND hWnd);
// A window's caption and style as created; empty and 0 for a handle that is not a window.
std::string WindowTitleOf(HWND hWnd);
DWORD WindowStyleOf(HWND hWnd);
// Destroys every window and forgets every device context, object and queued message: a fresh
// core for the next test. Objects still alive are abandoned, not deleted.
void ResetCore();

}  // namespace portable

#endif  // VURAZEVEDADAR_PORTABLE_COREPROBE_H

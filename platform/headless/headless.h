// Controls and observations of the headless backend, for tests and benchmarks. The backend has
// no window system: windows are records with a client size, device contexts append one record
// per drawing call, timers and message boxes are only noted, and GDI objects are counted.
#ifndef VURAZEVEDADAR_HEADLESS_H
#define VURAZEVEDADAR_HEADLESS_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace headless {

enum class DeviceOp {
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

// One call on a device context, with the colours of the pen and brush selected at that moment.
struct DeviceCall {
    DeviceOp op;
    std::vector<int> args;
    COLORREF pen;
    COLORREF brush;
    HDC hdc;

    // Equal calls draw the same thing; which device context made them does not count, since
    // every handler gets a fresh one.
    bool operator==(const DeviceCall& other) const;
};

const std::vector<DeviceCall>& DeviceCalls();
void ClearDeviceCalls();
// Benchmarks switch recording off, so that the device costs next to nothing.
void SetRecording(bool bRecord);

// The window-system calls made so far, in order, one line each:
//   "SetTimer <id> <ms>", "KillTimer <id>", "MessageBox <text>|<caption>|<type>",
//   "DeleteObject pen|brush|region", "DestroyWindow", "ShowWindow <cmd>",
//   "InvalidateRect <erase>".
const std::vector<std::string>& CallLog();
void ClearCallLog();

// Client size given to windows created from now on (800 x 600 unless set).
void SetDefaultClientSize(int cx, int cy);
// Changes a window's client size, as a user dragging its frame would (no message is sent).
void SetClientSize(HWND hWnd, int cx, int cy);
// While set, SetTimer fails (returns 0).
void SetTimerFails(bool bFail);
// Texts of the message boxes shown so far.
std::vector<std::string> MessageBoxTexts();
// A window's caption and style as created.
std::string WindowTitle(HWND hWnd);
DWORD WindowStyle(HWND hWnd);
// Timers running on a window: (id, period in ms) pairs.
std::vector<std::pair<UINT_PTR, UINT>> Timers(HWND hWnd);

// Called by the message loop whenever it finds no message waiting, so that a test can play the
// user (post WM_CLOSE, say). When the handler leaves the queue empty, the loop gets an error,
// since nothing else could ever wake it.
void SetIdleHandler(std::function<void()> handler);

// GDI objects created and not yet deleted (stock objects excluded).
int LiveGdiObjects();
// Number of DeleteObject calls on an object still selected into a device context: Windows
// refuses those, so each one is a fault of the caller.
int DeletesOfSelectedObjects();
// Device contexts obtained and not yet released.
int LiveDeviceContexts();
// Windows that exist.
int LiveWindows();

// Forgets every window, device context, object, call and setting: a fresh machine for the next
// test. Objects still alive are abandoned, not deleted; window classes stay registered, as
// they would for the program's module.
void Reset();

}  // namespace headless

#endif  // VURAZEVEDADAR_HEADLESS_H

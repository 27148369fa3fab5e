// Controls and observations of the headless backend, for tests and benchmarks. The backend has
// no window system: windows are records with a client size, the device draws nothing, and time
// stands still until the message loop has nothing else to do; then it jumps to the next timer.
// What the program did is read from the core's record of its calls.
#ifndef VURAZEVEDADAR_HEADLESS_H
#define VURAZEVEDADAR_HEADLESS_H

#include <coreprobe.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace headless {

using DeviceOp = portable::GdiOp;
using DeviceCall = portable::GdiCall;

// Every call on a device context since the last clear, in order.
const std::vector<DeviceCall>& DeviceCalls();
void ClearDeviceCalls();
// Benchmarks switch recording (of device calls and window-system calls) off, so that drawing
// costs next to nothing.
void SetRecording(bool bRecord);

// The window-system calls made so far, in order, one line each (see coreprobe.h).
const std::vector<std::string>& CallLog();
void ClearCallLog();

// Client size given to windows created from now on with the default size (800 x 600 unless
// set).
void SetDefaultClientSize(int cx, int cy);
// Changes a window's client size, as a user dragging its frame would (no message is sent).
void SetClientSize(HWND hWnd, int cx, int cy);
// While set, SetTimer fails (returns 0).
void SetTimerFails(bool bFail);
// Pen, brush and region creation fails once this many more have succeeded (negative: never).
void SetGdiCreationsLeft(int nCreations);
// Texts of the message boxes shown so far.
std::vector<std::string> MessageBoxTexts();
// A window's caption and style as created.
std::string WindowTitle(HWND hWnd);
DWORD WindowStyle(HWND hWnd);
// Timers running on a window: (id, period in ms) pairs.
std::vector<std::pair<UINT_PTR, UINT>> Timers(HWND hWnd);

// Called by the message loop whenever it finds no message waiting, so that a test can play the
// user (post WM_CLOSE, say). When the handler gives the loop nothing to do, time moves on to
// the next timer; without a timer the loop gets an error, since nothing else could wake it.
void SetIdleHandler(std::function<void()> handler);
// The headless clock, in nanoseconds, and a way to move it on.
long long Now();
void AdvanceClock(long long nsDelta);

// GDI objects created and not yet deleted (stock objects excluded).
int LiveGdiObjects();
// Number of DeleteObject calls on an object still selected into a device context: each one is
// a fault of the caller, who forgot to select the old object back.
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

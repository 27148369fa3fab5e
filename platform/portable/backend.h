// What a backend supplies to the portable core, and what the core offers a backend in return,
// and nothing more: the core's records stay private to it. A backend supplies a device per
// window that draws in device coordinates with the pen, brush and clip the core hands it, and
// an event source that keeps the windows on the screen, waits, and reports what happened to
// them. The headless and web backends define these functions in their own sources, and exactly
// one of them is linked; the Linux program links X11's and Wayland's, and chooses between them
// when it starts (backendtable.h, platform/linux/).
#ifndef VURAZEVEDADAR_PORTABLE_BACKEND_H
#define VURAZEVEDADAR_PORTABLE_BACKEND_H

#include "device.h"

#include <portableres.h>

namespace portable {

// ---------------------------------------------------------------------------------------------
// Windows.

// Where a new window is to appear; an unpositioned one is placed by the window system.
struct Placement {
    int m_x;
    int m_y;
    int m_nWidth;
    int m_nHeight;
    bool m_bPositioned;
};

// The size CW_USEDEFAULT gives a new window: three quarters of the monitor it will appear on.
SIZE DefaultWindowSize();
// The largest width or height a window may have, and so the range of its positions.
int MaxWindowExtent();

// What a new window is to look like.
struct NativeWindowLook {
    Placement m_placement;
    LPCSTR m_lpszCaption;
    const COLORREF* m_pBackground;  // what exposed areas are cleared to; null: none
    const HICON__* m_pIcon;         // the application's icon; null: the window system's own
    CNativeWindow* m_pOwner;
};

// A window on the screen for hWnd, not yet shown, with its device; null when the window system
// refuses it.
CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook& look);
void DestroyNativeWindow(CNativeWindow* pWindow);

// How ShowWindow's commands reach the window system.
enum class ShowCommand { Hide, Show, Minimize };
// Shows the window, minimised or not, or hides it (only when shown); bWasHidden when it was not
// shown before. A window shown from hidden is reported through NotifyExposed once the window
// system has put it on the screen.
void ShowNativeWindow(CNativeWindow* pWindow, ShowCommand command, bool bWasHidden);
void MoveNativeWindow(CNativeWindow* pWindow, int x, int y, int nWidth, int nHeight);
// The client area's top-left corner on the screen.
bool NativeWindowOrigin(CNativeWindow* pWindow, POINT* pOrigin);

// Makes sure everything drawn so far has reached the screen.
void DeviceFlush();

// A modal message box with an OK button; gives the button's id. The core has already written
// its text on stderr.
int ShowMessageBox(CNativeWindow* pOwner, const char* lpszText, const char* lpszCaption,
                   UINT uType);

// ---------------------------------------------------------------------------------------------
// The event source.

// The backend's monotonic clock, in nanoseconds.
long long Now();
const long long kNanosecondsPerMillisecond = 1000000;
const long long kNoDeadline = 0x7FFFFFFFFFFFFFFFLL;

// Turns every event that has already arrived into notifications. Runs no window procedure.
void TakePendingEvents();
enum class WaitResult { Events, Timeout, Never };
// Puts what was drawn on the screen, then sleeps until something arrives or the deadline
// passes (kNoDeadline: no limit), and reports it through the notifications. Never: nothing
// could ever arrive.
WaitResult WaitForEvents(long long nsDeadline);

// ---------------------------------------------------------------------------------------------
// What the core offers a backend.

// What the backends' events tell the core, for the window behind a handle.
void NotifyExposed(HWND hWnd);
void NotifyResized(HWND hWnd, int nWidth, int nHeight);
void NotifyCloseRequest(HWND hWnd);
// The window system has gone: ends the program with "<name>: <text>" on stderr and status 1.
[[noreturn]] void NotifyConnectionLost(const char* lpszText);

// Whether the message loop has something to retrieve without waiting for the window system.
bool IsMessageReady();

// The application's name, as the program's messages are signed.
const char* ApplicationName();
// Writes "<program>: <text>" on stderr.
void PrintMessage(const char* lpszText);
// The same, then ends the process at once with the given status. Not exit(): static
// destructors would run with windows half torn down, and a backend's library must not be
// re-entered from inside its own error handler.
[[noreturn]] void ExitWithMessage(const char* lpszText, int nStatus);

}  // namespace portable

#endif  // VURAZEVEDADAR_PORTABLE_BACKEND_H

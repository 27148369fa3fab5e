// What a backend supplies to the portable core, and nothing more: a device that draws in
// device coordinates with the pen, brush and clip the core hands it, and an event source that
// keeps the windows on the screen, waits, and reports what happened to them. Every backend
// defines these functions in its own sources; exactly one backend is linked.
#ifndef VURAZEVEDADAR_PORTABLE_BACKEND_H
#define VURAZEVEDADAR_PORTABLE_BACKEND_H

#include "core.h"

#include <portableres.h>

namespace portable {

// ---------------------------------------------------------------------------------------------
// The device. The core has already applied GDI's rules for degenerate figures: a line has two
// distinct ends, a rectangle is at least 2 x 2, an ellipse, arc or pie box has area. Boxes are
// normalised.

struct DrawContext {
    CNativeWindow* m_pWindow;
    COLORREF m_crPen;
    COLORREF m_crBrush;
    const ClipRect& m_clip;
};

// The start pixel drawn, the end pixel left out.
void DeviceLine(const DrawContext& dc, DevicePoint ptFrom, DevicePoint ptTo);
// Outline on left..right-1 x top..bottom-1 with the pen, the inside with the brush.
void DeviceRectangle(const DrawContext& dc, const DeviceBox& box);
// The following return false when the box is beyond what the device can draw.
bool DeviceEllipse(const DrawContext& dc, const DeviceBox& box);
// Counter-clockwise from the start radial to the end radial; the whole ellipse when they meet.
bool DeviceArc(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
               DevicePoint ptEnd);
bool DevicePie(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
               DevicePoint ptEnd);
// Clears the whole window to its class background.
void DeviceErase(CNativeWindow* pWindow);
// Makes sure everything drawn so far has reached the screen.
void DeviceFlush();

// ---------------------------------------------------------------------------------------------
// The event source.

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
// What a new window is to look like.
struct NativeWindowLook {
    Placement m_placement;
    LPCSTR m_lpszCaption;
    const COLORREF* m_pBackground;  // what exposed areas are cleared to; null: none
    const HICON__* m_pIcon;         // the application's icon; null: the window system's own
    HWND m_hWndOwner;
};

// A window on the screen for hWnd, not yet shown; null when the window system refuses it.
CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook& look);
void DestroyNativeWindow(CNativeWindow* pWindow);
// Shows the window (minimised for SW_MINIMIZE and SW_SHOWMINIMIZED) or hides it (SW_HIDE, only
// when shown); bWasHidden when it was not shown before. A window shown from hidden is reported
// through NotifyExposed once the window system has put it on the screen.
void ShowNativeWindow(CNativeWindow* pWindow, int nCmdShow, bool bWasHidden);
void MoveNativeWindow(CNativeWindow* pWindow, int x, int y, int nWidth, int nHeight);
// The client area's top-left corner on the screen.
bool NativeWindowOrigin(CNativeWindow* pWindow, POINT* pOrigin);

// The backend's monotonic clock, in nanoseconds.
long long Now();
// Turns every event that has already arrived into notifications. Runs no window procedure.
void TakePendingEvents();
enum class WaitResult { Events, Timeout, Never };
// Flushes drawing, then sleeps until something arrives or the deadline passes (kNoDeadline:
// no limit), and reports it through the notifications. Never: nothing could ever arrive.
WaitResult WaitForEvents(long long nsDeadline);

// A modal message box with an OK button; gives the button's id.
int ShowMessageBox(HWND hWndOwner, const char* lpszText, const char* lpszCaption, UINT uType);

}  // namespace portable

#endif  // VURAZEVEDADAR_PORTABLE_BACKEND_H

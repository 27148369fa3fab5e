// The functions backend.h asks of a backend, as the x11 backend defines them: in its own
// namespace, so that the Linux program can hold them in a table beside Wayland's and choose
// one when it starts (backend.cpp fills the table).
#ifndef VURAZEVEDADAR_X11_X11BACKEND_H
#define VURAZEVEDADAR_X11_X11BACKEND_H

#include "backend.h"
#include "clock.h"

namespace x11 {

using portable::NativeWindowLook;
using portable::ShowCommand;
using portable::WaitResult;

// Opens the display. Without one it answers false when another window system may still be
// tried, and as the last choice ends the program with one line and status 1.
bool Connect(bool bLastChoice);

SIZE DefaultWindowSize();
int MaxWindowExtent();
CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook& look);
void DestroyNativeWindow(CNativeWindow* pWindow);
void ShowNativeWindow(CNativeWindow* pWindow, ShowCommand command, bool bWasHidden);
void MoveNativeWindow(CNativeWindow* pWindow, int x, int y, int nWidth, int nHeight);
bool NativeWindowOrigin(CNativeWindow* pWindow, POINT* pOrigin);
void DeviceFlush();
int ShowMessageBox(CNativeWindow* pOwner, const char* lpszText, const char* lpszCaption,
                   UINT uType);
using linuxclock::Now;
void TakePendingEvents();
WaitResult WaitForEvents(long long nsDeadline);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_X11BACKEND_H

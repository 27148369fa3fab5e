// The wayland backend's functions, one for each that backend.h asks of a backend, defined in
// the sources of their concern and gathered into wayland::kBackend (backend.cpp).
#ifndef VURAZEVEDADAR_WAYLAND_FUNCTIONS_H
#define VURAZEVEDADAR_WAYLAND_FUNCTIONS_H

#include "backend.h"
#include "clock.h"

namespace wayland {

SIZE DefaultWindowSize();
int MaxWindowExtent();
CNativeWindow* CreateNativeWindow(HWND hWnd, const portable::NativeWindowLook& look);
void DestroyNativeWindow(CNativeWindow* pWindow);
void ShowNativeWindow(CNativeWindow* pWindow, portable::ShowCommand command, bool bWasHidden);
void MoveNativeWindow(CNativeWindow* pWindow, int x, int y, int nWidth, int nHeight);
bool NativeWindowOrigin(CNativeWindow* pWindow, POINT* pOrigin);
void DeviceFlush();
int ShowMessageBox(CNativeWindow* pOwner, const char* lpszText, const char* lpszCaption,
                   UINT uType);
using linuxclock::Now;
void TakePendingEvents();
portable::WaitResult WaitForEvents(long long nsDeadline);

}  // namespace wayland

#endif  // VURAZEVEDADAR_WAYLAND_FUNCTIONS_H

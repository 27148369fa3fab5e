// Until the Linux program's chooser is merged: backend.h's functions, each forwarding to the
// wayland backend's table, connected on first use.
#include "backends.h"

namespace {

const portable::CBackendTable& Backend()
{
    static const bool s_bConnected = wayland::kBackend.m_pfnConnect(true);
    (void)s_bConnected;
    return wayland::kBackend;
}

}  // namespace

namespace portable {

SIZE DefaultWindowSize() { return Backend().m_pfnDefaultWindowSize(); }
int MaxWindowExtent() { return Backend().m_pfnMaxWindowExtent(); }
CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook& look)
{
    return Backend().m_pfnCreateNativeWindow(hWnd, look);
}
void DestroyNativeWindow(CNativeWindow* p) { Backend().m_pfnDestroyNativeWindow(p); }
void ShowNativeWindow(CNativeWindow* p, ShowCommand c, bool b)
{
    Backend().m_pfnShowNativeWindow(p, c, b);
}
void MoveNativeWindow(CNativeWindow* p, int x, int y, int w, int h)
{
    Backend().m_pfnMoveNativeWindow(p, x, y, w, h);
}
bool NativeWindowOrigin(CNativeWindow* p, POINT* pt) { return Backend().m_pfnNativeWindowOrigin(p, pt); }
void DeviceFlush() { Backend().m_pfnDeviceFlush(); }
int ShowMessageBox(CNativeWindow* p, const char* t, const char* c, UINT u)
{
    return Backend().m_pfnShowMessageBox(p, t, c, u);
}
long long Now() { return Backend().m_pfnNow(); }
void TakePendingEvents() { Backend().m_pfnTakePendingEvents(); }
WaitResult WaitForEvents(long long ns) { return Backend().m_pfnWaitForEvents(ns); }

}  // namespace portable

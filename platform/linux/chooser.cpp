// The Linux program's window system, chosen once when the program first needs one: Wayland
// where the session has a compositor, X11 otherwise (an X session, or a Wayland session's
// XWayland when the compositor cannot be reached), and whichever VURAZEVEDADAR_BACKEND names.
// The X11 backend is linked in; the Wayland backend is a module, loaded only when it is tried
// (waylandmodule.h), and a Wayland session whose module is missing runs on X11 as one whose
// compositor cannot be reached does.
// backend.h's functions are defined here, once, each passing the call on to the chosen
// backend's table, as Wine passes its USER and GDI calls on to the driver it loaded.
//
// Only the Linux program chooses: the headless backend (tests, benchmarks) and the web backend
// (the browser build) each run on one window system only, so they still define backend.h's
// functions themselves and are chosen by what is linked.
#include "backends.h"
#include "printable.h"
#include "waylandmodule.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kExitBadChoice = 1;
const char kChoiceVariable[] = "VURAZEVEDADAR_BACKEND";
const char kWaylandName[] = "wayland";

bool IsSet(const char* lpszVariable)
{
    const char* lpszValue = std::getenv(lpszVariable);
    return lpszValue != nullptr && *lpszValue != '\0';
}

// The Wayland backend's table, from its module. A module that cannot be loaded answers null
// when the program may still run on X11 (bLastChoice false); as the last choice it ends the
// program with status 1 and one line saying which file and why, as a backend that cannot
// connect does.
const portable::CBackendTable* WaylandBackend(bool bLastChoice)
{
    std::string strError;
    if (const portable::CBackendTable* pBackend = waylandmodule::Load(&strError))
        return pBackend;
    if (bLastChoice)
        portable::ExitWithMessage(strError.c_str(), kExitBadChoice);
    return nullptr;
}

// The backend the variable names; an empty variable names none, as an unset one. Any other
// name ends the program: running on another window system than the one asked for would
// hide the mistake.
const portable::CBackendTable* ForcedBackend()
{
    const char* lpszValue = std::getenv(kChoiceVariable);
    if (lpszValue == nullptr || *lpszValue == '\0')
        return nullptr;
    if (std::strcmp(lpszValue, x11::kBackend.m_pszName) == 0)
        return &x11::kBackend;
    if (std::strcmp(lpszValue, kWaylandName) == 0)
        return WaylandBackend(true);
    const std::string text = std::string(kChoiceVariable) + " is \"" +
                             portable::PrintableText(lpszValue) +
                             "\": it must be x11 or wayland, or unset";
    portable::ExitWithMessage(text.c_str(), kExitBadChoice);
}

const portable::CBackendTable& Choose()
{
    if (const portable::CBackendTable* pForced = ForcedBackend()) {
        // A forced backend is the last choice: it says itself why it cannot run.
        pForced->m_pfnConnect(true);
        return *pForced;
    }
    if (IsSet("WAYLAND_DISPLAY") || IsSet("WAYLAND_SOCKET")) {
        const portable::CBackendTable* pWayland = WaylandBackend(false);
        if (pWayland != nullptr) {
            if (pWayland->m_pfnConnect(false))
                return *pWayland;
            waylandmodule::Unload();
        }
    }
    x11::kBackend.m_pfnConnect(true);
    return x11::kBackend;
}

// Chosen on the first call, which comes from the program's first window or timer, never from
// a static initialiser: the environment and the application's name (which signs the refusal)
// are there by then. A backend's Connect must not call backend.h's functions itself.
const portable::CBackendTable& TheBackend()
{
    static const portable::CBackendTable& s_backend = Choose();
    return s_backend;
}

}  // namespace

namespace portable {

SIZE DefaultWindowSize()
{
    return TheBackend().m_pfnDefaultWindowSize();
}

int MaxWindowExtent()
{
    return TheBackend().m_pfnMaxWindowExtent();
}

CNativeWindow* CreateNativeWindow(HWND hWnd, const NativeWindowLook& look)
{
    return TheBackend().m_pfnCreateNativeWindow(hWnd, look);
}

void DestroyNativeWindow(CNativeWindow* pWindow)
{
    TheBackend().m_pfnDestroyNativeWindow(pWindow);
}

void ShowNativeWindow(CNativeWindow* pWindow, ShowCommand command, bool bWasHidden)
{
    TheBackend().m_pfnShowNativeWindow(pWindow, command, bWasHidden);
}

void MoveNativeWindow(CNativeWindow* pWindow, int x, int y, int nWidth, int nHeight)
{
    TheBackend().m_pfnMoveNativeWindow(pWindow, x, y, nWidth, nHeight);
}

bool NativeWindowOrigin(CNativeWindow* pWindow, POINT* pOrigin)
{
    return TheBackend().m_pfnNativeWindowOrigin(pWindow, pOrigin);
}

void DeviceFlush()
{
    TheBackend().m_pfnDeviceFlush();
}

int ShowMessageBox(CNativeWindow* pOwner, const char* lpszText, const char* lpszCaption,
                   UINT uType)
{
    return TheBackend().m_pfnShowMessageBox(pOwner, lpszText, lpszCaption, uType);
}

long long Now()
{
    return TheBackend().m_pfnNow();
}

void TakePendingEvents()
{
    TheBackend().m_pfnTakePendingEvents();
}

WaitResult WaitForEvents(long long nsDeadline)
{
    return TheBackend().m_pfnWaitForEvents(nsDeadline);
}

}  // namespace portable

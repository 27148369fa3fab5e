// The properties through which a top-level window talks to the window manager.
#ifndef VURAZEVEDADAR_X11_WINDOWPROPS_H
#define VURAZEVEDADAR_X11_WINDOWPROPS_H

#include "backend.h"

#include <X11/Xlib.h>

#include <string>

namespace x11 {

// Where a window is to appear; unpositioned windows are placed by the window manager.
using portable::Placement;

// The caption, in WM_NAME for older window managers and in _NET_WM_NAME as UTF-8.
void SetWindowCaption(Window idWindow, const char* lpszCaption);
// WM_CLASS, WM_PROTOCOLS with WM_DELETE_WINDOW and _NET_WM_PING, the process's identity, and
// WM_HINTS with the state the window is to start in once it is mapped.
void SetStandardProperties(Window idWindow, bool bIconic);
// _NET_WM_ICON, from the application's icon resource.
void SetWindowIcon(Window idWindow, const HICON__* pIcon);
// _NET_WM_PID and WM_CLIENT_MACHINE.
void SetProcessIdentity(Window idWindow);
// Answers the window manager's pings caught since the last call (pings.h).
void AnswerHeldPings();
// WM_HINTS only, for a window shown again in another state.
void SetInitialState(Window idWindow, bool bIconic);
// WM_NORMAL_HINTS; a fixed-size window gets equal minimum and maximum sizes.
void SetSizeHints(Window idWindow, const Placement& placement, bool bFixedSize);

// WM_NAME's type, STRING, is Latin-1: characters beyond it become '?'. Malformed UTF-8 does too.
std::string Utf8ToLatin1(const char* lpszUtf8);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_WINDOWPROPS_H

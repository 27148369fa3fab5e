// xtool's requests to a window manager (xtool_wm.cpp).
#ifndef VURAZEVEDADAR_XTOOL_WM_H
#define VURAZEVEDADAR_XTOOL_WM_H

#include <X11/Xlib.h>

// Carries out argv[1] on the window found by its caption, when it is one of the window
// manager's verbs; returns xtool's exit status, 2 for a verb it does not know.
int ActThroughWindowManager(Display* pDisplay, Window window, int argc, char** argv);

#endif  // VURAZEVEDADAR_XTOOL_WM_H

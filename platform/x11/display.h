// The one connection to the X server: opened on first need, checked for a visual whose pixels
// can be computed from colours, and ended with the program when the server goes away.
#ifndef VURAZEVEDADAR_X11_DISPLAY_H
#define VURAZEVEDADAR_X11_DISPLAY_H

#include "backend.h"
#include "colors.h"

#include <X11/Xlib.h>

#include <utility>
#include <vector>

namespace x11 {

struct Connection {
    Display* m_pDisplay;
    int m_nScreen;
    Window m_idRoot;
    int m_nScreenWidth;
    int m_nScreenHeight;
    ColorChannel m_red;
    ColorChannel m_green;
    ColorChannel m_blue;
    // DirectColor: colours are allocated in the default colour map, and kept here.
    bool m_bAllocatesColors;
    std::vector<std::pair<COLORREF, unsigned long>> m_allocatedColors;
    Atom m_atomWmProtocols;
    Atom m_atomWmDeleteWindow;
    Atom m_atomNetWmName;
    Atom m_atomUtf8String;
    Atom m_atomNetWmWindowType;
    Atom m_atomNetWmWindowTypeDialog;
    Atom m_atomNetWmPid;
    Atom m_atomNetWmPing;
    Atom m_atomNetWmIcon;
};

// The connection, opened on the first call. Without a usable display the program ends here,
// with one line on stderr and status 1.
Connection& TheConnection();
bool IsConnected();

// Another client has destroyed a window of the program: ends it with one line saying so, and
// status 1.
[[noreturn]] void ExitWindowDestroyed();

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_DISPLAY_H

// Catches the protocol errors of a few requests that the server may refuse for reasons of its
// own (memory for a back buffer, a shared-memory segment of a remote client), which the
// program handles instead of ending on them.
#ifndef VURAZEVEDADAR_X11_ERRORTRAP_H
#define VURAZEVEDADAR_X11_ERRORTRAP_H

#include <X11/Xlib.h>

namespace x11 {

class CErrorTrap {
public:
    explicit CErrorTrap(Display* pDisplay);
    ~CErrorTrap();
    CErrorTrap(const CErrorTrap&) = delete;
    CErrorTrap& operator=(const CErrorTrap&) = delete;

    // Waits until the server has answered every request made so far (a round trip), and says
    // whether any of those made since the trap was set failed.
    bool Failed();

private:
    Display* m_pDisplay;
    int (*m_pfnPrevious)(Display*, XErrorEvent*);
    bool m_bSynced = false;
};

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_ERRORTRAP_H

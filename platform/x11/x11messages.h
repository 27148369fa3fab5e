// The posted-message queue, as the window code needs it.
#ifndef VURAZEVEDADAR_X11_MESSAGES_H
#define VURAZEVEDADAR_X11_MESSAGES_H

#include <windows.h>

namespace x11 {

// Drops the messages still queued for a window that is going away.
void ForgetPostedMessages(HWND hWnd);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_MESSAGES_H

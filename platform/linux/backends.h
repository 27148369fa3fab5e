// The window systems the Linux program can run on, each a table of its backend's functions.
// The X11 backend is linked into the program. The Wayland backend is a module of its own
// (waylandmodule.h), loaded only when the program runs on Wayland, so that an X11 run maps
// none of the Wayland libraries.
#ifndef VURAZEVEDADAR_LINUX_BACKENDS_H
#define VURAZEVEDADAR_LINUX_BACKENDS_H

#include <backendtable.h>

namespace x11 {
extern const portable::CBackendTable kBackend;
}

#endif  // VURAZEVEDADAR_LINUX_BACKENDS_H

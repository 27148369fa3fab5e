// The window systems the Linux program can run on, each a table of its backend's functions.
#ifndef VURAZEVEDADAR_LINUX_BACKENDS_H
#define VURAZEVEDADAR_LINUX_BACKENDS_H

#include <backendtable.h>

namespace x11 {
extern const portable::CBackendTable kBackend;
}

namespace wayland {
extern const portable::CBackendTable kBackend;
}

#endif  // VURAZEVEDADAR_LINUX_BACKENDS_H

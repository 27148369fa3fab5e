// Stands in for the Wayland backend until it is built: a session with a compositor runs the
// program through X11.
#include "backends.h"
#include "backend.h"

namespace wayland {

namespace {

bool Connect(bool bLastChoice)
{
    if (bLastChoice)
        portable::ExitWithMessage("this build has no Wayland backend", 1);
    return false;
}

}  // namespace

// Only Connect is ever called: as the last choice it ends the program.
const portable::CBackendTable kBackend = {"wayland", Connect, nullptr, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                          nullptr, nullptr};

}  // namespace wayland

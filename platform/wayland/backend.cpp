// The wayland backend as the Linux program's chooser sees it: one table of its functions.
#include "display.h"
#include "functions.h"

#include "backends.h"

namespace wayland {

const portable::CBackendTable kBackend = {
    "wayland",
    Connect,
    DefaultWindowSize,
    MaxWindowExtent,
    CreateNativeWindow,
    DestroyNativeWindow,
    ShowNativeWindow,
    MoveNativeWindow,
    NativeWindowOrigin,
    DeviceFlush,
    ShowMessageBox,
    Now,
    TakePendingEvents,
    WaitForEvents,
};

}  // namespace wayland

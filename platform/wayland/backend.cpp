// The wayland backend as the Linux program's chooser sees it: one table of its functions,
// handed out by the module's one exported function (module.map).
#include "display.h"
#include "functions.h"

#include "waylandmodule.h"

namespace wayland {

namespace {

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

}  // namespace

}  // namespace wayland

const portable::CBackendTable* VurazevedadarWaylandBackend()
{
    return &wayland::kBackend;
}

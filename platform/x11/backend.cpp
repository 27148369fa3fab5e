// The x11 backend as the Linux program sees it: one table of its functions.
#include "x11backend.h"

#include "backends.h"

namespace x11 {

const portable::CBackendTable kBackend = {
    "x11",
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

}  // namespace x11

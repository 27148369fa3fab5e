// The Wayland backend as a module the program loads when it chooses Wayland, the way Wine
// loads its display driver: the module (vurazevedadar-wayland.so) brings libwayland-client,
// libffi and libdecor with it, which an X11 run then never maps. It calls the core, the raster
// device and the rasteriser back in the executable, which exports them for it (exports.list),
// and it exports one function only: the entry point below, which hands out its table.
#ifndef VURAZEVEDADAR_LINUX_WAYLANDMODULE_H
#define VURAZEVEDADAR_LINUX_WAYLANDMODULE_H

#include <backendtable.h>

#include <string>

// The module's entry point: the Wayland backend's table, the same on every call.
extern "C" const portable::CBackendTable* VurazevedadarWaylandBackend();

namespace waylandmodule {

// The entry point's name, as the loader asks the module for it.
const char kEntryPoint[] = "VurazevedadarWaylandBackend";

// Loads the module: from beside the executable (the build tree), else from the directory it is
// installed in. The table, or null with *pstrError saying which file could not be loaded and
// why.
const portable::CBackendTable* Load(std::string* pstrError);

// Unloads the module loaded, after its backend found no compositor to connect to (a backend
// that cannot connect holds nothing), so that the X11 run which follows maps none of the
// Wayland libraries either. The table is gone with it.
void Unload();

}  // namespace waylandmodule

#endif  // VURAZEVEDADAR_LINUX_WAYLANDMODULE_H

// Observations of the x11 backend for leak tests: what it has made on the X server and in its
// own tables and not yet given back. Every count is 0 once the program has closed its windows
// and deleted its objects.
#ifndef VURAZEVEDADAR_X11_COUNTERS_H
#define VURAZEVEDADAR_X11_COUNTERS_H

namespace x11 {

// GCs created on the server and not yet freed.
int LiveGCs();
// X windows created and not yet destroyed (message boxes included while they are open).
int LiveWindows();
// Pens, brushes and regions created and not yet deleted (stock objects excluded).
int LiveGdiObjects();
// Device contexts obtained and not yet released.
int LiveDeviceContexts();

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_COUNTERS_H

// Observations of the x11 backend for leak tests: what it has made on the X server and not yet
// given back. Both counts are 0 once the program has closed its windows. (What the program
// holds in the core, GDI objects and device contexts, the core's probe counts.)
#ifndef VURAZEVEDADAR_X11_COUNTERS_H
#define VURAZEVEDADAR_X11_COUNTERS_H

namespace x11 {

// GCs created on the server and not yet freed.
int LiveGCs();
// X windows created and not yet destroyed (message boxes included while they are open).
int LiveWindows();

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_COUNTERS_H

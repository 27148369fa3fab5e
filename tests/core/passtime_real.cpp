// Time for the core's rules on a real window system: the test sleeps, since the backend's clock
// is the system's and cannot be moved on.
#include "passtime.h"

#include <chrono>
#include <thread>

void PassTime(long long nsDelta)
{
    std::this_thread::sleep_for(std::chrono::nanoseconds(nsDelta));
}

#include "passtime.h"

#include <chrono>
#include <thread>

void PassTime(long long nsDelta)
{
    std::this_thread::sleep_for(std::chrono::nanoseconds(nsDelta));
}

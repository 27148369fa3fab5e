// Time for the core's rules on the headless backend: its clock is moved on at once, so tests of
// timers and deadlines run without waiting.
#include "passtime.h"

#include <headless.h>

void PassTime(long long nsDelta)
{
    headless::AdvanceClock(nsDelta);
}

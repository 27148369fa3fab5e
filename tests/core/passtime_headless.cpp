#include "passtime.h"

#include <headless.h>

void PassTime(long long nsDelta)
{
    headless::AdvanceClock(nsDelta);
}

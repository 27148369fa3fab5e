// Windows: the working set, which is what Windows calls the resident part of a process.
#include "counts.h"

#include <psapi.h>

namespace {

const long long kBytesPerKilobyte = 1024;

}  // namespace

long long ResidentKilobytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<long long>(counters.WorkingSetSize) / kBytesPerKilobyte;
}

// Linux: resident memory as the kernel reports it in /proc/self/status. The file is read with
// plain system calls into a buffer on the stack, so that taking a reading allocates nothing
// and cannot itself move the figure it reads.
#include "counts.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

// The whole status file is about 1.5 KiB.
const std::size_t kStatusBufferSize = 8192;
const char kResidentKey[] = "\nVmRSS:";

}  // namespace

long long ResidentKilobytes()
{
    char szStatus[kStatusBufferSize];
    const int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    std::size_t nRead = 0;
    ssize_t nChunk = 0;
    while (nRead + 1 < sizeof szStatus &&
           (nChunk = read(fd, szStatus + nRead, sizeof szStatus - 1 - nRead)) > 0)
        nRead += static_cast<std::size_t>(nChunk);
    close(fd);
    szStatus[nRead] = '\0';
    const char* pszKey = std::strstr(szStatus, kResidentKey);
    if (pszKey == nullptr)
        return -1;
    // The figure follows the key after some blanks and is given in kB.
    return std::strtoll(pszKey + std::strlen(kResidentKey), nullptr, 10);
}

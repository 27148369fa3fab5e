// What the program holds in the window system, counted the way each platform allows: the X11
// backend's own tables and the X server's view of the program's connection, or the live GDI
// handles and windows of the process on Windows. The soak harness compares these counts at
// fixed points of a long run.
#ifndef VURAZEVEDADAR_SOAK_COUNTS_H
#define VURAZEVEDADAR_SOAK_COUNTS_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct ResourceCount {
    std::string m_name;
    long long m_nLive;
};

// A kind of resource of which none is held may be left out; it reads as 0.
typedef std::vector<ResourceCount> ResourceCounts;

inline long long CountNamed(const ResourceCounts& counts, const std::string& name)
{
    for (const ResourceCount& count : counts) {
        if (count.m_name == name)
            return count.m_nLive;
    }
    return 0;
}

class ResourceCounter {
public:
    // Sets up the counting before the program has a window; on Windows this is also where
    // the baseline of what the process holds without any window of ours is taken.
    ResourceCounter();
    ~ResourceCounter();
    ResourceCounter(const ResourceCounter&) = delete;
    ResourceCounter& operator=(const ResourceCounter&) = delete;

    // False when the counting could not be set up, or failed its own calibration; Problem()
    // then says why.
    bool IsReady() const;
    const std::string& Problem() const;
    // Says how the counts are read, for the log.
    std::string Method() const;

    // Starts watching the program through its main window, once that window is on the screen.
    bool Watch(HWND hWnd);
    ResourceCounts Read() const;
    // The counts once the program has closed its window. On Windows the window's class is
    // unregistered first: the layer leaves it registered for the life of the process, as MFC
    // does, and the class holds objects of its own (a small copy of its icon).
    ResourceCounts ReadAfterClose();
    // What the window system itself goes on holding for the process once every window of the
    // program is closed (the X connection's own resources, for instance).
    ResourceCounts KeptAfterClose() const;
    // The count that sees a pen the program's layer creates.
    long long LivePens() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

// The process's resident memory in KiB, or -1 when it cannot be read.
long long ResidentKilobytes();

#endif  // VURAZEVEDADAR_SOAK_COUNTS_H

// A test tool that watches what the screen shows of a captioned window, frame by frame, to find
// ticks that reach the screen half drawn.
//   framewatch compositor
//       waits up to 30 s for a compositing manager (an owner of _NET_WM_CM_S0)
//   framewatch record <caption> <frames> <quiet-ms> [<keep-folder>]
//       captures the window's rectangle each time the screen has changed and then stayed still
//       for quiet-ms, until that many different captures have each been seen twice (at most
//       30 s); prints "size WxH", then each different capture's hash and how often it was seen
//       ("hash count"), one a line; keeps each whole frame as a PPM file in keep-folder.
//       Fails when the frames were not all seen twice in time.
//   framewatch watch <caption> <count> <hashes-file> [<keep-folder>]
//       captures the window's rectangle after each change of the screen (a Damage event on the
//       root window) until count captures are taken (or 60 s pass); a capture is whole when its
//       hash is one of the file's ("hash count" lines; those seen at least twice count). Prints
//       "size WxH", one line per capture ("index milliseconds whole|odd"), and the summary:
//       "captures N whole W odd O isolated I runs R longest L distinct D". Keeps the first odd
//       captures as PPM files in keep-folder.
// An odd capture between two whole ones is isolated: the screen showed a state that no whole
// tick has. Runs of odd captures are counted apart, since a compositor may show them for reasons
// of its own. Exits 0 when it could watch, 1 when the window is missing or moved, 2 on bad usage.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

const long long kNsPerMs = 1000000;
const int kWatchLimitMs = 60000;
const int kCompositorWaitMs = 30000;
const int kRecordLimitMs = 30000;
const int kKeptOddCaptures = 12;
const int kSeenForWhole = 2;  // a whole frame recurs; a stray settled state would not

struct Area {
    Window window;
    int x, y;  // the client area's top-left corner, in root coordinates
    int width, height;
};

long long NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / kNsPerMs;
}

Window FindCaptioned(Display* pDisplay, Window window, const char* pszCaption, int nDepth)
{
    char* pszName = nullptr;
    if (XFetchName(pDisplay, window, &pszName) && pszName) {
        const bool bMatch = std::strcmp(pszName, pszCaption) == 0;
        XFree(pszName);
        if (bMatch)
            return window;
    }
    Window root, parent, *pChildren = nullptr;
    unsigned int nChildren = 0;
    Window found = None;
    if (nDepth < 4 && XQueryTree(pDisplay, window, &root, &parent, &pChildren, &nChildren)) {
        for (unsigned int i = 0; i < nChildren && found == None; ++i)
            found = FindCaptioned(pDisplay, pChildren[i], pszCaption, nDepth + 1);
        if (pChildren)
            XFree(pChildren);
    }
    return found;
}

bool Locate(Display* pDisplay, const char* pszCaption, Area* pArea)
{
    const Window root = DefaultRootWindow(pDisplay);
    pArea->window = FindCaptioned(pDisplay, root, pszCaption, 0);
    XWindowAttributes attributes;
    Window child;
    return pArea->window != None &&
           XGetWindowAttributes(pDisplay, pArea->window, &attributes) &&
           XTranslateCoordinates(pDisplay, pArea->window, root, 0, 0, &pArea->x, &pArea->y,
                                 &child) &&
           (pArea->width = attributes.width, pArea->height = attributes.height, true);
}

// The rectangle is read from the root window, which is what the screen shows: with a compositing
// manager, its picture of the window, not the window's own contents.
XImage* Capture(Display* pDisplay, const Area& area)
{
    return XGetImage(pDisplay, DefaultRootWindow(pDisplay), area.x, area.y, area.width,
                     area.height, AllPlanes, ZPixmap);
}

// Only the colour bits count: a compositor may fill the unused byte of a 32-bit pixel where
// the bare server leaves it zero.
std::uint64_t Hash(XImage* pImage)
{
    const unsigned long colour = pImage->red_mask | pImage->green_mask | pImage->blue_mask;
    std::uint64_t h = 1469598103934665603ULL;
    for (int y = 0; y < pImage->height; ++y) {
        for (int x = 0; x < pImage->width; ++x)
            h = (h ^ (XGetPixel(pImage, x, y) & colour)) * 1099511628211ULL;
    }
    return h;
}

unsigned Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    while (!(mask & 1)) {
        mask >>= 1;
        pixel >>= 1;
    }
    return static_cast<unsigned>((pixel & mask) * 255 / mask);
}

bool WritePpm(const std::string& path, XImage* pImage)
{
    FILE* pFile = std::fopen(path.c_str(), "wb");
    if (!pFile)
        return false;
    std::fprintf(pFile, "P6\n%d %d\n255\n", pImage->width, pImage->height);
    for (int y = 0; y < pImage->height; ++y) {
        for (int x = 0; x < pImage->width; ++x) {
            const unsigned long pixel = XGetPixel(pImage, x, y);
            std::fputc(static_cast<int>(Channel(pixel, pImage->red_mask)), pFile);
            std::fputc(static_cast<int>(Channel(pixel, pImage->green_mask)), pFile);
            std::fputc(static_cast<int>(Channel(pixel, pImage->blue_mask)), pFile);
        }
    }
    return std::fclose(pFile) == 0;
}

// Damage on the root window reports every change of the screen, whoever makes it.
bool WatchRoot(Display* pDisplay, Damage* pDamage)
{
    int nEventBase = 0, nErrorBase = 0;
    if (!XDamageQueryExtension(pDisplay, &nEventBase, &nErrorBase)) {
        std::fprintf(stderr, "framewatch: the server has no Damage extension\n");
        return false;
    }
    *pDamage = XDamageCreate(pDisplay, DefaultRootWindow(pDisplay), XDamageReportNonEmpty);
    return true;
}

// Waits up to nMs for an event; true when one is there.
bool WaitForEvent(Display* pDisplay, int nMs)
{
    if (XPending(pDisplay) > 0)
        return true;
    pollfd descriptor = {ConnectionNumber(pDisplay), POLLIN, 0};
    return poll(&descriptor, 1, nMs) > 0 && XPending(pDisplay) > 0;
}

// Takes every queued event; true when one of them was a change of the screen.
bool TakeDamage(Display* pDisplay, Damage damage)
{
    bool bDamaged = false;
    while (XPending(pDisplay) > 0) {
        XEvent event;
        XNextEvent(pDisplay, &event);
        bDamaged = true;
    }
    if (bDamaged)
        XDamageSubtract(pDisplay, damage, None, None);
    return bDamaged;
}

int WaitForCompositor(Display* pDisplay)
{
    const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(pDisplay));
    const Atom selection = XInternAtom(pDisplay, name.c_str(), False);
    const long long deadline = NowMs() + kCompositorWaitMs;
    while (XGetSelectionOwner(pDisplay, selection) == None) {
        if (NowMs() > deadline)
            return 1;
        poll(nullptr, 0, 50);
    }
    return 0;
}

// A client that draws its ticks one after the other shows each pose of a cycle again and
// again; waiting until every one has recurred makes the set complete even on a busy machine,
// where late ticks come close together and some of them are never still for long.
int Record(Display* pDisplay, const Area& area, int nFrames, int nQuietMs, const char* pszKeep)
{
    Damage damage;
    if (!WatchRoot(pDisplay, &damage))
        return 1;
    std::map<std::uint64_t, int> seen;
    int nRecurring = 0;
    const long long end = NowMs() + kRecordLimitMs;
    bool bChanged = true;
    for (long long now = NowMs(); now < end && nRecurring < nFrames; now = NowMs()) {
        if (WaitForEvent(pDisplay, nQuietMs)) {
            bChanged |= TakeDamage(pDisplay, damage);
            continue;
        }
        if (!bChanged)
            continue;
        XImage* pImage = Capture(pDisplay, area);
        if (!pImage)
            return 1;
        const std::uint64_t hash = Hash(pImage);
        if (++seen[hash] == kSeenForWhole) {
            ++nRecurring;
            if (pszKeep)
                WritePpm(std::string(pszKeep) + "/whole-" + std::to_string(nRecurring) + ".ppm",
                         pImage);
        }
        XDestroyImage(pImage);
        bChanged = false;
    }
    std::printf("size %dx%d\n", area.width, area.height);
    for (const auto& entry : seen)
        std::printf("%016llx %d\n", static_cast<unsigned long long>(entry.first), entry.second);
    return nRecurring >= nFrames ? 0 : 1;
}

struct Tally {
    int nWhole = 0, nOdd = 0, nIsolated = 0, nRuns = 0, nLongest = 0;
};

// Counts isolated odd captures (both neighbours whole) and runs of two or more odd ones.
Tally Judge(const std::vector<bool>& whole)
{
    Tally tally;
    int nRun = 0;
    for (size_t i = 0; i <= whole.size(); ++i) {
        if (i < whole.size() && !whole[i]) {
            ++tally.nOdd;
            ++nRun;
            continue;
        }
        if (i < whole.size())
            ++tally.nWhole;
        const bool bBounded = i < whole.size() && i > static_cast<size_t>(nRun);
        if (nRun == 1 && bBounded)
            ++tally.nIsolated;
        else if (nRun >= 2)
            ++tally.nRuns;
        if (nRun > tally.nLongest)
            tally.nLongest = nRun;
        nRun = 0;
    }
    return tally;
}

bool ReadWholeHashes(const char* pszPath, std::map<std::uint64_t, int>* pWhole)
{
    std::ifstream file(pszPath);
    std::string word;
    int nCount = 0;
    while (file >> word) {
        if (word == "size") {
            file >> word;
            continue;
        }
        if (!(file >> nCount))
            return false;
        if (nCount >= kSeenForWhole)
            (*pWhole)[std::strtoull(word.c_str(), nullptr, 16)] = 0;
    }
    return !pWhole->empty();
}

int Watch(Display* pDisplay, const Area& area, int nCount, const char* pszHashes,
          const char* pszKeep)
{
    std::map<std::uint64_t, int> known;
    if (!ReadWholeHashes(pszHashes, &known)) {
        std::fprintf(stderr, "framewatch: no whole frames in %s\n", pszHashes);
        return 2;
    }
    Damage damage;
    if (!WatchRoot(pDisplay, &damage))
        return 1;
    std::printf("size %dx%d\n", area.width, area.height);
    std::vector<bool> whole;
    int nKept = 0;
    const long long start = NowMs();
    while (static_cast<int>(whole.size()) < nCount && NowMs() - start < kWatchLimitMs) {
        if (!WaitForEvent(pDisplay, 100) || !TakeDamage(pDisplay, damage))
            continue;
        XImage* pImage = Capture(pDisplay, area);
        if (!pImage)
            return 1;
        const auto match = known.find(Hash(pImage));
        const bool bWhole = match != known.end();
        if (bWhole)
            ++match->second;
        else if (pszKeep && nKept++ < kKeptOddCaptures)
            WritePpm(std::string(pszKeep) + "/odd-" + std::to_string(whole.size()) + ".ppm",
                     pImage);
        XDestroyImage(pImage);
        std::printf("%zu %lld %s\n", whole.size(), NowMs() - start, bWhole ? "whole" : "odd");
        whole.push_back(bWhole);
    }
    int nDistinct = 0;
    for (const auto& entry : known)
        nDistinct += entry.second > 0 ? 1 : 0;
    const Tally tally = Judge(whole);
    std::printf("captures %zu whole %d odd %d isolated %d runs %d longest %d distinct %d\n",
                whole.size(), tally.nWhole, tally.nOdd, tally.nIsolated, tally.nRuns,
                tally.nLongest, nDistinct);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Display* pDisplay = XOpenDisplay(nullptr);
    if (!pDisplay || argc < 2)
        return 2;
    const std::string command = argv[1];
    if (command == "compositor")
        return WaitForCompositor(pDisplay);
    Area area;
    if (argc < 5 || (command != "record" && command != "watch"))
        return 2;
    if (!Locate(pDisplay, argv[2], &area)) {
        std::fprintf(stderr, "framewatch: no window captioned %s\n", argv[2]);
        return 1;
    }
    const int nResult = command == "record"
                            ? Record(pDisplay, area, std::atoi(argv[3]), std::atoi(argv[4]),
                                     argc > 5 ? argv[5] : nullptr)
                            : Watch(pDisplay, area, std::atoi(argv[3]), argv[4],
                                    argc > 5 ? argv[5] : nullptr);
    Area after;
    if (nResult == 0 && (!Locate(pDisplay, argv[2], &after) || after.x != area.x ||
                         after.y != area.y || after.width != area.width ||
                         after.height != area.height)) {
        std::fprintf(stderr, "framewatch: the window moved or changed size while watched\n");
        return 1;
    }
    XCloseDisplay(pDisplay);
    return nResult;
}

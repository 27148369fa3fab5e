// X11: two independent views of what the program holds. The backend's own counters say what it
// believes it has made and not yet given back; the X server, asked through the X-Resource
// extension over a connection of our own, says what the program's connection really owns.
// The server's view is what would catch a resource the backend forgets to count.
#include "counts.h"
#include "resources.h"

#include <coreprobe.h>

#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>

#include <cstring>

namespace {

const char kCaption[] = "Vurazevedadar";
const char kServerPrefix[] = "server ";

// Finds the top-level window with the program's caption, as any other client would.
Window FindCaptioned(Display* pDisplay, Window idWindow)
{
    char* pszName = nullptr;
    if (XFetchName(pDisplay, idWindow, &pszName) != 0 && pszName != nullptr) {
        const bool bMatch = std::strcmp(pszName, kCaption) == 0;
        XFree(pszName);
        if (bMatch)
            return idWindow;
    }
    Window idRoot = None;
    Window idParent = None;
    Window* pChildren = nullptr;
    unsigned nChildren = 0;
    Window idFound = None;
    if (XQueryTree(pDisplay, idWindow, &idRoot, &idParent, &pChildren, &nChildren) != 0) {
        for (unsigned i = 0; i < nChildren && idFound == None; ++i)
            idFound = FindCaptioned(pDisplay, pChildren[i]);
        if (pChildren != nullptr)
            XFree(pChildren);
    }
    return idFound;
}

// The server names each kind of resource by an atom (WINDOW, GC, PIXMAP, ...). Any resource id
// of a client identifies the client: the server looks only at the client bits, so an id stays
// good for the query after the resource itself is gone.
bool QueryServerCounts(Display* pDisplay, XID idOfClient, ResourceCounts* pCounts)
{
    int nTypes = 0;
    XResType* pTypes = nullptr;
    if (XResQueryClientResources(pDisplay, idOfClient, &nTypes, &pTypes) == 0)
        return false;
    for (int i = 0; i < nTypes; ++i) {
        char* pszType = XGetAtomName(pDisplay, pTypes[i].resource_type);
        pCounts->push_back({std::string(kServerPrefix) + (pszType != nullptr ? pszType : "?"),
                            static_cast<long long>(pTypes[i].count)});
        if (pszType != nullptr)
            XFree(pszType);
    }
    if (pTypes != nullptr)
        XFree(pTypes);
    return true;
}

}  // namespace

struct ResourceCounter::Impl {
    Display* m_pDisplay = nullptr;
    // An id from our own connection's range: our bare connection's resources are what Xlib
    // keeps for any connection, and so what the program's may keep after its windows close.
    XID m_idOwn = None;
    XID m_idProgram = None;
    std::string m_problem;

    bool SeesOwnPixmap();
};

// Proves that the server's counts are real: a pixmap made on our own connection must show up
// in our count, and go again when freed.
bool ResourceCounter::Impl::SeesOwnPixmap()
{
    ResourceCounts before;
    ResourceCounts during;
    ResourceCounts after;
    const Window idRoot = DefaultRootWindow(m_pDisplay);
    QueryServerCounts(m_pDisplay, m_idOwn, &before);
    const Pixmap idPixmap = XCreatePixmap(m_pDisplay, idRoot, 1, 1,
                                          DefaultDepth(m_pDisplay, DefaultScreen(m_pDisplay)));
    QueryServerCounts(m_pDisplay, m_idOwn, &during);
    XFreePixmap(m_pDisplay, idPixmap);
    QueryServerCounts(m_pDisplay, m_idOwn, &after);
    const std::string pixmaps = std::string(kServerPrefix) + "PIXMAP";
    return CountNamed(during, pixmaps) == CountNamed(before, pixmaps) + 1 &&
           CountNamed(after, pixmaps) == CountNamed(before, pixmaps);
}

ResourceCounter::ResourceCounter() : m_pImpl(new Impl)
{
    Impl& impl = *m_pImpl;
    impl.m_pDisplay = XOpenDisplay(nullptr);
    if (impl.m_pDisplay == nullptr) {
        impl.m_problem = "cannot open a second connection to the X server";
        return;
    }
    int nEvent = 0;
    int nError = 0;
    if (!XResQueryExtension(impl.m_pDisplay, &nEvent, &nError)) {
        impl.m_problem = "the X server has no X-Resource extension";
        return;
    }
    impl.m_idOwn = XAllocID(impl.m_pDisplay);
    if (!impl.SeesOwnPixmap())
        impl.m_problem = "the X-Resource counts do not see a pixmap made and freed";
}

ResourceCounter::~ResourceCounter()
{
    if (m_pImpl->m_pDisplay != nullptr)
        XCloseDisplay(m_pImpl->m_pDisplay);
}

bool ResourceCounter::IsReady() const
{
    return m_pImpl->m_problem.empty();
}

const std::string& ResourceCounter::Problem() const
{
    return m_pImpl->m_problem;
}

std::string ResourceCounter::Method() const
{
    return "x11 backend counters, and the X server's counts for the program's connection "
           "(X-Resource extension, asked over a connection of our own)";
}

bool ResourceCounter::Watch(HWND)
{
    Impl& impl = *m_pImpl;
    impl.m_idProgram = FindCaptioned(impl.m_pDisplay, DefaultRootWindow(impl.m_pDisplay));
    if (impl.m_idProgram == None)
        impl.m_problem = "no window captioned Vurazevedadar on the server";
    return impl.m_idProgram != None;
}

ResourceCounts ResourceCounter::Read() const
{
    ResourceCounts counts = {
        {"backend GCs", x11::LiveGCs()},
        {"backend windows", x11::LiveWindows()},
        {"backend pixmaps", x11::LivePixmaps()},
        {"backend GDI objects", portable::LiveGdiObjects()},
        {"backend device contexts", portable::LiveDeviceContexts()},
    };
    if (m_pImpl->m_idProgram != None &&
        !QueryServerCounts(m_pImpl->m_pDisplay, m_pImpl->m_idProgram, &counts))
        counts.push_back({"server query failed", 1});
    return counts;
}

// No class of the backend holds anything on the server.
ResourceCounts ResourceCounter::ReadAfterClose()
{
    return Read();
}

// The backend's own counters all go back to 0; the server may keep for the connection what
// Xlib makes for every connection, which our bare one shows.
ResourceCounts ResourceCounter::KeptAfterClose() const
{
    ResourceCounts kept;
    QueryServerCounts(m_pImpl->m_pDisplay, m_pImpl->m_idOwn, &kept);
    return kept;
}

long long ResourceCounter::LivePens() const
{
    return portable::LiveGdiObjects();
}

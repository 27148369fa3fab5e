// The size a window gets when the program leaves it to the system: three quarters of the
// monitor it will appear on, not of the whole screen, which on a desktop of several monitors
// spans them all. Monitors are read through Xinerama, which servers with RandR also answer.
#include "display.h"
#include "x11backend.h"

#include <X11/extensions/Xinerama.h>

namespace {

const int kDefaultSizeNumerator = 3;
const int kDefaultSizeDenominator = 4;

struct MonitorArea {
    int m_x;
    int m_y;
    int m_nWidth;
    int m_nHeight;

    bool Contains(int x, int y) const
    {
        return x >= m_x && x - m_x < m_nWidth && y >= m_y && y - m_y < m_nHeight;
    }
};

// A window manager places a new window on the monitor where the user is working, which is
// where the pointer is.
bool PointerPosition(const x11::Connection& connection, int* px, int* py)
{
    Window idRoot = None;
    Window idChild = None;
    int xWindow = 0;
    int yWindow = 0;
    unsigned int nMask = 0;
    return XQueryPointer(connection.m_pDisplay, connection.m_idRoot, &idRoot, &idChild, px, py,
                         &xWindow, &yWindow, &nMask) != 0;
}

// The pointer's monitor, or the first; the whole screen where Xinerama knows of none.
MonitorArea MonitorForNewWindow(const x11::Connection& connection)
{
    MonitorArea area = {0, 0, connection.m_nScreenWidth, connection.m_nScreenHeight};
    int nEvent = 0;
    int nError = 0;
    if (!XineramaQueryExtension(connection.m_pDisplay, &nEvent, &nError) ||
        !XineramaIsActive(connection.m_pDisplay))
        return area;
    int nMonitors = 0;
    XineramaScreenInfo* pMonitors = XineramaQueryScreens(connection.m_pDisplay, &nMonitors);
    if (pMonitors == nullptr)
        return area;
    int x = 0;
    int y = 0;
    const bool bPointer = PointerPosition(connection, &x, &y);
    for (int i = nMonitors - 1; i >= 0; --i) {
        const MonitorArea monitor = {pMonitors[i].x_org, pMonitors[i].y_org, pMonitors[i].width,
                                     pMonitors[i].height};
        if (i == 0 || (bPointer && monitor.Contains(x, y))) {
            area = monitor;
            break;
        }
    }
    XFree(pMonitors);
    return area;
}

}  // namespace

SIZE x11::DefaultWindowSize()
{
    const MonitorArea monitor = MonitorForNewWindow(TheConnection());
    return SIZE{monitor.m_nWidth * kDefaultSizeNumerator / kDefaultSizeDenominator,
                monitor.m_nHeight * kDefaultSizeNumerator / kDefaultSizeDenominator};
}

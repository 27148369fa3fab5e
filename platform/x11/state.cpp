// The backend's tables, the look-ups from handles to records, and the counted creation of
// server resources that the leak counters report.
#include "x11counters.h"
#include "x11state.h"

namespace x11 {

namespace {

template <class Record, class Handle>
Record* Lookup(const std::vector<std::unique_ptr<Record>>& records, Handle handle)
{
    if (handle == nullptr)
        return nullptr;
    for (const auto& pRecord : records) {
        if (static_cast<const void*>(pRecord.get()) == static_cast<const void*>(handle))
            return pRecord.get();
    }
    return nullptr;
}

}  // namespace

bool operator==(const ClipState& a, const ClipState& b)
{
    if (a.m_bOn != b.m_bOn)
        return false;
    return !a.m_bOn || (a.m_rect.x == b.m_rect.x && a.m_rect.y == b.m_rect.y &&
                        a.m_rect.width == b.m_rect.width && a.m_rect.height == b.m_rect.height);
}

State& TheState()
{
    static State state;
    return state;
}

HWND__* LookupWindow(HWND hWnd)
{
    return Lookup(TheState().m_windows, hWnd);
}

HWND__* LookupWindowById(Window idWindow)
{
    for (const auto& pWindow : TheState().m_windows) {
        if (pWindow->m_idWindow == idWindow)
            return pWindow.get();
    }
    return nullptr;
}

HDC__* LookupDC(HDC hDC)
{
    return Lookup(TheState().m_deviceContexts, hDC);
}

GdiObject* LookupObject(HGDIOBJ hObject)
{
    State& state = TheState();
    if (hObject == &state.m_stockBlackPen)
        return &state.m_stockBlackPen;
    if (hObject == &state.m_stockWhiteBrush)
        return &state.m_stockWhiteBrush;
    return Lookup(state.m_objects, hObject);
}

Window CreateCountedWindow(Display* pDisplay, Window idParent, int x, int y, unsigned nWidth,
                           unsigned nHeight, unsigned long nValueMask,
                           XSetWindowAttributes* pAttributes)
{
    const Window idWindow =
        XCreateWindow(pDisplay, idParent, x, y, nWidth, nHeight, 0, CopyFromParent, InputOutput,
                      CopyFromParent, nValueMask, pAttributes);
    if (idWindow != None)
        ++TheState().m_nLiveXWindows;
    return idWindow;
}

void DestroyCountedWindow(Display* pDisplay, Window idWindow)
{
    XDestroyWindow(pDisplay, idWindow);
    --TheState().m_nLiveXWindows;
}

GC CreateCountedGC(Display* pDisplay, Drawable idDrawable, unsigned long nValueMask,
                   XGCValues* pValues)
{
    GC gc = XCreateGC(pDisplay, idDrawable, nValueMask, pValues);
    if (gc != nullptr)
        ++TheState().m_nLiveGCs;
    return gc;
}

void FreeCountedGC(Display* pDisplay, GC gc)
{
    XFreeGC(pDisplay, gc);
    --TheState().m_nLiveGCs;
}

int LiveGCs()
{
    return TheState().m_nLiveGCs;
}

int LiveWindows()
{
    return TheState().m_nLiveXWindows;
}

int LiveGdiObjects()
{
    return static_cast<int>(TheState().m_objects.size());
}

int LiveDeviceContexts()
{
    return static_cast<int>(TheState().m_deviceContexts.size());
}

}  // namespace x11

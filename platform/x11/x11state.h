// The records behind the Win32 handles of the x11 backend, and the tables that hold them.
// Private to the backend's sources.
#ifndef VURAZEVEDADAR_X11_STATE_H
#define VURAZEVEDADAR_X11_STATE_H

#include <windows.h>

#include <X11/Xlib.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace x11 {

// A clip as a GC holds it: none, or one rectangle in window coordinates. A rectangle with no
// area clips everything away.
struct ClipState {
    bool m_bOn;
    XRectangle m_rect;
};

bool operator==(const ClipState& a, const ClipState& b);
inline bool operator!=(const ClipState& a, const ClipState& b) { return !(a == b); }

const ClipState kNoClip = {false, {0, 0, 0, 0}};

// A window's one GC and what the server currently holds in it, so that a drawing call sends
// only what has changed since the last one.
struct GcCache {
    GC m_gc;
    unsigned long m_nForeground;
    ClipState m_clip;
};

enum class ObjectKind { Pen, Brush, Region };

struct GdiObject {
    ObjectKind m_kind;
    COLORREF m_crColor;
    RECT m_rect;        // regions only, normalised
    int m_nSelections;  // device contexts it is selected into
    bool m_bStock;
};

}  // namespace x11

struct HWND__ {
    Window m_idWindow;
    WNDPROC m_pfnWndProc;
    int m_nClientWidth;
    int m_nClientHeight;
    bool m_bVisible;         // shown with ShowWindow and not hidden since
    bool m_bIconic;
    bool m_bAwaitingExpose;  // shown, but the server has not exposed it yet
    bool m_bNeedsPaint;
    bool m_bNeedsErase;      // invalidated with erasing, which the next BeginPaint does
    bool m_bDestroying;
    x11::GcCache m_gcCache;
};

struct HDC__ {
    HWND m_hWnd;  // null for the screen, and once the window is gone
    HGDIOBJ m_hPen;
    HGDIOBJ m_hBrush;
    POINT m_ptCurrent;  // logical
    POINT m_ptViewportOrg;
    int m_nMapMode;
    x11::ClipState m_clip;  // device coordinates
};

namespace x11 {

struct State {
    std::vector<std::unique_ptr<HWND__>> m_windows;
    std::vector<std::unique_ptr<HDC__>> m_deviceContexts;
    std::vector<std::unique_ptr<GdiObject>> m_objects;
    std::deque<MSG> m_queue;
    bool m_bQuit = false;
    int m_nQuitCode = 0;
    int m_nLiveGCs = 0;
    int m_nLiveXWindows = 0;

    GdiObject m_stockBlackPen = {ObjectKind::Pen, RGB(0, 0, 0), {0, 0, 0, 0}, 0, true};
    GdiObject m_stockWhiteBrush = {ObjectKind::Brush, RGB(255, 255, 255), {0, 0, 0, 0}, 0, true};
};

State& TheState();

HWND__* LookupWindow(HWND hWnd);
HWND__* LookupWindowById(Window idWindow);
HDC__* LookupDC(HDC hDC);
GdiObject* LookupObject(HGDIOBJ hObject);

// Every X window and GC the backend makes goes through these, so that leak tests can count them.
Window CreateCountedWindow(Display* pDisplay, Window idParent, int x, int y, unsigned nWidth,
                           unsigned nHeight, unsigned long nValueMask,
                           XSetWindowAttributes* pAttributes);
void DestroyCountedWindow(Display* pDisplay, Window idWindow);
GC CreateCountedGC(Display* pDisplay, Drawable idDrawable, unsigned long nValueMask,
                   XGCValues* pValues);
void FreeCountedGC(Display* pDisplay, GC gc);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_STATE_H

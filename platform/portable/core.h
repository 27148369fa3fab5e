// The records behind the Win32 handles of every backend but Windows itself and the tables that
// hold them. Private to the core's own sources: backends see only backend.h.
#ifndef VURAZEVEDADAR_PORTABLE_CORE_H
#define VURAZEVEDADAR_PORTABLE_CORE_H

#include "backend.h"

#include <coreprobe.h>

#include <algorithm>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace portable {

enum class ObjectKind { Pen, Brush, Region };

struct GdiObject {
    ObjectKind m_kind;
    COLORREF m_crColor;
    RECT m_rect;        // regions only, normalised
    int m_nSelections;  // device contexts it is selected into
    bool m_bStock;
    bool m_bDeletePending;  // deleted while selected: goes when the last DC lets it go
};

}  // namespace portable

struct HWND__ {
    WNDPROC m_pfnWndProc;
    std::string m_title;
    DWORD m_dwStyle;
    int m_nClientWidth;
    int m_nClientHeight;
    bool m_bVisible;         // shown with ShowWindow and not hidden since
    bool m_bIconic;
    bool m_bAwaitingExpose;  // shown, but the window system has not put it on the screen yet
    bool m_bNeedsPaint;
    bool m_bNeedsErase;      // invalidated with erasing, which the next BeginPaint does
    bool m_bDestroying;
    CNativeWindow* m_pNative;
};

struct HDC__ {
    HWND m_hWnd;  // null for the screen, and once the window is gone
    bool m_bWindowGone;
    HGDIOBJ m_hPen;
    HGDIOBJ m_hBrush;
    POINT m_ptCurrent;  // logical
    POINT m_ptViewportOrg;
    int m_nMapMode;
    portable::ClipRect m_clip;
};

namespace portable {

void RecordCall(const HDC__* pDC, GdiOp op, std::initializer_list<int> args);

// Notes a call on a DC for the tests that asked for a record of them.
inline void Record(const HDC__* pDC, GdiOp op, std::initializer_list<int> args)
{
    if (TheProbe().m_bRecording)
        RecordCall(pDC, op, args);
}

struct State {
    std::vector<std::unique_ptr<HWND__>> m_windows;
    std::vector<std::unique_ptr<HDC__>> m_deviceContexts;
    std::vector<std::unique_ptr<GdiObject>> m_objects;
    std::deque<MSG> m_queue;
    bool m_bQuit = false;
    int m_nQuitCode = 0;
    // Whether the window system may have sent something since its events were last taken.
    bool m_bMayHaveEvents = true;

    GdiObject m_stockBlackPen = {ObjectKind::Pen, RGB(0, 0, 0), {0, 0, 0, 0}, 0, true, false};
    GdiObject m_stockWhiteBrush = {ObjectKind::Brush, RGB(255, 255, 255), {0, 0, 0, 0}, 0, true,
                                   false};
};

// The one State, made on first use and destroyed at exit (state.cpp).
State& TheStateObject();

// Every drawing call asks for the state, so the question inlines to a guard check and a load;
// the State's own construction stays out of line, where it does not stop the inlining.
inline State& TheState()
{
    static State& s_state = TheStateObject();
    return s_state;
}

// The record behind a handle, or null when the handle is not one of the table's. A handle is
// its record's address, but only a look-up in the table tells a live one from a stale one.
// Every GDI call makes one, hence inline.
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

inline HWND__* LookupWindow(HWND hWnd)
{
    return Lookup(TheState().m_windows, hWnd);
}

inline HDC__* LookupDC(HDC hDC)
{
    return Lookup(TheState().m_deviceContexts, hDC);
}

inline GdiObject* LookupObject(HGDIOBJ hObject)
{
    State& state = TheState();
    if (hObject == &state.m_stockBlackPen)
        return &state.m_stockBlackPen;
    if (hObject == &state.m_stockWhiteBrush)
        return &state.m_stockWhiteBrush;
    return Lookup(state.m_objects, hObject);
}

// Timers (timers.cpp), on the backend's clock.
long long NextTimerDeadline();
// Fills *pMsg with WM_TIMER for the most overdue timer whose deadline has come and, when
// removing, moves that timer's deadline on; false when no timer is due.
bool TakeDueTimer(MSG* pMsg, long long nsNow, bool bRemove);
void ForgetTimers(HWND hWnd);
long long FollowingDeadline(long long nsDeadline, long long nsPeriod, long long nsNow);

// The queue (messages.cpp).
void ForgetPostedMessages(HWND hWnd);
// Device contexts (dc.cpp): a window going away leaves its DCs as handles that draw nothing.
void DetachDeviceContexts(HWND hWnd);
// GDI objects (gdiobjects.cpp): a DC lets go of an object it had selected.
void Unselect(HGDIOBJ hObject);

// The application's icon behind a class icon handle; null for the system's own.
const HICON__* ResourceIcon(HICON hIcon);

}  // namespace portable

#endif  // VURAZEVEDADAR_PORTABLE_CORE_H

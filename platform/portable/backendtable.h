// A backend's functions gathered in one table, for a program that chooses its window system
// when it starts rather than when it is linked (the Linux program: Wayland, else X11). Such a
// backend defines the functions backend.h asks of it in its own namespace and fills a table
// with them; the program's chooser defines backend.h's functions once, each forwarding to the
// table it chose. Drawing does not pass through the table: it goes to the window's device.
#ifndef VURAZEVEDADAR_PORTABLE_BACKENDTABLE_H
#define VURAZEVEDADAR_PORTABLE_BACKENDTABLE_H

#include "backend.h"

namespace portable {

struct CBackendTable {
    // The name VURAZEVEDADAR_BACKEND gives it: "x11", "wayland".
    const char* m_pszName;
    // Connects to the window system, once, before any other function of the table is called.
    // When another backend may still be tried (bLastChoice false), a backend that finds no
    // window system answers false and writes nothing. As the last choice it says why on stderr
    // and ends the program with status 1, as only it knows what it looked for.
    bool (*m_pfnConnect)(bool bLastChoice);

    SIZE (*m_pfnDefaultWindowSize)();
    int (*m_pfnMaxWindowExtent)();
    CNativeWindow* (*m_pfnCreateNativeWindow)(HWND hWnd, const NativeWindowLook& look);
    void (*m_pfnDestroyNativeWindow)(CNativeWindow* pWindow);
    void (*m_pfnShowNativeWindow)(CNativeWindow* pWindow, ShowCommand command, bool bWasHidden);
    void (*m_pfnMoveNativeWindow)(CNativeWindow* pWindow, int x, int y, int nWidth, int nHeight);
    bool (*m_pfnNativeWindowOrigin)(CNativeWindow* pWindow, POINT* pOrigin);
    void (*m_pfnDeviceFlush)();
    int (*m_pfnShowMessageBox)(CNativeWindow* pOwner, const char* lpszText,
                               const char* lpszCaption, UINT uType);
    long long (*m_pfnNow)();
    void (*m_pfnTakePendingEvents)();
    WaitResult (*m_pfnWaitForEvents)(long long nsDeadline);
};

}  // namespace portable

#endif  // VURAZEVEDADAR_PORTABLE_BACKENDTABLE_H

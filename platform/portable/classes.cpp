// Window classes, the module's resources (one module; its icons are linked in as data, and the
// window system's own cursor and default icon serve), and default message processing, which
// needs only other Win32 calls.
#include "core.h"

#include <coreprobe.h>
#include <portableres.h>

#include <map>
#include <string>

namespace {

// Any non-null value serves as the module handle and as the system's cursor and icon.
int s_module;

struct ModuleIcons {
    const HICON__* m_pIcons;
    std::size_t m_nIcons;
};

ModuleIcons& TheModuleIcons()
{
    static ModuleIcons icons = {nullptr, 0};
    return icons;
}

std::map<std::string, WNDCLASS>& Classes()
{
    static std::map<std::string, WNDCLASS> classes;
    return classes;
}

}  // namespace

HINSTANCE GetModuleHandle(LPCSTR)
{
    return reinterpret_cast<HINSTANCE>(&s_module);
}

HCURSOR LoadCursor(HINSTANCE, LPCSTR)
{
    return reinterpret_cast<HCURSOR>(&s_module);
}

// The system's icon is a stand-in handle, for the window system's own; an application's icon
// is its linked-in resource of that identifier, or none.
HICON LoadIcon(HINSTANCE hInstance, LPCSTR lpIconName)
{
    if (hInstance == nullptr)
        return reinterpret_cast<HICON>(&s_module);
    const UINT_PTR nId = reinterpret_cast<UINT_PTR>(lpIconName);
    const ModuleIcons& icons = TheModuleIcons();
    for (std::size_t i = 0; i < icons.m_nIcons; ++i) {
        if (icons.m_pIcons[i].wId == nId)
            return const_cast<HICON>(&icons.m_pIcons[i]);
    }
    return nullptr;
}

CModuleResources::CModuleResources(const HICON__* pIcons, std::size_t nIcons)
{
    TheModuleIcons() = ModuleIcons{pIcons, nIcons};
}

namespace portable {

const HICON__* ResourceIcon(HICON hIcon)
{
    return hIcon != nullptr && hIcon != reinterpret_cast<HICON>(&s_module) ? hIcon : nullptr;
}

}  // namespace portable

BOOL GetClassInfo(HINSTANCE, LPCSTR lpClassName, WNDCLASS* lpWndClass)
{
    if (lpClassName == nullptr)
        return FALSE;
    auto entry = Classes().find(lpClassName);
    if (entry == Classes().end())
        return FALSE;
    *lpWndClass = entry->second;
    return TRUE;
}

WORD RegisterClass(const WNDCLASS* lpWndClass)
{
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr ||
        lpWndClass->lpfnWndProc == nullptr || Classes().count(lpWndClass->lpszClassName) != 0)
        return 0;
    Classes()[lpWndClass->lpszClassName] = *lpWndClass;
    return static_cast<WORD>(Classes().size());
}

LRESULT DefWindowProc(HWND hWnd, UINT Msg, WPARAM, LPARAM)
{
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_PAINT: {
        // Validates the window, so that an unhandled WM_PAINT is not delivered forever.
        PAINTSTRUCT ps;
        if (BeginPaint(hWnd, &ps) != nullptr)
            EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return 0;
    }
}

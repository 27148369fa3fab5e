// A test tool run under Wine beside the program: finds the program's top-level window by its
// caption and reports or closes it, the way another Windows program would.
//   wintool find <caption>    prints "hwnd x y width height" of the client area on the screen
//   wintool close <caption>   posts WM_CLOSE to the window
// Exits 0 on success, 1 when no such window exists, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    HWND hWnd = ::FindWindowA(NULL, argv[2]);
    if (hWnd == NULL)
        return 1;
    if (std::strcmp(argv[1], "close") == 0)
        return ::PostMessageA(hWnd, WM_CLOSE, 0, 0) ? 0 : 1;
    if (std::strcmp(argv[1], "find") != 0)
        return 2;
    RECT rc;
    POINT origin = {0, 0};
    ::GetClientRect(hWnd, &rc);
    ::ClientToScreen(hWnd, &origin);
    std::printf("%p %ld %ld %ld %ld\n", static_cast<void*>(hWnd), origin.x, origin.y,
                rc.right - rc.left, rc.bottom - rc.top);
    return 0;
}

// Drives the real program deterministically and saves what its window shows: the frame is
// created with a client area of a fixed size, painted once, and then sent N timer ticks, with
// no real timer and no message loop in between. Built for every windowed platform, so that
// their pictures can be compared pixel by pixel. With --flush-each-tick, each tick is flushed
// to the window as the message loop presents it, so that what a present leaves out shows.
// Usage: framedump [--flush-each-tick] TICKS OUTPUT.ppm [WIDTH HEIGHT]   (640 x 480 unless given)
#include "mainframe.h"
#include "readback.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Sizes the window so that its client area is exactly nWidth x nHeight, whatever frame the
// platform adds around it.
void SizeClientArea(HWND hWnd, int nWidth, int nHeight)
{
    RECT window, client;
    ::GetWindowRect(hWnd, &window);
    ::GetClientRect(hWnd, &client);
    const int nFrameWidth = (window.right - window.left) - client.right;
    const int nFrameHeight = (window.bottom - window.top) - client.bottom;
    ::MoveWindow(hWnd, 0, 0, nWidth + nFrameWidth, nHeight + nFrameHeight, TRUE);
}

bool WritePpm(const std::string& path, int nWidth, int nHeight,
              const std::vector<unsigned char>& rgb)
{
    FILE* pFile = std::fopen(path.c_str(), "wb");
    if (!pFile)
        return false;
    std::fprintf(pFile, "P6\n%d %d\n255\n", nWidth, nHeight);
    const bool bWritten = std::fwrite(rgb.data(), 1, rgb.size(), pFile) == rgb.size();
    return std::fclose(pFile) == 0 && bWritten;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool bFlushEachTick = argc > 1 && std::string(argv[1]) == "--flush-each-tick";
    if (bFlushEachTick) {
        --argc;
        ++argv;
    }
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr,
                     "usage: framedump [--flush-each-tick] TICKS OUTPUT.ppm [WIDTH HEIGHT]\n");
        return 2;
    }
    const int nTicks = std::atoi(argv[1]);
    const int nWidth = argc == 5 ? std::atoi(argv[3]) : 640;
    const int nHeight = argc == 5 ? std::atoi(argv[4]) : 480;

    AfxGetApp()->m_hInstance = ::GetModuleHandle(NULL);
    CMainFrame* pFrame = new CMainFrame;
    HWND hWnd = pFrame->m_hWnd;
    if (hWnd == NULL)
        return 1;
    SizeClientArea(hWnd, nWidth, nHeight);
    pFrame->ShowWindow(SW_SHOWNORMAL);
    pFrame->UpdateWindow();  // the one paint, with the whole client area invalid
    for (int i = 0; i < nTicks; ++i) {
        ::SendMessage(hWnd, WM_TIMER, 1, 0);
        if (bFlushEachTick)
            ::GdiFlush();
    }
    ::GdiFlush();

    RECT client;
    ::GetClientRect(hWnd, &client);
    std::vector<unsigned char> rgb;
    const bool bRead = client.right == nWidth && client.bottom == nHeight &&
                       ReadClientArea(hWnd, nWidth, nHeight, rgb);
    ::SendMessage(hWnd, WM_CLOSE, 0, 0);
    if (!bRead) {
        std::fprintf(stderr, "framedump: could not read a %dx%d client area back\n", nWidth,
                     nHeight);
        return 1;
    }
    return WritePpm(argv[2], nWidth, nHeight, rgb) ? 0 : 1;
}

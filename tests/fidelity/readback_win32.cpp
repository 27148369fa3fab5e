// Windows: copies the client area into a 32-bit top-down bitmap of our own.
#include "readback.h"

bool ReadClientArea(HWND hWnd, int nWidth, int nHeight, std::vector<unsigned char>& rgb)
{
    HDC hWindowDC = ::GetDC(hWnd);
    HDC hMemoryDC = ::CreateCompatibleDC(hWindowDC);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HBITMAP hBitmap = ::CreateDIBSection(hWindowDC, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    bool bRead = false;
    if (hBitmap != NULL) {
        HGDIOBJ hOld = ::SelectObject(hMemoryDC, hBitmap);
        bRead = ::BitBlt(hMemoryDC, 0, 0, nWidth, nHeight, hWindowDC, 0, 0, SRCCOPY) != 0;
        ::GdiFlush();
        const unsigned char* pPixel = static_cast<const unsigned char*>(pBits);
        rgb.resize(static_cast<size_t>(nWidth) * nHeight * 3);
        for (size_t i = 0; bRead && i < rgb.size() / 3; ++i, pPixel += 4) {
            rgb[3 * i] = pPixel[2];  // stored as blue, green, red, unused
            rgb[3 * i + 1] = pPixel[1];
            rgb[3 * i + 2] = pPixel[0];
        }
        ::SelectObject(hMemoryDC, hOld);
        ::DeleteObject(hBitmap);
    }
    ::DeleteDC(hMemoryDC);
    ::ReleaseDC(hWnd, hWindowDC);
    return bRead;
}

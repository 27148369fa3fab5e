// The browser: reads the page's canvas back, as a script of the page would see it, after the
// program's drawing has been presented (GdiFlush).
#include "readback.h"

#include <emscripten.h>

EM_JS(int, vz_read_canvas, (int nWidth, int nHeight, unsigned char* pRgb), {
    var canvas = document.getElementById("canvas");
    if (!canvas || canvas.width != nWidth || canvas.height != nHeight)
        return 0;
    var rgba = canvas.getContext("2d").getImageData(0, 0, nWidth, nHeight).data;
    for (var i = 0, j = 0; i < rgba.length; i += 4) {
        HEAPU8[pRgb + j++] = rgba[i];
        HEAPU8[pRgb + j++] = rgba[i + 1];
        HEAPU8[pRgb + j++] = rgba[i + 2];
    }
    return 1;
});

bool ReadClientArea(HWND, int nWidth, int nHeight, std::vector<unsigned char>& rgb)
{
    rgb.resize(static_cast<size_t>(nWidth) * nHeight * 3);
    return vz_read_canvas(nWidth, nHeight, rgb.data()) != 0;
}

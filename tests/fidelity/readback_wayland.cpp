// Wayland: reads the client area back from what the compositor shows, as a screenshot of its
// whole output (weston-screenshooter, which a weston started with --debug allows), since no
// Wayland client may read another's pixels. The window lies wherever the compositor placed it:
// its client area is found by the blue background inside the white outline that clearing
// draws on its first column and row (tests/e2e/client_area.py finds it the same way).
#include "readback.h"

#include <cairo.h>
#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const uint32_t kBlue = 0x0000FF;
const uint32_t kRgbMask = 0xFFFFFF;

// Takes a screenshot into a new folder and gives the PNG's path; empty when none came.
std::string TakeScreenshot()
{
    char szFolder[] = "/tmp/vurazevedadar-readback.XXXXXX";
    if (mkdtemp(szFolder) == nullptr)
        return std::string();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(szFolder) == 0)
            execlp("weston-screenshooter", "weston-screenshooter", static_cast<char*>(nullptr));
        _exit(127);
    }
    int nStatus = 0;
    if (pid < 0 || waitpid(pid, &nStatus, 0) != pid || !WIFEXITED(nStatus) ||
        WEXITSTATUS(nStatus) != 0)
        return std::string();
    std::string path;
    if (DIR* pDir = opendir(szFolder)) {
        while (const dirent* pEntry = readdir(pDir)) {
            if (pEntry->d_name[0] != '.')
                path = std::string(szFolder) + "/" + pEntry->d_name;
        }
        closedir(pDir);
    }
    return path;
}

void RemoveScreenshot(const std::string& path)
{
    std::remove(path.c_str());
    const std::string::size_type nSlash = path.rfind('/');
    if (nSlash != std::string::npos)
        rmdir(path.substr(0, nSlash).c_str());
}

struct Bounds {
    int m_left, m_top, m_right, m_bottom;
};

uint32_t PixelAt(const unsigned char* pData, int nStride, int x, int y)
{
    const auto* pRow = reinterpret_cast<const uint32_t*>(pData + static_cast<size_t>(y) * nStride);
    return pRow[x] & kRgbMask;
}

// The box of every pure blue pixel; false when there is none.
bool FindBlue(const unsigned char* pData, int nStride, int nWidth, int nHeight, Bounds& bounds)
{
    bounds = Bounds{nWidth, nHeight, -1, -1};
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) {
            if (PixelAt(pData, nStride, x, y) != kBlue)
                continue;
            bounds.m_left = x < bounds.m_left ? x : bounds.m_left;
            bounds.m_right = x > bounds.m_right ? x : bounds.m_right;
            bounds.m_top = y < bounds.m_top ? y : bounds.m_top;
            bounds.m_bottom = y;
        }
    }
    return bounds.m_right >= 0;
}

}  // namespace

bool ReadClientArea(HWND, int nWidth, int nHeight, std::vector<unsigned char>& rgb)
{
    const std::string path = TakeScreenshot();
    if (path.empty())
        return false;
    cairo_surface_t* pShot = cairo_image_surface_create_from_png(path.c_str());
    RemoveScreenshot(path);
    bool bRead = false;
    if (cairo_surface_status(pShot) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(pShot);
        const unsigned char* pData = cairo_image_surface_get_data(pShot);
        const int nStride = cairo_image_surface_get_stride(pShot);
        Bounds blue;
        // The outline: one column and row before the blue, two after.
        if (FindBlue(pData, nStride, cairo_image_surface_get_width(pShot),
                     cairo_image_surface_get_height(pShot), blue) &&
            blue.m_right - blue.m_left + 4 == nWidth && blue.m_bottom - blue.m_top + 4 == nHeight) {
            rgb.resize(static_cast<size_t>(nWidth) * nHeight * 3);
            size_t i = 0;
            for (int y = blue.m_top - 1; y < blue.m_top - 1 + nHeight; ++y) {
                for (int x = blue.m_left - 1; x < blue.m_left - 1 + nWidth; ++x) {
                    const uint32_t pixel = PixelAt(pData, nStride, x, y);
                    rgb[i++] = static_cast<unsigned char>(pixel >> 16);
                    rgb[i++] = static_cast<unsigned char>(pixel >> 8);
                    rgb[i++] = static_cast<unsigned char>(pixel);
                }
            }
            bRead = true;
        } else {
            std::fprintf(stderr, "framedump: no %dx%d client area on the compositor's output\n",
                         nWidth, nHeight);
        }
    }
    cairo_surface_destroy(pShot);
    return bRead;
}

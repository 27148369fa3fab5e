// Draws every case with GDI into a 32-bit DIB section and with the rasteriser, and
// compares the two pictures; run under Wine. With --reference FILE it also records GDI's
// pictures of every kReferenceStride-th case, for the unit test that needs no Wine.
// Exit status 0 when every picture is identical.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "gdi_cases.h"

using namespace gdicases;

namespace {

constexpr int kShownPictures = 10;  // then only the cases' names

struct CGdiCanvas {
    HDC hdc = nullptr;
    HBITMAP hBitmap = nullptr;
    std::uint32_t* pBits = nullptr;
};

bool CreateCanvas(CGdiCanvas& canvas)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kCanvas;
    info.bmiHeader.biHeight = -kCanvas;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    canvas.hdc = CreateCompatibleDC(nullptr);
    void* pBits = nullptr;
    canvas.hBitmap = CreateDIBSection(canvas.hdc, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (canvas.hdc == nullptr || canvas.hBitmap == nullptr)
        return false;
    canvas.pBits = static_cast<std::uint32_t*>(pBits);
    SelectObject(canvas.hdc, canvas.hBitmap);
    SelectObject(canvas.hdc, CreatePen(PS_SOLID, 1, kPen));
    return true;
}

void DrawWithGdi(HDC hdc, const CCase& c, HBRUSH hBrush)
{
    SelectObject(hdc, c.chShape >= 'a' ? GetStockObject(NULL_BRUSH) : hBrush);
    HRGN hClip = c.bClip ? CreateRectRgn(int(c.clip[0]), int(c.clip[1]), int(c.clip[2]),
                                         int(c.clip[3]))
                         : nullptr;
    SelectClipRgn(hdc, hClip);
    if (hClip != nullptr)
        DeleteObject(hClip);
    int a[8];
    for (int i = 0; i < 8; ++i)
        a[i] = int(c.a[i]);
    switch (c.chShape) {
    case 'L': MoveToEx(hdc, a[0], a[1], nullptr); LineTo(hdc, a[2], a[3]); break;
    case 'R': case 'r': Rectangle(hdc, a[0], a[1], a[2], a[3]); break;
    case 'E': case 'e': Ellipse(hdc, a[0], a[1], a[2], a[3]); break;
    case 'A': Arc(hdc, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]); break;
    default: Pie(hdc, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]); break;
    }
    GdiFlush();
}

// The DIB holds 0x00RRGGBB words; pictures are made of COLORREF values (0x00BBGGRR).
std::string GdiPicture(CGdiCanvas& canvas, const CCase& c, HBRUSH hBrush)
{
    std::memset(canvas.pBits, 0xFF, sizeof(std::uint32_t) * kCanvas * kCanvas);
    DrawWithGdi(canvas.hdc, c, hBrush);
    std::vector<std::uint32_t> colours(kCanvas * kCanvas);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const std::uint32_t p = canvas.pBits[i];
        colours[i] = ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
    }
    return EncodePicture(colours);
}

}  // namespace

int main(int argc, char** argv)
{
    FILE* pReference = nullptr;
    if (argc == 3 && std::strcmp(argv[1], "--reference") == 0)
        pReference = std::fopen(argv[2], "wb");  // the same bytes on every system
    CGdiCanvas canvas;
    if (!CreateCanvas(canvas) || (argc == 3 && pReference == nullptr)) {
        std::fprintf(stderr, "cannot create the canvas or the reference file\n");
        return 2;
    }
    HBRUSH hBrush = CreateSolidBrush(kBrush);
    std::map<std::string, std::pair<int, int>> tally;  // primitive: identical, all
    int nShown = 0;
    const std::vector<std::string> cases = AllCases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        CCase c;
        if (!ParseCase(cases[i], c))
            return 2;
        const std::string expected = GdiPicture(canvas, c, hBrush);
        const std::string actual = RasterPicture(c);
        auto& counts = tally[PrimitiveName(c.chShape)];
        ++counts.second;
        if (expected == actual)
            ++counts.first;
        else if (nShown++ < kShownPictures)
            std::printf("%s\n%s\n", cases[i].c_str(), SideBySide(expected, actual).c_str());
        else
            std::printf("differs: %s\n", cases[i].c_str());
        if (pReference != nullptr && i % kReferenceStride == 0)
            std::fprintf(pReference, "%s = %s\n", cases[i].c_str(), expected.c_str());
    }
    bool bAll = true;
    for (const auto& [name, counts] : tally) {
        std::printf("%-10s %5d of %5d identical (%.2f %%)\n", name.c_str(), counts.first,
                    counts.second, 100.0 * counts.first / counts.second);
        bAll = bAll && counts.first == counts.second;
    }
    if (pReference != nullptr)
        std::fclose(pReference);
    return bAll ? 0 : 1;
}

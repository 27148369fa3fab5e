// Cases drawn both by GDI (under Wine) and by the rasteriser, in a small text form shared
// by the Windows comparison tool and the unit test that reads GDI's recorded answers.
//
// A case is one line: a shape letter and its integers, optionally "C l t r b" for a clip:
//   L x0 y0 x1 y1                 MoveTo + LineTo
//   R l t r b / E l t r b         Rectangle / Ellipse with the brush (r, e: hollow brush)
//   A l t r b xs ys xe ye         Arc
//   P l t r b xs ys xe ye         Pie with the brush (p: hollow brush)
// A picture is the canvas classified into background '.', pen '#', brush 'o', other '?',
// written as "left top width height rows", each row run-length coded ("3.2#") and the
// rows separated by '/'; "empty" when nothing was drawn.
#ifndef VURAZEVEDADAR_TESTS_GDI_CASES_H
#define VURAZEVEDADAR_TESTS_GDI_CASES_H

#include <cstdint>
#include <string>
#include <vector>

namespace gdicases {

constexpr int kCanvas = 160;                   // the canvas is kCanvas x kCanvas
constexpr std::uint32_t kBackground = 0xFFFFFF;  // COLORREF values
constexpr std::uint32_t kPen = 0x0000FF;
constexpr std::uint32_t kBrush = 0x00FF00;

struct CCase {
    char chShape = 0;
    long long a[8] = {};
    int nArgs = 0;
    bool bClip = false;
    long long clip[4] = {};
};

bool ParseCase(const std::string& text, CCase& c);
std::string FormatCase(const CCase& c);

// The canvas as COLORREF values, row by row, into a picture.
std::string EncodePicture(const std::vector<std::uint32_t>& colours);
// Draws the case with the rasteriser and encodes the picture.
std::string RasterPicture(const CCase& c);
// The picture as text rows, for a message showing two pictures side by side.
std::vector<std::string> PictureRows(const std::string& picture, int left, int top, int right,
                                     int bottom);
std::string SideBySide(const std::string& expected, const std::string& actual);

// Every case the comparison under Wine draws; every kReferenceStride-th one is recorded.
std::vector<std::string> AllCases();
constexpr std::size_t kReferenceStride = 11;  // prime to the case groups

// The primitive a case exercises, for the per-primitive tallies.
std::string PrimitiveName(char chShape);

}  // namespace gdicases

#endif  // VURAZEVEDADAR_TESTS_GDI_CASES_H

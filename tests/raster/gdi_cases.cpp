// The text form of the rasteriser's cases and pictures (gdi_cases.h): parsing and writing a
// case, drawing it with the rasteriser and run-length coding the result, so that the Windows
// comparison tool and the unit test read and write exactly the same lines.
#include "gdi_cases.h"

#include <algorithm>
#include <sstream>

#include "raster/painter.h"

namespace gdicases {

namespace {

int ArgCount(char chShape)
{
    switch (chShape) {
    case 'L': case 'R': case 'r': case 'E': case 'e':
        return 4;
    case 'A': case 'P': case 'p':
        return 8;
    default:
        return -1;
    }
}

char Classify(std::uint32_t colour)
{
    if (colour == kBackground)
        return '.';
    if (colour == kPen)
        return '#';
    if (colour == kBrush)
        return 'o';
    return '?';
}

std::string RunLength(const std::string& row)
{
    std::string out;
    for (std::size_t i = 0; i < row.size();) {
        std::size_t j = i;
        while (j < row.size() && row[j] == row[i])
            ++j;
        out += std::to_string(j - i) + row[i];
        i = j;
    }
    return out;
}

void Draw(raster::CPainter& painter, const CCase& c)
{
    const raster::CBox box{c.a[0], c.a[1], c.a[2], c.a[3]};
    const raster::CPoint64 start{c.a[4], c.a[5]};
    const raster::CPoint64 end{c.a[6], c.a[7]};
    const bool bHollow = c.chShape >= 'a';
    const raster::COLORREF brush = bHollow ? raster::kNoColor : kBrush;
    switch (c.chShape) {
    case 'L': painter.Line({c.a[0], c.a[1]}, {c.a[2], c.a[3]}, kPen); break;
    case 'R': case 'r': painter.Rectangle(box, kPen, brush); break;
    case 'E': case 'e': painter.Ellipse(box, kPen, brush); break;
    case 'A': painter.Arc(box, start, end, kPen); break;
    case 'P': case 'p': painter.Pie(box, start, end, kPen, brush); break;
    default: break;
    }
}

}  // namespace

bool ParseCase(const std::string& text, CCase& c)
{
    std::istringstream in(text);
    c = CCase{};
    if (!(in >> c.chShape))
        return false;
    c.nArgs = ArgCount(c.chShape);
    if (c.nArgs < 0)
        return false;
    for (int i = 0; i < c.nArgs; ++i)
        if (!(in >> c.a[i]))
            return false;
    std::string word;
    if (in >> word) {
        if (word != "C" || !(in >> c.clip[0] >> c.clip[1] >> c.clip[2] >> c.clip[3]))
            return false;
        c.bClip = true;
    }
    return true;
}

std::string FormatCase(const CCase& c)
{
    std::string out(1, c.chShape);
    for (int i = 0; i < c.nArgs; ++i)
        out += " " + std::to_string(c.a[i]);
    if (c.bClip)
        for (int i = 0; i < 4; ++i)
            out += (i == 0 ? " C " : " ") + std::to_string(c.clip[i]);
    return out;
}

std::string EncodePicture(const std::vector<std::uint32_t>& colours)
{
    int left = kCanvas, top = kCanvas, right = -1, bottom = -1;
    for (int y = 0; y < kCanvas; ++y)
        for (int x = 0; x < kCanvas; ++x)
            if (colours[static_cast<std::size_t>(y * kCanvas + x)] != kBackground) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0)
        return "empty";
    std::string out = std::to_string(left) + " " + std::to_string(top) + " " +
                      std::to_string(right - left + 1) + " " + std::to_string(bottom - top + 1) + " ";
    for (int y = top; y <= bottom; ++y) {
        std::string row;
        for (int x = left; x <= right; ++x)
            row += Classify(colours[static_cast<std::size_t>(y * kCanvas + x)]);
        out += (y == top ? "" : "/") + RunLength(row);
    }
    return out;
}

std::string RasterPicture(const CCase& c)
{
    raster::CFrameBuffer frame;
    frame.Resize(kCanvas, kCanvas);
    frame.Clear(kBackground);
    raster::CPainter painter(frame);
    const raster::CBox clip{c.clip[0], c.clip[1], c.clip[2], c.clip[3]};
    painter.SetClip(c.bClip ? &clip : nullptr);
    Draw(painter, c);
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(kCanvas * kCanvas));
    for (int y = 0; y < kCanvas; ++y)
        for (int x = 0; x < kCanvas; ++x)
            colours[static_cast<std::size_t>(y * kCanvas + x)] = frame.GetColor(x, y);
    return EncodePicture(colours);
}

// The picture expanded onto the canvas area [left, right) x [top, bottom).
std::vector<std::string> PictureRows(const std::string& picture, int left, int top, int right,
                                     int bottom)
{
    std::vector<std::string> rows(static_cast<std::size_t>(bottom - top),
                                  std::string(static_cast<std::size_t>(right - left), '.'));
    std::istringstream in(picture);
    int x0 = 0, y0 = 0, w = 0, h = 0;
    std::string runs;
    if (picture == "empty" || !(in >> x0 >> y0 >> w >> h >> runs))
        return rows;
    int x = x0, y = y0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (runs[i] == '/') {
            x = x0;
            ++y;
            continue;
        }
        int n = 0;
        while (i < runs.size() && runs[i] >= '0' && runs[i] <= '9')
            n = n * 10 + (runs[i++] - '0');
        for (int k = 0; k < n; ++k, ++x)
            if (y >= top && y < bottom && x >= left && x < right)
                rows[static_cast<std::size_t>(y - top)][static_cast<std::size_t>(x - left)] = runs[i];
    }
    return rows;
}

std::string SideBySide(const std::string& expected, const std::string& actual)
{
    const std::vector<std::string> a = PictureRows(expected, 0, 0, kCanvas, kCanvas);
    const std::vector<std::string> b = PictureRows(actual, 0, 0, kCanvas, kCanvas);
    int left = kCanvas, right = -1, top = kCanvas, bottom = -1;
    for (int y = 0; y < kCanvas; ++y)
        for (int x = 0; x < kCanvas; ++x)
            if (a[y][x] != '.' || b[y][x] != '.') {
                left = std::min(left, x); right = std::max(right, x);
                top = std::min(top, y); bottom = std::max(bottom, y);
            }
    std::string out = "GDI | rasteriser | differences, from (" + std::to_string(left) + ", " +
                      std::to_string(top) + ")\n";
    for (int y = top; y <= bottom; ++y) {
        std::string marks;
        for (int x = left; x <= right; ++x)
            marks += a[y][x] == b[y][x] ? ' ' : '^';
        out += a[y].substr(left, right - left + 1) + "   " + b[y].substr(left, right - left + 1) +
               "   " + marks + "\n";
    }
    return out;
}

std::string PrimitiveName(char chShape)
{
    switch (chShape) {
    case 'L': return "line";
    case 'R': case 'r': return "rectangle";
    case 'E': case 'e': return "ellipse";
    case 'A': return "arc";
    default: return "pie";
    }
}

}  // namespace gdicases

// The cases compared with GDI: every octant and length of short lines (with exact ties),
// rectangles and ellipses of every small size, arcs and pies with radials all around
// (through pixels, along the axes, nearly equal, equal), and clip rectangles cutting them.
#include <string>
#include <vector>

#include "gdi_cases.h"

namespace gdicases {

namespace {

std::string Join(char chShape, std::initializer_list<long long> values)
{
    std::string out(1, chShape);
    for (long long v : values)
        out += " " + std::to_string(v);
    return out;
}

// Integer points on the square ring of half-size r around (cx, cy), counter-clockwise
// from the right, every 'stride'-th one.
std::vector<std::pair<long long, long long>> Ring(long long cx, long long cy, long long r,
                                                  long long stride)
{
    std::vector<std::pair<long long, long long>> points;
    for (long long d = -r; d < r; ++d) points.push_back({cx + r, cy - d});
    for (long long d = -r; d < r; ++d) points.push_back({cx - d, cy - r});
    for (long long d = -r; d < r; ++d) points.push_back({cx - r, cy + d});
    for (long long d = -r; d < r; ++d) points.push_back({cx + d, cy + r});
    std::vector<std::pair<long long, long long>> picked;
    for (std::size_t i = 0; i < points.size(); i += static_cast<std::size_t>(stride))
        picked.push_back(points[i]);
    return picked;
}

void AddLines(std::vector<std::string>& cases)
{
    for (long long dy = -16; dy <= 16; ++dy)
        for (long long dx = -16; dx <= 16; ++dx)
            cases.push_back(Join('L', {80, 80, 80 + dx, 80 + dy}));
    // Long lines whose ideal path passes exactly between pixels many times.
    const long long ends[][2] = {{140, 70}, {70, 140}, {-70, 140}, {-140, 70}, {-140, -70},
                                 {-70, -140}, {70, -140}, {140, -70}, {150, 30}, {-30, 150}};
    for (const auto& e : ends)
        cases.push_back(Join('L', {80 - e[0] / 2, 80 - e[1] / 2, 80 + e[0] / 2, 80 + e[1] / 2}));
    // Lines through a clip from far outside, and lines whose ends lie far off the canvas.
    for (const auto& p : Ring(80, 80, 75, 5))
        cases.push_back(Join('L', {p.first, p.second, 167 - p.first, 163 - p.second}) +
                        " C 50 50 110 110");
    cases.push_back(Join('L', {-1000000, 40, 1000000, 120}));
    cases.push_back(Join('L', {-1000000, 40, 1000000, 121}) + " C 30 0 130 160");
    cases.push_back(Join('L', {70, -100000, 90, 100000}));
    cases.push_back(Join('L', {2000000000, 2000000000, -2000000000, -1999999999}));
}

void AddRectangles(std::vector<std::string>& cases)
{
    for (long long h = -3; h <= 12; ++h)
        for (long long w = -3; w <= 12; ++w) {
            cases.push_back(Join('R', {40, 40, 40 + w, 40 + h}));
            if ((w + h) % 3 == 0)
                cases.push_back(Join('r', {40, 40, 40 + w, 40 + h}));
        }
    for (long long k = 0; k < 12; ++k)
        cases.push_back(Join('R', {20 + 7 * k, 30 + 3 * k, 95 - k, 100 + k}) + " C 45 43 70 60");
    cases.push_back(Join('R', {-5000000000LL, -5, 5000000000LL, 150}));
}

// Ellipses three or four pixels wide and taller than 6 are drawn without a brush: Wine 8
// sometimes adds stray brush rows above and below them.
bool WineStraysBrush(long long w, long long h) { return (w == 3 || w == 4) && h > 6; }

void AddEllipses(std::vector<std::string>& cases)
{
    for (long long h = 1; h <= 40; ++h)
        for (long long w = 1; w <= 40; ++w)
            cases.push_back(Join(WineStraysBrush(w, h) ? 'e' : 'E', {5, 5, 5 + w, 5 + h}));
    for (long long k = 0; k < 16; ++k)
        cases.push_back(Join('E', {30 + k, 20, 140 - 2 * k, 100 + 3 * k}) + " C 40 " +
                        std::to_string(25 + k) + " 100 " + std::to_string(60 + 3 * k));
    cases.push_back(Join('E', {60, 90, 20, 50}));  // reversed corners
}

void AddArcsAndPies(std::vector<std::string>& cases)
{
    const long long boxes[][4] = {{5, 5, 26, 26},  {5, 5, 25, 25}, {5, 5, 41, 31},
                                  {5, 5, 30, 17},  {5, 5, 20, 33}, {5, 5, 26, 19},
                                  {5, 5, 23, 30},  {5, 5, 12, 9},  {5, 5, 8, 8},
                                  {5, 5, 9, 40},   {5, 5, 60, 9},  {40, 30, 140, 130}};
    for (const auto& b : boxes) {
        const long long cx = b[0] + (b[2] - b[0]) / 2;
        const long long cy = b[1] + (b[3] - b[1]) / 2;
        for (const auto& p : Ring(cx, cy, 24, 3)) {
            const long long ox = 2 * cx - p.first, oy = 2 * cy - p.second;
            cases.push_back(Join('A', {b[0], b[1], b[2], b[3], p.first, p.second, ox, oy}));
            cases.push_back(Join('P', {b[0], b[1], b[2], b[3], ox, oy, p.first, p.second}));
            // A quarter turn on, and a radial a pixel further on: nearly equal radials.
            cases.push_back(Join('A', {b[0], b[1], b[2], b[3], p.first, p.second,
                                       cx + (p.second - cy), cy - (p.first - cx)}));
            cases.push_back(Join('P', {b[0], b[1], b[2], b[3], p.first, p.second,
                                       p.first + 1, p.second}));
        }
        // Equal radials, radials on the centre, and the axis radials the program uses.
        cases.push_back(Join('A', {b[0], b[1], b[2], b[3], cx + 9, cy - 4, cx + 9, cy - 4}));
        cases.push_back(Join('P', {b[0], b[1], b[2], b[3], cx, cy, cx, cy}));
        cases.push_back(Join('p', {b[0], b[1], b[2], b[3], cx, cy - 30, cx - 30, cy}));
        cases.push_back(Join('P', {b[0], b[1], b[2], b[3], cx, cy + 30, cx + 30, cy}));
        cases.push_back(Join('P', {b[0], b[1], b[2], b[3], cx + 30, cy, cx, cy - 30}));
        cases.push_back(Join('P', {b[0], b[1], b[2], b[3], cx - 30, cy, cx, cy + 30}));
    }
    for (long long k = 0; k < 8; ++k)
        cases.push_back(Join('P', {20, 20, 140, 120, 150 - 20 * k, 5 * k, 10 + 10 * k, 150}) +
                        " C 30 40 " + std::to_string(90 + 5 * k) + " 100");
}

}  // namespace

std::vector<std::string> AllCases()
{
    std::vector<std::string> cases;
    AddLines(cases);
    AddRectangles(cases);
    AddEllipses(cases);
    AddArcsAndPies(cases);
    return cases;
}

}  // namespace gdicases

// The rasteriser against GDI's own pictures: gdi_reference.txt holds what the Windows
// build drew under Wine for every eleventh case of the comparison (gdi_compare.exe
// --reference regenerates it), so GDI's pixel rules are checked on every build.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "gdi_cases.h"
#include "raster/painter.h"

using namespace gdicases;

namespace {

struct CReferenceCase {
    std::string text;
    std::string picture;
};

std::vector<CReferenceCase> LoadReference()
{
    std::vector<CReferenceCase> cases;
    std::ifstream in(RASTER_REFERENCE_FILE);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t at = line.find(" = ");
        if (at != std::string::npos)
            cases.push_back({line.substr(0, at), line.substr(at + 3)});
    }
    return cases;
}

// The picture of a case with a clip as seen through that clip: the rasteriser must clip
// by masking, never by moving a primitive's pixels.
std::string Masked(const std::string& picture, const CCase& c)
{
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(kCanvas * kCanvas), kBackground);
    const std::vector<std::string> rows = PictureRows(picture, 0, 0, kCanvas, kCanvas);
    for (int y = 0; y < kCanvas; ++y)
        for (int x = 0; x < kCanvas; ++x) {
            const char ch = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            const bool bInside = x >= c.clip[0] && x < c.clip[2] && y >= c.clip[1] && y < c.clip[3];
            if (bInside && ch != '.')
                colours[static_cast<std::size_t>(y * kCanvas + x)] = ch == '#' ? kPen : kBrush;
        }
    return EncodePicture(colours);
}

}  // namespace

TEST(RasterGdiReference, EveryRecordedCaseMatchesGdiPixelForPixel)
{
    const std::vector<CReferenceCase> cases = LoadReference();
    ASSERT_GT(cases.size(), 400u) << "reference file missing or short: " << RASTER_REFERENCE_FILE;
    std::map<std::string, std::pair<int, int>> tally;
    for (const CReferenceCase& ref : cases) {
        CCase c;
        ASSERT_TRUE(ParseCase(ref.text, c)) << ref.text;
        const std::string actual = RasterPicture(c);
        auto& counts = tally[PrimitiveName(c.chShape)];
        ++counts.second;
        if (actual == ref.picture)
            ++counts.first;
        else
            ADD_FAILURE() << ref.text << "\n" << SideBySide(ref.picture, actual);
    }
    for (const auto& [name, counts] : tally)
        std::printf("%-10s %4d of %4d identical\n", name.c_str(), counts.first, counts.second);
    EXPECT_EQ(tally.size(), 5u) << "every primitive should be represented";
}

// Clip rectangles of several shapes over each recorded case without a clip: the clipped
// picture must be the unclipped one seen through the clip (lines entering a clip keep their
// pixels; a pie's fill and its radials are cut, not redrawn).
TEST(RasterGdiReference, ClippingOnlyMasksThePicture)
{
    const long long kClips[][4] = {{0, 0, 160, 160}, {20, 17, 41, 60}, {9, 9, 10, 100},
                                   {55, 0, 160, 83}, {7, 12, 33, 27}, {-50, 80, 500, 81}};
    int nChecked = 0;
    for (const CReferenceCase& ref : LoadReference()) {
        CCase c;
        ASSERT_TRUE(ParseCase(ref.text, c));
        if (c.bClip)
            continue;
        for (const auto& clip : kClips) {
            CCase clipped = c;
            clipped.bClip = true;
            std::copy(clip, clip + 4, clipped.clip);
            const std::string expected = Masked(ref.picture, clipped);
            const std::string actual = RasterPicture(clipped);
            if (expected != actual)
                ADD_FAILURE() << FormatCase(clipped) << "\n" << SideBySide(expected, actual);
            ++nChecked;
        }
    }
    EXPECT_GT(nChecked, 2000);
}

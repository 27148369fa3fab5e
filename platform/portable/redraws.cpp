// The journal of recently drawn figures: the figures by hash, each with the number of the
// change from which it is known to stand, and for each tile the number of its last change.
#include "redraws.h"

#include <cmath>

namespace portable {

namespace {

std::uint64_t Mix(std::uint64_t nHash, long long nValue)
{
    return (nHash ^ static_cast<std::uint64_t>(nValue)) * 0x9E3779B97F4A7C15ULL;
}

std::uint64_t HashOf(const Figure& f)
{
    std::uint64_t h = static_cast<std::uint64_t>(f.m_kind) + 1;
    h = Mix(h, f.m_box.left);
    h = Mix(h, f.m_box.top);
    h = Mix(h, f.m_box.right);
    h = Mix(h, f.m_box.bottom);
    h = Mix(h, f.m_ptStart.x);
    h = Mix(h, f.m_ptStart.y);
    h = Mix(h, f.m_ptEnd.x);
    h = Mix(h, f.m_ptEnd.y);
    const std::uint64_t nColours = (static_cast<std::uint64_t>(f.m_crPen) << 32) | f.m_crBrush;
    h = Mix(h, static_cast<long long>(nColours));
    if (f.m_clip.m_bOn) {
        h = Mix(h, f.m_clip.m_box.left);
        h = Mix(h, f.m_clip.m_box.top);
        h = Mix(h, f.m_clip.m_box.right);
        h = Mix(h, f.m_clip.m_box.bottom);
    }
    // The low bits pick the slot: fold the well-mixed high bits into them.
    return h ^ (h >> 32);
}

bool AreSameBox(const DeviceBox& a, const DeviceBox& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool AreSame(const Figure& a, const Figure& b)
{
    return a.m_nHash == b.m_nHash && a.m_kind == b.m_kind && AreSameBox(a.m_box, b.m_box) &&
           a.m_ptStart == b.m_ptStart && a.m_ptEnd == b.m_ptEnd && a.m_crPen == b.m_crPen &&
           a.m_crBrush == b.m_crBrush && a.m_clip == b.m_clip;
}

// How far the rasterised outline may stray from the ideal ellipse, and the arc's end pixel from
// where its radial meets it, with room to spare.
const double kArcSlack = 3.0;
// The rasteriser picks the outline pixels nearest each radial, so radials a few pixels apart
// along the outline may pick the end pixel before the start pixel, and the arc then runs
// nearly all the way round: such an arc reaches its whole box. This many pixels apart is safe.
const double kPickedPixels = 4.0;
// Beyond this size the arithmetic below is no longer exact enough; the whole box is taken.
const long long kLargestTraced = 1LL << 31;
const double kPi = 3.14159265358979323846;

// The angle of a radial as seen on the screen, anticlockwise from the positive x axis.
double ScreenAngle(double dx, double dy)
{
    return std::atan2(-dy, dx);
}

// The box of the part of an ellipse that an arc or pie draws: where its radials meet the
// ellipse, the ellipse's extremes that lie between them (anticlockwise from the start), and
// for a pie the centre its radii run to.
DeviceBox ArcReach(const Figure& figure)
{
    const DeviceBox& box = figure.m_box;
    if (box.Width() > kLargestTraced || box.Height() > kLargestTraced ||
        std::llabs(box.left) > kLargestTraced || std::llabs(box.top) > kLargestTraced)
        return box;
    const double cx = (static_cast<double>(box.left) + static_cast<double>(box.right)) / 2;
    const double cy = (static_cast<double>(box.top) + static_cast<double>(box.bottom)) / 2;
    const double a = static_cast<double>(box.Width()) / 2;
    const double b = static_cast<double>(box.Height()) / 2;
    // The radials start from the box's integer centre, as GDI's do.
    const DevicePoint centre = BoxCentre(box);
    const double sx = static_cast<double>(figure.m_ptStart.x - centre.x);
    const double sy = static_cast<double>(figure.m_ptStart.y - centre.y);
    const double ex = static_cast<double>(figure.m_ptEnd.x - centre.x);
    const double ey = static_cast<double>(figure.m_ptEnd.y - centre.y);
    if ((sx == 0 && sy == 0) || (ex == 0 && ey == 0) || a < 1 || b < 1)
        return box;
    const double dStart = ScreenAngle(sx, sy);
    double dSweep = ScreenAngle(ex, ey) - dStart;
    if (dSweep < 0)
        dSweep += 2 * kPi;
    const double dNarrowest = kPickedPixels / std::min(a, b);
    if (dSweep < dNarrowest || dSweep > 2 * kPi - dNarrowest)
        return box;

    double dLeft = cx, dRight = cx, dTop = cy, dBottom = cy;
    bool bAny = false;
    auto include = [&](double x, double y) {
        if (!bAny || x < dLeft)
            dLeft = x;
        if (!bAny || x > dRight)
            dRight = x;
        if (!bAny || y < dTop)
            dTop = y;
        if (!bAny || y > dBottom)
            dBottom = y;
        bAny = true;
    };
    // Where the radial through (dx, dy) meets the ellipse.
    auto meet = [&](double dx, double dy) {
        const double t = 1 / std::sqrt((dx * dx) / (a * a) + (dy * dy) / (b * b));
        include(cx + t * dx, cy + t * dy);
    };
    meet(sx, sy);
    meet(ex, ey);
    const double extremes[4][2] = {{a, 0}, {0, -b}, {-a, 0}, {0, b}};
    for (int i = 0; i < 4; ++i) {
        double dAngle = std::fmod(i * (kPi / 2) - dStart, 2 * kPi);
        if (dAngle < 0)
            dAngle += 2 * kPi;
        if (dAngle <= dSweep)
            include(cx + extremes[i][0], cy + extremes[i][1]);
    }
    if (figure.m_kind == FigureKind::Pie)
        include(cx, cy);
    return DeviceBox{static_cast<long long>(std::floor(dLeft - kArcSlack)),
                     static_cast<long long>(std::floor(dTop - kArcSlack)),
                     static_cast<long long>(std::ceil(dRight + kArcSlack)) + 1,
                     static_cast<long long>(std::ceil(dBottom + kArcSlack)) + 1};
}

// The one colour a figure writes, or kMixed: an outline writes the pen, a filled figure the
// pen and the brush.
std::uint64_t ColourOf(const Figure& figure)
{
    const bool bFilled = figure.m_kind != FigureKind::Line && figure.m_kind != FigureKind::Arc;
    if (bFilled && figure.m_crPen != figure.m_crBrush)
        return CRedrawJournal::kMixed;
    return figure.m_crPen;
}

DeviceBox Intersection(const DeviceBox& a, const DeviceBox& b)
{
    return DeviceBox{std::max(a.left, b.left), std::max(a.top, b.top),
                     std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

}  // namespace

Figure LineFigure(const DrawContext& dc, DevicePoint ptFrom, DevicePoint ptTo)
{
    Figure figure{FigureKind::Line, DeviceBox{ptFrom.x, ptFrom.y, ptTo.x, ptTo.y},
                  DevicePoint{0, 0}, DevicePoint{0, 0}, dc.m_crPen, dc.m_crBrush, dc.m_clip, 0};
    figure.m_nHash = HashOf(figure);
    return figure;
}

Figure BoxFigure(FigureKind kind, const DrawContext& dc, const DeviceBox& box,
                 DevicePoint ptStart, DevicePoint ptEnd)
{
    Figure figure{kind, box, ptStart, ptEnd, dc.m_crPen, dc.m_crBrush, dc.m_clip, 0};
    figure.m_nHash = HashOf(figure);
    return figure;
}

DeviceBox FigureReach(const Figure& figure, int nWidth, int nHeight)
{
    // A line's corners may come in any order; every other box is normalised already. Clamping
    // to the device first keeps the spare pixel from overflowing.
    const DeviceBox& b = figure.m_box;
    DeviceBox reach = NormalizeBox(b.left, b.top, b.right, b.bottom);
    if (figure.m_kind == FigureKind::Arc || figure.m_kind == FigureKind::Pie)
        reach = Intersection(reach, ArcReach(figure));
    if (figure.m_clip.m_bOn)
        reach = Intersection(reach, figure.m_clip.m_box);
    reach.left = std::max(reach.left, 0LL) - 1;
    reach.top = std::max(reach.top, 0LL) - 1;
    reach.right = std::min(reach.right, static_cast<long long>(nWidth)) + 1;
    reach.bottom = std::min(reach.bottom, static_cast<long long>(nHeight)) + 1;
    return reach;
}

namespace {

// Tiles are 32 x 32 pixels, or larger on a device so large that there would be more than
// kMaxTiles of them: a figure's test then looks at a bounded number of tiles.
const int kMinTileShift = 5;
const long long kMaxTiles = 4096;
// Slots for figures: a frame of this program has under a hundred.
const std::size_t kSlots = 512;

}  // namespace

void CRedrawJournal::Reset(int nWidth, int nHeight)
{
    m_nWidth = std::max(nWidth, 0);
    m_nHeight = std::max(nHeight, 0);
    auto tilesFor = [](int nShift, int nSide) {
        return (static_cast<long long>(nSide) + (1LL << nShift) - 1) >> nShift;
    };
    m_nTileShift = kMinTileShift;
    while (tilesFor(m_nTileShift, m_nWidth) * tilesFor(m_nTileShift, m_nHeight) > kMaxTiles)
        ++m_nTileShift;
    m_nTilesAcross = static_cast<int>(tilesFor(m_nTileShift, m_nWidth));
    const long long nTilesDown = tilesFor(m_nTileShift, m_nHeight);
    m_tiles.assign(static_cast<std::size_t>(m_nTilesAcross) * static_cast<std::size_t>(nTilesDown),
                   CTile{0, 0, kMixed});
    m_nChanges = 0;
    Forget();
}

void CRedrawJournal::Forget()
{
    m_entries.assign(kSlots, CEntry{});
}

CRedrawJournal::CEntry& CRedrawJournal::SlotOf(const Figure& figure)
{
    return m_entries[static_cast<std::size_t>(figure.m_nHash) & (kSlots - 1)];
}

// The tiles under the part of the reach that lies on the device, ignoring changes in the
// colour given (none is ignored for kMixed).
bool CRedrawJournal::IsChangedSince(const DeviceBox& reach, std::uint32_t nChange,
                                    std::uint64_t nColour) const
{
    const long long left = std::max(reach.left, 0LL);
    const long long top = std::max(reach.top, 0LL);
    const long long right = std::min(reach.right, static_cast<long long>(m_nWidth));
    const long long bottom = std::min(reach.bottom, static_cast<long long>(m_nHeight));
    if (left >= right || top >= bottom)
        return false;
    const int tx0 = static_cast<int>(left) >> m_nTileShift;
    const int tx1 = static_cast<int>(right - 1) >> m_nTileShift;
    const int ty0 = static_cast<int>(top) >> m_nTileShift;
    const int ty1 = static_cast<int>(bottom - 1) >> m_nTileShift;
    for (int ty = ty0; ty <= ty1; ++ty) {
        const CTile* pRow = m_tiles.data() + static_cast<std::size_t>(ty) *
                                                 static_cast<std::size_t>(m_nTilesAcross);
        for (int tx = tx0; tx <= tx1; ++tx) {
            const CTile& tile = pRow[tx];
            const bool bOwnColour = nColour != kMixed && tile.m_nColour == nColour;
            if ((bOwnColour ? tile.m_nLastOther : tile.m_nLast) > nChange)
                return true;
        }
    }
    return false;
}

bool CRedrawJournal::IsStanding(const Figure& figure, DeviceBox* pReach)
{
    CEntry& entry = SlotOf(figure);
    if (entry.m_nValidFrom == 0 || !AreSame(entry.m_figure, figure)) {
        *pReach = FigureReach(figure, m_nWidth, m_nHeight);
        return false;
    }
    *pReach = entry.m_changed;
    if (IsChangedSince(*pReach, entry.m_nValidFrom, ColourOf(figure)))
        return false;
    entry.m_nValidFrom = m_nChanges;
    return true;
}

void CRedrawJournal::NoteDrawn(const Figure& figure, const DeviceBox& changed)
{
    NoteChanged(changed, ColourOf(figure));
    // Valid from the change it just made, or from any earlier number when it made none.
    SlotOf(figure) = CEntry{figure, changed, std::max<std::uint32_t>(m_nChanges, 1)};
}

void CRedrawJournal::NoteChanged(const DeviceBox& changed, std::uint64_t nColour)
{
    const long long left = std::max(changed.left, 0LL);
    const long long top = std::max(changed.top, 0LL);
    const long long right = std::min(changed.right, static_cast<long long>(m_nWidth));
    const long long bottom = std::min(changed.bottom, static_cast<long long>(m_nHeight));
    if (left >= right || top >= bottom)
        return;
    // The count would wrap after four thousand million changes; starting afresh is simpler
    // than comparing across the wrap.
    if (m_nChanges == UINT32_MAX) {
        std::fill(m_tiles.begin(), m_tiles.end(), CTile{0, 0, kMixed});
        m_nChanges = 0;
        Forget();
    }
    ++m_nChanges;
    const int tx0 = static_cast<int>(left) >> m_nTileShift;
    const int tx1 = static_cast<int>(right - 1) >> m_nTileShift;
    const int ty0 = static_cast<int>(top) >> m_nTileShift;
    const int ty1 = static_cast<int>(bottom - 1) >> m_nTileShift;
    for (int ty = ty0; ty <= ty1; ++ty) {
        const std::size_t nRow = static_cast<std::size_t>(ty);
        CTile* pRow = m_tiles.data() + nRow * static_cast<std::size_t>(m_nTilesAcross);
        for (int tx = tx0; tx <= tx1; ++tx) {
            CTile& tile = pRow[tx];
            // A change in another colour than the last is the last in a colour other than
            // this one; one in the same colour leaves the last other change where it was.
            if (nColour == kMixed || tile.m_nColour != nColour)
                tile.m_nLastOther = nColour == kMixed ? m_nChanges : tile.m_nLast;
            tile.m_nLast = m_nChanges;
            tile.m_nColour = nColour;
        }
    }
}

}  // namespace portable

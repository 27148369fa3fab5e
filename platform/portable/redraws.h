// Figures drawn again where they stand. A figure drawn exactly as it was drawn a moment ago,
// over pixels that nothing has changed since, changes nothing: every figure is drawn with a
// copy pen and brush, so what it leaves does not depend on what was there. The program does
// that on most ticks (the cross stands locked while the wheel turns, and is drawn all the
// same), so a device that remembers the figures of the last two frames can leave such a
// figure out: the raster device saves the rasterising and the Xlib device the requests, and
// both present less.
#ifndef VURAZEVEDADAR_PORTABLE_REDRAWS_H
#define VURAZEVEDADAR_PORTABLE_REDRAWS_H

#include "device.h"

#include <cstdint>
#include <vector>

namespace portable {

enum class FigureKind : unsigned char { Line, Rectangle, Ellipse, Arc, Pie };

// One drawing call, everything that decides its pixels; made by the functions below. A line
// keeps its ends in the box's corners; the radials are zero but for arcs and pies.
struct Figure {
    FigureKind m_kind;
    DeviceBox m_box;
    DevicePoint m_ptStart;
    DevicePoint m_ptEnd;
    COLORREF m_crPen;
    COLORREF m_crBrush;
    ClipRect m_clip;
    // Of all the above, so that figures are told apart without comparing them.
    std::uint64_t m_nHash;
};

Figure LineFigure(const DrawContext& dc, DevicePoint ptFrom, DevicePoint ptTo);
Figure BoxFigure(FigureKind kind, const DrawContext& dc, const DeviceBox& box,
                 DevicePoint ptStart = DevicePoint{0, 0}, DevicePoint ptEnd = DevicePoint{0, 0});

// The pixels a figure may write on a width x height device: within its box and clip, with a
// pixel to spare all round. Empty (left >= right) when it writes none.
DeviceBox FigureReach(const Figure& figure, int nWidth, int nHeight);

// The figures drawn lately, and when each part of the device last changed. The device is cut
// into tiles, and a figure stands while no tile its reach touches has changed since the figure
// was drawn or last found standing, other than in the figure's own colour: pixels that were
// the figure's colour stay so whatever else is drawn in it. That keeps a figure drawn again
// next to another in the same pen (the sides of one outline) from unsettling its neighbours.
// Figures are kept in a fixed number of slots, one per hash: one that loses its slot to
// another is simply drawn again.
class CRedrawJournal {
public:
    // A device of a new size, every pixel new: nothing stands.
    void Reset(int nWidth, int nHeight);
    // Whether the figure would change nothing where its reach lies; *pReach is its reach
    // either way, which for a figure drawn lately is the box it changed then. A figure found
    // standing counts as drawn now.
    bool IsStanding(const Figure& figure, DeviceBox* pReach);
    // The figure was drawn and changed the pixels in the changed box (empty: none), and will
    // change those again whenever it is drawn.
    void NoteDrawn(const Figure& figure, const DeviceBox& changed);
    // Pixels changed without a figure: an erase in one colour, or anything else (kMixed).
    static constexpr std::uint64_t kMixed = std::uint64_t{1} << 32;
    void NoteChanged(const DeviceBox& changed, std::uint64_t nColour = kMixed);

private:
    // Per tile, the number of its last change and that change's colour, and the number of its
    // last change in any other colour: enough to tell whether a tile changed since a given
    // change in any colour but one.
    struct CTile {
        std::uint32_t m_nLast;
        std::uint32_t m_nLastOther;
        std::uint64_t m_nColour;
    };
    struct CEntry {
        Figure m_figure;
        DeviceBox m_changed;
        // The number of changes when the figure's pixels were last known to be its own; 0 for
        // an empty slot.
        std::uint32_t m_nValidFrom;
    };

    // Every figure is forgotten: a new size, or a count of changes about to wrap.
    void Forget();
    CEntry& SlotOf(const Figure& figure);
    bool IsChangedSince(const DeviceBox& reach, std::uint32_t nChange,
                        std::uint64_t nColour) const;

    std::vector<CEntry> m_entries;
    std::vector<CTile> m_tiles;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nTileShift = 0;  // a tile's side is 1 << m_nTileShift pixels
    int m_nTilesAcross = 0;
    // How many changes were noted; 0 is no change at all.
    std::uint32_t m_nChanges = 0;
};

}  // namespace portable

#endif  // VURAZEVEDADAR_PORTABLE_REDRAWS_H

// Draws GDI's primitives into a CFrameBuffer with GDI's pixel rules, as measured on the
// Windows build under Wine (cosmetic one-pixel pens, solid brushes, one clip rectangle).
#ifndef VURAZEVEDADAR_RASTER_PAINTER_H
#define VURAZEVEDADAR_RASTER_PAINTER_H

#include <vector>

#include "raster/framebuffer.h"
#include "raster/raster.h"
#include "raster/wide.h"

namespace raster {

class CPainter {
public:
    // Ellipses, arcs and pies wider or taller than this are refused (FALSE): GDI's own
    // arithmetic gives out near this size, and the curve is traced pixel by pixel.
    static constexpr long long kMaxCurveSide = 1LL << 16;

    explicit CPainter(CFrameBuffer& frame);

    // Clip rectangle in device coordinates, as CreateRectRgn(left, top, right, bottom);
    // always intersected with the buffer. nullptr removes it.
    void SetClip(const CBox* pClip);

    // LineTo from 'from' to 'to': the start pixel drawn, the end pixel not.
    void Line(CPoint64 from, CPoint64 to, COLORREF crPen);
    // Rectangle(l, t, r, b): the outline with the pen, the inside with the brush.
    void Rectangle(const CBox& box, COLORREF crPen, COLORREF crBrush);
    // Ellipse, Arc and Pie within box; start and end are the radial points. They return
    // false, drawing nothing, for boxes larger than kMaxCurveSide.
    bool Ellipse(const CBox& box, COLORREF crPen, COLORREF crBrush);
    bool Arc(const CBox& box, CPoint64 start, CPoint64 end, COLORREF crPen);
    bool Pie(const CBox& box, CPoint64 start, CPoint64 end, COLORREF crPen, COLORREF crBrush);
    // Fills [left, right) x [top, bottom) with one colour (FillRect, erasing a background).
    void FillBox(const CBox& box, COLORREF colour);

    // Where a polygon's edge crosses a pixel row: x = num / den with den > 0.
    struct CCrossingView {
        Wide num;
        Wide den;
        int nWinding;
    };

    // One axis of a line: where it starts and how far it goes (65 bits, hence Wide).
    struct CAxisView {
        Wide start;
        Wide delta;
    };

    // A pixel of a traced curve, from the box's top left corner. A box is at most
    // kMaxCurveSide wide and high, so 16 bits hold either offset; a large window keeps a few
    // outlines of thousands of pixels each, and four bytes a pixel keeps them small.
    struct CCurvePoint {
        std::uint16_t x;
        std::uint16_t y;
    };
    static_assert(kMaxCurveSide - 1 <= 0xFFFF, "a curve offset fits 16 bits");

private:
    static CBox Normalised(const CBox& box);
    void UpdateClip();
    void Plot(long long x, long long y, std::uint32_t pixel);
    void Span(Wide y, Wide x0, Wide x1, std::uint32_t pixel);
    void Block(Wide left, Wide top, Wide right, Wide bottom, std::uint32_t pixel);
    bool Touches(const CBox& box) const;
    bool IsCurveDrawable(const CBox& box) const;
    static bool IsNarrow(const CBox& box);
    void DrawNarrowBox(const CBox& box, std::uint32_t crPen);
    // A traced outline depends only on the box's size, and a frame draws the same few sizes
    // again and again, wherever the boxes are: the last few outlines are kept.
    // Half a box of at most kMaxCurveSide, so 16 bits hold it.
    struct CQuarterPos {
        std::uint16_t kx;
        std::uint16_t ky;
    };
    struct CTracedCurve {
        long long w = -1;
        long long h = -1;
        std::vector<CQuarterPos> quarter;
        std::vector<CCurvePoint> curve;
        bool bRotated = false;     // starts where the direction turns (see arc.cpp)
        bool bCentreless = false;  // has a pixel without direction; known once rotated
    };
    CTracedCurve& TraceEllipse(const CBox& box);
    // What every curve does before its own part: normalises the box, settles the cases with
    // nothing to trace (a box too large, one off the clip, one too narrow for an outline), and
    // traces the rest. Gives the result for a settled case in *pbResult, and false then.
    bool BeginCurve(const CBox& box, COLORREF crPen, CBox* pBox, bool* pbResult);
    static void MirrorQuarter(CTracedCurve& traced);
    void FillEllipse(const CBox& box, const CTracedCurve& traced, std::uint32_t crBrush);
    void DrawLine(CPoint64 from, CPoint64 to, std::uint32_t pixel);
    // The steps of a line that lies inside the clip from its first visible step to its last;
    // false, drawing nothing, for one that does not.
    bool StepLineInside(const CAxisView& major, const CAxisView& minor, long long first,
                        long long last, long long n, bool bXMajor, std::uint32_t pixel);
    template <class Signed, class Unsigned>
    void StepLine(const CAxisView& major, const CAxisView& minor, Wide first, Wide last, Wide n,
                  bool bXMajor, std::uint32_t pixel);
    bool DrawCurvePart(const CBox& box, CPoint64 start, CPoint64 end, bool bPie, COLORREF crPen,
                       COLORREF crBrush);
    // An arc's or pie's part of its traced outline, from the pixel nearest the start radial
    // up to, not including, the pixel nearest the end radial, counter-clockwise; kept for a
    // call that comes again with the same box and radials: an animation draws its still
    // figures again every frame, and finding the part is most of a curve's cost. The part is
    // a range of the outline, which is traced again the same way if it is no longer kept.
    struct CCurvePart {
        CBox box;
        CPoint64 start;
        CPoint64 end;
        std::size_t first = 0;
        std::size_t stop = 0;
        bool bWhole = false;  // the whole outline, from first round to first
        CPoint64 firstPixel;
        CPoint64 stopPixel;
        bool bValid = false;
    };
    const CCurvePart& FindCurvePart(const CBox& box, const CTracedCurve& traced, CPoint64 start,
                                    CPoint64 end);
    // Calls f for each pixel of the part, in order.
    template <class F>
    static void ForEachPartPixel(const CTracedCurve& traced, const CCurvePart& part, F f);
    // Draws the part's pixels with the box at b.
    void PlotPart(const CTracedCurve& traced, const CCurvePart& part, const CBox& b,
                  std::uint32_t pixel);
    void FillPolygon(const std::vector<CPoint64>& polygon, std::uint32_t pixel);
    void FillPolygonRow(long long y, std::uint32_t pixel);

    CFrameBuffer& m_frame;
    CBox m_clip;
    bool m_bUserClip = false;
    CBox m_userClip{0, 0, 0, 0};
    // Scratch storage reused from call to call: a frame draws hundreds of small curves.
    std::vector<CPoint64> m_polygon;
    struct CEdge {
        long long x0, y0, x1, y1;
    };
    std::vector<CEdge> m_edges;
    std::vector<CEdge> m_active;
    std::vector<CCrossingView> m_crossings;
    static constexpr std::size_t kCachedCurves = 8;
    CTracedCurve m_traced[kCachedCurves];
    std::size_t m_nNextTraced = 0;
    static constexpr std::size_t kCachedParts = 32;
    CCurvePart m_parts[kCachedParts];
    std::size_t m_nNextPart = 0;
};

}  // namespace raster

#endif  // VURAZEVEDADAR_RASTER_PAINTER_H

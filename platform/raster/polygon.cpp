// The inside of a pie: pixels whose centres lie strictly inside its polygon (the arc's
// pixels, the end pixel and the centre), by the winding rule. Pixels on the polygon's edges
// are the pen's, which is drawn afterwards.
#include "raster/painter.h"

#include <algorithm>

namespace raster {

namespace {

bool CrossingLess(const CPainter::CCrossingView& a, const CPainter::CCrossingView& b)
{
    return a.num * b.den < b.num * a.den;
}

}  // namespace

void CPainter::FillPolygon(const std::vector<CPoint64>& polygon, std::uint32_t pixel)
{
    const std::size_t n = polygon.size();
    m_edges.clear();
    long long top = polygon[0].y;
    long long bottom = polygon[0].y;
    for (std::size_t i = 0; i < n; ++i) {
        const CPoint64& p = polygon[i];
        const CPoint64& q = polygon[(i + 1) % n];
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
        if (p.y != q.y)
            m_edges.push_back(CEdge{p.x, p.y, q.x, q.y});
    }
    // Edges are few and mostly a pixel tall; each row looks at those that span it, after
    // sorting by their upper end.
    std::sort(m_edges.begin(), m_edges.end(), [](const CEdge& a, const CEdge& b) {
        return std::min(a.y0, a.y1) < std::min(b.y0, b.y1);
    });
    const Wide rowFirst = MaxWide(top, m_clip.top);
    const Wide rowLast = MinWide(bottom, Wide(m_clip.bottom) - 1);
    std::size_t next = 0;
    m_active.clear();
    for (Wide y = rowFirst; y <= rowLast; ++y) {
        while (next < m_edges.size() && std::min(m_edges[next].y0, m_edges[next].y1) <= y)
            m_active.push_back(m_edges[next++]);
        m_active.erase(std::remove_if(m_active.begin(), m_active.end(),
                                      [y](const CEdge& e) { return std::max(e.y0, e.y1) <= y; }),
                       m_active.end());
        FillPolygonRow(static_cast<long long>(y), pixel);
    }
}

// Crossings of the row with the active edges (each spans [upper, lower) rows), sorted, then
// the runs of nonzero winding number between them.
void CPainter::FillPolygonRow(long long y, std::uint32_t pixel)
{
    m_crossings.clear();
    for (const CEdge& e : m_active) {
        const Wide den = AbsWide(Wide(e.y1) - e.y0);
        const Wide sign = e.y1 > e.y0 ? 1 : -1;
        // x = x0 + (y - y0) * (x1 - x0) / (y1 - y0), as a fraction over |y1 - y0|.
        const Wide num = Wide(e.x0) * den + (Wide(y) - e.y0) * (Wide(e.x1) - e.x0) * sign;
        m_crossings.push_back(CCrossingView{num, den, e.y1 > e.y0 ? 1 : -1});
    }
    std::sort(m_crossings.begin(), m_crossings.end(), CrossingLess);
    int nWinding = 0;
    for (std::size_t i = 0; i + 1 < m_crossings.size(); ++i) {
        nWinding += m_crossings[i].nWinding;
        if (nWinding == 0)
            continue;
        const CCrossingView& a = m_crossings[i];
        const CCrossingView& b = m_crossings[i + 1];
        // Strictly between: from floor(a) + 1 to ceil(b) - 1.
        const Wide from = FloorDiv(a.num, a.den) + 1;
        const Wide to = -FloorDiv(-b.num, b.den) - 1;
        Span(y, from, to, pixel);
    }
}

}  // namespace raster

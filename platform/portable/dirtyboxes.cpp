// The boxes a device presents: a new box grows into one it lies on or close to, and when there
// are too many, the two whose joint box wastes least become one.
#include "dirtyboxes.h"

#include <algorithm>
#include <climits>

namespace portable {

namespace {

// Copying a few pixels that did not change costs less than another box: the window system
// copies each box row by row, with work of its own for every row besides its pixels. Measured
// on the program's frames, joining boxes whenever that wastes up to a 64 x 64 square cost the
// server less than a quarter of that did (fewer boxes, a few more pixels), and took a third as
// many comparisons.
const long long kCheapWaste = 64 * 64;
// Boxes lie on a device, whose coordinates fit an int: areas then fit a long long, with room
// for the sums below.
const long long kMaxCoord = INT_MAX;

DeviceBox Union(const DeviceBox& a, const DeviceBox& b)
{
    return DeviceBox{std::min(a.left, b.left), std::min(a.top, b.top),
                     std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool Contains(const DeviceBox& outer, const DeviceBox& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

long long Area(const DeviceBox& box)
{
    return box.Width() * box.Height();
}

// The pixels of the joint box that neither box holds: what merging them costs. Every present
// weighs this some hundreds of times, hence whole numbers, and only the overlap may be empty.
long long Waste(const DeviceBox& a, const DeviceBox& b)
{
    const long long nOverlapWidth = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long nOverlapHeight = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    const long long nOverlap = std::max(nOverlapWidth, 0LL) * std::max(nOverlapHeight, 0LL);
    return (Area(Union(a, b)) - Area(a)) - (Area(b) - nOverlap);
}

}  // namespace

// A box that grows may come to lie on another, so the search goes on until none is near.
void CDirtyBoxes::Add(const DeviceBox& box)
{
    DeviceBox grown{std::max(box.left, 0LL), std::max(box.top, 0LL),
                    std::min(box.right, kMaxCoord), std::min(box.bottom, kMaxCoord)};
    if (grown.left >= grown.right || grown.top >= grown.bottom)
        return;
    for (int i = FindCheapPartner(grown); i >= 0; i = FindCheapPartner(grown)) {
        // Most often the figure lies within a box already (a part redrawn where it stands, or
        // where it was erased), and nothing grows.
        if (Contains(m_boxes[i], grown))
            return;
        grown = Union(grown, m_boxes[i]);
        RemoveAt(i);
    }
    m_boxes[m_nCount++] = grown;
    if (m_nCount > kMaxBoxes)
        MergeCheapestPair();
}

DeviceBox CDirtyBoxes::GetBounds() const
{
    DeviceBox bounds = m_boxes[0];
    for (int i = 1; i < m_nCount; ++i)
        bounds = Union(bounds, m_boxes[i]);
    return bounds;
}

// Figures are drawn outline by outline, so the box a figure joins is most often the last one
// that grew, which is the last in the list.
int CDirtyBoxes::FindCheapPartner(const DeviceBox& box) const
{
    for (int i = m_nCount - 1; i >= 0; --i) {
        if (Waste(box, m_boxes[i]) <= kCheapWaste)
            return i;
    }
    return -1;
}

void CDirtyBoxes::RemoveAt(int i)
{
    m_boxes[i] = m_boxes[--m_nCount];
}

// The merged pair is added again, as any box is, since it may now lie close to a third.
void CDirtyBoxes::MergeCheapestPair()
{
    int nBestA = 0;
    int nBestB = 1;
    long long nLeast = Waste(m_boxes[0], m_boxes[1]);
    for (int a = 0; a < m_nCount; ++a) {
        for (int b = a + 1; b < m_nCount; ++b) {
            const long long nWaste = Waste(m_boxes[a], m_boxes[b]);
            if (nWaste < nLeast) {
                nLeast = nWaste;
                nBestA = a;
                nBestB = b;
            }
        }
    }
    const DeviceBox merged = Union(m_boxes[nBestA], m_boxes[nBestB]);
    // The later one first, so that removing it moves neither of the pair.
    RemoveAt(nBestB);
    RemoveAt(nBestA);
    Add(merged);
}

}  // namespace portable

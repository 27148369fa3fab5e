// The boxes a device presents: a new box grows into one it lies on or close to, and when there
// are too many, the two whose joint box wastes least become one.
#include "dirtyboxes.h"

#include <algorithm>

namespace portable {

namespace {

// Copying a few pixels that did not change costs less than another box: the window system
// copies each box row by row, and every row of a box is a call of its own. This many pixels
// is about what the rows of a box of the program's figures cost.
const double kCheapWaste = 1024.0;

DeviceBox Union(const DeviceBox& a, const DeviceBox& b)
{
    return DeviceBox{std::min(a.left, b.left), std::min(a.top, b.top),
                     std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// In double, which holds every area of a device exactly and cannot overflow on a box that
// lies far beyond one.
double Area(const DeviceBox& box)
{
    if (box.left >= box.right || box.top >= box.bottom)
        return 0;
    return static_cast<double>(box.Width()) * static_cast<double>(box.Height());
}

// The pixels of the joint box that neither box holds: what merging them costs.
double Waste(const DeviceBox& a, const DeviceBox& b)
{
    const DeviceBox overlap{std::max(a.left, b.left), std::max(a.top, b.top),
                            std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    return Area(Union(a, b)) - Area(a) - Area(b) + Area(overlap);
}

}  // namespace

// A box that grows may come to lie on another, so the search goes on until none is near.
void CDirtyBoxes::Add(const DeviceBox& box)
{
    if (box.left >= box.right || box.top >= box.bottom)
        return;
    DeviceBox grown = box;
    for (int i = FindCheapPartner(grown); i >= 0; i = FindCheapPartner(grown)) {
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

int CDirtyBoxes::FindCheapPartner(const DeviceBox& box) const
{
    for (int i = 0; i < m_nCount; ++i) {
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
    double dLeast = Waste(m_boxes[0], m_boxes[1]);
    for (int a = 0; a < m_nCount; ++a) {
        for (int b = a + 1; b < m_nCount; ++b) {
            const double dWaste = Waste(m_boxes[a], m_boxes[b]);
            if (dWaste < dLeast) {
                dLeast = dWaste;
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

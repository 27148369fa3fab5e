// What changed on a device since it was last presented, as a few boxes. One box around every
// figure of a frame spans the whole picture as soon as two figures far apart change (the wheel
// and the cross), and copying that box costs the window system as much as drawing them all; the
// figures themselves cover a fraction of it. A handful of boxes comes close to what they cover
// and still fits in one small request.
#ifndef VURAZEVEDADAR_PORTABLE_DIRTYBOXES_H
#define VURAZEVEDADAR_PORTABLE_DIRTYBOXES_H

#include "device.h"

namespace portable {

class CDirtyBoxes {
public:
    // Few enough that the clip they make costs the window system little to set and to walk,
    // and a remote display a few dozen bytes a frame; enough for the separate parts of a
    // frame of this program.
    static constexpr int kMaxBoxes = 8;

    // Notes a box that changed (an empty one is no change). Every pixel of it stays covered
    // until Clear.
    void Add(const DeviceBox& box);
    void Clear() { m_nCount = 0; }

    bool IsEmpty() const { return m_nCount == 0; }
    int GetCount() const { return m_nCount; }
    const DeviceBox& GetBox(int i) const { return m_boxes[i]; }
    // The box around them all; meaningless when there are none.
    DeviceBox GetBounds() const;

private:
    // The box that the given one may grow into cheaply, or -1.
    int FindCheapPartner(const DeviceBox& box) const;
    void RemoveAt(int i);
    void MergeCheapestPair();

    // One more than the bound, where a new box waits while the cheapest pair is merged.
    DeviceBox m_boxes[kMaxBoxes + 1] = {};
    int m_nCount = 0;
};

}  // namespace portable

#endif  // VURAZEVEDADAR_PORTABLE_DIRTYBOXES_H

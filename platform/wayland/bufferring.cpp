// The buffers' bookkeeping: a buffer the frame leaves keeps its pixels, and every box presented
// after that is one it misses, until the frame comes back to it and the missed box is copied
// over from the buffer the frame left.
#include "bufferring.h"

#include <algorithm>

namespace wayland {

raster::CBox UniteBoxes(const raster::CBox& a, const raster::CBox& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return raster::CBox{std::min(a.left, b.left), std::min(a.top, b.top),
                        std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

long long CBufferRing::Area(const raster::CBox& box)
{
    return box.IsEmpty() ? 0 : (box.right - box.left) * (box.bottom - box.top);
}

void CBufferRing::Reset(int nBuffers, int nWidth, int nHeight)
{
    m_whole = raster::CBox{0, 0, nWidth, nHeight};
    m_slots.assign(Index(std::max(nBuffers, 1)), Slot{false, m_whole});
    m_nCurrent = 0;
    m_slots[0].m_missed = raster::CBox{0, 0, 0, 0};
}

int CBufferRing::Add()
{
    m_slots.push_back(Slot{false, m_whole});
    return GetCount() - 1;
}

void CBufferRing::Presented(const raster::CBox& box)
{
    for (int i = 0; i < GetCount(); ++i) {
        Slot& slot = m_slots[Index(i)];
        if (i == m_nCurrent)
            slot.m_bHeld = true;
        else
            slot.m_missed = UniteBoxes(slot.m_missed, box);
    }
}

void CBufferRing::Released(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetCount())
        m_slots[Index(nIndex)].m_bHeld = false;
}

int CBufferRing::ChooseNext() const
{
    if (m_slots.empty())
        return -1;
    if (!m_slots[Index(m_nCurrent)].m_bHeld)
        return m_nCurrent;
    int nBest = -1;
    for (int i = 0; i < GetCount(); ++i) {
        const Slot& slot = m_slots[Index(i)];
        if (!slot.m_bHeld &&
            (nBest < 0 || Area(slot.m_missed) < Area(m_slots[Index(nBest)].m_missed)))
            nBest = i;
    }
    return nBest;
}

raster::CBox CBufferRing::MoveTo(int nIndex)
{
    Slot& slot = m_slots[Index(nIndex)];
    const raster::CBox missed = slot.m_missed;
    slot.m_missed = raster::CBox{0, 0, 0, 0};
    m_nCurrent = nIndex;
    return missed;
}

}  // namespace wayland

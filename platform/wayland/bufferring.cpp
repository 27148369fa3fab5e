// The buffers' bookkeeping: a buffer the frame leaves keeps its pixels, and every box presented
// after that is one it misses, until the frame comes back to it and the missed box is copied
// over from the buffer the frame left, which has every frame since.
#include "bufferring.h"

#include <algorithm>
#include <cstring>

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

void CBufferRing::Reset(const std::vector<std::uint32_t*>& buffers, int nWidth, int nHeight)
{
    m_nWidth = nWidth;
    m_whole = raster::CBox{0, 0, nWidth, nHeight};
    m_slots.clear();
    for (std::uint32_t* pPixels : buffers)
        m_slots.push_back(Slot{pPixels, false, m_whole});
    m_nCurrent = 0;
    if (!m_slots.empty())
        m_slots.front().m_missed = raster::CBox{0, 0, 0, 0};
}

int CBufferRing::Add(std::uint32_t* pPixels)
{
    m_slots.push_back(Slot{pPixels, false, m_whole});
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

std::uint32_t* CBufferRing::MoveTo(int nIndex)
{
    Slot& slot = m_slots[Index(nIndex)];
    Copy(m_slots[Index(m_nCurrent)].m_pPixels, slot.m_pPixels, slot.m_missed);
    slot.m_missed = raster::CBox{0, 0, 0, 0};
    m_nCurrent = nIndex;
    return slot.m_pPixels;
}

// Missed boxes lie within the frame, whose sides fit an int.
void CBufferRing::Copy(const std::uint32_t* pFrom, std::uint32_t* pTo,
                       const raster::CBox& box) const
{
    if (box.IsEmpty() || pFrom == pTo)
        return;
    const std::size_t nWidth = static_cast<std::size_t>(m_nWidth);
    const std::size_t nCount = static_cast<std::size_t>(box.right - box.left);
    for (long long y = box.top; y < box.bottom; ++y) {
        const std::size_t nOffset =
            static_cast<std::size_t>(y) * nWidth + static_cast<std::size_t>(box.left);
        std::memcpy(pTo + nOffset, pFrom + nOffset, nCount * sizeof *pTo);
    }
}

}  // namespace wayland

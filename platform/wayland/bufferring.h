// Which of a window's buffers the frame lives in, which ones the compositor still holds, and
// what each of the others has missed since the frame last lived in it; and the move of the
// frame from one buffer to another, which copies only what the new one missed. Plain memory
// and bookkeeping, without Wayland, so that it can be tested on its own.
#ifndef VURAZEVEDADAR_WAYLAND_BUFFERRING_H
#define VURAZEVEDADAR_WAYLAND_BUFFERRING_H

#include <raster/raster.h>

#include <cstdint>
#include <vector>

namespace wayland {

// The union of two boxes as one box: what a buffer has missed may be over-counted, never
// under-counted, so the frames it is brought up to date with stay whole.
raster::CBox UniteBoxes(const raster::CBox& a, const raster::CBox& b);

class CBufferRing {
public:
    // Two buffers let the device draw the next frame while the compositor shows the last; a
    // compositor slow to let one go gets a third and a fourth, and only then is waited for.
    static constexpr int kInitialBuffers = 2;
    static constexpr int kMaxBuffers = 4;

    // A new size, and the buffers' memory (width x height words each, rows one after the
    // other): the frame lives in the first, and every other one misses all of it.
    void Reset(const std::vector<std::uint32_t*>& buffers, int nWidth, int nHeight);
    // Another buffer, which misses the whole frame; gives its index.
    int Add(std::uint32_t* pPixels);
    int GetCount() const { return static_cast<int>(m_slots.size()); }
    int GetCurrent() const { return m_nCurrent; }
    std::uint32_t* GetPixels(int nIndex) const { return m_slots[Index(nIndex)].m_pPixels; }

    // The current buffer went to the compositor, with the box of what changed in it.
    void Presented(const raster::CBox& box);
    void Released(int nIndex);
    // The buffer the frame is to live in before it is drawn again: the current one once the
    // compositor has let it go (nothing to copy), else the free one that missed least; -1
    // when the compositor holds them all.
    int ChooseNext() const;
    // Moves the frame into a free buffer, copying over from the current one what it missed;
    // gives its memory.
    std::uint32_t* MoveTo(int nIndex);

private:
    struct Slot {
        std::uint32_t* m_pPixels;
        bool m_bHeld;
        raster::CBox m_missed;
    };
    static std::size_t Index(int n) { return static_cast<std::size_t>(n); }
    static long long Area(const raster::CBox& box);
    void Copy(const std::uint32_t* pFrom, std::uint32_t* pTo, const raster::CBox& box) const;

    std::vector<Slot> m_slots;
    int m_nCurrent = 0;
    int m_nWidth = 0;
    raster::CBox m_whole{0, 0, 0, 0};
};

}  // namespace wayland

#endif  // VURAZEVEDADAR_WAYLAND_BUFFERRING_H

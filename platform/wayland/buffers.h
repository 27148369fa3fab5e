// Shared-memory buffers for a surface, and the presenter that turns a window's frame through
// them. The framebuffer is the buffer memory itself (the compositor's XRGB8888 is the
// framebuffer's word on a little-endian machine), so a frame is presented without a copy; only
// a buffer the frame comes back to is brought up to date, with the box it missed.
#ifndef VURAZEVEDADAR_WAYLAND_BUFFERS_H
#define VURAZEVEDADAR_WAYLAND_BUFFERS_H

#include "backend.h"
#include "bufferring.h"

#include <raster/rasterdevice.h>

#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <vector>

struct wp_viewport;

namespace wayland {

// The compositor's wl_shm XRGB8888: blue in the low byte of a little-endian word. Every
// compositor takes it. The top byte is set all the same, so that the same pixels read as
// opaque ARGB8888 too.
constexpr raster::CPixelFormat kShmFormat = {16, 8, 0, 0xFF000000u};

// One wl_buffer over memory of its own, mapped on both sides.
class CShmBuffer {
public:
    // Calls pfnReleased(pData) when the compositor lets the buffer go.
    using Released = void (*)(void* pData);
    CShmBuffer() = default;
    ~CShmBuffer();
    CShmBuffer(const CShmBuffer&) = delete;
    CShmBuffer& operator=(const CShmBuffer&) = delete;

    // False when the memory or the buffer cannot be had.
    bool Create(int nWidth, int nHeight, Released pfnReleased, void* pData);
    wl_buffer* GetBuffer() const { return m_pBuffer; }
    std::uint32_t* GetPixels() const { return m_pPixels; }

private:
    static void OnRelease(void* pData, wl_buffer* pBuffer);

    wl_buffer* m_pBuffer = nullptr;
    std::uint32_t* m_pPixels = nullptr;
    std::size_t m_nBytes = 0;
    Released m_pfnReleased = nullptr;
    void* m_pData = nullptr;
};

// What the window's surface is to show the buffer with: its buffer scale, and where a viewport
// scales it, the viewport's size in logical units. Applied with the next buffer, as the
// protocol wants a new scale and a buffer of the matching size in one commit.
struct CSurfaceScaling {
    int m_nBufferScale;
    int m_nViewportWidth;   // 0: no viewport
    int m_nViewportHeight;
};

class CShmPresenter final : private raster::CPresenter {
public:
    CShmPresenter(wl_surface* pSurface, const COLORREF* pcrBackground);
    ~CShmPresenter();
    CShmPresenter(const CShmPresenter&) = delete;
    CShmPresenter& operator=(const CShmPresenter&) = delete;

    raster::CRasterDevice& Device() { return m_device; }
    // New buffers of the size, and the device cleared at it; false (keeping the old size)
    // when the buffers cannot be had.
    bool Resize(int nWidth, int nHeight);
    // Gives whether the scaling differs from the one the surface shows.
    bool SetScaling(const CSurfaceScaling& scaling, wp_viewport* pViewport);
    // Presents what changed; the window calls it only once the surface may show a buffer.
    void Present() { m_device.Present(); }
    // The surface was hidden: the next present shows the whole frame.
    void Invalidate() { m_device.Invalidate(); }
    // Has the compositor repaint the window's outermost nWidth pixels all round, with the
    // next commit (DamageEdges) or the next frame presented (RepaintEdgesWithNextFrame).
    void DamageEdges(int nWidth);
    void RepaintEdgesWithNextFrame(int nWidth) { m_nEdgesToRepaint = nWidth; }
    int GetBufferCount() const { return static_cast<int>(m_buffers.size()); }

private:
    struct CSlot {
        CShmPresenter* m_pPresenter;
        int m_nIndex;
        CShmBuffer m_buffer;
    };

    std::uint32_t* ProvidePixels(int nWidth, int nHeight) override;
    void FinishPresenting() override {}
    void Present(const raster::CFrameBuffer& frame, const raster::CBox& box) override;
    std::uint32_t* ProvideNextPixels() override;

    static void OnReleased(void* pData);
    bool AddBuffer();
    int WaitForFreeBuffer();
    void ApplyScaling();

    wl_surface* m_pSurface;
    std::vector<std::unique_ptr<CSlot>> m_buffers;
    CBufferRing m_ring;
    int m_nWidth = 0;
    int m_nHeight = 0;
    CSurfaceScaling m_scaling{1, 0, 0};
    bool m_bScalingChanged = false;
    int m_nEdgesToRepaint = 0;
    wp_viewport* m_pViewport = nullptr;
    raster::CRasterDevice m_device;
};

}  // namespace wayland

#endif  // VURAZEVEDADAR_WAYLAND_BUFFERS_H

// The buffers: anonymous shared memory handed to the compositor through wl_shm, one pool per
// buffer; and the presenter, which attaches the buffer the frame lives in with the box that
// changed, and moves the frame to a free buffer before it is drawn again.
#include "buffers.h"
#include "display.h"

#include "viewporter-client-protocol.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>


static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "wl_shm's formats are little-endian words; a big-endian machine would need the "
              "pixels converted");

namespace wayland {

namespace {

const int kBytesPerPixel = 4;
const std::int32_t kNoDestination = -1;

// Memory with no name in any file system, which the compositor maps through the descriptor.
int CreateMemory(std::size_t nBytes)
{
    const int nFd = memfd_create("vurazevedadar-buffer", MFD_CLOEXEC);
    if (nFd < 0)
        return -1;
    if (ftruncate(nFd, static_cast<off_t>(nBytes)) != 0) {
        close(nFd);
        return -1;
    }
    return nFd;
}

}  // namespace

CShmBuffer::~CShmBuffer()
{
    if (m_pBuffer != nullptr)
        wl_buffer_destroy(m_pBuffer);
    if (m_pPixels != nullptr)
        munmap(m_pPixels, m_nBytes);
}

// The pool is given up as soon as the buffer is made: the buffer keeps what it needs of it, and
// the compositor has its own descriptor by then. The memory is unmapped with the buffer,
// whatever step failed.
bool CShmBuffer::Create(int nWidth, int nHeight, Released pfnReleased, void* pData)
{
    const int nStride = nWidth * kBytesPerPixel;
    const std::size_t nBytes = static_cast<std::size_t>(nStride) * static_cast<std::size_t>(nHeight);
    const int nFd = CreateMemory(nBytes);
    if (nFd < 0)
        return false;
    void* pMemory = mmap(nullptr, nBytes, PROT_READ | PROT_WRITE, MAP_SHARED, nFd, 0);
    if (pMemory == MAP_FAILED) {
        close(nFd);
        return false;
    }
    m_pPixels = static_cast<std::uint32_t*>(pMemory);
    m_nBytes = nBytes;
    // A pool's size is an int32: the framebuffer's limit of 64 Mi pixels keeps it at 256 MiB.
    wl_shm_pool* pPool =
        wl_shm_create_pool(TheConnection().m_pBufferShm, nFd, static_cast<std::int32_t>(nBytes));
    close(nFd);
    if (pPool == nullptr)
        return false;
    m_pBuffer = wl_shm_pool_create_buffer(pPool, 0, nWidth, nHeight, nStride,
                                          WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pPool);
    if (m_pBuffer == nullptr)
        return false;
    m_pfnReleased = pfnReleased;
    m_pData = pData;
    static const wl_buffer_listener kListener = {OnRelease};
    wl_buffer_add_listener(m_pBuffer, &kListener, this);
    return true;
}

void CShmBuffer::OnRelease(void* pData, wl_buffer*)
{
    const CShmBuffer* pBuffer = static_cast<CShmBuffer*>(pData);
    pBuffer->m_pfnReleased(pBuffer->m_pData);
}

CShmPresenter::CShmPresenter(wl_surface* pSurface, const COLORREF* pcrBackground)
    : m_pSurface(pSurface), m_device(*this, kShmFormat, pcrBackground)
{
}

CShmPresenter::~CShmPresenter() = default;

void CShmPresenter::OnReleased(void* pData)
{
    const CSlot* pSlot = static_cast<CSlot*>(pData);
    pSlot->m_pPresenter->m_ring.Released(pSlot->m_nIndex);
}

bool CShmPresenter::AddBuffer()
{
    auto pSlot = std::make_unique<CSlot>();
    pSlot->m_pPresenter = this;
    pSlot->m_nIndex = static_cast<int>(m_buffers.size());
    if (!pSlot->m_buffer.Create(m_nWidth, m_nHeight, OnReleased, pSlot.get()))
        return false;
    m_buffers.push_back(std::move(pSlot));
    return true;
}

// The old buffers go even where the compositor still shows one: it keeps its own mapping of
// the memory until the new size's first frame replaces it.
bool CShmPresenter::Resize(int nWidth, int nHeight)
{
    if (!raster::CFrameBuffer::IsSizeAllowed(nWidth, nHeight) || nWidth == 0 || nHeight == 0)
        return false;
    std::vector<std::unique_ptr<CSlot>> old;
    old.swap(m_buffers);
    const int nOldWidth = m_nWidth;
    const int nOldHeight = m_nHeight;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    for (int i = 0; i < CBufferRing::kInitialBuffers; ++i) {
        if (!AddBuffer()) {
            m_buffers.swap(old);
            m_nWidth = nOldWidth;
            m_nHeight = nOldHeight;
            return false;
        }
    }
    std::vector<std::uint32_t*> pixels;
    for (const auto& pSlot : m_buffers)
        pixels.push_back(pSlot->m_buffer.GetPixels());
    m_ring.Reset(pixels, nWidth, nHeight);
    return m_device.Resize(nWidth, nHeight);
}

std::uint32_t* CShmPresenter::ProvidePixels(int, int)
{
    return m_buffers.empty() ? nullptr : m_buffers.front()->m_buffer.GetPixels();
}

bool CShmPresenter::SetScaling(const CSurfaceScaling& scaling, wp_viewport* pViewport)
{
    const bool bChanged = scaling.m_nBufferScale != m_scaling.m_nBufferScale ||
                          scaling.m_nViewportWidth != m_scaling.m_nViewportWidth ||
                          scaling.m_nViewportHeight != m_scaling.m_nViewportHeight;
    m_bScalingChanged = m_bScalingChanged || bChanged;
    m_scaling = scaling;
    m_pViewport = pViewport;
    return bChanged;
}

void CShmPresenter::ApplyScaling()
{
    if (!m_bScalingChanged)
        return;
    wl_surface_set_buffer_scale(m_pSurface, m_scaling.m_nBufferScale);
    // A viewport without a destination (-1, -1) shows the buffer at its own size again, for a
    // window that has gone back to an integer scale.
    if (m_pViewport != nullptr && m_scaling.m_nViewportWidth > 0)
        wp_viewport_set_destination(m_pViewport, m_scaling.m_nViewportWidth,
                                    m_scaling.m_nViewportHeight);
    else if (m_pViewport != nullptr)
        wp_viewport_set_destination(m_pViewport, kNoDestination, kNoDestination);
    m_bScalingChanged = false;
}

void CShmPresenter::Present(const raster::CFrameBuffer&, const raster::CBox& box)
{
    if (m_buffers.empty())
        return;
    const int nCurrent = m_ring.GetCurrent();
    ApplyScaling();
    wl_surface_attach(m_pSurface, m_buffers[static_cast<std::size_t>(nCurrent)]->m_buffer.GetBuffer(),
                      0, 0);
    // The box lies within the framebuffer, whose sides fit an int.
    wl_surface_damage_buffer(m_pSurface, static_cast<std::int32_t>(box.left),
                             static_cast<std::int32_t>(box.top),
                             static_cast<std::int32_t>(box.right - box.left),
                             static_cast<std::int32_t>(box.bottom - box.top));
    if (m_nEdgesToRepaint > 0) {
        DamageEdges(m_nEdgesToRepaint);
        m_nEdgesToRepaint = 0;
    }
    wl_surface_commit(m_pSurface);
    m_ring.Presented(box);
}

void CShmPresenter::DamageEdges(int nWidth)
{
    const int nSide = std::min({nWidth, m_nWidth, m_nHeight});
    wl_surface_damage_buffer(m_pSurface, 0, 0, m_nWidth, nSide);
    wl_surface_damage_buffer(m_pSurface, 0, m_nHeight - nSide, m_nWidth, nSide);
    wl_surface_damage_buffer(m_pSurface, 0, 0, nSide, m_nHeight);
    wl_surface_damage_buffer(m_pSurface, m_nWidth - nSide, 0, nSide, m_nHeight);
}

// The compositor nearly always lets the older buffer go within a tick; if it has not, a new
// buffer is cheaper than waiting, up to a few; then the release is waited for on the buffers'
// own queue, which runs nothing but the buffers' listeners.
int CShmPresenter::WaitForFreeBuffer()
{
    const CConnection& connection = TheConnection();
    for (;;) {
        const int nNext = m_ring.ChooseNext();
        if (nNext >= 0)
            return nNext;
        if (m_ring.GetCount() < CBufferRing::kMaxBuffers && AddBuffer())
            return m_ring.Add(m_buffers.back()->m_buffer.GetPixels());
        CheckDisplayResult(
            wl_display_dispatch_queue(connection.m_pDisplay, connection.m_pBufferQueue));
    }
}

std::uint32_t* CShmPresenter::ProvideNextPixels()
{
    if (m_buffers.empty())
        return nullptr;
    const int nNext = WaitForFreeBuffer();
    return nNext != m_ring.GetCurrent() ? m_ring.MoveTo(nNext) : nullptr;
}

}  // namespace wayland

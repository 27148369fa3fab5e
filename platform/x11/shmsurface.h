// The picture drawn in memory by the raster device, with GDI's pixels, and shared with the
// server: one XShmPutImage of the changed rectangle per frame. Where the server's pixel layout
// is the framebuffer's (32 bits a pixel, 8 bits a colour, the machine's byte order) the
// framebuffer is the shared segment itself and presenting copies nothing on this side; other
// layouts (depths 15, 16 and 30, DirectColor) are converted into the segment at present time.
#ifndef VURAZEVEDADAR_X11_SHMSURFACE_H
#define VURAZEVEDADAR_X11_SHMSURFACE_H

#include "backend.h"

#include <raster/rasterdevice.h>

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstddef>

namespace x11 {

// Whether windows are to be drawn in memory and shared with the server: the choice of
// VURAZEVEDADAR_X11_PRESENT ("shm" or "pixmap"), or, unset, whether the server offers MIT-SHM
// and accepts a segment of this process (it does not across a network). Settled on the first
// call; a forced choice the server cannot meet ends the program with a message.
bool UsesSharedMemory();

class CShmSurface final : private raster::CPresenter {
public:
    CShmSurface(Window idWindow, const COLORREF* pcrBackground);
    ~CShmSurface();
    CShmSurface(const CShmSurface&) = delete;
    CShmSurface& operator=(const CShmSurface&) = delete;

    raster::CRasterDevice& Device() { return m_device; }
    // False when the framebuffer cannot be that large or the server takes no segment of it.
    bool Resize(int nWidth, int nHeight);
    void Present() { m_device.Present(); }
    void Invalidate() { m_device.Invalidate(); }
    // Takes the server's word that it has read the segment; false for another surface's.
    bool TakeCompletion(const XEvent& event);
    bool IsBeingRead() const { return m_bReading; }

private:
    std::uint32_t* ProvidePixels(int nWidth, int nHeight) override;
    void FinishPresenting() override;
    void Present(const raster::CFrameBuffer& frame, const raster::CBox& box) override;

    bool MakeImage(int nWidth, int nHeight);
    bool AttachSegment(std::size_t nBytes);
    void DetachSegment();
    void Convert(const raster::CFrameBuffer& frame, const raster::CBox& box);

    Display* m_pDisplay;
    Window m_idWindow;
    GC m_gc;
    bool m_bConverts;
    XShmSegmentInfo m_segment;
    std::size_t m_nCapacity = 0;
    XImage* m_pImage = nullptr;
    bool m_bReading = false;  // the server may still be reading the segment
    raster::CRasterDevice m_device;
};

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_SHMSURFACE_H

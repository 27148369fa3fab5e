// The raster device: GDI's figures drawn by the rasteriser into a window's framebuffer, in the
// window system's own pixel layout. A window system that uses it supplies a presenter, which
// only puts a changed rectangle of the framebuffer on the screen (an image copy into a canvas,
// a shared-memory image, a buffer handed to a compositor). Each present shows whole frames:
// the device presents when the program waits, never in the middle of its drawing.
#ifndef VURAZEVEDADAR_RASTER_RASTERDEVICE_H
#define VURAZEVEDADAR_RASTER_RASTERDEVICE_H

#include "device.h"

#include "raster/framebuffer.h"
#include "raster/painter.h"

namespace raster {

class CPresenter {
public:
    // Memory for the pixels of a width x height framebuffer, rows one after the other, which
    // the window system can read without a copy; null when it has none to offer, and the
    // device keeps the pixels in memory of its own.
    virtual std::uint32_t* ProvidePixels(int nWidth, int nHeight) = 0;
    // The device is about to change pixels it has presented: a copy of them that the window
    // system is still reading must be finished first.
    virtual void FinishPresenting() = 0;
    // Puts the box of the framebuffer on the screen.
    virtual void Present(const CFrameBuffer& frame, const CBox& box) = 0;
    // Asked after FinishPresenting, before the device draws over presented pixels: other
    // memory of the frame's size, already holding the frame's pixels, to draw into from now
    // on; null to draw on where the device drew. A compositor keeps reading the memory it was
    // last given until it is handed another, so a presenter for one turns the frame through
    // several.
    virtual std::uint32_t* ProvideNextPixels() { return nullptr; }

protected:
    ~CPresenter() = default;
};

class CRasterDevice final : public portable::CDevice {
public:
    // The background is what Erase and a new size clear to; null leaves the pixels black.
    CRasterDevice(CPresenter& presenter, const CPixelFormat& format,
                  const COLORREF* pcrBackground);
    CRasterDevice(const CRasterDevice&) = delete;
    CRasterDevice& operator=(const CRasterDevice&) = delete;

    // A new size, cleared to the background and to be presented whole; false (keeping the
    // old size) when the framebuffer cannot be that large or the presenter has no memory.
    bool Resize(int nWidth, int nHeight);
    // Presents what changed since the last present, if anything did.
    void Present();
    // The window system has lost what was presented: the next present shows everything.
    void Invalidate() { m_frame.MarkAllDirty(); }
    const CFrameBuffer& GetFrame() const { return m_frame; }

    void Line(const portable::DrawContext& dc, portable::DevicePoint ptFrom,
              portable::DevicePoint ptTo) override;
    void Rectangle(const portable::DrawContext& dc, const portable::DeviceBox& box) override;
    bool Ellipse(const portable::DrawContext& dc, const portable::DeviceBox& box) override;
    bool Arc(const portable::DrawContext& dc, const portable::DeviceBox& box,
             portable::DevicePoint ptStart, portable::DevicePoint ptEnd) override;
    bool Pie(const portable::DrawContext& dc, const portable::DeviceBox& box,
             portable::DevicePoint ptStart, portable::DevicePoint ptEnd) override;
    void Erase() override;

private:
    CPainter& PrepareDrawing(const portable::DrawContext& dc);

    CPresenter& m_presenter;
    CFrameBuffer m_frame;
    CPainter m_painter;
    bool m_bHasBackground;
    COLORREF m_crBackground;
    // Whether pixels were presented since the device last drew: the presenter may still be
    // reading them.
    bool m_bPresented = false;
};

}  // namespace raster

#endif  // VURAZEVEDADAR_RASTER_RASTERDEVICE_H

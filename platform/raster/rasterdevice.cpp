// The raster device: the core's device calls drawn by the rasteriser into the framebuffer, and
// the changed rectangle handed to the window system's presenter.
#include "raster/rasterdevice.h"

namespace raster {

namespace {

CPoint64 ToRaster(portable::DevicePoint pt)
{
    return CPoint64{pt.x, pt.y};
}

CBox ToRaster(const portable::DeviceBox& box)
{
    return CBox{box.left, box.top, box.right, box.bottom};
}

}  // namespace

CRasterDevice::CRasterDevice(CPresenter& presenter, const CPixelFormat& format,
                             const COLORREF* pcrBackground)
    : m_presenter(presenter),
      m_frame(format),
      m_painter(m_frame),
      m_bHasBackground(pcrBackground != nullptr),
      m_crBackground(pcrBackground != nullptr ? *pcrBackground : 0)
{
}

// The presenter's memory for the old size may be given up for the new one, so whatever it
// still reads of the old pixels must be finished first.
bool CRasterDevice::Resize(int nWidth, int nHeight)
{
    if (!CFrameBuffer::IsSizeAllowed(nWidth, nHeight))
        return false;
    m_presenter.FinishPresenting();
    m_bPresented = false;
    std::uint32_t* pMemory = m_presenter.ProvidePixels(nWidth, nHeight);
    if (!m_frame.Resize(nWidth, nHeight, pMemory))
        return false;
    if (m_bHasBackground)
        m_frame.Clear(m_crBackground);
    m_frame.MarkAllDirty();
    return true;
}

void CRasterDevice::Present()
{
    const CBox dirty = m_frame.TakeDirty();
    if (dirty.IsEmpty())
        return;
    m_presenter.Present(m_frame, dirty);
    m_bPresented = true;
}

CPainter& CRasterDevice::PrepareDrawing(const portable::DrawContext& dc)
{
    if (m_bPresented) {
        m_presenter.FinishPresenting();
        if (std::uint32_t* pNext = m_presenter.ProvideNextPixels())
            m_frame.MovePixels(pNext);
        m_bPresented = false;
    }
    if (dc.m_clip.m_bOn) {
        const CBox clip = ToRaster(dc.m_clip.m_box);
        m_painter.SetClip(&clip);
    } else {
        m_painter.SetClip(nullptr);
    }
    return m_painter;
}

void CRasterDevice::Line(const portable::DrawContext& dc, portable::DevicePoint ptFrom,
                         portable::DevicePoint ptTo)
{
    PrepareDrawing(dc).Line(ToRaster(ptFrom), ToRaster(ptTo), dc.m_crPen);
}

void CRasterDevice::Rectangle(const portable::DrawContext& dc, const portable::DeviceBox& box)
{
    PrepareDrawing(dc).Rectangle(ToRaster(box), dc.m_crPen, dc.m_crBrush);
}

bool CRasterDevice::Ellipse(const portable::DrawContext& dc, const portable::DeviceBox& box)
{
    return PrepareDrawing(dc).Ellipse(ToRaster(box), dc.m_crPen, dc.m_crBrush);
}

bool CRasterDevice::Arc(const portable::DrawContext& dc, const portable::DeviceBox& box,
                        portable::DevicePoint ptStart, portable::DevicePoint ptEnd)
{
    return PrepareDrawing(dc).Arc(ToRaster(box), ToRaster(ptStart), ToRaster(ptEnd),
                                  dc.m_crPen);
}

bool CRasterDevice::Pie(const portable::DrawContext& dc, const portable::DeviceBox& box,
                        portable::DevicePoint ptStart, portable::DevicePoint ptEnd)
{
    return PrepareDrawing(dc).Pie(ToRaster(box), ToRaster(ptStart), ToRaster(ptEnd), dc.m_crPen,
                                  dc.m_crBrush);
}

void CRasterDevice::Erase()
{
    if (!m_bHasBackground)
        return;
    PrepareDrawing(portable::DrawContext{m_crBackground, m_crBackground, portable::kNoClip});
    m_frame.Clear(m_crBackground);
}

}  // namespace raster

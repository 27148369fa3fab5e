// The device: GDI's figures drawn into the window's framebuffer by the shared rasteriser. The
// page sees them when the loop next waits, and then only the rectangle that changed.
#include "webwindow.h"
#include "webpage.h"

namespace {

raster::CPoint64 ToRaster(portable::DevicePoint pt)
{
    return raster::CPoint64{pt.x, pt.y};
}

raster::CBox ToRaster(const portable::DeviceBox& box)
{
    return raster::CBox{box.left, box.top, box.right, box.bottom};
}

raster::CPainter& PainterFor(const portable::DrawContext& dc)
{
    raster::CPainter& painter = dc.m_pWindow->m_painter;
    if (dc.m_clip.m_bOn) {
        const raster::CBox clip = ToRaster(dc.m_clip.m_box);
        painter.SetClip(&clip);
    } else {
        painter.SetClip(nullptr);
    }
    return painter;
}

}  // namespace

namespace portable {

void DeviceLine(const DrawContext& dc, DevicePoint ptFrom, DevicePoint ptTo)
{
    PainterFor(dc).Line(ToRaster(ptFrom), ToRaster(ptTo), dc.m_crPen);
}

void DeviceRectangle(const DrawContext& dc, const DeviceBox& box)
{
    PainterFor(dc).Rectangle(ToRaster(box), dc.m_crPen, dc.m_crBrush);
}

bool DeviceEllipse(const DrawContext& dc, const DeviceBox& box)
{
    return PainterFor(dc).Ellipse(ToRaster(box), dc.m_crPen, dc.m_crBrush);
}

bool DeviceArc(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
               DevicePoint ptEnd)
{
    return PainterFor(dc).Arc(ToRaster(box), ToRaster(ptStart), ToRaster(ptEnd), dc.m_crPen);
}

bool DevicePie(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
               DevicePoint ptEnd)
{
    return PainterFor(dc).Pie(ToRaster(box), ToRaster(ptStart), ToRaster(ptEnd), dc.m_crPen,
                              dc.m_crBrush);
}

void DeviceErase(CNativeWindow* pWindow)
{
    if (pWindow->m_bHasBackground)
        pWindow->m_frame.Clear(pWindow->m_crBackground);
}

void DeviceFlush()
{
    web::PresentPageWindow();
}

}  // namespace portable

namespace web {

void PresentPageWindow()
{
    CNativeWindow* pWindow = PageWindow();
    if (pWindow == nullptr)
        return;
    const raster::CBox dirty = pWindow->m_frame.TakeDirty();
    if (dirty.IsEmpty())
        return;
    const raster::CFrameBuffer& frame = pWindow->m_frame;
    // The dirty box lies within the framebuffer, whose sides fit an int.
    vz_page_present(frame.GetPixels(), frame.GetWidth(), frame.GetHeight(),
                    static_cast<int>(dirty.left), static_cast<int>(dirty.top),
                    static_cast<int>(dirty.right - dirty.left),
                    static_cast<int>(dirty.bottom - dirty.top));
}

}  // namespace web

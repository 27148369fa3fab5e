// The device that draws with X requests: the GC, made with GDI's conventions and brought to
// each drawing call's clip and colour; the figures, each filled with the brush first and
// outlined with the pen after, as GDI does, so the outline is never painted over; and the back
// buffer with its one copy per frame.
#include "xlibdevice.h"
#include "errortrap.h"
#include "geometry.h"
#include "resources.h"

#include <raster/framebuffer.h>

#include <algorithm>

using portable::DeviceBox;
using portable::DevicePoint;
using portable::DrawContext;

namespace x11 {

namespace {

short ClampCoord(long long v)
{
    return static_cast<short>(std::min(std::max(v, kCoordMin), kCoordMax));
}

// X carries a clip rectangle in 16 bits. Edges beyond that range lie outside every window, so
// pulling them in to the range's ends changes nothing a window shows. An empty rectangle is
// sent as no rectangle at all, which clips every pixel away.
void ApplyClip(Display* pDisplay, GC gc, const portable::ClipRect& clip)
{
    if (!clip.m_bOn) {
        XSetClipMask(pDisplay, gc, None);
        return;
    }
    const short left = ClampCoord(clip.m_box.left);
    const short top = ClampCoord(clip.m_box.top);
    const long long width = static_cast<long long>(ClampCoord(clip.m_box.right)) - left;
    const long long height = static_cast<long long>(ClampCoord(clip.m_box.bottom)) - top;
    XRectangle rect = {left, top, static_cast<unsigned short>(std::max(width, 0LL)),
                       static_cast<unsigned short>(std::max(height, 0LL))};
    const int nRects = rect.width != 0 && rect.height != 0 ? 1 : 0;
    XSetClipRectangles(pDisplay, gc, 0, 0, &rect, nRects, Unsorted);
}

// The GC a new window gets, with GDI's line conventions: width 0 (the server's thin-line
// algorithm, which is what matches cosmetic pens), the last point of a line left out as GDI
// does, and pie-slice fills.
GcCache CreateWindowGC(Display* pDisplay, Window idWindow)
{
    XGCValues values = XGCValues();
    const COLORREF crBlack = RGB(0, 0, 0);
    values.foreground = PixelOf(crBlack);
    values.line_width = 0;
    values.cap_style = CapNotLast;
    values.arc_mode = ArcPieSlice;
    values.graphics_exposures = False;
    const unsigned long nMask =
        GCForeground | GCLineWidth | GCCapStyle | GCArcMode | GCGraphicsExposures;
    return GcCache{CreateCountedGC(pDisplay, idWindow, nMask, &values), crBlack,
                   portable::kNoClip};
}

// The GC that copies frames from the back buffer: no clip, and no events about parts of the
// copy that could not be read (a back buffer has none).
GC CreateCopyGC(Display* pDisplay, Window idWindow)
{
    XGCValues values = XGCValues();
    values.graphics_exposures = False;
    return CreateCountedGC(pDisplay, idWindow, GCGraphicsExposures, &values);
}

// The cap style leaves out the end point, as GDI does; a line of length zero has no pixel
// at all in GDI, whereas X would still plot its one point.
void DrawSegment(const DrawTarget& target, DevicePoint from, DevicePoint to)
{
    if (from == to || !ClipSegment(&from, &to))
        return;
    XDrawLine(target.m_pDisplay, target.m_idDrawable, target.m_gc, static_cast<int>(from.x),
              static_cast<int>(from.y), static_cast<int>(to.x), static_cast<int>(to.y));
}

}  // namespace

CXlibDevice::CXlibDevice(Window idWindow, const COLORREF* pcrBackground)
    : m_pDisplay(TheConnection().m_pDisplay),
      m_idWindow(idWindow),
      m_idTarget(idWindow),
      m_gcCache(CreateWindowGC(m_pDisplay, idWindow)),
      m_gcCopy(CreateCopyGC(m_pDisplay, idWindow)),
      m_bHasBackground(pcrBackground != nullptr),
      m_crBackground(pcrBackground != nullptr ? *pcrBackground : 0)
{
}

CXlibDevice::~CXlibDevice()
{
    FreeBackBuffer();
    FreeCountedGC(m_pDisplay, m_gcCopy);
    FreeCountedGC(m_pDisplay, m_gcCache.m_gc);
}

void CXlibDevice::FreeBackBuffer()
{
    if (m_idBackBuffer != None)
        FreeCountedPixmap(m_pDisplay, m_idBackBuffer);
    m_idBackBuffer = None;
    m_idTarget = m_idWindow;
}

// A back buffer has the same budget as a framebuffer in memory: no screen needs more, and the
// server's memory is not to be staked on a window dragged to an absurd size. The server may
// still refuse one (BadAlloc); that costs a round trip per size, which only resizing pays.
void CXlibDevice::Resize(int nWidth, int nHeight)
{
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    FreeBackBuffer();
    if (raster::CFrameBuffer::IsSizeAllowed(nWidth, nHeight)) {
        CErrorTrap trap(m_pDisplay);
        const Pixmap idPixmap = CreateCountedPixmap(
            m_pDisplay, m_idWindow, static_cast<unsigned>(nWidth), static_cast<unsigned>(nHeight),
            static_cast<unsigned>(DefaultDepth(m_pDisplay, TheConnection().m_nScreen)));
        if (trap.Failed()) {
            if (idPixmap != None)
                FreeCountedPixmap(m_pDisplay, idPixmap);
        } else {
            m_idBackBuffer = idPixmap;
            m_idTarget = idPixmap;
        }
    }
    // Only a back buffer keeps what was drawn, so only then is there anything to remember;
    // and a back buffer is never so large that the journal's tiles would cost much.
    if (m_idBackBuffer != None)
        m_journal.Reset(nWidth, nHeight);
    else
        m_journal.Reset(0, 0);
    Erase();
}

void CXlibDevice::Invalidate()
{
    AddDirty(0, 0, m_nWidth, m_nHeight);
}

void CXlibDevice::AddDirty(long long left, long long top, long long right, long long bottom)
{
    const DeviceBox box{std::max(left, 0LL), std::max(top, 0LL),
                        std::min(right, static_cast<long long>(m_nWidth)),
                        std::min(bottom, static_cast<long long>(m_nHeight))};
    if (box.left >= box.right || box.top >= box.bottom)
        return;
    if (m_dirty.left >= m_dirty.right) {
        m_dirty = box;
        return;
    }
    m_dirty = DeviceBox{std::min(m_dirty.left, box.left), std::min(m_dirty.top, box.top),
                        std::max(m_dirty.right, box.right), std::max(m_dirty.bottom, box.bottom)};
}

// One request for the whole frame: the server shows it at once, so no compositor can catch the
// window between a figure's erasing and its drawing.
void CXlibDevice::Present()
{
    if (m_dirty.left >= m_dirty.right)
        return;
    if (m_idBackBuffer != None) {
        const int x = static_cast<int>(m_dirty.left);
        const int y = static_cast<int>(m_dirty.top);
        XCopyArea(m_pDisplay, m_idBackBuffer, m_idWindow, m_gcCopy, x, y,
                  static_cast<unsigned>(m_dirty.Width()), static_cast<unsigned>(m_dirty.Height()),
                  x, y);
    }
    m_dirty = DeviceBox{0, 0, 0, 0};
}

void CXlibDevice::UpdateGC(const portable::ClipRect& clip, COLORREF crColor)
{
    if (m_gcCache.m_clip != clip) {
        ApplyClip(m_pDisplay, m_gcCache.m_gc, clip);
        m_gcCache.m_clip = clip;
    }
    if (m_gcCache.m_crForeground != crColor) {
        XSetForeground(m_pDisplay, m_gcCache.m_gc, PixelOf(crColor));
        m_gcCache.m_crForeground = crColor;
    }
}

// Without a back buffer the server clears the window itself, as it does for an exposure.
void CXlibDevice::Erase()
{
    AddDirty(0, 0, m_nWidth, m_nHeight);
    m_journal.NoteChanged(portable::DeviceBox{0, 0, m_nWidth, m_nHeight},
                          m_bHasBackground ? m_crBackground : portable::CRedrawJournal::kMixed);
    if (m_idBackBuffer == None) {
        XClearWindow(m_pDisplay, m_idWindow);
        return;
    }
    if (!m_bHasBackground)
        return;
    const DrawTarget target =
        PrepareDrawing(DrawContext{m_crBackground, m_crBackground, portable::kNoClip},
                       m_crBackground);
    XFillRectangle(m_pDisplay, target.m_idDrawable, target.m_gc, 0, 0,
                   static_cast<unsigned>(m_nWidth), static_cast<unsigned>(m_nHeight));
}

// Only a back buffer keeps what was drawn: a window drawn in place may lose its pixels to
// anything on the screen, and has no present to narrow. A figure beyond X's coordinates is
// drawn clamped to them, no longer along GDI's outline, so it may reach anywhere in the window.
bool CXlibDevice::IsStanding(const portable::Figure& figure, portable::DeviceBox* pReach)
{
    const DeviceBox& box = figure.m_box;
    if (m_idBackBuffer == None || !FitsCoords(DevicePoint{box.left, box.top}) ||
        !FitsCoords(DevicePoint{box.right, box.bottom})) {
        *pReach = DeviceBox{0, 0, m_nWidth, m_nHeight};
        return false;
    }
    return m_journal.IsStanding(figure, pReach);
}

// A figure's reach holds every pixel X draws for it too (XDrawArc covers the far edges of its
// box, one pixel beyond what XFillArc fills, and keeps within two pixels of GDI's arc), so it
// is what the next present copies.
void CXlibDevice::NoteDrawn(const portable::Figure& figure, const portable::DeviceBox& reach)
{
    m_journal.NoteDrawn(figure, reach);
    AddDirty(reach.left, reach.top, reach.right, reach.bottom);
}

void CXlibDevice::Line(const DrawContext& dc, DevicePoint ptFrom, DevicePoint ptTo)
{
    const portable::Figure figure = portable::LineFigure(dc, ptFrom, ptTo);
    portable::DeviceBox reach;
    if (IsStanding(figure, &reach))
        return;
    NoteDrawn(figure, reach);
    DrawSegment(PrepareDrawing(dc, dc.m_crPen), ptFrom, ptTo);
}

// The outline covers left..right-1 and top..bottom-1; X's rectangle outline covers its width
// plus one, and its fill exactly its width, hence the different sizes of the two requests.
void CXlibDevice::Rectangle(const DrawContext& dc, const DeviceBox& boxGiven)
{
    const portable::Figure figure =
        portable::BoxFigure(portable::FigureKind::Rectangle, dc, boxGiven);
    portable::DeviceBox reach;
    if (IsStanding(figure, &reach))
        return;
    DeviceBox box = boxGiven;
    if (!ClampOutlineBox(&box))
        return;
    NoteDrawn(figure, reach);
    const int x = static_cast<int>(box.left);
    const int y = static_cast<int>(box.top);
    const unsigned w = static_cast<unsigned>(box.Width());
    const unsigned h = static_cast<unsigned>(box.Height());
    if (w > 2 && h > 2) {
        const DrawTarget target = PrepareDrawing(dc, dc.m_crBrush);
        XFillRectangle(target.m_pDisplay, target.m_idDrawable, target.m_gc, x + 1, y + 1, w - 2,
                       h - 2);
    }
    const DrawTarget target = PrepareDrawing(dc, dc.m_crPen);
    XDrawRectangle(target.m_pDisplay, target.m_idDrawable, target.m_gc, x, y, w - 1, h - 1);
}

void CXlibDevice::FillArc(const DrawContext& dc, const ArcRequest& arc)
{
    const DrawTarget target = PrepareDrawing(dc, dc.m_crBrush);
    XFillArc(target.m_pDisplay, target.m_idDrawable, target.m_gc, arc.x, arc.y, arc.width,
             arc.height, arc.angle1, arc.angle2);
}

void CXlibDevice::OutlineArc(const DrawContext& dc, const ArcRequest& arc)
{
    const DrawTarget target = PrepareDrawing(dc, dc.m_crPen);
    XDrawArc(target.m_pDisplay, target.m_idDrawable, target.m_gc, arc.x, arc.y, arc.width,
             arc.height, arc.angle1, arc.angle2);
}

// A pie's outline goes from the arc's end to the centre and on to the arc's start. The radii
// use the ends of the arc as X drew it, so that they meet it.
void CXlibDevice::DrawPieRadii(const DrawContext& dc, const ArcRequest& arc, DevicePoint centre)
{
    const DrawTarget target = PrepareDrawing(dc, dc.m_crPen);
    const long long nEnd64 = static_cast<long long>(arc.angle1) + arc.angle2;
    DrawSegment(target, PointOnArc(arc, nEnd64), centre);
    DrawSegment(target, centre, PointOnArc(arc, arc.angle1));
}

bool CXlibDevice::Ellipse(const DrawContext& dc, const DeviceBox& box)
{
    const portable::Figure figure = portable::BoxFigure(portable::FigureKind::Ellipse, dc, box);
    portable::DeviceBox reach;
    if (IsStanding(figure, &reach))
        return true;
    const DevicePoint ptAny = {0, 0};
    ArcRequest arc;
    if (!GdiArcToX(box, ptAny, ptAny, &arc))
        return false;
    NoteDrawn(figure, reach);
    FillArc(dc, arc);
    OutlineArc(dc, arc);
    return true;
}

bool CXlibDevice::Arc(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
                      DevicePoint ptEnd)
{
    const portable::Figure figure =
        portable::BoxFigure(portable::FigureKind::Arc, dc, box, ptStart, ptEnd);
    portable::DeviceBox reach;
    if (IsStanding(figure, &reach))
        return true;
    ArcRequest arc;
    if (!GdiArcToX(box, ptStart, ptEnd, &arc))
        return false;
    NoteDrawn(figure, reach);
    OutlineArc(dc, arc);
    return true;
}

bool CXlibDevice::Pie(const DrawContext& dc, const DeviceBox& box, DevicePoint ptStart,
                      DevicePoint ptEnd)
{
    const portable::Figure figure =
        portable::BoxFigure(portable::FigureKind::Pie, dc, box, ptStart, ptEnd);
    portable::DeviceBox reach;
    if (IsStanding(figure, &reach))
        return true;
    ArcRequest arc;
    if (!GdiArcToX(box, ptStart, ptEnd, &arc))
        return false;
    NoteDrawn(figure, reach);
    FillArc(dc, arc);
    OutlineArc(dc, arc);
    DrawPieRadii(dc, arc, portable::BoxCentre(box));
    return true;
}

}  // namespace x11

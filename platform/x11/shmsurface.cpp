// The shared-memory surface: whether the server takes segments of this process, the segment
// that holds (or receives) the framebuffer's pixels, and one XShmPutImage a frame. The server
// reads the segment after the request has left; the surface waits for its completion event
// before drawing there again, which by the next tick has nearly always arrived already, so a
// frame costs no round trip.
#include "shmsurface.h"
#include "display.h"
#include "errortrap.h"
#include "resources.h"

#include <X11/Xutil.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace x11 {

namespace {

const char kPresentVariable[] = "VURAZEVEDADAR_X11_PRESENT";
const int kExitRefused = 1;
// A segment this small proves that the server can attach this process's memory.
const std::size_t kProbeBytes = 4096;
// A segment more than this many times larger than a new size needs is given back, unless it is
// no larger than the screen.
const std::size_t kShrinkFactor = 4;
const unsigned long kByteMask = 0xFF;

// How the server lays out a pixel of the default visual in an image.
struct Layout {
    bool m_bShared;  // the server takes segments of this process
    bool m_bDirect;  // its pixels are framebuffer words
    raster::CPixelFormat m_format;
    int m_nCompletionType;
};

bool IsHostByteOrder(int nByteOrder)
{
    const unsigned short nOne = 1;
    unsigned char cFirst = 0;
    std::memcpy(&cFirst, &nOne, 1);
    return nByteOrder == (cFirst == 1 ? LSBFirst : MSBFirst);
}

// A mask of eight bits on a byte boundary; gives the shift.
bool IsByteMask(unsigned long nMask, unsigned* pnShift)
{
    for (unsigned nShift = 0; nShift < 32; nShift += 8) {
        if (nMask == kByteMask << nShift) {
            *pnShift = nShift;
            return true;
        }
    }
    return false;
}

// The image format of the default visual, read from an image header that holds no pixels.
void FindPixelFormat(Layout* pLayout)
{
    const Connection& connection = TheConnection();
    Display* pDisplay = connection.m_pDisplay;
    Visual* pVisual = DefaultVisual(pDisplay, connection.m_nScreen);
    XShmSegmentInfo none = XShmSegmentInfo();
    XImage* pImage = XShmCreateImage(pDisplay, pVisual, DefaultDepth(pDisplay, connection.m_nScreen),
                                     ZPixmap, nullptr, &none, 1, 1);
    if (pImage == nullptr)
        return;
    raster::CPixelFormat format = {0, 0, 0, 0};
    pLayout->m_bDirect = pVisual->c_class == TrueColor && pImage->bits_per_pixel == 32 &&
                         IsHostByteOrder(pImage->byte_order) &&
                         IsByteMask(pVisual->red_mask, &format.m_nRedShift) &&
                         IsByteMask(pVisual->green_mask, &format.m_nGreenShift) &&
                         IsByteMask(pVisual->blue_mask, &format.m_nBlueShift);
    if (pLayout->m_bDirect)
        pLayout->m_format = format;
    XDestroyImage(pImage);
}

// Attaches a segment of this process to the server, trapping the refusal of a server on
// another machine. Once both sides are attached the segment is marked for removal, so that it
// goes with the last detach, even when the program is killed.
bool AttachShared(Display* pDisplay, std::size_t nBytes, XShmSegmentInfo* pSegment)
{
    XShmSegmentInfo segment = XShmSegmentInfo();
    segment.shmid = shmget(IPC_PRIVATE, nBytes, IPC_CREAT | 0600);
    if (segment.shmid < 0)
        return false;
    segment.shmaddr = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    if (segment.shmaddr == reinterpret_cast<char*>(-1)) {
        shmctl(segment.shmid, IPC_RMID, nullptr);
        return false;
    }
    segment.readOnly = True;
    bool bAttached = false;
    {
        CErrorTrap trap(pDisplay);
        bAttached = XShmAttach(pDisplay, &segment) != False && !trap.Failed();
    }
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (!bAttached) {
        shmdt(segment.shmaddr);
        return false;
    }
    *pSegment = segment;
    return true;
}

void DetachShared(Display* pDisplay, XShmSegmentInfo* pSegment)
{
    XShmDetach(pDisplay, pSegment);
    shmdt(pSegment->shmaddr);
}

bool ServerTakesSegments(Display* pDisplay)
{
    if (!XShmQueryExtension(pDisplay))
        return false;
    XShmSegmentInfo probe;
    if (!AttachShared(pDisplay, kProbeBytes, &probe))
        return false;
    DetachShared(pDisplay, &probe);
    return true;
}

Layout FindLayout()
{
    Display* pDisplay = TheConnection().m_pDisplay;
    Layout layout = {false, false, raster::kRgbaFormat, 0};
    const char* lpszChoice = std::getenv(kPresentVariable);
    const bool bForced = lpszChoice != nullptr && std::strcmp(lpszChoice, "shm") == 0;
    if (lpszChoice != nullptr && !bForced && std::strcmp(lpszChoice, "pixmap") != 0)
        portable::ExitWithMessage("VURAZEVEDADAR_X11_PRESENT takes \"shm\" or \"pixmap\"",
                                  kExitRefused);
    if (lpszChoice != nullptr && !bForced)
        return layout;
    layout.m_bShared = ServerTakesSegments(pDisplay);
    if (!layout.m_bShared) {
        if (bForced)
            portable::ExitWithMessage("VURAZEVEDADAR_X11_PRESENT=shm, but the X server takes no "
                                      "shared memory from this program (no MIT-SHM, or a "
                                      "display on another machine)",
                                      kExitRefused);
        return layout;
    }
    layout.m_nCompletionType = XShmGetEventBase(pDisplay) + ShmCompletion;
    FindPixelFormat(&layout);
    return layout;
}

const Layout& TheLayout()
{
    static const Layout s_layout = FindLayout();
    return s_layout;
}

Bool IsCompletionOf(Display*, XEvent* pEvent, XPointer pArg)
{
    const XShmSegmentInfo* pSegment = reinterpret_cast<const XShmSegmentInfo*>(pArg);
    return pEvent->type == TheLayout().m_nCompletionType &&
                   reinterpret_cast<const XShmCompletionEvent*>(pEvent)->shmseg ==
                       pSegment->shmseg
               ? True
               : False;
}

GC CreatePutGC(Display* pDisplay, Window idWindow)
{
    XGCValues values = XGCValues();
    values.graphics_exposures = False;
    return CreateCountedGC(pDisplay, idWindow, GCGraphicsExposures, &values);
}

}  // namespace

bool UsesSharedMemory()
{
    return TheLayout().m_bShared;
}

CShmSurface::CShmSurface(Window idWindow, const COLORREF* pcrBackground)
    : m_pDisplay(TheConnection().m_pDisplay),
      m_idWindow(idWindow),
      m_gc(CreatePutGC(m_pDisplay, idWindow)),
      m_bConverts(!TheLayout().m_bDirect),
      m_segment(XShmSegmentInfo()),
      m_device(*this, TheLayout().m_format, pcrBackground)
{
}

CShmSurface::~CShmSurface()
{
    FinishPresenting();
    if (m_pImage != nullptr) {
        m_pImage->data = nullptr;
        XDestroyImage(m_pImage);
    }
    if (m_nCapacity != 0)
        DetachShared(m_pDisplay, &m_segment);
    FreeCountedGC(m_pDisplay, m_gc);
}

bool CShmSurface::Resize(int nWidth, int nHeight)
{
    if (!raster::CFrameBuffer::IsSizeAllowed(nWidth, nHeight))
        return false;
    FinishPresenting();
    return MakeImage(nWidth, nHeight) && m_device.Resize(nWidth, nHeight);
}

// An image header of the new size over a segment large enough for it: the old segment when it
// fits and is not far too large, else a new one. A new segment holds at least a frame of the
// screen's size, so that resizing a window on the screen, however often, costs no new segment
// and no round trip; the pages a smaller frame does not touch cost no memory.
bool CShmSurface::MakeImage(int nWidth, int nHeight)
{
    if (m_pImage != nullptr) {
        m_pImage->data = nullptr;
        XDestroyImage(m_pImage);
        m_pImage = nullptr;
    }
    const Connection& connection = TheConnection();
    m_pImage = XShmCreateImage(m_pDisplay, DefaultVisual(m_pDisplay, connection.m_nScreen),
                               DefaultDepth(m_pDisplay, connection.m_nScreen), ZPixmap, nullptr,
                               &m_segment, static_cast<unsigned>(nWidth),
                               static_cast<unsigned>(nHeight));
    if (m_pImage == nullptr)
        return false;
    const std::size_t nBytes = static_cast<std::size_t>(m_pImage->bytes_per_line) *
                               static_cast<std::size_t>(nHeight);
    const std::size_t nScreenBytes =
        static_cast<std::size_t>(m_pImage->bytes_per_line) / static_cast<std::size_t>(nWidth) *
        static_cast<std::size_t>(connection.m_nScreenWidth) *
        static_cast<std::size_t>(connection.m_nScreenHeight);
    const std::size_t nWanted = std::max(nBytes, nScreenBytes);
    if (nBytes > m_nCapacity || (nBytes * kShrinkFactor < m_nCapacity && nWanted < m_nCapacity)) {
        if (m_nCapacity != 0)
            DetachShared(m_pDisplay, &m_segment);
        m_nCapacity = 0;
        if (!AttachShared(m_pDisplay, nWanted, &m_segment))
            return false;
        m_nCapacity = nWanted;
    }
    m_pImage->data = m_segment.shmaddr;
    m_pImage->obdata = reinterpret_cast<char*>(&m_segment);
    return true;
}

std::uint32_t* CShmSurface::ProvidePixels(int, int)
{
    return m_bConverts ? nullptr : reinterpret_cast<std::uint32_t*>(m_pImage->data);
}

void CShmSurface::FinishPresenting()
{
    if (!m_bReading)
        return;
    XEvent event;
    XIfEvent(m_pDisplay, &event, IsCompletionOf, reinterpret_cast<XPointer>(&m_segment));
    m_bReading = false;
}

bool CShmSurface::TakeCompletion(const XEvent& event)
{
    if (IsCompletionOf(nullptr, const_cast<XEvent*>(&event),
                       reinterpret_cast<XPointer>(&m_segment)) == False)
        return false;
    m_bReading = false;
    return true;
}

void CShmSurface::Present(const raster::CFrameBuffer& frame, const raster::CBox& box)
{
    if (m_bConverts)
        Convert(frame, box);
    // The box lies within the framebuffer, whose sides fit an int.
    const int x = static_cast<int>(box.left);
    const int y = static_cast<int>(box.top);
    XShmPutImage(m_pDisplay, m_idWindow, m_gc, m_pImage, x, y, x, y,
                 static_cast<unsigned>(box.right - box.left),
                 static_cast<unsigned>(box.bottom - box.top), True);
    m_bReading = true;
}

// A frame has a handful of colours, so each run of equal words costs one conversion.
void CShmSurface::Convert(const raster::CFrameBuffer& frame, const raster::CBox& box)
{
    const bool bHostOrder = IsHostByteOrder(m_pImage->byte_order);
    const int nBitsPerPixel = m_pImage->bits_per_pixel;
    std::uint32_t nLastWord = ~frame.PixelOf(0);
    unsigned long nPixel = 0;
    for (long long y = box.top; y < box.bottom; ++y) {
        const std::uint32_t* pRow =
            frame.GetPixels() + static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.GetWidth());
        char* pLine = m_pImage->data + static_cast<std::size_t>(y) *
                                           static_cast<std::size_t>(m_pImage->bytes_per_line);
        for (long long x = box.left; x < box.right; ++x) {
            if (pRow[x] != nLastWord) {
                nLastWord = pRow[x];
                nPixel = PixelOf(frame.ColorOf(nLastWord));
            }
            if (bHostOrder && nBitsPerPixel == 32)
                reinterpret_cast<std::uint32_t*>(pLine)[x] = static_cast<std::uint32_t>(nPixel);
            else if (bHostOrder && nBitsPerPixel == 16)
                reinterpret_cast<std::uint16_t*>(pLine)[x] = static_cast<std::uint16_t>(nPixel);
            else
                XPutPixel(m_pImage, static_cast<int>(x), static_cast<int>(y), nPixel);
        }
    }
}

}  // namespace x11

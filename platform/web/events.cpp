// The event source: the page's reports turned into the core's notifications, and the wait for
// the next deadline or event. The wait gives control back to the browser (Asyncify unwinds the
// program's stack and rewinds it when the wait ends), so the message loop keeps the shape it
// has on every other platform.
#include "webpage.h"
#include "webwindow.h"

#include <emscripten.h>

#include <cmath>

namespace {

// The canvas's laid-out size becomes the client area; the first layout is the exposure the
// first paint waits for. The core ignores a size it already has.
void TakePageEvents(web::CWebWindow* pWindow)
{
    if (!vz_page_measured())
        return;
    // The framebuffer is compared with the fitted size, not the page's: a page beyond the
    // framebuffer's budget would otherwise clear it on every event, without a repaint. The
    // core ignores a size it already has.
    const SIZE size = web::FitFrame(vz_page_width(), vz_page_height());
    const raster::CFrameBuffer& frame = pWindow->Device().GetFrame();
    if (frame.GetWidth() != size.cx || frame.GetHeight() != size.cy)
        web::ResizeFrame(pWindow, size.cx, size.cy);
    portable::NotifyResized(pWindow->m_hWnd, frame.GetWidth(), frame.GetHeight());
    if (pWindow->m_bExposePending) {
        pWindow->m_bExposePending = false;
        portable::NotifyExposed(pWindow->m_hWnd);
    }
}

}  // namespace

namespace portable {

// performance.now: monotonic, and in milliseconds with a fraction.
long long Now()
{
    return static_cast<long long>(emscripten_get_now() * static_cast<double>(kNanosecondsPerMillisecond));
}

void TakePendingEvents()
{
    vz_page_take_events();
    if (web::CWebWindow* pWindow = web::PageWindow())
        TakePageEvents(pWindow);
}

// A timer of the browser's has whole milliseconds and never fires early, so the wait is
// rounded up: a tick is at most a millisecond late, and the deadlines stay on their grid.
WaitResult WaitForEvents(long long nsDeadline)
{
    web::PresentPageWindow();
    if (vz_page_pending())
        return WaitResult::Events;
    double nMilliseconds = -1.0;
    if (nsDeadline != kNoDeadline) {
        const long long nsWait = nsDeadline - Now();
        nMilliseconds = nsWait > 0 ? std::ceil(static_cast<double>(nsWait) /
                                               static_cast<double>(kNanosecondsPerMillisecond))
                                   : 0.0;
    }
    return vz_page_wait(nMilliseconds) != 0 ? WaitResult::Events : WaitResult::Timeout;
}

}  // namespace portable

void portable::DeviceFlush()
{
    web::PresentPageWindow();
}

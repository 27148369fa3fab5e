// The windows: a surface with a libdecor frame, its size in logical units and in device
// pixels, the outputs it is on, and showing, hiding and moving it.
#include "window.h"
#include "display.h"
#include "functions.h"

#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"

#include <raster/framebuffer.h>

#include <libdecor.h>

#include <algorithm>

namespace wayland {

const char kAppId[] = "vurazevedadar";

namespace {

// Where the compositor names no output yet, the default size is three quarters of this.
const int kFallbackScreenWidth = 1024;
const int kFallbackScreenHeight = 768;
const int kDefaultNumerator = 3;
const int kDefaultDenominator = 4;

std::vector<CWaylandWindow*>& TheWindows()
{
    static std::vector<CWaylandWindow*> s_windows;
    return s_windows;
}

CWaylandWindow* AsWaylandWindow(CNativeWindow* pWindow)
{
    return static_cast<CWaylandWindow*>(pWindow);
}

// The scales of the outputs given that are still there.
std::vector<int> ScalesOf(const std::vector<wl_output*>& outputs)
{
    std::vector<int> scales;
    for (wl_output* pOutput : outputs) {
        if (const COutput* pEntry = FindOutput(pOutput))
            scales.push_back(pEntry->m_nScale);
    }
    return scales;
}

std::vector<int> AllOutputScales()
{
    std::vector<int> scales;
    for (const auto& pEntry : TheConnection().m_outputs)
        scales.push_back(pEntry->m_nScale);
    return scales;
}

}  // namespace

CWaylandWindow::CWaylandWindow(HWND hWnd, const portable::NativeWindowLook& look,
                               wl_surface* pSurface)
    : CNativeWindow{hWnd, nullptr},
      m_pSurface(pSurface),
      m_caption(look.m_lpszCaption != nullptr ? look.m_lpszCaption : ""),
      m_pOwner(AsWaylandWindow(look.m_pOwner)),
      m_presenter(pSurface, look.m_pBackground)
{
    m_pDevice = &m_presenter.Device();
    static const wl_surface_listener kSurfaceListener = {OnEnter, OnLeave};
    wl_surface_add_listener(m_pSurface, &kSurfaceListener, this);
    // A fractional scale is only of use with a viewport to show the buffer at logical size.
    const CConnection& connection = TheConnection();
    if (connection.m_pViewporter != nullptr && connection.m_pFractionalScale != nullptr) {
        m_pViewport = wp_viewporter_get_viewport(connection.m_pViewporter, m_pSurface);
        m_pFractionalScale = wp_fractional_scale_manager_v1_get_fractional_scale(
            connection.m_pFractionalScale, m_pSurface);
        static const wp_fractional_scale_v1_listener kScaleListener = {OnPreferredScale};
        wp_fractional_scale_v1_add_listener(m_pFractionalScale, &kScaleListener, this);
    }
    TheWindows().push_back(this);
}

CWaylandWindow::~CWaylandWindow()
{
    auto& windows = TheWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    for (CWaylandWindow* pWindow : windows) {
        if (pWindow->m_pOwner == this)
            pWindow->m_pOwner = nullptr;
    }
    if (m_pFrame != nullptr)
        libdecor_frame_unref(m_pFrame);
    if (m_pFractionalScale != nullptr)
        wp_fractional_scale_v1_destroy(m_pFractionalScale);
    if (m_pViewport != nullptr)
        wp_viewport_destroy(m_pViewport);
    wl_surface_destroy(m_pSurface);
}

CScale CWaylandWindow::CurrentScale() const
{
    return ChooseScale(ScalesOf(m_entered), AllOutputScales(), m_nPreferred120,
                       m_pViewport != nullptr);
}

// The buffer scale and viewport go with the next buffer, which the new size brings.
bool CWaylandWindow::ApplySize()
{
    const CScale scale = CurrentScale();
    const int nWidth = DeviceExtent(m_nLogicalWidth, scale);
    const int nHeight = DeviceExtent(m_nLogicalHeight, scale);
    const CSurfaceScaling scaling = {scale.BufferScale(),
                                     scale.m_bFractional ? m_nLogicalWidth : 0,
                                     scale.m_bFractional ? m_nLogicalHeight : 0};
    const bool bResized = nWidth != m_nDeviceWidth || nHeight != m_nDeviceHeight;
    // Without buffers of the new size the old scale stays too, which the old buffers fit.
    if (bResized && !m_presenter.Resize(nWidth, nHeight))
        return false;
    const bool bRescaled = m_presenter.SetScaling(scaling, m_pViewport);
    if (!bResized) {
        // The same pixels at another scale cover another area: all of it is shown anew.
        if (bRescaled)
            m_presenter.Invalidate();
        return false;
    }
    m_nDeviceWidth = nWidth;
    m_nDeviceHeight = nHeight;
    return true;
}

// The device takes the new size before the core hears of it, so that the repaint it asks for
// draws at that size.
void CWaylandWindow::ApplySizeAndNotify()
{
    if (ApplySize())
        portable::NotifyResized(m_hWnd, m_nDeviceWidth, m_nDeviceHeight);
}

void CWaylandWindow::OnEnter(void* pData, wl_surface*, wl_output* pOutput)
{
    CWaylandWindow* pWindow = static_cast<CWaylandWindow*>(pData);
    pWindow->m_entered.push_back(pOutput);
    pWindow->ApplySizeAndNotify();
}

void CWaylandWindow::OnLeave(void* pData, wl_surface*, wl_output* pOutput)
{
    CWaylandWindow* pWindow = static_cast<CWaylandWindow*>(pData);
    auto& entered = pWindow->m_entered;
    entered.erase(std::remove(entered.begin(), entered.end(), pOutput), entered.end());
    pWindow->ApplySizeAndNotify();
}

void CWaylandWindow::OnPreferredScale(void* pData, wp_fractional_scale_v1*, std::uint32_t n120)
{
    CWaylandWindow* pWindow = static_cast<CWaylandWindow*>(pData);
    pWindow->m_nPreferred120 = n120;
    pWindow->ApplySizeAndNotify();
}

// libdecor's state carries the content size, which becomes the window geometry; with a
// configuration it also acknowledges that configuration.
void CWaylandWindow::CommitLogicalSize(libdecor_configuration* pConfiguration)
{
    libdecor_state* pState = libdecor_state_new(m_nLogicalWidth, m_nLogicalHeight);
    libdecor_frame_commit(m_pFrame, pState, pConfiguration);
    libdecor_state_free(pState);
}

// A size of 0 leaves it to the window, which keeps its own. The first configuration is the
// compositor's word that the window may show a buffer: its exposure.
void CWaylandWindow::Configure(libdecor_configuration* pConfiguration)
{
    int nWidth = 0;
    int nHeight = 0;
    if (libdecor_configuration_get_content_size(pConfiguration, m_pFrame, &nWidth, &nHeight) &&
        nWidth > 0 && nHeight > 0) {
        m_nLogicalWidth = nWidth;
        m_nLogicalHeight = nHeight;
    }
    CommitLogicalSize(pConfiguration);
    ApplySizeAndNotify();
    if (!m_bConfigured) {
        m_bConfigured = true;
        m_presenter.Invalidate();
        portable::NotifyExposed(m_hWnd);
    }
}

void CWaylandWindow::OnConfigure(libdecor_frame*, libdecor_configuration* pConfiguration,
                                 void* pData)
{
    static_cast<CWaylandWindow*>(pData)->Configure(pConfiguration);
}

void CWaylandWindow::OnClose(libdecor_frame*, void* pData)
{
    portable::NotifyCloseRequest(static_cast<CWaylandWindow*>(pData)->m_hWnd);
}

// Decorations drawn on synchronised subsurfaces show once the window's surface is committed.
void CWaylandWindow::OnCommit(libdecor_frame*, void* pData)
{
    CWaylandWindow* pWindow = static_cast<CWaylandWindow*>(pData);
    pWindow->m_presenter.DamageEdges(pWindow->EdgeWidth());
    wl_surface_commit(pWindow->m_pSurface);
}

// libdecor's cairo plugin draws the shadow on a subsurface above the window, whose blur
// reaches into the window's outermost pixels wherever it is drawn at a lower scale than the
// output's, as it is until it learns the output's scale. Redrawn at the right scale, it damages
// only a quarter of itself (a buffer's size given in logical units), so weston 10 kept the old
// blend on the rest of the window's edge (measured at scale 2: grey 235 on the white outline's
// last row and column). Any events may have made it redraw, and its new state is applied with
// the window's next commit; that commit then repaints the window's edge too.
int CWaylandWindow::EdgeWidth() const
{
    return (CurrentScale().m_n120 + kScaleDenominator - 1) / kScaleDenominator;
}

void CWaylandWindow::RepaintEdges()
{
    m_presenter.RepaintEdgesWithNextFrame(EdgeWidth());
}

void CWaylandWindow::OnDismissPopup(libdecor_frame*, const char*, void*) {}

// libdecor makes the xdg surface and toplevel, and its map is the surface's first commit,
// without a buffer, which the compositor answers with the first configuration.
void CWaylandWindow::Map()
{
    static libdecor_frame_interface s_frameInterface = {
        OnConfigure, OnClose, OnCommit, OnDismissPopup, nullptr, nullptr, nullptr,
        nullptr,     nullptr, nullptr,  nullptr,        nullptr, nullptr, nullptr};
    m_pFrame = libdecor_decorate(TheConnection().m_pDecor, m_pSurface, &s_frameInterface, this);
    if (m_pFrame == nullptr)
        return;
    libdecor_frame_set_title(m_pFrame, m_caption.c_str());
    libdecor_frame_set_app_id(m_pFrame, kAppId);
    if (m_pOwner != nullptr && m_pOwner->m_pFrame != nullptr)
        libdecor_frame_set_parent(m_pFrame, m_pOwner->m_pFrame);
    libdecor_frame_map(m_pFrame);
}

// A null buffer unmaps the surface; the toplevel goes with its frame, and showing the window
// again makes a new one, as xdg-shell wants an unmapped toplevel to start over anyway.
void CWaylandWindow::Unmap()
{
    if (m_pFrame == nullptr)
        return;
    wl_surface_attach(m_pSurface, nullptr, 0, 0);
    wl_surface_commit(m_pSurface);
    libdecor_frame_unref(m_pFrame);
    m_pFrame = nullptr;
    m_bConfigured = false;
}

// Wayland has no request to restore a minimised window: the compositor's own controls do it.
void CWaylandWindow::Show(portable::ShowCommand command)
{
    if (command == portable::ShowCommand::Hide) {
        Unmap();
        return;
    }
    if (m_pFrame == nullptr)
        Map();
    if (command != portable::ShowCommand::Minimize || m_pFrame == nullptr)
        return;
    if (m_bConfigured)
        libdecor_frame_set_minimized(m_pFrame);
    else
        m_bMinimizeWhenShown = true;
}

// The core has taken the size it asked for; where the scale cannot give it exactly, the
// size the window got is reported with the next events.
void CWaylandWindow::Move(int nWidth, int nHeight)
{
    const CScale scale = CurrentScale();
    m_nLogicalWidth = LogicalExtent(nWidth, scale);
    m_nLogicalHeight = LogicalExtent(nHeight, scale);
    if (m_pFrame != nullptr && m_bConfigured)
        CommitLogicalSize(nullptr);
    ApplySize();
    m_bSizeToReport = m_nDeviceWidth != nWidth || m_nDeviceHeight != nHeight;
}

void CWaylandWindow::ReportSize()
{
    if (!m_bSizeToReport)
        return;
    m_bSizeToReport = false;
    portable::NotifyResized(m_hWnd, m_nDeviceWidth, m_nDeviceHeight);
}

// Before its first configuration a surface may not be given a buffer.
void CWaylandWindow::Present()
{
    if (!m_bConfigured)
        return;
    m_presenter.Present();
    if (m_bMinimizeWhenShown) {
        m_bMinimizeWhenShown = false;
        libdecor_frame_set_minimized(m_pFrame);
    }
}

void PresentWindows()
{
    for (CWaylandWindow* pWindow : TheWindows())
        pWindow->Present();
}

void ReportSizes()
{
    for (CWaylandWindow* pWindow : TheWindows())
        pWindow->ReportSize();
}

void RepaintWindowEdges()
{
    for (CWaylandWindow* pWindow : TheWindows())
        pWindow->RepaintEdges();
}

void RescaleWindows()
{
    for (CWaylandWindow* pWindow : TheWindows())
        pWindow->Rescale();
}

SIZE DefaultWindowSize()
{
    int nWidth = kFallbackScreenWidth;
    int nHeight = kFallbackScreenHeight;
    for (const auto& pOutput : TheConnection().m_outputs) {
        if (pOutput->m_nWidth > 0 && pOutput->m_nHeight > 0) {
            nWidth = pOutput->m_nWidth;
            nHeight = pOutput->m_nHeight;
            break;
        }
    }
    return SIZE{nWidth * kDefaultNumerator / kDefaultDenominator,
                nHeight * kDefaultNumerator / kDefaultDenominator};
}

// A window's pixels are one framebuffer.
int MaxWindowExtent()
{
    return raster::CFrameBuffer::kMaxSide;
}

CNativeWindow* CreateNativeWindow(HWND hWnd, const portable::NativeWindowLook& look)
{
    wl_surface* pSurface = wl_compositor_create_surface(TheConnection().m_pCompositor);
    if (pSurface == nullptr)
        return nullptr;
    auto* pWindow = new CWaylandWindow(hWnd, look, pSurface);
    pWindow->Move(look.m_placement.m_nWidth, look.m_placement.m_nHeight);
    return pWindow;
}

// The program may end right after its last window: the window must leave the screen now.
void DestroyNativeWindow(CNativeWindow* pWindow)
{
    delete AsWaylandWindow(pWindow);
    wl_display_flush(TheConnection().m_pDisplay);
}

void ShowNativeWindow(CNativeWindow* pWindow, portable::ShowCommand command, bool)
{
    AsWaylandWindow(pWindow)->Show(command);
}

// Wayland leaves a window's position to the compositor: only the size is the program's.
void MoveNativeWindow(CNativeWindow* pWindow, int, int, int nWidth, int nHeight)
{
    AsWaylandWindow(pWindow)->Move(nWidth, nHeight);
}

// Wayland never tells a client where its windows are on the screen, so the best answer is the
// screen's top-left corner.
bool NativeWindowOrigin(CNativeWindow*, POINT* pOrigin)
{
    *pOrigin = POINT{0, 0};
    return true;
}

}  // namespace wayland

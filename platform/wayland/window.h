// What the wayland backend keeps of a window: its surface, the frame libdecor gives it (the
// xdg toplevel, with the compositor's decorations where it offers them and libdecor's own
// otherwise), the outputs it is on and their scale, and the presenter of its frames.
#ifndef VURAZEVEDADAR_WAYLAND_WINDOW_H
#define VURAZEVEDADAR_WAYLAND_WINDOW_H

#include "backend.h"
#include "buffers.h"
#include "scale.h"

#include <wayland-client.h>

#include <string>
#include <vector>

struct libdecor_frame;
struct libdecor_configuration;
struct wp_viewport;
struct wp_fractional_scale_v1;

namespace wayland {

// The desktop entry's id (data/vurazevedadar.desktop), so that the compositor shows the
// program's name and icon for its windows.
extern const char kAppId[];

class CWaylandWindow final : public CNativeWindow {
public:
    CWaylandWindow(HWND hWnd, const portable::NativeWindowLook& look, wl_surface* pSurface);
    ~CWaylandWindow();
    CWaylandWindow(const CWaylandWindow&) = delete;
    CWaylandWindow& operator=(const CWaylandWindow&) = delete;

    void Show(portable::ShowCommand command);
    // A size in device pixels, as near as the scale allows.
    void Move(int nWidth, int nHeight);
    void Present();
    // Tells the core of a size it asked for and did not get, outside its own call.
    void ReportSize();
    // An output's scale changed: the window is drawn at its new scale where it is on it.
    void Rescale() { ApplySizeAndNotify(); }
    // The decorations may have been redrawn: the next frame repaints the window's edges.
    void RepaintEdges();
    libdecor_frame* GetFrame() const { return m_pFrame; }

private:
    static void OnConfigure(libdecor_frame* pFrame, libdecor_configuration* pConfiguration,
                            void* pData);
    static void OnClose(libdecor_frame* pFrame, void* pData);
    static void OnCommit(libdecor_frame* pFrame, void* pData);
    static void OnDismissPopup(libdecor_frame* pFrame, const char* lpszSeat, void* pData);
    static void OnEnter(void* pData, wl_surface* pSurface, wl_output* pOutput);
    static void OnLeave(void* pData, wl_surface* pSurface, wl_output* pOutput);
    static void OnPreferredScale(void* pData, wp_fractional_scale_v1* pScale, std::uint32_t n120);

    void Map();
    void Unmap();
    void Configure(libdecor_configuration* pConfiguration);
    void CommitLogicalSize(libdecor_configuration* pConfiguration);
    CScale CurrentScale() const;
    int EdgeWidth() const;
    // Brings the buffers to the logical size at the current scale; gives whether the size in
    // device pixels changed.
    bool ApplySize();
    void ApplySizeAndNotify();

    wl_surface* m_pSurface;
    wp_viewport* m_pViewport = nullptr;
    wp_fractional_scale_v1* m_pFractionalScale = nullptr;
    libdecor_frame* m_pFrame = nullptr;
    std::string m_caption;
    CWaylandWindow* m_pOwner;
    std::vector<wl_output*> m_entered;
    std::uint32_t m_nPreferred120 = 0;  // 0: the compositor has not said
    int m_nLogicalWidth = 1;
    int m_nLogicalHeight = 1;
    int m_nDeviceWidth = 0;
    int m_nDeviceHeight = 0;
    bool m_bConfigured = false;
    bool m_bMinimizeWhenShown = false;
    bool m_bSizeToReport = false;
    CShmPresenter m_presenter;
};

// Presents every window's frame; reports sizes the core did not get; brings every window to
// its outputs' scales.
void PresentWindows();
void ReportSizes();
void RescaleWindows();
void RepaintWindowEdges();

}  // namespace wayland

#endif  // VURAZEVEDADAR_WAYLAND_WINDOW_H

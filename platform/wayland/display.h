// The one connection to the compositor: the globals the backend uses, the outputs it may show
// windows on, libdecor's context for the windows' frames, and the end of the program when the
// connection breaks.
#ifndef VURAZEVEDADAR_WAYLAND_DISPLAY_H
#define VURAZEVEDADAR_WAYLAND_DISPLAY_H

#include "backend.h"

#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <vector>

struct libdecor;
struct wp_viewporter;
struct wp_fractional_scale_manager_v1;

namespace wayland {

// An output as wl_output describes it: its scale, and its current mode in device pixels.
struct COutput {
    wl_output* m_pOutput;
    std::uint32_t m_nName;
    int m_nScale;
    int m_nWidth;
    int m_nHeight;
};

struct CConnection {
    wl_display* m_pDisplay = nullptr;
    wl_registry* m_pRegistry = nullptr;
    wl_compositor* m_pCompositor = nullptr;
    wl_shm* m_pShm = nullptr;
    wl_seat* m_pSeat = nullptr;
    std::uint32_t m_nSeatCapabilities = 0;  // WL_SEAT_CAPABILITY_*: whether it has a pointer
    bool m_bXdgShell = false;  // windows of the desktop kind can be made
    wp_viewporter* m_pViewporter = nullptr;
    wp_fractional_scale_manager_v1* m_pFractionalScale = nullptr;
    // Buffers hear of their release on a queue of their own, so that the device can wait
    // for one without running anything else (buffers.cpp).
    wl_event_queue* m_pBufferQueue = nullptr;
    wl_shm* m_pBufferShm = nullptr;  // wl_shm made on that queue
    libdecor* m_pDecor = nullptr;
    std::vector<std::unique_ptr<COutput>> m_outputs;
};

// Connects and binds the globals; as backendtable.h's m_pfnConnect.
bool Connect(bool bLastChoice);
bool IsConnected();
// Only once Connect has succeeded.
CConnection& TheConnection();
COutput* FindOutput(const wl_output* pOutput);

// Ends the program with one line when a call on the display failed (a negative result): the
// compositor has gone, or it ended the connection over a protocol error.
void CheckDisplayResult(int nResult);
[[noreturn]] void ExitConnectionLost();

}  // namespace wayland

#endif  // VURAZEVEDADAR_WAYLAND_DISPLAY_H

// Connecting to the compositor, the registry's globals and outputs, libdecor's context, and
// what a broken connection says.
#include "display.h"
#include "printable.h"
#include "window.h"

#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"

#include <libdecor.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace wayland {

namespace {

const int kExitNoCompositor = 1;
const int kExitLostConnection = 1;
const int kExitDecorationError = 1;
// damage_buffer came with version 4 of wl_compositor; wl_output's scale with version 2. The
// first version of wl_seat has all the message box needs: a button, Return and Escape.
const std::uint32_t kCompositorVersion = 4;
const std::uint32_t kOutputVersion = 2;
const std::uint32_t kSeatVersion = 1;
// libdecor binds the shell itself; the registry only has to offer it.
const char kXdgShell[] = "xdg_wm_base";

CConnection* s_pConnection = nullptr;

template <typename T>
T* Bind(wl_registry* pRegistry, std::uint32_t nName, const wl_interface* pInterface,
        std::uint32_t nWanted, std::uint32_t nOffered)
{
    return static_cast<T*>(
        wl_registry_bind(pRegistry, nName, pInterface, std::min(nWanted, nOffered)));
}

void OnOutputGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                      std::int32_t, const char*, const char*, std::int32_t)
{
}

// The mode is in the output's own pixels, which are device pixels.
void OnOutputMode(void* pData, wl_output*, std::uint32_t nFlags, std::int32_t nWidth,
                  std::int32_t nHeight, std::int32_t)
{
    if ((nFlags & WL_OUTPUT_MODE_CURRENT) == 0)
        return;
    COutput* pOutput = static_cast<COutput*>(pData);
    pOutput->m_nWidth = nWidth;
    pOutput->m_nHeight = nHeight;
}

// An output's properties arrive in a series that done ends; only then is its scale settled.
void OnOutputDone(void*, wl_output*)
{
    RescaleWindows();
}

void OnOutputScale(void* pData, wl_output*, std::int32_t nScale)
{
    static_cast<COutput*>(pData)->m_nScale = std::max(nScale, 1);
}

// Names and descriptions come with version 4, which is not bound.
void OnSeatCapabilities(void* pData, wl_seat*, std::uint32_t nCapabilities)
{
    static_cast<CConnection*>(pData)->m_nSeatCapabilities = nCapabilities;
}

// The seat's name comes with version 2, which is not bound.
const wl_seat_listener kSeatListener = {OnSeatCapabilities, nullptr};

const wl_output_listener kOutputListener = {OnOutputGeometry, OnOutputMode, OnOutputDone,
                                            OnOutputScale, nullptr, nullptr};

void AddOutput(CConnection& connection, std::uint32_t nName, std::uint32_t nVersion)
{
    auto pOutput = std::make_unique<COutput>(COutput{nullptr, nName, 1, 0, 0});
    pOutput->m_pOutput = Bind<wl_output>(connection.m_pRegistry, nName, &wl_output_interface,
                                         kOutputVersion, nVersion);
    wl_output_add_listener(pOutput->m_pOutput, &kOutputListener, pOutput.get());
    connection.m_outputs.push_back(std::move(pOutput));
}

// The first seat only: the message box's button is pressed with its pointer or keyboard.
void AddSeat(CConnection& connection, std::uint32_t nName, std::uint32_t nVersion)
{
    connection.m_pSeat =
        Bind<wl_seat>(connection.m_pRegistry, nName, &wl_seat_interface, kSeatVersion, nVersion);
    wl_seat_add_listener(connection.m_pSeat, &kSeatListener, &connection);
}

void OnGlobal(void* pData, wl_registry* pRegistry, std::uint32_t nName, const char* lpszInterface,
              std::uint32_t nVersion)
{
    CConnection& connection = *static_cast<CConnection*>(pData);
    const std::string name = lpszInterface;
    if (name == wl_compositor_interface.name && nVersion >= kCompositorVersion)
        connection.m_pCompositor = Bind<wl_compositor>(pRegistry, nName, &wl_compositor_interface,
                                                       kCompositorVersion, nVersion);
    else if (name == wl_shm_interface.name)
        connection.m_pShm = Bind<wl_shm>(pRegistry, nName, &wl_shm_interface, 1, nVersion);
    else if (name == wl_seat_interface.name && connection.m_pSeat == nullptr)
        AddSeat(connection, nName, nVersion);
    else if (name == wl_output_interface.name)
        AddOutput(connection, nName, nVersion);
    else if (name == wp_viewporter_interface.name)
        connection.m_pViewporter =
            Bind<wp_viewporter>(pRegistry, nName, &wp_viewporter_interface, 1, nVersion);
    else if (name == kXdgShell)
        connection.m_bXdgShell = true;
    else if (name == wp_fractional_scale_manager_v1_interface.name)
        connection.m_pFractionalScale = Bind<wp_fractional_scale_manager_v1>(
            pRegistry, nName, &wp_fractional_scale_manager_v1_interface, 1, nVersion);
}

// An output unplugged: windows that were on it find it no more (FindOutput), and so stop
// counting its scale.
void OnGlobalRemove(void* pData, wl_registry*, std::uint32_t nName)
{
    auto& outputs = static_cast<CConnection*>(pData)->m_outputs;
    for (auto it = outputs.begin(); it != outputs.end(); ++it) {
        if ((*it)->m_nName == nName) {
            wl_output_destroy((*it)->m_pOutput);
            outputs.erase(it);
            return;
        }
    }
}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

// libdecor calls this when the compositor lacks what it needs, or a frame was configured
// wrongly; either way no window can be shown.
void OnDecorationError(libdecor*, libdecor_error, const char* lpszMessage)
{
    const std::string text = std::string("window decorations failed: ") +
                             portable::PrintableText(lpszMessage != nullptr ? lpszMessage : "");
    portable::ExitWithMessage(text.c_str(), kExitDecorationError);
}

libdecor_interface s_decorInterface = {OnDecorationError, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

// Where libwayland looks, for the message that says it found nothing there.
std::string SocketForMessages()
{
    const char* lpszSocket = std::getenv("WAYLAND_SOCKET");
    if (lpszSocket != nullptr)
        return "the socket WAYLAND_SOCKET=" + portable::PrintableText(lpszSocket) + " gives";
    const char* lpszName = std::getenv("WAYLAND_DISPLAY");
    const std::string name = portable::PrintableText(lpszName != nullptr ? lpszName : "");
    if (!name.empty() && name[0] == '/')
        return "\"" + name + "\"";
    const char* lpszRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (lpszRuntime == nullptr)
        return "\"" + name + "\" (XDG_RUNTIME_DIR is not set)";
    return "\"" + portable::PrintableText(lpszRuntime) + "/" + name + "\"";
}

bool Refuse(bool bLastChoice, const std::string& text)
{
    if (bLastChoice)
        portable::ExitWithMessage(text.c_str(), kExitNoCompositor);
    return false;
}

// The globals bound are given up with the connection that failed to offer the rest.
void Disconnect(CConnection& connection)
{
    for (auto& pOutput : connection.m_outputs)
        wl_output_destroy(pOutput->m_pOutput);
    connection.m_outputs.clear();
    if (connection.m_pSeat != nullptr)
        wl_seat_destroy(connection.m_pSeat);
    if (connection.m_pViewporter != nullptr)
        wp_viewporter_destroy(connection.m_pViewporter);
    if (connection.m_pFractionalScale != nullptr)
        wp_fractional_scale_manager_v1_destroy(connection.m_pFractionalScale);
    if (connection.m_pShm != nullptr)
        wl_shm_destroy(connection.m_pShm);
    if (connection.m_pCompositor != nullptr)
        wl_compositor_destroy(connection.m_pCompositor);
    if (connection.m_pRegistry != nullptr)
        wl_registry_destroy(connection.m_pRegistry);
    wl_display_disconnect(connection.m_pDisplay);
}

// The globals come with the first round trip, the outputs' modes and scales with the second.
bool BindGlobals(CConnection& connection)
{
    connection.m_pRegistry = wl_display_get_registry(connection.m_pDisplay);
    wl_registry_add_listener(connection.m_pRegistry, &kRegistryListener, &connection);
    return wl_display_roundtrip(connection.m_pDisplay) >= 0 &&
           wl_display_roundtrip(connection.m_pDisplay) >= 0;
}

bool MakeBufferQueue(CConnection& connection)
{
    connection.m_pBufferQueue = wl_display_create_queue(connection.m_pDisplay);
    if (connection.m_pBufferQueue == nullptr)
        return false;
    connection.m_pBufferShm = static_cast<wl_shm*>(wl_proxy_create_wrapper(connection.m_pShm));
    if (connection.m_pBufferShm == nullptr)
        return false;
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(connection.m_pBufferShm),
                       connection.m_pBufferQueue);
    return true;
}

}  // namespace

// Without WAYLAND_DISPLAY or WAYLAND_SOCKET libwayland would try "wayland-0"; a session that
// names no compositor is not taken for a Wayland one, so X11 gets its turn.
bool Connect(bool bLastChoice)
{
    if (s_pConnection != nullptr)
        return true;
    if (std::getenv("WAYLAND_DISPLAY") == nullptr && std::getenv("WAYLAND_SOCKET") == nullptr)
        return Refuse(bLastChoice, "no Wayland compositor: neither WAYLAND_DISPLAY nor "
                                   "WAYLAND_SOCKET is set");
    const std::string socket = SocketForMessages();
    static CConnection connection;
    connection.m_pDisplay = wl_display_connect(nullptr);
    if (connection.m_pDisplay == nullptr)
        return Refuse(bLastChoice, "cannot connect to the Wayland compositor at " + socket);
    if (!BindGlobals(connection) || connection.m_pCompositor == nullptr ||
        connection.m_pShm == nullptr || !connection.m_bXdgShell) {
        Disconnect(connection);
        connection = CConnection();
        return Refuse(bLastChoice, "the Wayland compositor at " + socket +
                                       " offers no desktop windows (wl_compositor version 4, "
                                       "wl_shm and xdg_wm_base)");
    }
    if (!MakeBufferQueue(connection))
        portable::ExitWithMessage("out of memory", kExitNoCompositor);
    connection.m_pDecor = libdecor_new(connection.m_pDisplay, &s_decorInterface);
    if (connection.m_pDecor == nullptr)
        portable::ExitWithMessage("cannot start libdecor for the windows' frames",
                                  kExitNoCompositor);
    s_pConnection = &connection;
    return true;
}

bool IsConnected()
{
    return s_pConnection != nullptr;
}

CConnection& TheConnection()
{
    return *s_pConnection;
}

COutput* FindOutput(const wl_output* pOutput)
{
    for (auto& pEntry : TheConnection().m_outputs) {
        if (pEntry->m_pOutput == pOutput)
            return pEntry.get();
    }
    return nullptr;
}

void CheckDisplayResult(int nResult)
{
    if (nResult < 0)
        ExitConnectionLost();
}

// A protocol error is this program's fault, and says which object the compositor objected to;
// anything else is the compositor gone.
void ExitConnectionLost()
{
    wl_display* pDisplay = TheConnection().m_pDisplay;
    const int nError = wl_display_get_error(pDisplay);
    if (nError == EPROTO) {
        const wl_interface* pInterface = nullptr;
        std::uint32_t nId = 0;
        const std::uint32_t nCode = wl_display_get_protocol_error(pDisplay, &pInterface, &nId);
        const std::string text = std::string("Wayland protocol error ") + std::to_string(nCode) +
                                 " on " + (pInterface != nullptr ? pInterface->name : "an object");
        portable::ExitWithMessage(text.c_str(), kExitLostConnection);
    }
    portable::NotifyConnectionLost("lost the connection to the Wayland compositor");
}

}  // namespace wayland

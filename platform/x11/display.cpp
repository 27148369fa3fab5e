// Opening the display, the server-loss handler, the visual check and colour to pixel conversion.
#include "display.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace x11 {

namespace {

const int kExitNoDisplay = 1;
const int kExitBadVisual = 1;
const int kExitProtocolError = 1;
const int kErrorTextSize = 160;

// Pixel values travel as 32-bit quantities, so no mask can reach beyond these bits.
const unsigned long kPixelBits = 0xFFFFFFFFul;

Connection* s_pConnection = nullptr;

// Xlib calls this when the connection breaks; it must not return, or Xlib ends the process
// itself after printing several lines of its own.
int OnConnectionLost(Display*)
{
    portable::NotifyConnectionLost("lost the connection to the X server");
}

// A protocol error means a request of this program was wrong, and Xlib's own handler would
// end the process after a page of details; this ends it the same way with one line.
int OnProtocolError(Display* pDisplay, XErrorEvent* pError)
{
    char szText[kErrorTextSize];
    XGetErrorText(pDisplay, pError->error_code, szText, sizeof szText);
    const std::string text = std::string("X protocol error: ") + szText + " (request " +
                             std::to_string(pError->request_code) + ")";
    portable::ExitWithMessage(text.c_str(), kExitProtocolError);
}

Display* OpenDisplayOrExit()
{
    Display* pDisplay = XOpenDisplay(nullptr);
    if (pDisplay != nullptr)
        return pDisplay;
    const char* lpszName = XDisplayName(nullptr);
    const std::string text = lpszName != nullptr && *lpszName != '\0'
                                 ? std::string("cannot open display \"") + lpszName + "\""
                                 : std::string("cannot open display (DISPLAY is not set)");
    portable::ExitWithMessage(text.c_str(), kExitNoDisplay);
}

bool IsUsableMask(unsigned long nMask)
{
    return nMask != 0 && (nMask & ~kPixelBits) == 0;
}

const char* VisualClassName(int nClass)
{
    static const char* const kNames[] = {"StaticGray", "GrayScale", "StaticColor",
                                         "PseudoColor", "TrueColor", "DirectColor"};
    const int nNames = static_cast<int>(sizeof kNames / sizeof kNames[0]);
    return nClass >= 0 && nClass < nNames ? kNames[nClass] : "unknown";
}

// Pixel values are built from red, green and blue fields, which only visuals with such fields
// have: TrueColor, of any depth, whose fields are the colour itself, and DirectColor, whose
// fields index colour maps and so get their colours allocated.
void CheckVisualOrExit(const Visual* pVisual, int nDepth)
{
    if (pVisual->c_class != TrueColor && pVisual->c_class != DirectColor) {
        const std::string text = std::string("the default visual is ") +
                                 VisualClassName(pVisual->c_class) + " of depth " +
                                 std::to_string(nDepth) +
                                 "; the program needs a TrueColor or DirectColor default visual";
        portable::ExitWithMessage(text.c_str(), kExitBadVisual);
    }
    if (!IsUsableMask(pVisual->red_mask) || !IsUsableMask(pVisual->green_mask) ||
        !IsUsableMask(pVisual->blue_mask))
        portable::ExitWithMessage("the default visual has unusable colour masks", kExitBadVisual);
}

void InternAtoms(Connection& connection)
{
    struct {
        const char* lpszName;
        Atom* pAtom;
    } const atoms[] = {
        {"WM_PROTOCOLS", &connection.m_atomWmProtocols},
        {"WM_DELETE_WINDOW", &connection.m_atomWmDeleteWindow},
        {"_NET_WM_NAME", &connection.m_atomNetWmName},
        {"UTF8_STRING", &connection.m_atomUtf8String},
        {"_NET_WM_WINDOW_TYPE", &connection.m_atomNetWmWindowType},
        {"_NET_WM_WINDOW_TYPE_DIALOG", &connection.m_atomNetWmWindowTypeDialog},
        {"_NET_WM_PID", &connection.m_atomNetWmPid},
        {"_NET_WM_PING", &connection.m_atomNetWmPing},
        {"_NET_WM_ICON", &connection.m_atomNetWmIcon},
    };
    const int nAtoms = static_cast<int>(sizeof atoms / sizeof atoms[0]);
    // XInternAtoms takes the names as non-const, though it only reads them.
    char* names[nAtoms];
    for (int i = 0; i < nAtoms; ++i)
        names[i] = const_cast<char*>(atoms[i].lpszName);
    Atom values[nAtoms];
    // One round trip for all of them.
    XInternAtoms(connection.m_pDisplay, names, nAtoms, False, values);
    for (int i = 0; i < nAtoms; ++i)
        *atoms[i].pAtom = values[i];
}

Connection* OpenConnection()
{
    // A write to a server that has gone away must reach the connection-lost handler as an
    // error, not kill the process silently with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(OnConnectionLost);
    XSetErrorHandler(OnProtocolError);
    Display* pDisplay = OpenDisplayOrExit();
    const int nScreen = DefaultScreen(pDisplay);
    const Visual* pVisual = DefaultVisual(pDisplay, nScreen);
    CheckVisualOrExit(pVisual, DefaultDepth(pDisplay, nScreen));

    static Connection connection;
    connection.m_pDisplay = pDisplay;
    connection.m_nScreen = nScreen;
    connection.m_idRoot = RootWindow(pDisplay, nScreen);
    connection.m_nScreenWidth = DisplayWidth(pDisplay, nScreen);
    connection.m_nScreenHeight = DisplayHeight(pDisplay, nScreen);
    connection.m_red = ChannelFromMask(pVisual->red_mask);
    connection.m_green = ChannelFromMask(pVisual->green_mask);
    connection.m_blue = ChannelFromMask(pVisual->blue_mask);
    connection.m_bAllocatesColors = pVisual->c_class == DirectColor;
    InternAtoms(connection);
    return &connection;
}

}  // namespace

Connection& TheConnection()
{
    if (s_pConnection == nullptr)
        s_pConnection = OpenConnection();
    return *s_pConnection;
}

bool IsConnected()
{
    return s_pConnection != nullptr;
}

}  // namespace x11

// Opening the display, the server-loss handler, the visual check and colour to pixel conversion.
#include "x11display.h"

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

// A COLORREF component runs from 0 to this.
const unsigned kComponentFull = 255;
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

// Pixels are computed from the masks, which only means something for visuals whose pixel
// values decompose into red, green and blue fields.
void CheckVisualOrExit(const Visual* pVisual)
{
    if (pVisual->c_class != TrueColor && pVisual->c_class != DirectColor) {
        portable::ExitWithMessage("the default visual is not TrueColor or DirectColor; "
                        "run on a display with 15 or more bits per pixel",
                        kExitBadVisual);
    }
    if (!IsUsableMask(pVisual->red_mask) || !IsUsableMask(pVisual->green_mask) ||
        !IsUsableMask(pVisual->blue_mask))
        portable::ExitWithMessage("the default visual has unusable colour masks", kExitBadVisual);
}

void InternAtoms(Connection& connection)
{
    char szProtocols[] = "WM_PROTOCOLS";
    char szDeleteWindow[] = "WM_DELETE_WINDOW";
    char szNetWmName[] = "_NET_WM_NAME";
    char szUtf8String[] = "UTF8_STRING";
    char szWindowType[] = "_NET_WM_WINDOW_TYPE";
    char szWindowTypeDialog[] = "_NET_WM_WINDOW_TYPE_DIALOG";
    char* names[] = {szProtocols, szDeleteWindow, szNetWmName,
                     szUtf8String, szWindowType, szWindowTypeDialog};
    const int nNames = static_cast<int>(sizeof names / sizeof names[0]);
    Atom atoms[nNames];
    // One round trip for all of them.
    XInternAtoms(connection.m_pDisplay, names, nNames, False, atoms);
    connection.m_atomWmProtocols = atoms[0];
    connection.m_atomWmDeleteWindow = atoms[1];
    connection.m_atomNetWmName = atoms[2];
    connection.m_atomUtf8String = atoms[3];
    connection.m_atomNetWmWindowType = atoms[4];
    connection.m_atomNetWmWindowTypeDialog = atoms[5];
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
    CheckVisualOrExit(pVisual);

    static Connection connection;
    connection.m_pDisplay = pDisplay;
    connection.m_nScreen = nScreen;
    connection.m_idRoot = RootWindow(pDisplay, nScreen);
    connection.m_nScreenWidth = DisplayWidth(pDisplay, nScreen);
    connection.m_nScreenHeight = DisplayHeight(pDisplay, nScreen);
    connection.m_red = ChannelFromMask(pVisual->red_mask);
    connection.m_green = ChannelFromMask(pVisual->green_mask);
    connection.m_blue = ChannelFromMask(pVisual->blue_mask);
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

ColorChannel ChannelFromMask(unsigned long nMask)
{
    ColorChannel channel = {0, 0};
    if (nMask == 0)
        return channel;
    while ((nMask & 1) == 0) {
        nMask >>= 1;
        ++channel.m_nShift;
    }
    channel.m_nMax = nMask;
    return channel;
}

// Scales 0..255 onto the channel's own range with rounding, so that full intensity fills the
// field whatever its width (a 5-bit field gets 31, not 255 spilling into its neighbour).
unsigned long ComponentToPixel(const ColorChannel& channel, unsigned nComponent)
{
    const unsigned long long nLevel = nComponent > kComponentFull ? kComponentFull : nComponent;
    const unsigned long long nScaled =
        (nLevel * channel.m_nMax + kComponentFull / 2) / kComponentFull;
    return static_cast<unsigned long>(nScaled) << channel.m_nShift;
}

unsigned long PixelOf(COLORREF crColor)
{
    const Connection& connection = TheConnection();
    return ComponentToPixel(connection.m_red, GetRValue(crColor)) |
           ComponentToPixel(connection.m_green, GetGValue(crColor)) |
           ComponentToPixel(connection.m_blue, GetBValue(crColor));
}

}  // namespace x11

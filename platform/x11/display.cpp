// Opening the display, the handlers of a lost connection and of protocol errors, and the visual
// check.
#include "display.h"
#include "pings.h"
#include "printable.h"
#include "window.h"
#include "x11backend.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace x11 {

namespace {

const int kExitNoDisplay = 1;
const int kExitBadVisual = 1;
const int kExitProtocolError = 1;
const int kExitWindowDestroyed = 1;
const int kExitOutOfMemory = 1;
const int kExitNoStandardDescriptor = 1;
const int kErrorTextSize = 160;
// How long the server may take to answer the connection set-up. A server answers in
// milliseconds, over a slow ssh link in well under a second; one that has accepted the
// connection and says nothing for this long is not going to.
const unsigned kSetupAnswerSeconds = 5;
const int kSetupMessageSize = 512;

// Pixel values travel as 32-bit quantities, so no mask can reach beyond these bits.
const unsigned long kPixelBits = 0xFFFFFFFFul;

Connection* s_pConnection = nullptr;

// Whether the connection's socket still stands: the server has neither closed it nor reset
// it. Peeking takes nothing from it.
bool IsSocketOpen(int nSocket)
{
    char c;
    const ssize_t nRead = recv(nSocket, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    return nRead > 0 || (nRead < 0 && (errno == EAGAIN || errno == EWOULDBLOCK));
}

// Xlib calls this when the connection breaks; it must not return, or Xlib ends the process
// itself after printing several lines of its own. Xlib also calls it when it cannot allocate
// memory for what it has read, and then the server is fine: a failed allocation is what left
// ENOMEM, and the socket still stands.
int OnConnectionLost(Display* pDisplay)
{
    const int nError = errno;
    if (nError == ENOMEM && IsSocketOpen(ConnectionNumber(pDisplay)))
        portable::ExitWithMessage("out of memory", kExitOutOfMemory);
    portable::NotifyConnectionLost("lost the connection to the X server");
}

// Any client may destroy any window. Once another one has destroyed a window of this program,
// the program's next request on it fails with BadWindow or BadDrawable, which is no fault of
// the program's: such an error on a window that the program still holds says what happened.
bool IsWindowDestroyedByOthers(const XErrorEvent& error)
{
    return (error.error_code == BadWindow || error.error_code == BadDrawable) &&
           FindWindow(static_cast<Window>(error.resourceid)) != nullptr;
}

// A protocol error means a request of this program was wrong, and Xlib's own handler would
// end the process after a page of details; this ends it the same way with one line.
int OnProtocolError(Display* pDisplay, XErrorEvent* pError)
{
    if (IsWindowDestroyedByOthers(*pError))
        ExitWindowDestroyed();
    char szText[kErrorTextSize];
    XGetErrorText(pDisplay, pError->error_code, szText, sizeof szText);
    const std::string text = std::string("X protocol error: ") + szText + " (request " +
                             std::to_string(pError->request_code) + ")";
    portable::ExitWithMessage(text.c_str(), kExitProtocolError);
}

// A descriptor among 0, 1 and 2 that the program was started without would be the next one
// opened, which is the X connection's socket: then the program's messages on stderr would go
// into the X protocol stream. They are opened on /dev/null first.
void OpenClosedStandardDescriptors()
{
    for (int nDescriptor = STDIN_FILENO; nDescriptor <= STDERR_FILENO; ++nDescriptor) {
        if (fcntl(nDescriptor, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open() returns the lowest free descriptor, which is this one.
        const int nOpened = open("/dev/null", nDescriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (nOpened != nDescriptor)
            portable::ExitWithMessage("cannot open /dev/null for a closed standard descriptor",
                                      kExitNoStandardDescriptor);
    }
}

std::string DisplayNameForMessages()
{
    const char* lpszName = XDisplayName(nullptr);
    return lpszName != nullptr ? portable::PrintableText(lpszName) : std::string();
}

// What the alarm handler writes, composed before the wait because composing allocates.
char s_szSetupMessage[kSetupMessageSize];
size_t s_nSetupMessage = 0;

// Only write() and _exit() here: both are async-signal-safe, and the alarm may have
// interrupted Xlib or the allocator anywhere.
void OnSetupUnanswered(int)
{
    [[maybe_unused]] const ssize_t nWritten =
        write(STDERR_FILENO, s_szSetupMessage, s_nSetupMessage);
    _exit(kExitNoDisplay);
}

void ComposeSetupMessage(const std::string& displayName)
{
    const std::string appName = portable::PrintableText(portable::ApplicationName());
    const std::string text = (appName.empty() ? appName : appName + ": ") +
                             "the X server of display \"" + displayName +
                             "\" did not answer within " + std::to_string(kSetupAnswerSeconds) +
                             " seconds\n";
    s_nSetupMessage = std::min(text.size(), sizeof s_szSetupMessage);
    std::memcpy(s_szSetupMessage, text.data(), s_nSetupMessage);
}

// XOpenDisplay waits without a limit for the server's answer to the connection set-up, so a
// listener that accepts and never answers (a hung server, a stale forwarding) would hold the
// program forever, silently. The wait runs under an alarm instead, whose handler ends the
// process with one line. Only the set-up is timed: once the server has answered, a server
// that stops (a stopped VT, a debugger) is a pause, and the program waits for it as before.
Display* OpenDisplayWithinLimit(const std::string& displayName)
{
    ComposeSetupMessage(displayName);
    struct sigaction action = {};
    action.sa_handler = OnSetupUnanswered;
    sigemptyset(&action.sa_mask);
    struct sigaction previous;
    const bool bTimed = sigaction(SIGALRM, &action, &previous) == 0;
    // A signal mask inherited from the parent could hold the alarm back for good.
    sigset_t alarmOnly, previousMask;
    sigemptyset(&alarmOnly);
    sigaddset(&alarmOnly, SIGALRM);
    sigprocmask(SIG_UNBLOCK, &alarmOnly, &previousMask);
    if (bTimed)
        alarm(kSetupAnswerSeconds);
    Display* pDisplay = XOpenDisplay(nullptr);
    if (bTimed) {
        alarm(0);
        sigaction(SIGALRM, &previous, nullptr);
    }
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    return pDisplay;
}

// Null when there is no display and another window system may still be tried.
Display* OpenDisplayOrExit(bool bLastChoice)
{
    OpenClosedStandardDescriptors();
    const std::string name = DisplayNameForMessages();
    Display* pDisplay = OpenDisplayWithinLimit(name);
    if (pDisplay != nullptr || !bLastChoice)
        return pDisplay;
    const std::string text = !name.empty()
                                 ? std::string("cannot open display \"") + name + "\""
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

Connection* OpenConnection(bool bLastChoice)
{
    // A write to a server that has gone away must reach the connection-lost handler as an
    // error, not kill the process silently with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(OnConnectionLost);
    XSetErrorHandler(OnProtocolError);
    Display* pDisplay = OpenDisplayOrExit(bLastChoice);
    if (pDisplay == nullptr)
        return nullptr;
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
    CatchPings(pDisplay, connection.m_atomWmProtocols, connection.m_atomNetWmPing);
    return &connection;
}

}  // namespace

void ExitWindowDestroyed()
{
    portable::ExitWithMessage("the window was destroyed by another program",
                              kExitWindowDestroyed);
}

bool Connect(bool bLastChoice)
{
    if (s_pConnection == nullptr)
        s_pConnection = OpenConnection(bLastChoice);
    return s_pConnection != nullptr;
}

Connection& TheConnection()
{
    if (s_pConnection == nullptr)
        s_pConnection = OpenConnection(true);
    return *s_pConnection;
}

bool IsConnected()
{
    return s_pConnection != nullptr;
}

}  // namespace x11

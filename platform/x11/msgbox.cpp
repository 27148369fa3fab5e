// MessageBox: a small modal window with the text and an OK button, drawn with a core X font.
// It runs its own loop for its own window only; events of the program's other windows stay
// queued for the main loop, as they would while a modal box runs on Windows without them.
#include "display.h"
#include "resources.h"
#include "window.h"
#include "windowprops.h"
#include "x11backend.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <poll.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kButtonLabel[] = "OK";
// The core fonts tried in turn; every X server has "fixed", but a stripped font path may not.
const char* const kFontNames[] = {"fixed", "*"};

const int kMargin = 16;
const int kLineSpacing = 2;
const int kButtonGap = 16;
const int kButtonMinWidth = 72;
const int kButtonPadding = 6;
// Metrics assumed when no font can be loaded; the server's default font then draws the text.
const int kFallbackCharWidth = 6;
const int kFallbackAscent = 10;
const int kFallbackDescent = 3;
// Text beyond these limits is cut off, which keeps every size well inside X's 16 bits.
const std::size_t kMaxLines = 40;
const std::size_t kMaxLineLength = 400;
const long long kMaxBoxExtent = 4000;

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type nStart = 0;
    while (lines.size() < kMaxLines) {
        const std::string::size_type nEnd = text.find('\n', nStart);
        lines.push_back(text.substr(nStart, std::min(nEnd - nStart, kMaxLineLength)));
        if (nEnd == std::string::npos)
            break;
        nStart = nEnd + 1;
    }
    return lines;
}

Bool IsEventForWindow(Display*, XEvent* pEvent, XPointer pArg)
{
    return pEvent->xany.window == *reinterpret_cast<Window*>(pArg) ? True : False;
}

class CMessageBoxWindow {
public:
    CMessageBoxWindow(const std::string& text, const std::string& caption,
                      CNativeWindow* pOwner);
    ~CMessageBoxWindow();
    CMessageBoxWindow(const CMessageBoxWindow&) = delete;
    CMessageBoxWindow& operator=(const CMessageBoxWindow&) = delete;

    void RunModal();

private:
    void LoadFont();
    int TextWidth(const std::string& text) const;
    void Layout();
    void CreateBoxWindow(const std::string& caption, CNativeWindow* pOwner);
    void Paint();
    void HandleEvent(const XEvent& event);
    void HandleKey(XKeyEvent event);
    bool IsOnButton(int x, int y) const;

    x11::Connection& m_connection;
    std::vector<std::string> m_lines;
    XFontStruct* m_pFont;
    int m_nAscent;
    int m_nLineHeight;
    int m_nWidth;
    int m_nHeight;
    XRectangle m_rcButton;
    Window m_idWindow;
    GC m_gc;
    bool m_bButtonArmed;
    bool m_bDone;
};

CMessageBoxWindow::CMessageBoxWindow(const std::string& text, const std::string& caption,
                                     CNativeWindow* pOwner)
    : m_connection(x11::TheConnection()),
      m_lines(SplitLines(text)),
      m_pFont(nullptr),
      m_nAscent(kFallbackAscent),
      m_nLineHeight(kFallbackAscent + kFallbackDescent + kLineSpacing),
      m_nWidth(0),
      m_nHeight(0),
      m_rcButton{0, 0, 0, 0},
      m_idWindow(None),
      m_gc(nullptr),
      m_bButtonArmed(false),
      m_bDone(false)
{
    LoadFont();
    Layout();
    CreateBoxWindow(caption, pOwner);
}

CMessageBoxWindow::~CMessageBoxWindow()
{
    Display* pDisplay = m_connection.m_pDisplay;
    x11::FreeCountedGC(pDisplay, m_gc);
    x11::DestroyCountedWindow(pDisplay, m_idWindow);
    if (m_pFont != nullptr)
        XFreeFont(pDisplay, m_pFont);
    XFlush(pDisplay);
}

void CMessageBoxWindow::LoadFont()
{
    for (const char* lpszName : kFontNames) {
        m_pFont = XLoadQueryFont(m_connection.m_pDisplay, lpszName);
        if (m_pFont != nullptr)
            break;
    }
    if (m_pFont == nullptr)
        return;
    m_nAscent = m_pFont->ascent;
    m_nLineHeight = m_pFont->ascent + m_pFont->descent + kLineSpacing;
}

int CMessageBoxWindow::TextWidth(const std::string& text) const
{
    const int nLength = static_cast<int>(text.size());
    if (m_pFont == nullptr)
        return nLength * kFallbackCharWidth;
    return XTextWidth(m_pFont, text.data(), nLength);
}

void CMessageBoxWindow::Layout()
{
    long long nTextWidth = 0;
    for (const std::string& line : m_lines)
        nTextWidth = std::max<long long>(nTextWidth, TextWidth(line));
    const int nButtonWidth =
        std::max(kButtonMinWidth, TextWidth(kButtonLabel) + 2 * kButtonPadding);
    const int nButtonHeight = m_nLineHeight + 2 * kButtonPadding;
    const long long nTextHeight = static_cast<long long>(m_lines.size()) * m_nLineHeight;

    m_nWidth = static_cast<int>(
        std::min(std::max<long long>(nTextWidth, nButtonWidth) + 2 * kMargin, kMaxBoxExtent));
    m_nHeight = static_cast<int>(std::min(
        kMargin + nTextHeight + kButtonGap + nButtonHeight + kMargin, kMaxBoxExtent));
    m_rcButton.x = static_cast<short>(std::max(0, (m_nWidth - nButtonWidth) / 2));
    m_rcButton.y = static_cast<short>(m_nHeight - kMargin - nButtonHeight);
    m_rcButton.width = static_cast<unsigned short>(nButtonWidth);
    m_rcButton.height = static_cast<unsigned short>(nButtonHeight);
}

void CMessageBoxWindow::CreateBoxWindow(const std::string& caption, CNativeWindow* pOwner)
{
    Display* pDisplay = m_connection.m_pDisplay;
    XSetWindowAttributes attributes = XSetWindowAttributes();
    attributes.background_pixel = x11::PixelOf(RGB(255, 255, 255));
    attributes.event_mask =
        ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    const x11::Placement placement = {std::max(0, (m_connection.m_nScreenWidth - m_nWidth) / 2),
                                      std::max(0, (m_connection.m_nScreenHeight - m_nHeight) / 2),
                                      m_nWidth, m_nHeight, true};
    m_idWindow = x11::CreateCountedWindow(
        pDisplay, m_connection.m_idRoot, placement.m_x, placement.m_y,
        static_cast<unsigned>(m_nWidth), static_cast<unsigned>(m_nHeight),
        CWBackPixel | CWEventMask, &attributes);

    x11::SetWindowCaption(m_idWindow, caption.c_str());
    x11::SetStandardProperties(m_idWindow, false);
    x11::SetSizeHints(m_idWindow, placement, true);
    if (pOwner != nullptr)
        XSetTransientForHint(pDisplay, m_idWindow,
                             static_cast<x11::CX11Window*>(pOwner)->GetId());
    const long nDialogType = static_cast<long>(m_connection.m_atomNetWmWindowTypeDialog);
    XChangeProperty(pDisplay, m_idWindow, m_connection.m_atomNetWmWindowType, XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&nDialogType), 1);

    XGCValues values = XGCValues();
    values.foreground = x11::PixelOf(RGB(0, 0, 0));
    unsigned long nMask = GCForeground;
    if (m_pFont != nullptr) {
        values.font = m_pFont->fid;
        nMask |= GCFont;
    }
    m_gc = x11::CreateCountedGC(pDisplay, m_idWindow, nMask, &values);
}

void CMessageBoxWindow::Paint()
{
    Display* pDisplay = m_connection.m_pDisplay;
    int y = kMargin + m_nAscent;
    for (const std::string& line : m_lines) {
        XDrawString(pDisplay, m_idWindow, m_gc, kMargin, y, line.data(),
                    static_cast<int>(line.size()));
        y += m_nLineHeight;
    }
    XDrawRectangle(pDisplay, m_idWindow, m_gc, m_rcButton.x, m_rcButton.y,
                   m_rcButton.width - 1u, m_rcButton.height - 1u);
    const std::string label = kButtonLabel;
    const int xLabel = m_rcButton.x + (m_rcButton.width - TextWidth(label)) / 2;
    XDrawString(pDisplay, m_idWindow, m_gc, xLabel, m_rcButton.y + kButtonPadding + m_nAscent,
                label.data(), static_cast<int>(label.size()));
}

bool CMessageBoxWindow::IsOnButton(int x, int y) const
{
    return x >= m_rcButton.x && x < m_rcButton.x + m_rcButton.width && y >= m_rcButton.y &&
           y < m_rcButton.y + m_rcButton.height;
}

void CMessageBoxWindow::HandleKey(XKeyEvent event)
{
    const KeySym keysym = XLookupKeysym(&event, 0);
    if (keysym == XK_Return || keysym == XK_KP_Enter || keysym == XK_Escape)
        m_bDone = true;
}

// The button acts on release over it after a press over it, as push buttons do: a press that
// slides off cancels.
void CMessageBoxWindow::HandleEvent(const XEvent& event)
{
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0)
            Paint();
        break;
    case KeyPress:
        HandleKey(event.xkey);
        break;
    case ButtonPress:
        m_bButtonArmed =
            event.xbutton.button == Button1 && IsOnButton(event.xbutton.x, event.xbutton.y);
        break;
    case ButtonRelease:
        if (m_bButtonArmed && IsOnButton(event.xbutton.x, event.xbutton.y))
            m_bDone = true;
        m_bButtonArmed = false;
        break;
    case ClientMessage:
        if (event.xclient.message_type == m_connection.m_atomWmProtocols &&
            static_cast<Atom>(event.xclient.data.l[0]) == m_connection.m_atomWmDeleteWindow)
            m_bDone = true;
        break;
    default:
        break;
    }
}

// XCheckIfEvent reads what the socket holds before it gives up, so the poll below only sleeps
// when nothing for this window has arrived; events for other windows stay in Xlib's queue and
// do not wake it again.
void CMessageBoxWindow::RunModal()
{
    Display* pDisplay = m_connection.m_pDisplay;
    XMapRaised(pDisplay, m_idWindow);
    while (!m_bDone) {
        XEvent event;
        if (XCheckIfEvent(pDisplay, &event, IsEventForWindow,
                          reinterpret_cast<XPointer>(&m_idWindow))) {
            HandleEvent(event);
            continue;
        }
        x11::AnswerHeldPings();
        XFlush(pDisplay);
        pollfd descriptor = {ConnectionNumber(pDisplay), POLLIN, 0};
        poll(&descriptor, 1, -1);
    }
}

}  // namespace

int x11::ShowMessageBox(CNativeWindow* pOwner, const char* lpszText,
                        const char* lpszCaption, UINT)
{
    const std::string text = lpszText;
    const std::string caption = lpszCaption;
    CMessageBoxWindow box(text, caption, pOwner);
    box.RunModal();
    return IDOK;
}

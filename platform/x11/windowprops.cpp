// Window-manager properties of the backend's top-level windows.
#include "display.h"
#include "windowprops.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>


#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace x11 {

namespace {

const unsigned char kUtf8ContinuationMask = 0xC0;
const unsigned char kUtf8Continuation = 0x80;
const unsigned char kUtf8PayloadMask = 0x3F;
const unsigned kUtf8TwoBytePayloadMask = 0x1F;
const unsigned kUtf8Bits = 6;
const unsigned char kAsciiLimit = 0x80;
// The only lead bytes of two-byte sequences for U+0080 to U+00FF.
const unsigned char kLatin1LeadLow = 0xC2;
const unsigned char kLatin1LeadHigh = 0xC3;

bool IsContinuation(unsigned char c)
{
    return (c & kUtf8ContinuationMask) == kUtf8Continuation;
}

}  // namespace

std::string Utf8ToLatin1(const char* lpszUtf8)
{
    std::string text;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(lpszUtf8);
    while (*p != '\0') {
        const unsigned char lead = *p++;
        if (lead < kAsciiLimit) {
            text += static_cast<char>(lead);
            continue;
        }
        unsigned nCode = lead & kUtf8TwoBytePayloadMask;
        int nTrail = 0;
        for (; IsContinuation(*p); ++p, ++nTrail)
            nCode = (nCode << kUtf8Bits) | (*p & kUtf8PayloadMask);
        const bool bLatin1 = (lead == kLatin1LeadLow || lead == kLatin1LeadHigh) && nTrail == 1;
        text += bLatin1 ? static_cast<char>(static_cast<unsigned char>(nCode)) : '?';
    }
    return text;
}

void SetWindowCaption(Window idWindow, const char* lpszCaption)
{
    const Connection& connection = TheConnection();
    const char* lpszText = lpszCaption != nullptr ? lpszCaption : "";
    const std::string latin1 = Utf8ToLatin1(lpszText);
    XChangeProperty(connection.m_pDisplay, idWindow, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(latin1.data()),
                    static_cast<int>(latin1.size()));
    XChangeProperty(connection.m_pDisplay, idWindow, connection.m_atomNetWmName,
                    connection.m_atomUtf8String, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(lpszText),
                    static_cast<int>(std::strlen(lpszText)));
}

void SetInitialState(Window idWindow, bool bIconic)
{
    XWMHints hints = XWMHints();
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = bIconic ? IconicState : NormalState;
    XSetWMHints(TheConnection().m_pDisplay, idWindow, &hints);
}

void SetStandardProperties(Window idWindow, bool bIconic)
{
    Connection& connection = TheConnection();
    // The instance is the application's name and the class the same name capitalised, as X
    // programs name themselves. XClassHint's fields are not const, though Xlib only reads them.
    std::string name = portable::ApplicationName();
    std::string resourceClass = name;
    if (!resourceClass.empty())
        resourceClass[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    XClassHint classHint = {&name[0], &resourceClass[0]};
    XSetClassHint(connection.m_pDisplay, idWindow, &classHint);
    Atom protocols[] = {connection.m_atomWmDeleteWindow, connection.m_atomNetWmPing};
    XSetWMProtocols(connection.m_pDisplay, idWindow, protocols,
                    static_cast<int>(sizeof protocols / sizeof protocols[0]));
    SetProcessIdentity(idWindow);
    SetInitialState(idWindow, bIconic);
}

void SetWindowIcon(Window idWindow, const HICON__* pIcon)
{
    if (pIcon == nullptr)
        return;
    const Connection& connection = TheConnection();
    // Xlib passes 32-bit property items as longs, whatever a long's size.
    const std::vector<unsigned long> items(pIcon->pImages, pIcon->pImages + pIcon->nLength);
    XChangeProperty(connection.m_pDisplay, idWindow, connection.m_atomNetWmIcon, XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(items.data()),
                    static_cast<int>(items.size()));
}

// Without PPosition or USPosition the window manager chooses the place, as Windows does for
// CW_USEDEFAULT.
void SetSizeHints(Window idWindow, const Placement& placement, bool bFixedSize)
{
    XSizeHints hints = XSizeHints();
    hints.flags = PSize;
    hints.width = placement.m_nWidth;
    hints.height = placement.m_nHeight;
    if (placement.m_bPositioned) {
        hints.flags |= PPosition;
        hints.x = placement.m_x;
        hints.y = placement.m_y;
    }
    if (bFixedSize) {
        hints.flags |= PMinSize | PMaxSize;
        hints.min_width = hints.max_width = placement.m_nWidth;
        hints.min_height = hints.max_height = placement.m_nHeight;
    }
    XSetWMNormalHints(TheConnection().m_pDisplay, idWindow, &hints);
}

}  // namespace x11

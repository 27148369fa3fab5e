// The core's tables, the probe, and the messages the program writes when it has to end.
#include "core.h"
#include "printable.h"

#include <afxwin.h>
#include <coreprobe.h>

#include <cstdio>
#include <cstdlib>

namespace portable {

State& TheStateObject()
{
    static State state;
    return state;
}

bool GdiCall::operator==(const GdiCall& other) const
{
    return op == other.op && args == other.args && pen == other.pen && brush == other.brush;
}

static COLORREF ColorOf(HGDIOBJ hObject)
{
    const GdiObject* pObject = LookupObject(hObject);
    return pObject != nullptr ? pObject->m_crColor : RGB(0, 0, 0);
}

void RecordCall(const HDC__* pDC, GdiOp op, std::initializer_list<int> args)
{
    TheProbe().m_calls.push_back(GdiCall{op, args, ColorOf(pDC->m_hPen), ColorOf(pDC->m_hBrush),
                                         const_cast<HDC__*>(pDC)});
}

void LogCall(const std::string& line)
{
    if (TheProbe().m_bLogging)
        TheProbe().m_log.push_back(line);
}

int LiveGdiObjects()
{
    return static_cast<int>(TheState().m_objects.size());
}

int LiveDeviceContexts()
{
    return static_cast<int>(TheState().m_deviceContexts.size());
}

int LiveWindows()
{
    return static_cast<int>(TheState().m_windows.size());
}

const char* ApplicationName()
{
    const char* lpszName = AfxGetAppName();
    return lpszName != nullptr ? lpszName : "";
}

std::string WindowTitleOf(HWND hWnd)
{
    const HWND__* pWindow = LookupWindow(hWnd);
    return pWindow != nullptr ? pWindow->m_title : std::string();
}

DWORD WindowStyleOf(HWND hWnd)
{
    const HWND__* pWindow = LookupWindow(hWnd);
    return pWindow != nullptr ? pWindow->m_dwStyle : 0;
}

// Windows are destroyed properly, so that the objects behind them hear of it.
void ResetCore()
{
    while (!TheState().m_windows.empty())
        ::DestroyWindow(TheState().m_windows.back().get());
    TheState() = State();
}

// The name is the application's, which the framework derives from the executable unless the
// program gives one; before there is an application the messages go without it. A name taken
// from the executable's path is the caller's choice, and is escaped like any argument.
void PrintMessage(const char* lpszText)
{
    const char* lpszName = ApplicationName();
    if (*lpszName != '\0')
        std::fprintf(stderr, "%s: %s\n", PrintableText(lpszName).c_str(), lpszText);
    else
        std::fprintf(stderr, "%s\n", lpszText);
    std::fflush(stderr);
}

void ExitWithMessage(const char* lpszText, int nStatus)
{
    PrintMessage(lpszText);
    std::_Exit(nStatus);
}

void NotifyConnectionLost(const char* lpszText)
{
    const int kExitLostConnection = 1;
    ExitWithMessage(lpszText, kExitLostConnection);
}

}  // namespace portable

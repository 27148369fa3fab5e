// The order in which GetMessage returns what is ready at once, measured on the system the Windows
// build runs on; the portable core retrieves in the same order. Windows documents posted messages
// before input before WM_PAINT before WM_TIMER (GetMessage, Remarks); the quit is a flag looked
// at as soon as no posted message is left, ahead of input (Raymond Chen, "Why is there a special
// PostQuitMessage function?", The Old New Thing, 2005).
// Each case makes its kinds ready in both orders before the first GetMessage call, so that the
// order seen is the queue's and not the order of making ready.
// Exits 0 when every case matches, 1 with the cases that did not.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const UINT kPosted = WM_APP;
const UINT kEndOfCase = WM_APP + 1;  // posted from another thread once the queue has had time
const UINT_PTR kTimerId = 1;
const UINT kTimerPeriod = 20;        // milliseconds
const DWORD kTimerDueWait = 120;     // milliseconds: the timer is due several times over
const DWORD kInputRoutingWait = 100; // milliseconds for the key to reach our queue
const DWORD kCaseLength = 1000;      // milliseconds before the end of a case is posted

HWND g_hWnd;

// One letter per kind: P posted, Q quit, I input (a key pressed and released), W paint, T timer.
struct Case {
    const char* pszReady;
    const char* pszExpected;
};

const Case kCases[] = {
    {"PIQWT", "PQIIWT"}, {"PQ", "PQ"}, {"PI", "PII"}, {"IQ", "QII"}, {"QW", "QW"},
    {"QT", "QT"},        {"WT", "WT"}, {"PW", "PW"},  {"PT", "PT"},  {"IW", "IIW"},
    {"IT", "IIT"},
};

LRESULT CALLBACK ProbeProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        ::BeginPaint(hWnd, &ps);
        ::EndPaint(hWnd, &ps);
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

void PressKey()
{
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = 'A';
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
    ::Sleep(kInputRoutingWait);
}

void MakeReady(char kind)
{
    switch (kind) {
    case 'P': ::PostMessageA(g_hWnd, kPosted, 0, 0); break;
    case 'Q': ::PostQuitMessage(0); break;
    case 'I': PressKey(); break;
    case 'W': ::InvalidateRect(g_hWnd, NULL, FALSE); break;
    case 'T':
        ::SetTimer(g_hWnd, kTimerId, kTimerPeriod, NULL);
        ::Sleep(kTimerDueWait);
        break;
    }
}

char Letter(UINT nMsg)
{
    switch (nMsg) {
    case kPosted: return 'P';
    case WM_QUIT: return 'Q';
    case WM_KEYDOWN:
    case WM_KEYUP: return 'I';
    case WM_PAINT: return 'W';
    case WM_TIMER: return 'T';
    }
    return '?';
}

DWORD WINAPI EndCaseLater(LPVOID pThreadId)
{
    ::Sleep(kCaseLength);
    ::PostThreadMessageA(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pThreadId)), kEndOfCase, 0,
                         0);
    return 0;
}

// What GetMessage returned, as letters, until the end of the case; other messages are dispatched
// and left out.
std::string Retrieve()
{
    DWORD threadId = ::GetCurrentThreadId();
    HANDLE hThread = ::CreateThread(NULL, 0, EndCaseLater,
                                    reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(threadId)), 0,
                                    NULL);
    std::string seen;
    MSG msg;
    while (::GetMessageA(&msg, NULL, 0, 0) != -1 && msg.message != kEndOfCase) {
        char letter = Letter(msg.message);
        if (letter != '?') seen += letter;
        if (msg.message == WM_TIMER) ::KillTimer(g_hWnd, kTimerId);
        if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
    }
    ::WaitForSingleObject(hThread, INFINITE);
    ::CloseHandle(hThread);
    return seen;
}

bool CreateProbeWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "MessageOrderProbe";
    if (!::RegisterClassA(&wc)) return false;
    g_hWnd = ::CreateWindowA(wc.lpszClassName, "Message order", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                             150, NULL, NULL, wc.hInstance, NULL);
    if (!g_hWnd) return false;
    ::ShowWindow(g_hWnd, SW_SHOW);
    ::SetForegroundWindow(g_hWnd);
    ::SetFocus(g_hWnd);
    return true;
}

}  // namespace

int main()
{
    if (!CreateProbeWindow()) {
        std::printf("FAIL: no window\n");
        return 1;
    }
    Retrieve();  // what showing the window queued
    int failures = 0;
    for (const Case& c : kCases) {
        std::string forward = c.pszReady;
        std::string backward(forward.rbegin(), forward.rend());
        for (const std::string& order : {forward, backward}) {
            for (char kind : order) MakeReady(kind);
            std::string seen = Retrieve();
            bool ok = seen == c.pszExpected;
            failures += ok ? 0 : 1;
            std::printf("%s ready %-5s (made in order %-5s): retrieved %-6s expected %s\n",
                        ok ? "ok  " : "FAIL", c.pszReady, order.c_str(), seen.c_str(),
                        c.pszExpected);
        }
    }
    ::DestroyWindow(g_hWnd);
    return failures == 0 ? 0 : 1;
}

// A test tool run under Wine beside the program: finds the program's windows and does to them
// what a user, a window manager or another Windows program would.
//   wintool find <caption>             prints "hwnd x y width height" of the client area on
//                                      the screen
//   wintool close <caption>            posts WM_CLOSE to the window
//   wintool close-twice <caption>      posts WM_CLOSE twice, back to back
//   wintool close-class <class> <caption>
//                                      posts WM_CLOSE to the window of that class and caption,
//                                      shown or not
//   wintool storm <caption> <n> <k>    resizes the window n times, posting WM_CLOSE after the k-th
//                                      resize and going on until the window is gone
//   wintool minimize <caption>         minimises the window
//   wintool restore <caption>          restores a minimised window
//   wintool client <caption> <w> <h>   gives the window a client area of w x h pixels and prints
//                                      the client size it ended up with
//   wintool msgbox <caption>           prints the text of the message box with that caption
//   wintool press <caption>            presses the OK button of the message box with that caption
//   wintool watch <class> <file>       watches for visible top-level windows of a class until
//                                      <file> exists; prints how many it saw
// Exits 0 on success, 1 when no such window exists or the action failed, 2 on bad usage, 3 when
// watch saw a window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kBadUsage = 2;
const int kWindowSeen = 3;

// A message box is a dialog of this predefined class.
const char kDialogClass[] = "#32770";

// Sizes the storm cycles through: ordinary ones mixed with squeezed and minimal ones, so that
// repaints find room and then none in quick succession.
const SIZE kStormSizes[] = {{420, 320}, {640, 480}, {1, 1},   {300, 600}, {800, 1},
                            {1, 800},   {200, 150}, {0, 0},   {517, 333}, {64, 48}};
const int kStormSizeCount = sizeof(kStormSizes) / sizeof(kStormSizes[0]);

// How long after its WM_CLOSE the storm waits for the window to go.
const DWORD kStormGoneTimeout = 10000;  // milliseconds
const DWORD kPollInterval = 10;         // milliseconds
// The longest a watch runs when nobody ends it: a test's own time limit is shorter.
const DWORD kWatchLimit = 300000;  // milliseconds
// A sent message to a window that stopped answering gives up after this long.
const UINT kSendTimeout = 5000;  // milliseconds

struct Command {
    const char* pszVerb;
    int nArgs;  // after the verb
    int (*pfnRun)(char** argv);
};

int ReportClient(HWND hWnd)
{
    RECT rc;
    POINT origin = {0, 0};
    ::GetClientRect(hWnd, &rc);
    ::ClientToScreen(hWnd, &origin);
    std::printf("%p %ld %ld %ld %ld\n", static_cast<void*>(hWnd), origin.x, origin.y,
                rc.right - rc.left, rc.bottom - rc.top);
    return 0;
}

HWND FindFrame(const char* pszCaption)
{
    return ::FindWindowA(NULL, pszCaption);
}

int Find(char** argv)
{
    HWND hWnd = FindFrame(argv[2]);
    return hWnd != NULL ? ReportClient(hWnd) : 1;
}

int Close(char** argv)
{
    HWND hWnd = FindFrame(argv[2]);
    return hWnd != NULL && ::PostMessageA(hWnd, WM_CLOSE, 0, 0) ? 0 : 1;
}

// Captions compare without regard to case, so a message box titled with the program's name
// can stand in for the frame titled with its caption; the class tells them apart.
int CloseClass(char** argv)
{
    HWND hWnd = ::FindWindowA(argv[2], argv[3]);
    return hWnd != NULL && ::PostMessageA(hWnd, WM_CLOSE, 0, 0) ? 0 : 1;
}

// The second request reaches a window that the first one is already taking down.
int CloseTwice(char** argv)
{
    HWND hWnd = FindFrame(argv[2]);
    if (hWnd == NULL)
        return 1;
    const BOOL bFirst = ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    const BOOL bSecond = ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
    return bFirst && bSecond ? 0 : 1;
}

// The window rectangle that gives a client area of the size asked for, with the window's own
// styles (caption, sizing border).
SIZE FrameSizeFor(HWND hWnd, int nClientWidth, int nClientHeight)
{
    RECT rc = {0, 0, nClientWidth, nClientHeight};
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE));
    const DWORD dwExStyle = static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_EXSTYLE));
    ::AdjustWindowRectEx(&rc, dwStyle, FALSE, dwExStyle);
    SIZE size = {rc.right - rc.left, rc.bottom - rc.top};
    return size;
}

BOOL SetClientSize(HWND hWnd, int nClientWidth, int nClientHeight)
{
    const SIZE frame = FrameSizeFor(hWnd, nClientWidth, nClientHeight);
    return ::SetWindowPos(hWnd, NULL, 0, 0, frame.cx, frame.cy,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Waits until the window is gone, at most dwTimeout milliseconds after dwStart.
bool WaitUntilGone(HWND hWnd, DWORD dwStart, DWORD dwTimeout)
{
    while (::IsWindow(hWnd)) {
        if (::GetTickCount() - dwStart > dwTimeout)
            return false;
        ::Sleep(kPollInterval);
    }
    return true;
}

// Every resize is carried out by the program's own thread before SetWindowPos returns, so
// the posted WM_CLOSE waits in the program's queue among the resizes still coming.
int Storm(char** argv)
{
    HWND hWnd = FindFrame(argv[2]);
    const int nCount = std::atoi(argv[3]);
    const int nCloseAfter = std::atoi(argv[4]);
    if (hWnd == NULL)
        return 1;
    int nBefore = 0;
    int nAfter = 0;
    DWORD dwClosePosted = 0;
    for (int i = 0; i < nCount && ::IsWindow(hWnd); ++i) {
        const SIZE& size = kStormSizes[i % kStormSizeCount];
        SetClientSize(hWnd, size.cx, size.cy);
        if (dwClosePosted != 0) {
            ++nAfter;
        } else if (++nBefore == nCloseAfter) {
            if (!::PostMessageA(hWnd, WM_CLOSE, 0, 0))
                return 1;
            dwClosePosted = ::GetTickCount();
        }
    }
    const bool bGone =
        dwClosePosted != 0 && WaitUntilGone(hWnd, dwClosePosted, kStormGoneTimeout);
    std::printf("resizes before WM_CLOSE %d, after %d; window gone %lu ms after WM_CLOSE\n",
                nBefore, nAfter, bGone ? ::GetTickCount() - dwClosePosted : 0UL);
    return bGone ? 0 : 1;
}

int Minimize(char** argv)
{
    HWND hWnd = FindFrame(argv[2]);
    if (hWnd == NULL)
        return 1;
    ::ShowWindow(hWnd, SW_MINIMIZE);
    return ::IsIconic(hWnd) ? 0 : 1;
}

int Restore(char** argv)
{
    HWND hWnd = FindFrame(argv[2]);
    if (hWnd == NULL)
        return 1;
    ::ShowWindow(hWnd, SW_RESTORE);
    return ::IsIconic(hWnd) ? 1 : 0;
}

// The system may keep a window larger than asked (its minimum tracking size): the size it
// ended up with is printed for the test to see.
int Client(char** argv)
{
    HWND hWnd = FindFrame(argv[2]);
    if (hWnd == NULL || !SetClientSize(hWnd, std::atoi(argv[3]), std::atoi(argv[4])))
        return 1;
    return ReportClient(hWnd);
}

// The message text is the static control that carries text (a box with an icon has a second,
// empty one).
BOOL CALLBACK FindMessageText(HWND hChild, LPARAM lParam)
{
    char szClass[32] = "";
    ::GetClassNameA(hChild, szClass, sizeof szClass);
    if (::lstrcmpiA(szClass, "Static") != 0 || ::GetWindowTextLengthA(hChild) == 0)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hChild;
    return FALSE;
}

int MessageText(char** argv)
{
    HWND hBox = ::FindWindowA(kDialogClass, argv[2]);
    HWND hText = NULL;
    if (hBox == NULL)
        return 1;
    ::EnumChildWindows(hBox, FindMessageText, reinterpret_cast<LPARAM>(&hText));
    if (hText == NULL)
        return 1;
    const int nLength = ::GetWindowTextLengthA(hText);
    char* pszText = new char[nLength + 1];
    ::GetWindowTextA(hText, pszText, nLength + 1);
    std::printf("%s\n", pszText);
    delete[] pszText;
    return 0;
}

// BM_CLICK presses the button as a mouse click would, and the button tells the box.
int Press(char** argv)
{
    HWND hBox = ::FindWindowA(kDialogClass, argv[2]);
    HWND hButton = hBox != NULL ? ::GetDlgItem(hBox, IDOK) : NULL;
    if (hButton == NULL)
        return 1;
    DWORD_PTR dwResult = 0;
    return ::SendMessageTimeoutA(hButton, BM_CLICK, 0, 0, SMTO_NORMAL, kSendTimeout, &dwResult)
               ? 0
               : 1;
}

struct WatchState {
    const char* pszClass;
    int nSeen;
};

BOOL CALLBACK CountVisible(HWND hWnd, LPARAM lParam)
{
    WatchState* pState = reinterpret_cast<WatchState*>(lParam);
    char szClass[256] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (std::strcmp(szClass, pState->pszClass) == 0 && ::IsWindowVisible(hWnd))
        ++pState->nSeen;
    return TRUE;
}

int Watch(char** argv)
{
    WatchState state = {argv[2], 0};
    int nPolls = 0;
    const DWORD dwStart = ::GetTickCount();
    // The test starts the program once it has read this line.
    std::printf("watching\n");
    std::fflush(stdout);
    while (::GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES) {
        if (::GetTickCount() - dwStart > kWatchLimit)
            return 1;
        ::EnumWindows(CountVisible, reinterpret_cast<LPARAM>(&state));
        ++nPolls;
        ::Sleep(kPollInterval);
    }
    std::printf("visible windows of class %s: seen in %d of %d polls\n", state.pszClass,
                state.nSeen, nPolls);
    return state.nSeen == 0 ? 0 : kWindowSeen;
}

const Command kCommands[] = {
    {"find", 1, Find},
    {"close", 1, Close},
    {"close-twice", 1, CloseTwice},
    {"close-class", 2, CloseClass},
    {"storm", 3, Storm},
    {"minimize", 1, Minimize},
    {"restore", 1, Restore},
    {"client", 3, Client},
    {"msgbox", 1, MessageText},
    {"press", 1, Press},
    {"watch", 2, Watch},
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return kBadUsage;
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.pszVerb) == 0)
            return argc == command.nArgs + 2 ? command.pfnRun(argv) : kBadUsage;
    }
    return kBadUsage;
}

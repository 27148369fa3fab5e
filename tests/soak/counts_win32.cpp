// Windows: the process's live GDI objects and windows. GetGuiResources is the documented way to
// count GDI objects, but Wine 8 does not implement it (it answers 0 whatever the process holds).
// Where it does not see ten pens come and go, the GDI objects are counted instead by asking
// GetObjectType about every handle in the 16-bit handle space: GDI handles carry their table
// index in the low 16 bits, and Wine accepts a handle given by that index alone. Real Windows
// insists on the full handle, so there that probe sees nothing; the calibration below decides
// which of the two methods is used, and refuses both when neither sees the pens. Windows are
// counted by enumerating the top-level windows of the process and their children.
#include "counts.h"

#include <cstdio>

namespace {

const int kCalibrationPens = 10;
// Window class names are at most 256 characters.
const int kClassNameSize = 257;
// The handle space the probe walks: every value of the 16-bit table index.
const ULONG_PTR kHandleSpace = 0x10000;

// GetObjectType's answers (OBJ_PEN = 1 up to OBJ_COLORSPACE = 14), named for the log.
const char* const kObjectTypeNames[] = {
    "GDI unknown",   "GDI pens",           "GDI brushes",          "GDI DCs",
    "GDI metafile DCs", "GDI palettes",    "GDI fonts",            "GDI bitmaps",
    "GDI regions",   "GDI metafiles",      "GDI memory DCs",       "GDI ext pens",
    "GDI enhanced metafile DCs", "GDI enhanced metafiles", "GDI colour spaces",
};
const int kObjectTypes = static_cast<int>(sizeof kObjectTypeNames / sizeof kObjectTypeNames[0]);

enum class CountingMethod { None, GuiResources, HandleProbe };

ResourceCounts ProbeGdiHandles()
{
    long long nByType[kObjectTypes] = {};
    for (ULONG_PTR nHandle = 1; nHandle < kHandleSpace; ++nHandle) {
        const DWORD dwType = ::GetObjectType(reinterpret_cast<HGDIOBJ>(nHandle));
        if (dwType != 0)
            ++nByType[dwType < static_cast<DWORD>(kObjectTypes) ? dwType : 0];
    }
    ResourceCounts counts;
    for (int i = 0; i < kObjectTypes; ++i) {
        if (nByType[i] != 0)
            counts.push_back({kObjectTypeNames[i], nByType[i]});
    }
    return counts;
}

BOOL CALLBACK CountChild(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<long long*>(lParam);
    return TRUE;
}

BOOL CALLBACK CountOwnWindow(HWND hWnd, LPARAM lParam)
{
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess == ::GetCurrentProcessId()) {
        ++*reinterpret_cast<long long*>(lParam);
        ::EnumChildWindows(hWnd, CountChild, lParam);
    }
    return TRUE;
}

long long CountOwnWindows()
{
    long long nWindows = 0;
    ::EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&nWindows));
    return nWindows;
}

long long GuiResourceGdiObjects()
{
    return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
}

long long ProbedPens()
{
    return CountNamed(ProbeGdiHandles(), kObjectTypeNames[OBJ_PEN]);
}

// True when the count moves by exactly the pens made here, and back when they are deleted.
bool SeesPens(long long (*pfnCount)())
{
    const long long nBefore = pfnCount();
    HPEN pens[kCalibrationPens];
    for (int i = 0; i < kCalibrationPens; ++i)
        pens[i] = ::CreatePen(PS_SOLID, 1, RGB(i, 0, 0));
    const long long nDuring = pfnCount();
    for (HPEN hPen : pens)
        ::DeleteObject(hPen);
    const long long nAfter = pfnCount();
    std::printf("calibration: %d pens made: %lld -> %lld, deleted: -> %lld\n", kCalibrationPens,
                nBefore, nDuring, nAfter);
    return nDuring == nBefore + kCalibrationPens && nAfter == nBefore;
}

// Windows keeps some objects for a process once it has had a window at all: the bitmaps of
// the icons and cursors it loaded, brushes and pens for system colours, cached device
// contexts. None of them belongs to the program, so a plain window made straight through the
// Win32 API, shown, painted and destroyed, brings them into being before the baseline is read.
LRESULT CALLBACK ControlWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_PAINT) {
        PAINTSTRUCT paint;
        ::BeginPaint(hWnd, &paint);
        ::EndPaint(hWnd, &paint);
        return 0;
    }
    return ::DefWindowProc(hWnd, uMsg, wParam, lParam);
}

void DispatchWaitingMessages()
{
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

const char kControlClass[] = "VurazevedadarSoakControl";

// The class looks like the program's frame class (the window colour as background, the
// standard icon and cursor, redrawn whole on resizing) without sharing any of its code.
void RunControlWindow()
{
    const HINSTANCE hInstance = ::GetModuleHandle(NULL);
    WNDCLASS wndcls = WNDCLASS();
    wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wndcls.lpfnWndProc = ControlWindowProc;
    wndcls.hInstance = hInstance;
    wndcls.hIcon = ::LoadIcon(NULL, IDI_APPLICATION);
    wndcls.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wndcls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
    wndcls.lpszClassName = kControlClass;
    ::RegisterClass(&wndcls);
    const HWND hWnd = ::CreateWindow(kControlClass, "control", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                                     hInstance, NULL);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    ::UpdateWindow(hWnd);
    DispatchWaitingMessages();
    ::ReleaseDC(hWnd, ::GetDC(hWnd));
    ::InvalidateRect(hWnd, NULL, TRUE);
    ::UpdateWindow(hWnd);
    ::DestroyWindow(hWnd);
    DispatchWaitingMessages();
    ::UnregisterClass(kControlClass, hInstance);
}

}  // namespace

struct ResourceCounter::Impl {
    CountingMethod m_method = CountingMethod::None;
    ResourceCounts m_baseline;
    char m_szWatchedClass[kClassNameSize] = {};
    HINSTANCE m_hWatchedInstance = NULL;
    std::string m_problem;

    ResourceCounts ReadNow() const;
};

ResourceCounts ResourceCounter::Impl::ReadNow() const
{
    ResourceCounts counts;
    if (m_method == CountingMethod::GuiResources) {
        const HANDLE hProcess = ::GetCurrentProcess();
        counts.push_back({"GDI objects", ::GetGuiResources(hProcess, GR_GDIOBJECTS)});
        counts.push_back({"USER objects", ::GetGuiResources(hProcess, GR_USEROBJECTS)});
    } else if (m_method == CountingMethod::HandleProbe) {
        counts = ProbeGdiHandles();
    }
    counts.push_back({"windows of the process", CountOwnWindows()});
    return counts;
}

ResourceCounter::ResourceCounter() : m_pImpl(new Impl)
{
    Impl& impl = *m_pImpl;
    std::printf("calibration of GetGuiResources(GR_GDIOBJECTS):\n");
    if (SeesPens(GuiResourceGdiObjects)) {
        impl.m_method = CountingMethod::GuiResources;
    } else {
        std::printf("calibration of the GDI handle probe:\n");
        if (SeesPens(ProbedPens))
            impl.m_method = CountingMethod::HandleProbe;
        else
            impl.m_problem = "neither GetGuiResources nor the handle probe sees pens made here";
    }
    const ResourceCounts before = impl.ReadNow();
    RunControlWindow();
    impl.m_baseline = impl.ReadNow();
    RunControlWindow();
    const ResourceCounts again = impl.ReadNow();
    for (const ResourceCount& count : impl.m_baseline) {
        std::printf("%s: %lld before any window, %lld after a plain window, %lld after another\n",
                    count.m_name.c_str(), CountNamed(before, count.m_name),
                    count.m_nLive, CountNamed(again, count.m_name));
    }
}

ResourceCounter::~ResourceCounter() = default;

bool ResourceCounter::IsReady() const
{
    return m_pImpl->m_problem.empty();
}

const std::string& ResourceCounter::Problem() const
{
    return m_pImpl->m_problem;
}

std::string ResourceCounter::Method() const
{
    switch (m_pImpl->m_method) {
    case CountingMethod::GuiResources:
        return "GetGuiResources, and the windows of the process";
    case CountingMethod::HandleProbe:
        return "GetObjectType over the 16-bit GDI handle space (GetGuiResources sees nothing "
               "here), and the windows of the process";
    case CountingMethod::None:
        break;
    }
    return "none";
}

bool ResourceCounter::Watch(HWND hWnd)
{
    Impl& impl = *m_pImpl;
    impl.m_hWatchedInstance =
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtr(hWnd, GWLP_HINSTANCE));
    if (::GetClassName(hWnd, impl.m_szWatchedClass, kClassNameSize) == 0) {
        impl.m_problem = "the program's window has no class name";
        return false;
    }
    return true;
}

ResourceCounts ResourceCounter::Read() const
{
    return m_pImpl->ReadNow();
}

// Unregistering fails while any window of the class is left, which the window count then
// shows as well.
ResourceCounts ResourceCounter::ReadAfterClose()
{
    const Impl& impl = *m_pImpl;
    const BOOL bUnregistered =
        ::UnregisterClass(impl.m_szWatchedClass, impl.m_hWatchedInstance);
    std::printf("window class \"%s\" %s\n", impl.m_szWatchedClass,
                bUnregistered ? "unregistered" : "could NOT be unregistered");
    ResourceCounts counts = impl.ReadNow();
    if (!bUnregistered)
        counts.push_back({"window class left registered", 1});
    return counts;
}

// What the process held after a plain window of its own had come and gone, before the program
// made its first window: the stock objects, and what the system keeps for any process with
// windows.
ResourceCounts ResourceCounter::KeptAfterClose() const
{
    return m_pImpl->m_baseline;
}

long long ResourceCounter::LivePens() const
{
    return m_pImpl->m_method == CountingMethod::GuiResources ? GuiResourceGdiObjects() : ProbedPens();
}

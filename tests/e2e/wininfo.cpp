// A test tool run under Wine that reads back what the Windows build carries and what Windows
// makes of it, as Explorer and the task bar would.
//   wininfo version <exe>            prints the version resource's strings, one "Name=value" a
//                                    line, then "Binary=a.b.c.d" from its fixed part
//   wininfo icon <caption> <exe>     compares the icon of the window's class with the frame icon
//                                    in the executable's resources, pixel by pixel; prints what
//                                    it compared. Exits 3 when the class icon of another
//                                    process's window cannot be read (Wine 8 reports none)
//   wininfo manifest <exe>           prints the application manifest embedded in the executable,
//                                    as the loader finds it
//   wininfo dpi <caption>            prints the DPI awareness of the window and of its process,
//                                    as far as this version of Windows (or Wine) reports them
// Exits 0 on success, 1 when the window, the resource or a match is missing, 2 on bad usage.
// Built with the SDK of Windows 10 (_WIN32_WINNT) for the DPI types; the functions themselves
// are looked up when used.
#include <windows.h>

#include <afxres.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const int kBadUsage = 2;
const int kUnreadable = 3;
// The manifest a process runs with: RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID (the
// headers define both as wide-character resource names, and this tool reads ANSI).
const WORD kManifestType = 24;
const WORD kManifestId = 1;

// The strings Properties -> Details shows, in US English with Unicode strings: the block the
// resource script writes.
const char kStringBlock[] = "\\StringFileInfo\\040904B0\\";
const char* const kVersionStrings[] = {"ProductName", "FileDescription", "FileVersion",
                                       "ProductVersion", "OriginalFilename",
                                       "LegalCopyright"};

const WORD kWordBits = 16;
const WORD kLowWord = 0xFFFF;

int Version(char** argv)
{
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(argv[2], &dwHandle);
    if (dwSize == 0)
        return 1;
    std::vector<char> info(dwSize);
    if (!::GetFileVersionInfoA(argv[2], 0, dwSize, info.data()))
        return 1;
    for (const char* pszName : kVersionStrings) {
        char szPath[128];
        std::snprintf(szPath, sizeof szPath, "%s%s", kStringBlock, pszName);
        char* pszValue = NULL;
        UINT nLength = 0;
        if (::VerQueryValueA(info.data(), szPath, reinterpret_cast<void**>(&pszValue), &nLength))
            std::printf("%s=%s\n", pszName, pszValue);
    }
    VS_FIXEDFILEINFO* pFixed = NULL;
    UINT nLength = 0;
    if (!::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&pFixed), &nLength))
        return 1;
    std::printf("Binary=%lu.%lu.%lu.%lu\n", pFixed->dwFileVersionMS >> kWordBits,
                pFixed->dwFileVersionMS & kLowWord, pFixed->dwFileVersionLS >> kWordBits,
                pFixed->dwFileVersionLS & kLowWord);
    return 0;
}

struct IconPixels {
    LONG nWidth = 0;
    LONG nHeight = 0;
    std::vector<DWORD> colour;
};

// The icon's colour bitmap as 32-bit pixels, top row first. Two handles to the same resource
// need not be equal (each process loads its own), so icons are compared by what they show.
bool ReadIcon(HICON hIcon, IconPixels* pPixels)
{
    ICONINFO info;
    if (hIcon == NULL || !::GetIconInfo(hIcon, &info))
        return false;
    BITMAP bitmap;
    bool bRead = info.hbmColor != NULL && ::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    if (bRead) {
        pPixels->nWidth = bitmap.bmWidth;
        pPixels->nHeight = bitmap.bmHeight;
        pPixels->colour.assign(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight, 0);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = bitmap.bmWidth;
        bmi.bmiHeader.biHeight = -bitmap.bmHeight;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        HDC hDC = ::GetDC(NULL);
        bRead = ::GetDIBits(hDC, info.hbmColor, 0, bitmap.bmHeight, pPixels->colour.data(), &bmi,
                            DIB_RGB_COLORS) == bitmap.bmHeight;
        ::ReleaseDC(NULL, hDC);
    }
    if (info.hbmColor != NULL)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bRead;
}

// Whether the class icon shows what the resource icon shows; prints what it compared.
bool SameIcon(HICON hClassIcon, HICON hResourceIcon)
{
    IconPixels classIcon, resourceIcon, systemIcon;
    const bool bClass = ReadIcon(hClassIcon, &classIcon);
    const bool bResource = ReadIcon(hResourceIcon, &resourceIcon);
    ReadIcon(::LoadIconA(NULL, IDI_APPLICATION), &systemIcon);
    std::printf("class icon %s %ldx%ld; resource icon %s %ldx%ld\n",
                bClass ? "read" : "unreadable", classIcon.nWidth, classIcon.nHeight,
                bResource ? "read" : "missing", resourceIcon.nWidth, resourceIcon.nHeight);
    const bool bSame = bClass && bResource && classIcon.nWidth == resourceIcon.nWidth &&
                       classIcon.nHeight == resourceIcon.nHeight &&
                       classIcon.colour == resourceIcon.colour;
    std::printf("class icon %s the resource icon%s\n", bSame ? "is" : "is NOT",
                classIcon.colour == systemIcon.colour ? " (it is the system's)" : "");
    return bSame;
}

int Icon(char** argv)
{
    HWND hWnd = ::FindWindowA(NULL, argv[2]);
    HMODULE hModule = ::LoadLibraryExA(argv[3], NULL, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (hWnd == NULL || hModule == NULL)
        return 1;
    HICON hClassIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICON));
    int nStatus = kUnreadable;
    if (hClassIcon == NULL)
        std::printf("class icon: none reported for another process's window\n");
    else
        nStatus = SameIcon(hClassIcon, ::LoadIconA(hModule, MAKEINTRESOURCEA(AFX_IDI_STD_FRAME)))
                      ? 0
                      : 1;
    ::FreeLibrary(hModule);
    return nStatus;
}

int Manifest(char** argv)
{
    HMODULE hModule = ::LoadLibraryExA(argv[2], NULL, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (hModule == NULL)
        return 1;
    HRSRC hInfo = ::FindResourceA(hModule, MAKEINTRESOURCEA(kManifestId),
                                  MAKEINTRESOURCEA(kManifestType));
    HGLOBAL hData = hInfo != NULL ? ::LoadResource(hModule, hInfo) : NULL;
    const void* pText = hData != NULL ? ::LockResource(hData) : NULL;
    if (pText != NULL)
        std::fwrite(pText, 1, ::SizeofResource(hModule, hInfo), stdout);
    ::FreeLibrary(hModule);
    return pText != NULL ? 0 : 1;
}

}  // namespace

// The DPI functions came with Windows 8.1 and 10: looked up at run time, so that the tool
// also runs (and says so) where they are missing.
namespace dpi {

typedef HRESULT(WINAPI* GetProcessAwareness)(HANDLE, int*);
typedef DPI_AWARENESS_CONTEXT(WINAPI* GetWindowContext)(HWND);
typedef DPI_AWARENESS(WINAPI* AwarenessFromContext)(DPI_AWARENESS_CONTEXT);
typedef BOOL(WINAPI* ContextsEqual)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);

const char* const kAwarenessNames[] = {"unaware", "system", "per-monitor"};
const int kAwarenessCount = 3;

const char* Name(int nAwareness)
{
    return nAwareness >= 0 && nAwareness < kAwarenessCount ? kAwarenessNames[nAwareness]
                                                            : "invalid";
}

void PrintWindowAwareness(HWND hWnd)
{
    HMODULE hUser = ::GetModuleHandleA("user32.dll");
    GetWindowContext pfnContext = reinterpret_cast<GetWindowContext>(
        reinterpret_cast<void*>(::GetProcAddress(hUser, "GetWindowDpiAwarenessContext")));
    AwarenessFromContext pfnAwareness = reinterpret_cast<AwarenessFromContext>(
        reinterpret_cast<void*>(::GetProcAddress(hUser, "GetAwarenessFromDpiAwarenessContext")));
    ContextsEqual pfnEqual = reinterpret_cast<ContextsEqual>(
        reinterpret_cast<void*>(::GetProcAddress(hUser, "AreDpiAwarenessContextsEqual")));
    if (pfnContext == NULL || pfnAwareness == NULL || pfnEqual == NULL) {
        std::printf("window: not available\n");
        return;
    }
    DPI_AWARENESS_CONTEXT context = pfnContext(hWnd);
    if (context == NULL) {
        std::printf("window: not reported\n");
        return;
    }
    const bool bV2 = pfnEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;
    std::printf("window: %s%s\n", Name(pfnAwareness(context)), bV2 ? " v2" : "");
}

void PrintProcessAwareness(HWND hWnd)
{
    HMODULE hShcore = ::LoadLibraryA("shcore.dll");
    GetProcessAwareness pfnProcess =
        hShcore == NULL ? NULL
                        : reinterpret_cast<GetProcessAwareness>(reinterpret_cast<void*>(
                              ::GetProcAddress(hShcore, "GetProcessDpiAwareness")));
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwProcessId);
    int nAwareness = -1;
    if (pfnProcess == NULL || hProcess == NULL)
        std::printf("process: not available\n");
    else if (FAILED(pfnProcess(hProcess, &nAwareness)))
        std::printf("process: not reported\n");
    else
        std::printf("process: %s\n", Name(nAwareness));
    if (hProcess != NULL)
        ::CloseHandle(hProcess);
    if (hShcore != NULL)
        ::FreeLibrary(hShcore);
}

}  // namespace dpi

namespace {

int Dpi(char** argv)
{
    HWND hWnd = ::FindWindowA(NULL, argv[2]);
    if (hWnd == NULL)
        return 1;
    dpi::PrintWindowAwareness(hWnd);
    dpi::PrintProcessAwareness(hWnd);
    return 0;
}

struct Command {
    const char* pszVerb;
    int nArgs;  // after the verb
    int (*pfnRun)(char** argv);
};

const Command kCommands[] = {
    {"version", 1, Version},
    {"icon", 2, Icon},
    {"manifest", 1, Manifest},
    {"dpi", 1, Dpi},
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

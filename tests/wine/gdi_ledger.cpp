// Linked into a test build of the program, this keeps a ledger of the GDI objects the program
// creates and deletes, and writes it out when the process ends, to the file that the
// environment variable VURAZEVEDADAR_GDI_LEDGER names. Wine does not count a process's GDI
// objects (GetGuiResources answers 0), so the program's own calls are counted instead: its
// calls to the GDI creators and to DeleteObject go through import pointers, and the pointers
// defined here (under the import pointers' symbol names) lead through the ledger to the real
// functions, found in GDI32 at run time.
#include <windows.h>

#include <cstdio>

namespace {

const char kReportVariable[] = "VURAZEVEDADAR_GDI_LEDGER";

// The program holds a handful of objects at once; a handle beyond this many is counted as
// untracked, which the report shows as a fault of its own.
const int kMaxLive = 256;

// Plain values, so that they need no construction and are still intact when the report is
// written during the process's end.
HGDIOBJ s_live[kMaxLive];
int s_nLive = 0;
int s_nCreated = 0;
int s_nDeleted = 0;
int s_nUntracked = 0;

// GDI32 stays loaded for the life of the process: the program imports other functions from it.
FARPROC RealGdiFunction(const char* pszName)
{
    static HMODULE s_hGdi = ::LoadLibraryA("gdi32.dll");
    return s_hGdi != NULL ? ::GetProcAddress(s_hGdi, pszName) : NULL;
}

// Looks a GDI32 export up once, with the type of the pointer that will hold it.
template <class Fn>
void Resolve(Fn*& pfn, const char* pszName)
{
    if (pfn == NULL)
        pfn = reinterpret_cast<Fn*>(reinterpret_cast<void*>(RealGdiFunction(pszName)));
}

template <class Handle>
Handle Record(Handle hObject)
{
    if (hObject == NULL)
        return hObject;
    ++s_nCreated;
    if (s_nLive < kMaxLive)
        s_live[s_nLive++] = hObject;
    else
        ++s_nUntracked;
    return hObject;
}

void Forget(HGDIOBJ hObject)
{
    for (int i = 0; i < s_nLive; ++i) {
        if (s_live[i] == hObject) {
            s_live[i] = s_live[--s_nLive];
            ++s_nDeleted;
            return;
        }
    }
}

HPEN WINAPI LedgerCreatePen(int nStyle, int nWidth, COLORREF crColor)
{
    static HPEN(WINAPI * s_pfn)(int, int, COLORREF) = NULL;
    Resolve(s_pfn, "CreatePen");
    return s_pfn != NULL ? Record(s_pfn(nStyle, nWidth, crColor)) : NULL;
}

HBRUSH WINAPI LedgerCreateSolidBrush(COLORREF crColor)
{
    static HBRUSH(WINAPI * s_pfn)(COLORREF) = NULL;
    Resolve(s_pfn, "CreateSolidBrush");
    return s_pfn != NULL ? Record(s_pfn(crColor)) : NULL;
}

HRGN WINAPI LedgerCreateRectRgn(int x1, int y1, int x2, int y2)
{
    static HRGN(WINAPI * s_pfn)(int, int, int, int) = NULL;
    Resolve(s_pfn, "CreateRectRgn");
    return s_pfn != NULL ? Record(s_pfn(x1, y1, x2, y2)) : NULL;
}

BOOL WINAPI LedgerDeleteObject(HGDIOBJ hObject)
{
    static BOOL(WINAPI * s_pfn)(HGDIOBJ) = NULL;
    Resolve(s_pfn, "DeleteObject");
    if (s_pfn == NULL || !s_pfn(hObject))
        return FALSE;
    Forget(hObject);
    return TRUE;
}

// Written with Win32 file calls rather than the C runtime's streams, which the runtime may be
// closing at this point of the process's end.
void WriteReport()
{
    char szPath[MAX_PATH];
    const DWORD dwLength = ::GetEnvironmentVariableA(kReportVariable, szPath, MAX_PATH);
    if (dwLength == 0 || dwLength >= MAX_PATH)
        return;
    char szReport[128];
    const int nLength = std::snprintf(szReport, sizeof szReport,
                                      "created %d deleted %d live %d untracked %d\n", s_nCreated,
                                      s_nDeleted, s_nLive, s_nUntracked);
    HANDLE hFile = ::CreateFileA(szPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD dwWritten = 0;
    ::WriteFile(hFile, szReport, static_cast<DWORD>(nLength), &dwWritten, NULL);
    ::CloseHandle(hFile);
}

// Constructed before WinMain runs; its destructor runs when WinMain has returned and the
// program's own objects are gone.
struct LedgerReport {
    ~LedgerReport() { WriteReport(); }
} s_report;

}  // namespace

// The assembler names are the import pointers' symbols; the C++ names stay ordinary ones.
extern "C" {
extern HPEN(WINAPI* const g_pfnCreatePenImport)(int, int, COLORREF) __asm__("__imp_CreatePen");
extern HBRUSH(WINAPI* const g_pfnCreateSolidBrushImport)(COLORREF)
    __asm__("__imp_CreateSolidBrush");
extern HRGN(WINAPI* const g_pfnCreateRectRgnImport)(int, int, int, int)
    __asm__("__imp_CreateRectRgn");
extern BOOL(WINAPI* const g_pfnDeleteObjectImport)(HGDIOBJ) __asm__("__imp_DeleteObject");

HPEN(WINAPI* const g_pfnCreatePenImport)(int, int, COLORREF) = LedgerCreatePen;
HBRUSH(WINAPI* const g_pfnCreateSolidBrushImport)(COLORREF) = LedgerCreateSolidBrush;
HRGN(WINAPI* const g_pfnCreateRectRgnImport)(int, int, int, int) = LedgerCreateRectRgn;
BOOL(WINAPI* const g_pfnDeleteObjectImport)(HGDIOBJ) = LedgerDeleteObject;
}

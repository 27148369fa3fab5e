// Linked into a test build of the program, this makes every SetTimer call fail, as USER32's
// does when the system cannot start another timer. The program calls USER32 through import
// pointers: it reaches SetTimer through the pointer named __imp_SetTimer, which the import
// library would otherwise supply. Defined here, in an object the linker reads before the import
// library, the pointer leads to RefusedSetTimer instead, and the import library's entry is
// never linked.
#include <windows.h>

namespace {

// A refusal leaves an error code for GetLastError, as USER32's does.
const DWORD kRefusalError = ERROR_NOT_ENOUGH_MEMORY;

UINT_PTR WINAPI RefusedSetTimer(HWND, UINT_PTR, UINT, TIMERPROC)
{
    ::SetLastError(kRefusalError);
    return 0;
}

}  // namespace

// The assembler name is the import pointer's symbol; the C++ name stays an ordinary one.
extern "C" {
extern UINT_PTR(WINAPI* const g_pfnSetTimerImport)(HWND, UINT_PTR, UINT, TIMERPROC)
    __asm__("__imp_SetTimer");
UINT_PTR(WINAPI* const g_pfnSetTimerImport)(HWND, UINT_PTR, UINT, TIMERPROC) = RefusedSetTimer;
}

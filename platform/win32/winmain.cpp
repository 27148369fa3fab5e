// The entry point of the Windows build.
#include <afxwin.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    char szModulePath[MAX_PATH] = "";
    ::GetModuleFileNameA(hInstance, szModulePath, MAX_PATH);
    return AfxWinMain(hInstance, szModulePath, nCmdShow);
}

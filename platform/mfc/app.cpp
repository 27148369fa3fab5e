// The application and its thread: the one CWinApp the program defines, its name when none was
// given, the message loop that frees the temporary GDI wrappers after every message, and
// AfxWinMain, which turns a failed InitInstance, thrown or returned, into a failure status.
#include "afximpl.h"

#include <cstdlib>
#include <string>

namespace {

// The one application object, which registers itself when it is constructed.
CWinApp* s_pApp = NULL;

// The application's name when none was given: the executable's file name without directory
// and extension.
std::string& DerivedAppName()
{
    static std::string name;
    return name;
}

std::string AppNameFromModulePath(const std::string& path)
{
    const std::string::size_type slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string::size_type dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

// The status the message loop ended with: the code given to PostQuitMessage.
int s_nExitCode = 0;

// A framework exception out of InitInstance (a pen the frame's constructor could not create)
// is a failed start, not a crash.
BOOL InitInstanceCaught(CWinApp* pApp)
{
    try {
        return pApp->InitInstance();
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
}

}  // namespace

CWinApp* AfxGetApp()
{
    return s_pApp;
}

LPCTSTR AfxGetAppName()
{
    return s_pApp != NULL && s_pApp->m_pszAppName != NULL ? s_pApp->m_pszAppName : "";
}

CWinThread::CWinThread() : m_pMainWnd(NULL) {}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::Run()
{
    MSG msg;
    BOOL bResult;
    while ((bResult = ::GetMessage(&msg, NULL, 0, 0)) != 0) {
        if (bResult == -1) {
            msg.wParam = static_cast<WPARAM>(-1);
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
        AfxDeleteTempMap();
    }
    s_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

// Only the two messages whose failure has a meaning are answered; the exception itself is
// the caller's to delete.
LRESULT CWinThread::ProcessWndProcException(CException*, const MSG* pMsg)
{
    if (pMsg->message == WM_CREATE)
        return -1;
    if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, NULL);
    return 0;
}

int CWinThread::ExitInstance()
{
    AfxDeleteTempMap();
    return s_nExitCode;
}

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(lpszAppName), m_hInstance(NULL), m_nCmdShow(SW_SHOWNORMAL)
{
    s_pApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = NULL;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, LPCTSTR lpszModulePath, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return EXIT_FAILURE;
    pApp->m_hInstance = hInstance;
    pApp->m_nCmdShow = nCmdShow;
    if (pApp->m_pszAppName == NULL) {
        DerivedAppName() = AppNameFromModulePath(lpszModulePath != NULL ? lpszModulePath : "");
        pApp->m_pszAppName = DerivedAppName().c_str();
    }
    if (!InitInstanceCaught(pApp)) {
        if (pApp->m_pMainWnd != NULL)
            pApp->m_pMainWnd->DestroyWindow();
        pApp->ExitInstance();
        return EXIT_FAILURE;
    }
    return pApp->Run();
}

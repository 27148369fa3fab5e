// The application object and its start: InitInstance creates the one main frame, shows it
// and paints it once, so that the picture stands before the first tick; a frame that could not
// create its window ends the program with a failure status.
#include "mainframe.h"

// The one application object; the framework's entry point finds it.
CMainApp theApp;

BOOL CMainApp::InitInstance()
{
    // The frame creates its window in its constructor. Should creation be refused (no timer
    // could be started, and the user has been told so), the frame comes back without a window;
    // then there is nothing to show, and the application ends with a failure status.
    CMainFrame* pFrame = new CMainFrame;
    if (pFrame->m_hWnd == NULL) {
        delete pFrame;
        return FALSE;
    }
    m_pMainWnd = pFrame;
    // The first paint runs before InitInstance returns, so that the picture is set up before
    // the first tick.
    pFrame->ShowWindow(m_nCmdShow);
    pFrame->UpdateWindow();
    return TRUE;
}

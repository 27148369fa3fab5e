// CWnd and the window procedure every window of the program shares: it binds a new handle to
// its object before WM_CREATE, routes each message through the object's message map, settles
// exceptions before they reach the window system, and detaches the object on WM_NCDESTROY.
#include "afximpl.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

struct CurrentMessage {
    UINT nMessage;
    WPARAM wParam;
    LPARAM lParam;
};

// Window objects by handle.
std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The window whose CreateEx has called CreateWindowEx and has not yet seen its first message:
// that message binds the new handle to it, before WM_CREATE reaches any handler.
CWnd* s_pWndInit = NULL;

// Windows whose CreateEx is still running, innermost last.
std::vector<CWnd*> s_creating;

// The message being handled, for Default().
CurrentMessage s_msgCur = {WM_NULL, 0, 0};

bool IsBeingCreated(const CWnd* pWnd)
{
    return std::find(s_creating.begin(), s_creating.end(), pWnd) != s_creating.end();
}

const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* pMap, UINT nMessage)
{
    for (; pMap != NULL; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnDispatch; ++pEntry) {
            if (pEntry->nMessage == nMessage)
                return pEntry;
        }
    }
    return NULL;
}

}  // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL && s_pWndInit != NULL) {
        pWnd = s_pWndInit;
        s_pWndInit = NULL;
        pWnd->m_hWnd = hWnd;
        PermanentMap()[hWnd] = pWnd;
    }
    if (pWnd == NULL)
        return ::DefWindowProc(hWnd, nMsg, wParam, lParam);
    // An exception must not unwind through the window system's own frames (on Windows it
    // cannot), so a handler's is settled here.
    try {
        return pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        const MSG msg = {hWnd, nMsg, wParam, lParam, 0, {0, 0}};
        const LRESULT lResult = AfxGetApp() != NULL
                                    ? AfxGetApp()->ProcessWndProcException(e, &msg)
                                    : CWinThread().ProcessWndProcException(e, &msg);
        e->Delete();
        return lResult;
    }
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(NULL) {}

CWnd::~CWnd()
{
    // An object deleted while its window lives takes the window with it. The window's last
    // messages then reach only this class's handlers, since the derived parts are gone.
    if (m_hWnd != NULL)
        ::DestroyWindow(m_hWnd);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    auto entry = PermanentMap().find(hWnd);
    return entry != PermanentMap().end() ? entry->second : NULL;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                    DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                    HMENU nIDorHMenu, LPVOID lpParam)
{
    CWnd* pOuterInit = s_pWndInit;
    s_pWndInit = this;
    s_creating.push_back(this);
    HWND hWnd = ::CreateWindowEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y,
                                 nWidth, nHeight, hWndParent, nIDorHMenu,
                                 AfxGetApp() != NULL ? AfxGetApp()->m_hInstance : NULL, lpParam);
    s_creating.pop_back();
    s_pWndInit = pOuterInit;
    if (hWnd == NULL) {
        m_hWnd = NULL;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, NULL, bErase);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    ::GetClientRect(m_hWnd, lpRect);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                        void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD))
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    if (lpszCaption == NULL)
        lpszCaption = AfxGetAppName();
    return ::MessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

// The handler may destroy the window and so delete this object: nothing here touches the
// object after the handler has returned.
BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* pEntry = FindEntry(GetMessageMap(), message);
    if (pEntry == NULL)
        return FALSE;
    const CurrentMessage outer = s_msgCur;
    s_msgCur = {message, wParam, lParam};
    *pResult = pEntry->pfnDispatch(this, wParam, lParam);
    s_msgCur = outer;
    return TRUE;
}

LRESULT CWnd::Default()
{
    return DefWindowProc(s_msgCur.nMessage, s_msgCur.wParam, s_msgCur.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

void CWnd::PostNcDestroy() {}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnTimer(UINT)
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

// The last message a window receives. The main window's end ends the message loop. A window
// whose creation failed is only detached: its creator still holds the object (see CreateEx).
void CWnd::OnNcDestroy()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = NULL;
        ::PostQuitMessage(0);
    }
    Default();
    PermanentMap().erase(m_hWnd);
    m_hWnd = NULL;
    if (!IsBeingCreated(this))
        PostNcDestroy();
}

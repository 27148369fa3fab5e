// The frame window: its default window class (icon, cursor, background), its creation in the
// system's default place and size, and its end, which deletes the C++ object with the window.
#include "afximpl.h"

#include <afxres.h>

#include <climits>

namespace {

const char kFrameClassName[] = "AfxFrameOrView";

// Brushes for the system colours are given as the colour index plus one.
HBRUSH SysColorBackground(int nIndex)
{
    return reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(nIndex + 1));
}

// The extent between two edges, or 0 when it does not fit in an int.
int Extent(LONG nLow, LONG nHigh)
{
    const long long nExtent = static_cast<long long>(nHigh) - nLow;
    return nExtent >= 0 && nExtent <= INT_MAX ? static_cast<int>(nExtent) : 0;
}

// The application's own frame icon when its resources carry one, else the system's.
HICON FrameIcon(HINSTANCE hInstance)
{
    const LPCTSTR lpszFrameIcon =
        reinterpret_cast<LPCTSTR>(static_cast<UINT_PTR>(AFX_IDI_STD_FRAME));
    HICON hIcon = ::LoadIcon(hInstance, lpszFrameIcon);
    return hIcon != NULL ? hIcon : ::LoadIcon(NULL, IDI_APPLICATION);
}

}  // namespace

// The default frame class: redrawn whole on every resize, arrow cursor, window-colour
// background, and the application's icon, as MFC's frame class does.
LPCTSTR AfxRegisterFrameClass()
{
    HINSTANCE hInstance = AfxGetApp() != NULL ? AfxGetApp()->m_hInstance : NULL;
    WNDCLASS wndcls;
    if (::GetClassInfo(hInstance, kFrameClassName, &wndcls))
        return kFrameClassName;
    wndcls = WNDCLASS();
    wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wndcls.lpfnWndProc = AfxWndProc;
    wndcls.hInstance = hInstance;
    wndcls.hIcon = FrameIcon(hInstance);
    wndcls.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wndcls.hbrBackground = SysColorBackground(COLOR_WINDOW);
    wndcls.lpszClassName = kFrameClassName;
    return ::RegisterClass(&wndcls) != 0 ? kFrameClassName : NULL;
}

// The system chooses position and size for a window created with this rectangle.
const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

// Menus are loaded from resources, and the program carries none: lpszMenuName is not used.
BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, LPCTSTR /*lpszMenuName*/,
                       DWORD dwExStyle, CCreateContext* pContext)
{
    if (lpszClassName == NULL)
        lpszClassName = AfxRegisterFrameClass();
    if (lpszClassName == NULL)
        return FALSE;
    // The default rectangle's corners are markers, not coordinates: its width would overflow.
    const bool bDefault = rect.left == CW_USEDEFAULT;
    const int nWidth = bDefault ? CW_USEDEFAULT : Extent(rect.left, rect.right);
    const int nHeight = bDefault ? CW_USEDEFAULT : Extent(rect.top, rect.bottom);
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    nWidth, nHeight, pParentWnd != NULL ? pParentWnd->m_hWnd : NULL, NULL,
                    pContext);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CWnd::OnCreate(lpCreateStruct);
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

// A frame window lives exactly as long as its window.
void CFrameWnd::PostNcDestroy()
{
    delete this;
}

// Device-context wrappers: CDC passes each drawing and mapping call to the handle it holds and
// hands back the object a selection replaced as a wrapper; CPaintDC and CClientDC borrow a
// window's device context for their lifetime and give it back in their destructors.
#include "afximpl.h"

CDC::CDC() : m_hDC(NULL), m_hAttribDC(NULL) {}

// The program's device contexts are borrowed (paint and client DCs give theirs back in their
// own destructors), so a plain CDC never deletes the handle it holds.
CDC::~CDC() = default;

BOOL CDC::Attach(HDC hDC)
{
    if (hDC == NULL)
        return FALSE;
    m_hDC = hDC;
    m_hAttribDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    m_hDC = NULL;
    m_hAttribDC = NULL;
    return hDC;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    if (pPen == NULL)
        return NULL;
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pPen->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    if (pBrush == NULL)
        return NULL;
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->m_hObject)));
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT previous = {0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

BOOL CDC::LineTo(int x, int y)
{
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return ::Ellipse(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}

int CDC::SelectClipRgn(CRgn* pRgn)
{
    return ::SelectClipRgn(m_hDC, pRgn != NULL ? static_cast<HRGN>(pRgn->m_hObject) : NULL);
}

int CDC::SetMapMode(int nMapMode)
{
    return ::SetMapMode(m_hDC, nMapMode);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT previous = {0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &previous);
    return CPoint(previous.x, previous.y);
}

// A size is a difference of two points, so it is converted as one: the viewport origin,
// which moves both ends alike, drops out.
void CDC::DPtoLP(LPSIZE lpSize) const
{
    POINT ends[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    if (!::DPtoLP(m_hAttribDC, ends, 2))
        return;
    lpSize->cx = ends[1].x - ends[0].x;
    lpSize->cy = ends[1].y - ends[0].y;
}

int CDC::GetDeviceCaps(int nIndex) const
{
    return ::GetDeviceCaps(m_hAttribDC, nIndex);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(pWnd->m_hWnd)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != NULL ? pWnd->m_hWnd : NULL)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    if (m_hDC != NULL)
        ::ReleaseDC(m_hWnd, Detach());
}

// The MFC-style application framework: the classes and members of MFC that this program uses,
// with MFC's names, signatures and meanings. It is written against the Win32 API alone; on
// Windows that is the system itself, elsewhere a backend supplies the same functions.
#ifndef VURAZEVEDADAR_AFXWIN_H
#define VURAZEVEDADAR_AFXWIN_H

#include <windows.h>

#include <type_traits>

#ifndef NULL
#define NULL 0
#endif

#define afx_msg

class CWnd;
class CPen;
class CBrush;
class CRgn;
struct CCreateContext;

// ---------------------------------------------------------------------------------------------
// Simple value types.

class CPoint : public POINT {
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(int nX, int nY) : POINT{nX, nY} {}
};

class CRect : public RECT {
public:
    constexpr CRect() : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// ---------------------------------------------------------------------------------------------
// Message maps. Each class with a map has a static table of entries; an entry pairs a message
// with a small dispatcher that unpacks the message's parameters and calls the class's handler.
// The table links to its base class's table, and the window procedure walks that chain.

typedef LRESULT (*AFX_PMSGDISPATCH)(CWnd* pWnd, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    AFX_PMSGDISPATCH pfnDispatch;  // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root of the chain
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                           \
protected:                                              \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }       \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                                  \
    {                                                                                       \
        typedef theClass ThisClass;                                                         \
        typedef baseClass TheBaseClass;                                                     \
        static_assert(std::is_base_of<TheBaseClass, ThisClass>::value,                      \
                      "a message map must name the class's base");                          \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                   \
            {0, nullptr}};                                                                  \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,             \
                                              &_messageEntries[0]};                         \
        return &messageMap;                                                                 \
    }

#define ON_WM_CREATE()                                                                      \
    {WM_CREATE, [](CWnd* pWnd, WPARAM, LPARAM lParam) -> LRESULT {                          \
         return static_cast<ThisClass*>(pWnd)->OnCreate(                                    \
             reinterpret_cast<LPCREATESTRUCT>(lParam));                                     \
     }},

#define ON_WM_TIMER()                                                                       \
    {WM_TIMER, [](CWnd* pWnd, WPARAM wParam, LPARAM) -> LRESULT {                           \
         static_cast<ThisClass*>(pWnd)->OnTimer(static_cast<UINT>(wParam));                \
         return 0;                                                                          \
     }},

#define ON_WM_PAINT()                                                                       \
    {WM_PAINT, [](CWnd* pWnd, WPARAM, LPARAM) -> LRESULT {                                  \
         static_cast<ThisClass*>(pWnd)->OnPaint();                                          \
         return 0;                                                                          \
     }},

#define ON_WM_CLOSE()                                                                       \
    {WM_CLOSE, [](CWnd* pWnd, WPARAM, LPARAM) -> LRESULT {                                  \
         static_cast<ThisClass*>(pWnd)->OnClose();                                          \
         return 0;                                                                          \
     }},

#define ON_WM_NCDESTROY()                                                                   \
    {WM_NCDESTROY, [](CWnd* pWnd, WPARAM, LPARAM) -> LRESULT {                              \
         static_cast<ThisClass*>(pWnd)->OnNcDestroy();                                      \
         return 0;                                                                          \
     }},

// The root of every message map chain.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// ---------------------------------------------------------------------------------------------
// Exceptions. As in MFC, the framework throws them by pointer, and whoever catches one frees it
// with Delete().

class CException {
public:
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;
    virtual ~CException() = default;

    void Delete();

protected:
    CException() = default;
};

// A Windows resource (a pen, a brush, a region) could not be created.
class CResourceException : public CException {
public:
    CResourceException() = default;
};

[[noreturn]] void AfxThrowResourceException();

// ---------------------------------------------------------------------------------------------
// GDI objects.

class CGdiObject {
public:
    HGDIOBJ m_hObject;

    CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject();

    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
};

class CPen : public CGdiObject {
public:
    CPen();
    // Throws CResourceException when the pen cannot be created.
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    static CPen* PASCAL FromHandle(HPEN hPen);
};

class CBrush : public CGdiObject {
public:
    CBrush();
    // Throws CResourceException when the brush cannot be created.
    explicit CBrush(COLORREF crColor);
    BOOL CreateSolidBrush(COLORREF crColor);
    static CBrush* PASCAL FromHandle(HBRUSH hBrush);
};

class CRgn : public CGdiObject {
public:
    CRgn();
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
};

// ---------------------------------------------------------------------------------------------
// Device contexts. Output goes to m_hDC; queries go to m_hAttribDC. Both are the same handle
// for every device context this program uses.

class CDC {
public:
    HDC m_hDC;
    HDC m_hAttribDC;

    CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    BOOL Attach(HDC hDC);
    HDC Detach();

    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);

    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Rectangle(int x1, int y1, int x2, int y2);

    int SelectClipRgn(CRgn* pRgn);
    int SetMapMode(int nMapMode);
    CPoint SetViewportOrg(int x, int y);
    void DPtoLP(LPSIZE lpSize) const;
    int GetDeviceCaps(int nIndex) const;
};

class CPaintDC : public CDC {
public:
    PAINTSTRUCT m_ps;

    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

protected:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// ---------------------------------------------------------------------------------------------
// Windows.

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd;

    CWnd();
    ~CWnd() override;

    // Creates the window. Should creation fail, the object stays alive and windowless (m_hWnd
    // null) and belongs to whoever created it, even for classes whose PostNcDestroy deletes
    // them: a frame that creates its window in its constructor cannot be deleted before that
    // constructor has returned.
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = NULL);
    virtual BOOL DestroyWindow();
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);

    BOOL ShowWindow(int nCmdShow);
    void UpdateWindow();
    void Invalidate(BOOL bErase = TRUE);
    void GetClientRect(LPRECT lpRect) const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                      void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD));
    BOOL KillTimer(UINT_PTR nIDEvent);
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK);

    // Routes one message: the message maps first, default processing for the rest.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT nIDEvent);
    afx_msg void OnClose();
    afx_msg void OnNcDestroy();

    DECLARE_MESSAGE_MAP()

private:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

class CFrameWnd : public CWnd {
public:
    static const CRect rectDefault;

    CFrameWnd();

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL, DWORD dwExStyle = 0,
                CCreateContext* pContext = NULL);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()
};

// The window procedure of every window class the framework registers.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------------------------
// The application.

class CWinThread : public CCmdTarget {
public:
    CWnd* m_pMainWnd;

    CWinThread();

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    // Called with an exception that a message handler let through: creation fails (-1 for
    // WM_CREATE), and a WM_PAINT counts as done, so that the window is not asked again at once.
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
};

class CWinApp : public CWinThread {
public:
    LPCTSTR m_pszAppName;
    HINSTANCE m_hInstance;
    int m_nCmdShow;

    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;

    BOOL InitInstance() override;
};

CWinApp* AfxGetApp();
LPCTSTR AfxGetAppName();

// The program's entry into the framework, called by each platform's own entry point with the
// path of the executable: makes the application ready, runs InitInstance and then the message
// loop, and gives the process's exit status. An application whose InitInstance fails, or lets
// a framework exception through, ends with a non-zero status.
int AfxWinMain(HINSTANCE hInstance, LPCTSTR lpszModulePath, int nCmdShow);

#endif  // VURAZEVEDADAR_AFXWIN_H

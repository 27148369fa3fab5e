// The error trap: a handler that notes errors of the trapped requests and passes any other to
// the handler it replaced.
#include "errortrap.h"

namespace x11 {

namespace {

// The one trap set; the program has one thread, and traps are never nested.
struct TrapState {
    unsigned long m_nFirstSerial = 0;
    bool m_bFailed = false;
    int (*m_pfnPrevious)(Display*, XErrorEvent*) = nullptr;
};

TrapState s_trap;

int OnTrappedError(Display* pDisplay, XErrorEvent* pError)
{
    if (pError->serial >= s_trap.m_nFirstSerial) {
        s_trap.m_bFailed = true;
        return 0;
    }
    return s_trap.m_pfnPrevious != nullptr ? s_trap.m_pfnPrevious(pDisplay, pError) : 0;
}

}  // namespace

CErrorTrap::CErrorTrap(Display* pDisplay)
    : m_pDisplay(pDisplay), m_pfnPrevious(nullptr)
{
    s_trap.m_nFirstSerial = NextRequest(pDisplay);
    s_trap.m_bFailed = false;
    m_pfnPrevious = XSetErrorHandler(OnTrappedError);
    s_trap.m_pfnPrevious = m_pfnPrevious;
}

// Errors of the trapped requests may still be on their way: they must reach this trap's
// handler, not the program's.
CErrorTrap::~CErrorTrap()
{
    if (!m_bSynced)
        XSync(m_pDisplay, False);
    XSetErrorHandler(m_pfnPrevious);
}

bool CErrorTrap::Failed()
{
    XSync(m_pDisplay, False);
    m_bSynced = true;
    return s_trap.m_bFailed;
}

}  // namespace x11

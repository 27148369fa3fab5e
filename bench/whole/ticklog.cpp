// Logs the real program's tick schedule. The frame is the program's own CMainFrame with one
// message map entry in front of it: each WM_TIMER is timestamped, then handed to the
// program's handler unchanged, so what is measured is the schedule the program runs on.
// After the requested number of ticks the log is written and the frame closes itself.
// Usage: ticklog OUTPUT [TICKS]   (one tick a line: nanoseconds on the platform's monotonic
//                                  clock; 600 ticks unless given)
// On start it prints "clock NANOSECONDS" and flushes: a caller that notes its own clock when
// the line arrives can place the ticks on its own time line (signals it sent, for instance).
#include "mainframe.h"
#include "ticklog.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const int kDefaultTicks = 600;
const int kExitWriteFailed = 1;
const int kExitNoWindow = 2;
const int kExitUsage = 3;

}  // namespace

class CTimedFrame : public CMainFrame {
public:
    // *pbWritten tells the caller whether the log was written: the frame itself is gone by
    // the time the message loop returns.
    CTimedFrame(const std::string& path, int nTicks, bool* pbWritten);

protected:
    afx_msg void OnTimer(UINT nIDEvent);

    DECLARE_MESSAGE_MAP()

private:
    bool WriteLog() const;

    std::string m_path;
    int m_nTicks;
    bool* m_pbWritten;
    std::vector<long long> m_stamps;
};

BEGIN_MESSAGE_MAP(CTimedFrame, CMainFrame)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// The vector is sized up front: growing it inside a tick would add an allocation to the very
// schedule being measured.
CTimedFrame::CTimedFrame(const std::string& path, int nTicks, bool* pbWritten)
    : m_path(path), m_nTicks(nTicks), m_pbWritten(pbWritten)
{
    *m_pbWritten = false;
    m_stamps.reserve(static_cast<std::size_t>(nTicks));
}

// The stamp comes first, so that it marks the tick's delivery, not the end of its drawing.
void CTimedFrame::OnTimer(UINT nIDEvent)
{
    const long long nsNow = TickClockNow();
    if (static_cast<int>(m_stamps.size()) >= m_nTicks)
        return;
    m_stamps.push_back(nsNow);
    CMainFrame::OnTimer(nIDEvent);
    if (static_cast<int>(m_stamps.size()) == m_nTicks) {
        *m_pbWritten = WriteLog();
        ::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
    }
}

bool CTimedFrame::WriteLog() const
{
    FILE* pFile = std::fopen(m_path.c_str(), "w");
    if (pFile == NULL)
        return false;
    bool bWritten = true;
    for (long long nsStamp : m_stamps)
        bWritten = std::fprintf(pFile, "%lld\n", nsStamp) > 0 && bWritten;
    return std::fclose(pFile) == 0 && bWritten;
}

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: ticklog OUTPUT [TICKS]\n");
        return kExitUsage;
    }
    const int nTicks = argc == 3 ? std::atoi(argv[2]) : kDefaultTicks;
    if (nTicks <= 0) {
        std::fprintf(stderr, "ticklog: TICKS must be a positive number\n");
        return kExitUsage;
    }

    std::printf("clock %lld\n", TickClockNow());
    std::fflush(stdout);

    AfxGetApp()->m_hInstance = ::GetModuleHandle(NULL);
    bool bWritten = false;
    CTimedFrame* pFrame = new CTimedFrame(argv[1], nTicks, &bWritten);
    if (pFrame->m_hWnd == NULL) {
        delete pFrame;
        return kExitNoWindow;
    }
    AfxGetApp()->m_pMainWnd = pFrame;
    pFrame->ShowWindow(SW_SHOWNORMAL);
    pFrame->UpdateWindow();
    const int nStatus = AfxGetApp()->Run();
    return bWritten ? nStatus : kExitWriteFailed;
}

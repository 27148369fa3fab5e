// MessageBox: the box itself is the backend's; its text also goes to stderr, as one line, for
// logs and for users whose window system shows no box (no window manager, a closed page).
#include "core.h"

#include <coreprobe.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// A box without a caption is titled with the application's name, as on Windows.
void EchoToStderr(const char* lpszText, const char* lpszCaption)
{
    std::string line = lpszText;
    std::replace(line.begin(), line.end(), '\n', ' ');
    const char* lpszSigned = *lpszCaption != '\0' ? lpszCaption : portable::ApplicationName();
    std::fprintf(stderr, "%s: %s\n", lpszSigned, line.c_str());
    std::fflush(stderr);
}

}  // namespace

int MessageBox(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    const char* lpszText = lpText != nullptr ? lpText : "";
    const char* lpszCaption = lpCaption != nullptr ? lpCaption : "";
    portable::LogCall(std::string("MessageBox ") + lpszText + "|" + lpszCaption + "|" +
                      std::to_string(uType));
    EchoToStderr(lpszText, lpszCaption);
    const HWND__* pOwner = portable::LookupWindow(hWnd);
    return portable::ShowMessageBox(pOwner != nullptr ? pOwner->m_pNative : nullptr, lpszText,
                                    lpszCaption, uType);
}

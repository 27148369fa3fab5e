// MessageBox: a modal dialog in the page with the text, the caption and an OK button. The
// program waits in it as it would in the box's own loop on the desktop; the text also goes to
// the console, for logs and for anyone looking there first.
#include "webpage.h"
#include "webwindow.h"

#include <afxwin.h>

#include <algorithm>
#include <cstdio>
#include <string>

int portable::ShowMessageBox(HWND, const char* lpszText, const char* lpszCaption, UINT)
{
    const std::string caption = *lpszCaption != '\0' ? lpszCaption : AfxGetAppName();
    std::string line = lpszText;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), line.c_str());
    std::fflush(stderr);
    web::PresentPageWindow();
    vz_page_message_box(lpszText, caption.c_str());
    return IDOK;
}

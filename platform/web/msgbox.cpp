// MessageBox: a modal dialog in the page with the text, the caption and an OK button. The
// program waits in it as it would in the box's own loop on the desktop.
#include "webpage.h"
#include "webwindow.h"

int portable::ShowMessageBox(CNativeWindow*, const char* lpszText, const char* lpszCaption, UINT)
{
    web::PresentPageWindow();
    vz_page_message_box(lpszText, *lpszCaption != '\0' ? lpszCaption : ApplicationName());
    return IDOK;
}

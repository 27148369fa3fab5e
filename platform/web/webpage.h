// The page's side of the web backend, in JavaScript: the canvas that is the program's window,
// its size in device pixels, the document's title, the wait for the next deadline or event, and
// the in-page message box. Defined in page.cpp.
#ifndef VURAZEVEDADAR_WEB_PAGE_H
#define VURAZEVEDADAR_WEB_PAGE_H

// Finds the canvas and starts watching its size and the page's visibility; once is enough.
void vz_page_start();
// Sleeps until an event or for nMilliseconds (negative: no limit); 1 when an event ended it.
int vz_page_wait(double nMilliseconds);
// A modal dialog in the page; returns once its OK button closed it.
void vz_page_message_box(const char* lpszText, const char* lpszCaption);

extern "C" {

// The canvas's size in device pixels (CSS size times devicePixelRatio) as last laid out.
int vz_page_width();
int vz_page_height();
// Whether the page has laid the canvas out at least once.
int vz_page_measured();
// Whether something happened since the events were last taken; taking them clears it.
int vz_page_pending();
void vz_page_take_events();
// Asks the loop to look at the page again, as if an event had arrived.
void vz_page_poke();
void vz_page_set_canvas_size(int nWidth, int nHeight);
void vz_page_show_canvas(int bShow);
void vz_page_set_title(const char* lpszTitle);
// Copies the rectangle (x, y, w, h) of a width x height RGBA framebuffer onto the canvas.
void vz_page_present(const void* pPixels, int nWidth, int nHeight, int x, int y, int w, int h);
}

#endif  // VURAZEVEDADAR_WEB_PAGE_H

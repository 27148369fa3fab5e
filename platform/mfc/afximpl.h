// Framework internals shared by the layer's own sources; not part of the program's interface.
#ifndef VURAZEVEDADAR_AFXIMPL_H
#define VURAZEVEDADAR_AFXIMPL_H

#include <afxwin.h>

// Frees the wrappers that SelectObject made for objects the program did not create (stock
// objects, for instance). They live until the message that asked for them has been handled.
void AfxDeleteTempMap();

// Registers the default frame window class on first use and returns its name.
LPCTSTR AfxRegisterFrameClass();

#endif  // VURAZEVEDADAR_AFXIMPL_H

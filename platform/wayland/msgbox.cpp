#include "functions.h"
namespace wayland {
int ShowMessageBox(CNativeWindow*, const char*, const char*, UINT) { return IDOK; }
}

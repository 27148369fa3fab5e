// Text from outside the program (arguments, the program's own name, DISPLAY) made safe to echo
// on a terminal.
#ifndef VURAZEVEDADAR_PORTABLE_PRINTABLE_H
#define VURAZEVEDADAR_PORTABLE_PRINTABLE_H

#include <string>

namespace portable {

// The text with every byte a terminal could take for a control written as \xHH instead: the
// C0 controls, DEL, the C1 controls (as UTF-8 or as single bytes) and whatever is not
// well-formed UTF-8. A backslash becomes \\, so that the result reads back unambiguously.
// Printable ASCII and well-formed UTF-8 beyond the controls pass unchanged.
std::string PrintableText(const char* lpszText);

}  // namespace portable

#endif  // VURAZEVEDADAR_PORTABLE_PRINTABLE_H

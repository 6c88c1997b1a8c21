// Modal message boxes and the system beep.
#pragma once

#include <string_view>

namespace tk {

// A modal message box; returns once the user has dismissed it.
void MsgBox(std::string_view text);
// The system beep.
void Beep();

}  // namespace tk

// Modal message boxes and the system beep.
#pragma once

#include <cstdint>
#include <string_view>

namespace tk {

// A modal message box; returns once the user has dismissed it.
void MsgBox(std::string_view text);
// The system beep.
void Beep();
// How many beeps have sounded in this run (the offscreen platform makes none).
std::int64_t BeepCount();

}  // namespace tk

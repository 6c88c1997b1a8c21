// Hooks for the toolkit's tests: what they read of a run that no program
// needs. Like every *_qt.h header it is the toolkit's alone.
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <vector>

namespace tk {

class Window;

// How many beeps have sounded in this run (the offscreen platform makes none).
std::int64_t BeepCount();

// Every open window, in the order they were opened.
std::vector<Window*> OpenWindows();

}  // namespace tk

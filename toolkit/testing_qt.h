// Hooks for the toolkit's tests: what they read of a run, and do to it, that
// no program needs. Like every *_qt.h header it includes Qt, so the program
// cannot include it.
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <vector>

namespace tk {

class Timer;
class Window;

// How many beeps have sounded in this run (the offscreen platform makes none).
std::int64_t BeepCount();

// Every open window, in the order they were opened.
std::vector<Window*> OpenWindows();

// Fires `timer` now, as the end of its period would.
void FireTimer(Timer& timer);

}  // namespace tk

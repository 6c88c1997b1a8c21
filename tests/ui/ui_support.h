// Helpers for tests that drive the toolkit's widgets on the offscreen platform.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/controls.h"
#include "toolkit/window.h"

namespace uitest {

// The Qt widget behind a control, and the top-level widget of a window.
QWidget* WidgetOf(const tk::RectControl& control);
QWidget* TopLevelOf(const tk::Window& window);

// Removes every open window without raising its Close event (closing the main
// window would quit the run), and lets Qt finish deleting them.
void DestroyAllWindows();

// Runs `action`, which is expected to open modal message boxes; each box that
// appears is read and dismissed with its OK button. Returns their texts.
std::vector<std::string> DismissMessageBoxes(const std::function<void()>& action);

// A left click in the middle of a control, through Qt's event path.
void Click(const tk::RectControl& control);

// Processes pending events, deferred deletions included.
void Settle();

}  // namespace uitest

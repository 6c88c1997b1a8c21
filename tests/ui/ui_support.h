// Helpers for tests that drive the toolkit's widgets on the offscreen platform.
#pragma once

#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/controls.h"
#include "toolkit/picture.h"
#include "toolkit/testing_qt.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"

namespace uitest {

// The Qt widget behind a control, and the top-level widget of a window.
QWidget* WidgetOf(const tk::RectControl& control);
QWidget* TopLevelOf(const tk::Window& window);

// The open window of a class, found by its full class name, or null.
template <class W = tk::Window>
W* OpenWindow(std::string_view fullClassName) {
    tk::Window* window = tk::Window::GetImplicitWindow(fullClassName);
    return window == nullptr ? nullptr : &tk::Cast<W>(window);
}

// How many open windows are of class W.
template <class W>
int CountOpen() {
    int count = 0;
    for (tk::Window* window : tk::OpenWindows()) {
        if (dynamic_cast<W*>(window) != nullptr) ++count;
    }
    return count;
}

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

// A 16 by 16 red picture, the same object on every call.
std::shared_ptr<tk::Picture> TestPicture();

// A window of the toolkit's own controls, built from short lists (see
// ui_support.cpp for their values), in the order TitleLbl, LimitFld,
// FirstFld, LockedFld, NotesArea, PictureCanvas, Timer1:
//   TitleLbl       "Result" at (10, 12, 140, 20), centred, navy, 13 px bold
//   LimitFld       at most 6 characters, right-aligned, white, 12 px, tab index 2
//   FirstFld       no limit, tab index 0
//   LockedFld      read-only "fixed", tab index 3
//   NotesArea      "one\rtwo" at (130, 40, 150, 60), half-transparent red, tab index 1
//   PictureCanvas  TestPicture() at (200, 110, 32, 32); Transparent true, then false
//   Timer1         fires once after 50 ms, counting in timerFires
// The window is "Layout check", 320 by 200, not resizeable, and asks for a
// maximise button.
class TestWnd : public tk::Window {
  public:
    static TestWnd& Instance() { return tk::ImplicitInstance<TestWnd>("TestWnd.TestWnd"); }
    std::string_view FullClassName() const override { return "TestWnd.TestWnd"; }

    static inline int builds = 0;
    static inline int closes = 0;
    int timerFires = 0;

    tk::Label& TitleLbl() const { return tk::Cast<tk::Label>(ControlByName("TitleLbl")); }
    tk::TextField& LimitFld() const { return tk::Cast<tk::TextField>(ControlByName("LimitFld")); }
    tk::TextField& LockedFld() const { return tk::Cast<tk::TextField>(ControlByName("LockedFld")); }
    tk::TextField& FirstFld() const { return tk::Cast<tk::TextField>(ControlByName("FirstFld")); }
    tk::TextArea& NotesArea() const { return tk::Cast<tk::TextArea>(ControlByName("NotesArea")); }
    tk::Canvas& PictureCanvas() const {
        return tk::Cast<tk::Canvas>(ControlByName("PictureCanvas"));
    }
    tk::Timer& Timer1() const { return tk::Cast<tk::Timer>(ControlByName("Timer1")); }

  protected:
    void Layout() override;
    void CreateControls() override;
    void Event_Close() override { ++closes; }
};

}  // namespace uitest

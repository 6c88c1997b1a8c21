// The About window: the first window of the run. A picture, the program's
// name and the authorship notice, and a timer. Its timer (once, 4 s after the
// window is built), a key press or a click in it hides it and shows the main
// window; once that has happened, the timer changes nothing. It is never
// closed; the main window's small logo shows it again.
#pragma once

#include <cstdint>
#include <string_view>

#include "toolkit/controls.h"
#include "toolkit/object.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"

class AboutWnd : public tk::Window {
  public:
    // The timer of the About window, which sits on the window as one of its
    // controls: it knows its window (weakly) and its index.
    class _wrapper_Timer1 : public tk::Timer, public tk::PaneChild {
      public:
        explicit _wrapper_Timer1(tk::Window&) {}
        std::string ClassName() const override { return "AboutWnd._wrapper_Timer1"; }

        void SetWindow(tk::Window* window) override;
        tk::Window* Window() const override;
        std::int64_t GetIndex() const override { return Index; }
        void SetIndex(std::int64_t index) override { Index = index; }
        void Constructor() {}

        std::int64_t Index = 0;

      private:
        std::unique_ptr<tk::WeakRef<tk::Window>> ownerWindow;
    };

    // The open About window, or a new one (which shows itself).
    static AboutWnd& Instance();

    std::string_view FullClassName() const override { return "AboutWnd.AboutWnd"; }
    bool IsEventImplemented(std::string_view event) const override;

    void Layout() override;
    void CreateControls() override;
    void CreateControls0();

    tk::Label& StaticText2() const;
    tk::Canvas& Canvas1() const;
    tk::Timer& Timer1() const;
    tk::Label& Label1() const;

    void Timer1_Action(tk::Timer& timer);
    bool Event_KeyDown(std::string_view key) override;
    bool Event_MouseDown(std::int64_t x, std::int64_t y) override;
    // The window is never closed: its close button hides it, and the first
    // time hands over as a key press does.
    bool Event_CancelClose() override;

  private:
    // Hides the About window, then shows the main window (built the first time).
    static void HandOver();
};

// The Qt side of windows: the top-level widget, the window's record, the held
// windows, and the toolkit's own access to a window. Only toolkit sources,
// tests and benchmarks that look at the widgets include this file.
#pragma once

#include <QColor>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "toolkit/text_qt.h"
#include "toolkit/window.h"

namespace tk {

// The top-level widget of a window: an optional menu bar above a content area
// of the window's width and height, where the controls sit. The window owns
// the widget; the widget only points back.
class TopLevelWidget : public QWidget {
  public:
    explicit TopLevelWidget(Window* owner);
    Window* Owner() const { return owner_; }
    QWidget* Content() const { return content_; }
    QVBoxLayout* Layout() const { return layout_; }
    // Centres the window with its frame on the screen, `offset` pixels down
    // and to the right, keeping the frame's top-left corner on the screen.
    void Centre(int offset);
    // On X11, an empty title shows as an empty title bar.
    void ShowEmptyTitle();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Window* owner_;
    QVBoxLayout* layout_;
    QWidget* content_;
};

struct WindowImpl {
    QPointer<TopLevelWidget> top;
    QPointer<QMenuBar> menuBarView;
    int width = 100;
    int height = 100;
    int minWidth = 64, minHeight = 64, maxWidth = 32000, maxHeight = 32000;
    bool resizeable = true;
    bool closeButton = true, minimizeButton = true, maximizeButton = true;
    bool hasBackground = false;
    QColor background = Qt::white;
    std::int64_t defaultLocation = 0;
    bool placed = false;
};

// A window the toolkit owns, from before it is built until it is released
// after closing.
struct HeldWindow {
    enum class State { Building, Open, Closed };
    std::unique_ptr<Window> window;
    State state = State::Building;
};

// Makes a built window the open window of its class.
void MarkOpen(const Window& window);

// Every held window, in the order they were made. The run's state keeps them,
// so that they go before the application, never after what they need.
std::vector<HeldWindow>& HeldWindows();

// What the toolkit, and its tests, do with a window beyond what the program may.
struct WindowInternals {
    static WindowImpl& Impl(const Window& w) { return *w.impl_; }
    // The window's events, raised by its top-level widget.
    static bool RaiseKeyDown(Window& w, std::string_view key);
    static bool RaiseMouseDown(Window& w, std::int64_t x, std::int64_t y);
    static bool RaiseCancelClose(Window& w);
    static void RaiseClose(Window& w);
    // Its controls, in the order they were added.
    static std::vector<Object*> Controls(const Window& w);
    // Deletes every window, raising no Close event: for the end of the run.
    static void DestroyAll();
};

// The window whose top-level widget is active, or null.
Window* ActiveWindow();

}  // namespace tk

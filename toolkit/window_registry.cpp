// The registry of windows: every window is held, in the run's state, from
// before it is built until it is released after closing; it finds the open
// window of each class.
#include <QApplication>
#include <QTimer>
#include <algorithm>

#include "toolkit/runtime.h"
#include "toolkit/testing_qt.h"
#include "toolkit/window_qt.h"

namespace tk {

namespace {

using Held = HeldWindow;

Held* Find(const Window* window) {
    for (Held& held : HeldWindows()) {
        if (held.window.get() == window) return &held;
    }
    return nullptr;
}

// Deletes the windows that have closed. Runs from the event loop, never inside
// the close event of a window it deletes.
void ReleaseClosed() {
    std::vector<std::unique_ptr<Window>> closed;
    std::erase_if(HeldWindows(), [&](Held& held) {
        if (held.state != Held::State::Closed) return false;
        closed.push_back(std::move(held.window));
        return true;
    });
}

}  // namespace

void MarkOpen(const Window& window) {
    if (Held* held = Find(&window)) held->state = Held::State::Open;
}

Window* Window::GetImplicitWindow(std::string_view fullClassName) {
    for (const Held& held : HeldWindows()) {
        if (held.state == Held::State::Open && held.window->FullClassName() == fullClassName) {
            return held.window.get();
        }
    }
    return nullptr;
}

std::vector<Window*> OpenWindows() {
    std::vector<Window*> windows;
    for (const Held& held : HeldWindows()) {
        if (held.state == Held::State::Open) windows.push_back(held.window.get());
    }
    return windows;
}

Window& Window::Open(std::unique_ptr<Window> window) {
    Window& w = *window;
    HeldWindows().push_back(Held{std::move(window)});
    try {
        w.Constructor();
    } catch (...) {
        std::erase_if(HeldWindows(), [&w](const Held& held) { return held.window.get() == &w; });
        throw;
    }
    return w;
}

void WindowInternals::DestroyAll() {
    // Out of the registry first: a window's destructor may look there.
    std::vector<Held> all = std::move(HeldWindows());
    HeldWindows().clear();
}

void WindowInternals::RaiseClose(Window& w) {
    Held* held = Find(&w);
    if (held == nullptr || held->state == Held::State::Closed) return;
    held->state = Held::State::Closed;
    CallGuarded([&w] { w.Event_Close(); });
    // The window goes once its close event is done.
    QTimer::singleShot(0, qApp, ReleaseClosed);
}

}  // namespace tk

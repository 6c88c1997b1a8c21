// Windows. A window class of the program derives from Window, gives its full
// class name, and builds itself in its Layout and CreateControls hooks. Each
// window class has at most one open window, found by that full name.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/object.h"

namespace tk {

class MenuBar;
struct WindowImpl;

// What a control that is not a RectControl (a timer) implements to sit on a
// window: the toolkit tells it its window and index when it is registered.
class PaneChild {
  public:
    virtual ~PaneChild() = default;
    virtual void SetWindow(class Window* window) = 0;
    virtual class Window* Window() const = 0;
    virtual std::int64_t GetIndex() const = 0;
    virtual void SetIndex(std::int64_t index) = 0;
};

class Window : public Object {
  public:
    Window();
    ~Window() override;

    std::string ClassName() const override;
    void SetProperty(const plist::Entry& entry) override;

    // "Module.Class": the name under which the open window of the class is found.
    virtual std::string_view FullClassName() const = 0;

    // The open window (shown or hidden) of the class of that full name, or null.
    static Window* GetImplicitWindow(std::string_view fullClassName);

    // Takes `window`, builds it (see Constructor) and keeps it, as the open
    // window of its class, until it is closed. A build that throws leaves
    // nothing behind: no widget, no window, nothing registered.
    static Window& Open(std::unique_ptr<Window> window);

    void Show();   // shows the window and brings it to the front
    void Hide();   // hides it; the window and its controls are kept
    void Close();  // raises Close; the window is released once the event is done
    bool IsShown() const;

    void SetMenuBar(std::shared_ptr<MenuBar> bar);
    std::shared_ptr<MenuBar> GetMenuBar() const;

    // Menu handlers of this window, by menu-item name.
    using MenuHandler = std::function<bool()>;
    void AddMenuHandler(std::string itemName, MenuHandler handler);
    bool HasMenuHandler(std::string_view itemName) const;
    // Runs the handler registered under the item name; false when there is none.
    bool RunMenuHandler(std::string_view itemName);

    // Controls.
    template <class C>
    std::unique_ptr<C> New() {
        CheckMainThread("creating a control");
        return std::make_unique<C>(*this);
    }
    void AddControl(std::string name, std::unique_ptr<Object> control);
    // The control registered under the name, or null.
    Object* ControlByName(std::string_view name) const;

    // Events the class implements, for the toolkit's runtime.
    virtual bool IsEventImplemented(std::string_view event) const;

  protected:
    // Build hooks and events, raised by the toolkit.
    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void AddMenuHandlers(tk::Window&) {}
    virtual void Event_Open() {}
    // A request to close the window (its close button, the window manager);
    // true keeps it open.
    virtual bool Event_CancelClose() { return false; }
    virtual void Event_Close() {}
    // Any key pressed in the window but a modifier or lock key alone, with
    // the text it gives (none for most keys that type nothing).
    virtual bool Event_KeyDown(std::string_view) { return false; }
    virtual bool Event_MouseDown(std::int64_t, std::int64_t) { return false; }

  private:
    friend struct WindowInternals;  // the toolkit's own access (window_qt.h)

    // Builds the window: raises Layout, CreateControls and AddMenuHandlers,
    // makes it the open window of its class, raises Open, and shows it when its
    // list said Visible.
    void Constructor();
    void ApplyTabOrder();

    std::unique_ptr<WindowImpl> impl_;
    std::vector<std::pair<std::string, std::unique_ptr<Object>>> controls_;
    std::map<std::string, MenuHandler, std::less<>> menuHandlers_;
    std::shared_ptr<MenuBar> menuBar_;
    bool visibleWhenBuilt_ = false;
};

// The window instance of class W: the open window of its full class name, or
// a new W, built (and shown, when its list says so). A window of another class
// under that name raises IllegalCastException.
template <class W>
W& ImplicitInstance(std::string_view fullClassName) {
    Window* window = Window::GetImplicitWindow(fullClassName);
    if (window == nullptr) window = &Window::Open(std::make_unique<W>());
    return Cast<W>(window);
}

}  // namespace tk

#include "toolkit/window.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "toolkit/application.h"
#include "toolkit/controls_qt.h"
#include "toolkit/menu_qt.h"
#include "toolkit/properties.h"
#include "toolkit/runtime.h"
#include "toolkit/window_qt.h"

namespace tk {

namespace {

using Held = HeldWindow;

std::vector<Held>& Registry() {
    return HeldWindows();
}

Held* Find(const Window* window) {
    for (Held& held : Registry()) {
        if (held.window.get() == window) return &held;
    }
    return nullptr;
}

// Deletes the windows that have closed. Runs from the event loop, never inside
// the close event of a window it deletes.
void ReleaseClosed() {
    std::vector<std::unique_ptr<Window>> closed;
    std::erase_if(Registry(), [&](Held& held) {
        if (held.state != Held::State::Closed) return false;
        closed.push_back(std::move(held.window));
        return true;
    });
}

// The frame the window system puts round a window: the window's own once it
// has one, before that the frame another window of ours had when last shown.
QMargins FrameOf(const QWidget* top) {
    auto frame = [](const QWidget* w) {
        const QRect f = w->frameGeometry(), g = w->geometry();
        return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                        f.bottom() - g.bottom());
    };
    if (const QMargins own = frame(top); !own.isNull()) return own;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (dynamic_cast<const TopLevelWidget*>(w) != nullptr && !frame(w).isNull())
            return frame(w);
    }
    return {};
}

// Where the frame's top-left corner goes: the window with its frame centred on
// the screen, but never with that corner off it, so that a window larger than
// the screen keeps its title bar in reach.
QPoint Centred(const QSize& framed, int offset) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return QPoint(offset, offset);
    const QRect area = screen->availableGeometry();
    const QPoint at =
        area.center() - QPoint(framed.width() / 2, framed.height() / 2) + QPoint(offset, offset);
    return QPoint(
        std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - framed.width())),
        std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - framed.height())));
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return atom;
}

// On X11, Qt names a window with an empty title after the application; an
// empty title is meant to show an empty title bar, so name it nothing.
void ShowEmptyTitle(QWidget* top) {
    if (!top->windowTitle().isEmpty() || QGuiApplication::platformName() != "xcb") return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return;
    static const xcb_atom_t netWmName = Atom(connection, "_NET_WM_NAME");
    static const xcb_atom_t utf8 = Atom(connection, "UTF8_STRING");
    const auto id = static_cast<xcb_window_t>(top->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        0, "");
    if (netWmName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netWmName, utf8, 8, 0, "");
    }
    xcb_flush(connection);
}

using E = const plist::Entry&;

template <int WindowImpl::*field>
void SetSize(Window& w, E e) {
    WindowInternals::Impl(w).*field =
        static_cast<int>(std::clamp<std::int64_t>(IntegerOf(e), 0, QWIDGETSIZE_MAX));
}

template <bool WindowImpl::*field>
void SetFlag(Window& w, E e) {
    WindowInternals::Impl(w).*field = BooleanOf(e);
}

}  // namespace

// --- TopLevelWidget -------------------------------------------------------------

TopLevelWidget::TopLevelWidget(Window* owner)
    : owner_(owner), layout_(new QVBoxLayout(this)), content_(new QWidget(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(content_);
    // The application's shortcuts (Quit among them) work from every window.
    if (Application* app = Application::Current(); app != nullptr && app->GetMenuBar()) {
        QList<QAction*> actions;
        CollectCommandActions(*app->GetMenuBar(), actions);
        addActions(actions);
    }
}

bool TopLevelWidget::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress && owner_->IsEventImplemented("KeyDown")) {
        const auto text = WindowKeyDownText(*static_cast<QKeyEvent*>(event));
        if (text) {
            WindowInternals::RaiseKeyDown(*owner_, *text);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress &&
               owner_->IsEventImplemented("MouseDown")) {
        const QPoint at =
            content_->mapFrom(this, static_cast<QMouseEvent*>(event)->position().toPoint());
        WindowInternals::RaiseMouseDown(*owner_, at.x(), at.y());
        return true;
    }
    return QWidget::event(event);
}

void TopLevelWidget::closeEvent(QCloseEvent* event) {
    if (WindowInternals::RaiseCancelClose(*owner_)) {
        event->ignore();
        return;
    }
    WindowInternals::RaiseClose(*owner_);
    event->accept();
}

Window* ActiveWindow() {
    for (QWidget* w = QApplication::activeWindow(); w != nullptr; w = w->parentWidget()) {
        if (auto* top = dynamic_cast<TopLevelWidget*>(w)) return top->Owner();
    }
    return nullptr;
}

// --- Window ---------------------------------------------------------------------

Window::Window() : impl_(std::make_unique<WindowImpl>()) {
    CheckMainThread("creating a window");
    impl_->top = new TopLevelWidget(this);
}

Window::~Window() {
    controls_.clear();
    delete impl_->top.data();
}

std::string Window::ClassName() const {
    return std::string(FullClassName());
}

Window* Window::GetImplicitWindow(std::string_view fullClassName) {
    for (const Held& held : Registry()) {
        if (held.state == Held::State::Open && held.window->FullClassName() == fullClassName) {
            return held.window.get();
        }
    }
    return nullptr;
}

std::vector<Window*> OpenWindows() {
    std::vector<Window*> windows;
    for (const Held& held : Registry()) {
        if (held.state == Held::State::Open) windows.push_back(held.window.get());
    }
    return windows;
}

Window& Window::Open(std::unique_ptr<Window> window) {
    Window& w = *window;
    Registry().push_back(Held{std::move(window)});
    try {
        w.Constructor();
    } catch (...) {
        std::erase_if(Registry(), [&w](const Held& held) { return held.window.get() == &w; });
        throw;
    }
    return w;
}

void Window::DestroyAll() {
    // Out of the registry first: a window's destructor may look there.
    std::vector<Held> all = std::move(Registry());
    Registry().clear();
}

void Window::Constructor() {
    CheckMainThread("building a window");
    Layout();
    CreateControls();
    AddMenuHandlers(*this);
    ApplyTabOrder();

    WindowImpl& w = *impl_;
    Qt::WindowFlags flags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (w.closeButton) flags |= Qt::WindowCloseButtonHint;
    if (w.minimizeButton) flags |= Qt::WindowMinimizeButtonHint;
    if (w.maximizeButton && w.resizeable) flags |= Qt::WindowMaximizeButtonHint;
    w.top->setWindowFlags(flags);
    QWidget* content = w.top->Content();
    if (w.resizeable) {
        content->setMinimumSize(std::max(0, w.minWidth), std::max(0, w.minHeight));
        content->setMaximumSize(std::min(w.maxWidth, QWIDGETSIZE_MAX),
                                std::min(w.maxHeight, QWIDGETSIZE_MAX));
        w.top->Layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    } else {
        content->setFixedSize(w.width, w.height);
        w.top->Layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    if (w.hasBackground) {
        QPalette palette = content->palette();
        palette.setColor(QPalette::Window, w.background);
        content->setPalette(palette);
        content->setAutoFillBackground(true);
    }
    w.top->adjustSize();
    if (w.resizeable) {
        const int bar = w.menuBarView ? w.menuBarView->sizeHint().height() : 0;
        w.top->resize(w.width, w.height + bar);
    }

    if (Held* held = Find(this)) held->state = Held::State::Open;
    CallGuarded([this] { Event_Open(); });
    if (visibleWhenBuilt_) Show();
}

void Window::ApplyTabOrder() {
    std::vector<RectControl*> order;
    for (auto& [name, control] : controls_) {
        auto* rect = dynamic_cast<RectControl*>(control.get());
        if (rect != nullptr && ControlInternals::TabStop(*rect) &&
            ControlInternals::Impl(*rect).widget &&
            (ControlInternals::Impl(*rect).widget->focusPolicy() & Qt::TabFocus)) {
            order.push_back(rect);
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const RectControl* a, const RectControl* b) {
        return ControlInternals::TabIndex(*a) < ControlInternals::TabIndex(*b);
    });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(ControlInternals::Impl(*order[i - 1]).widget,
                             ControlInternals::Impl(*order[i]).widget);
    }
}

void Window::Show() {
    CheckMainThread("showing a window");
    WindowImpl& w = *impl_;
    if (!w.placed) {
        w.placed = true;
        // A window's position is its frame's.
        const QMargins frame = FrameOf(w.top);
        w.top->move(Centred(w.top->size().grownBy(frame), w.defaultLocation == 0 ? 0 : 40));
        ShowEmptyTitle(w.top);
    }
    if (w.top->isMinimized()) w.top->showNormal();
    w.top->show();
    w.top->raise();
    w.top->activateWindow();
}

void Window::Hide() {
    CheckMainThread("hiding a window");
    impl_->top->hide();
}

void Window::Close() {
    CheckMainThread("closing a window");
    if (impl_->top) impl_->top->close();
}

bool Window::IsShown() const {
    CheckMainThread("reading whether a window is shown");
    return impl_->top && impl_->top->isVisible();
}

bool WindowInternals::RaiseCancelClose(Window& w) {
    bool cancel = false;
    CallGuarded([&] { cancel = w.Event_CancelClose(); });
    return cancel;
}

void WindowInternals::RaiseClose(Window& w) {
    Held* held = Find(&w);
    if (held == nullptr || held->state == Held::State::Closed) return;
    held->state = Held::State::Closed;
    CallGuarded([&w] { w.Event_Close(); });
    // The window goes once its close event is done.
    QTimer::singleShot(0, qApp, ReleaseClosed);
}

bool WindowInternals::RaiseKeyDown(Window& w, std::string_view key) {
    bool handled = true;
    CallGuarded([&] { handled = w.Event_KeyDown(key); });
    return handled;
}

bool WindowInternals::RaiseMouseDown(Window& w, std::int64_t x, std::int64_t y) {
    bool handled = true;
    CallGuarded([&] { handled = w.Event_MouseDown(x, y); });
    return handled;
}

void Window::SetMenuBar(std::shared_ptr<MenuBar> bar) {
    CheckMainThread("setting a window's menu bar");
    WindowImpl& w = *impl_;
    if (w.menuBarView) {
        w.top->Layout()->setMenuBar(nullptr);
        delete w.menuBarView.data();
    }
    menuBar_ = std::move(bar);
    if (menuBar_) {
        ActivateShortcuts(*menuBar_);
        w.menuBarView = MakeMenuBarView(*menuBar_, w.top);
        w.top->Layout()->setMenuBar(w.menuBarView);
    }
}

std::shared_ptr<MenuBar> Window::GetMenuBar() const {
    CheckMainThread("reading a window's menu bar");
    return menuBar_;
}

void Window::AddMenuHandler(std::string itemName, MenuHandler handler) {
    CheckMainThread("adding a menu handler");
    menuHandlers_[std::move(itemName)] = std::move(handler);
}

bool Window::HasMenuHandler(std::string_view itemName) const {
    return menuHandlers_.find(itemName) != menuHandlers_.end();
}

bool Window::RunMenuHandler(std::string_view itemName) {
    const auto it = menuHandlers_.find(itemName);
    if (it == menuHandlers_.end()) return false;
    bool result = false;
    CallGuarded([&] { result = it->second(); });
    return result;
}

void Window::AddControl(std::string name, std::unique_ptr<Object> control) {
    CheckMainThread("adding a control");
    if (!control) throw NilObjectException("adding a nil control as '" + name + "'");
    if (auto* rect = dynamic_cast<RectControl*>(control.get()))
        ControlInternals::AttachName(*rect, name);
    if (auto* child = dynamic_cast<PaneChild*>(control.get())) child->SetWindow(this);
    controls_.emplace_back(std::move(name), std::move(control));
}

Object* Window::ControlByName(std::string_view name) const {
    for (const auto& [controlName, control] : controls_) {
        if (controlName == name) return control.get();
    }
    return nullptr;
}

std::vector<Object*> WindowInternals::Controls(const Window& w) {
    std::vector<Object*> out;
    for (const auto& entry : w.controls_) out.push_back(entry.second.get());
    return out;
}

bool Window::IsEventImplemented(std::string_view) const {
    return false;
}

void Window::SetProperty(const plist::Entry& entry) {
    CheckMainThread("setting a window's property");
    // Sizes, buttons and the background wait for the build, which applies them
    // by whether the window is resizeable.
    static constexpr auto kRows = Join(std::to_array<Setter<Window>>({
        {"Width", SetSize<&WindowImpl::width>},
        {"Height", SetSize<&WindowImpl::height>},
        {"MinimumWidth", SetSize<&WindowImpl::minWidth>},
        {"MinimumHeight", SetSize<&WindowImpl::minHeight>},
        {"MaximumWidth", SetSize<&WindowImpl::maxWidth>},
        {"MaximumHeight", SetSize<&WindowImpl::maxHeight>},
        {"DefaultLocation", [](Window& w, E e) { w.impl_->defaultLocation = IntegerOf(e); }},
        {"HasCloseButton", SetFlag<&WindowImpl::closeButton>},
        {"HasMaximizeButton", SetFlag<&WindowImpl::maximizeButton>},
        {"HasMinimizeButton", SetFlag<&WindowImpl::minimizeButton>},
        {"Resizeable", SetFlag<&WindowImpl::resizeable>},
        {"HasBackgroundColor", SetFlag<&WindowImpl::hasBackground>},
        {"Visible", [](Window& w, E e) { w.visibleWhenBuilt_ = BooleanOf(e); }},
        {"Title", [](Window& w, E e) { w.impl_->top->setWindowTitle(FromUtf8(TextOf(e))); }},
        {"BackgroundColor",
         [](Window& w, E e) {
             const Rgba c = ColourOf(e);
             w.impl_->background = QColor(c.r, c.g, c.b, c.a);
         }},
        // A window is of the one ordinary titled kind.
        {"Type", kNoEffect},
        {"MacProcID", kNoEffect},
        {"HasFullScreenButton", kNoEffect},
        {"Composite", kNoEffect},
        {"FullScreen", kNoEffect},
        {"MenuBarVisible", kNoEffect},
        {"LiveResize", kNoEffect},
    }));
    Apply(*this, kRows, entry);
}

}  // namespace tk

// Windows: their build from the layout lists, showing and hiding, menu
// handlers, controls, the events they raise, and their property table.
#include "toolkit/window.h"

#include <algorithm>

#include "toolkit/controls_qt.h"
#include "toolkit/menu_qt.h"
#include "toolkit/properties.h"
#include "toolkit/runtime.h"
#include "toolkit/window_qt.h"

namespace tk {

namespace {

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

    MarkOpen(*this);
    CallGuarded([this] { Event_Open(); });
    if (visibleWhenBuilt_) Show();
}

void Window::ApplyTabOrder() {
    std::vector<RectControl*> order;
    for (auto& [name, control] : controls_) {
        auto* rect = dynamic_cast<RectControl*>(control.get());
        if (rect != nullptr && rect->tabStop_ && rect->impl_->widget &&
            (rect->impl_->widget->focusPolicy() & Qt::TabFocus)) {
            order.push_back(rect);
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const RectControl* a, const RectControl* b) {
        return a->tabIndex_ < b->tabIndex_;
    });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1]->impl_->widget, order[i]->impl_->widget);
    }
}

void Window::Show() {
    CheckMainThread("showing a window");
    WindowImpl& w = *impl_;
    if (!w.placed) {
        w.placed = true;
        w.top->Centre(w.defaultLocation == 0 ? 0 : 40);
        w.top->ShowEmptyTitle();
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
    return CallGuarded(false, [&] { return w.Event_CancelClose(); });
}

bool WindowInternals::RaiseKeyDown(Window& w, std::string_view key) {
    return CallGuarded(true, [&] { return w.Event_KeyDown(key); });
}

bool WindowInternals::RaiseMouseDown(Window& w, std::int64_t x, std::int64_t y) {
    return CallGuarded(true, [&] { return w.Event_MouseDown(x, y); });
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
    return CallGuarded(false, [&] { return it->second(); });
}

void Window::AddControl(std::string name, std::unique_ptr<Object> control) {
    CheckMainThread("adding a control");
    if (!control) throw NilObjectException("adding a nil control as '" + name + "'");
    if (auto* rect = dynamic_cast<RectControl*>(control.get())) rect->name_ = name;
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
        // clang-format off
        {"Type", kNoEffect}, {"MacProcID", kNoEffect}, {"HasFullScreenButton", kNoEffect},
        {"Composite", kNoEffect}, {"FullScreen", kNoEffect}, {"MenuBarVisible", kNoEffect},
        {"LiveResize", kNoEffect},
        // clang-format on
    }));
    Apply(*this, kRows, entry);
}

}  // namespace tk

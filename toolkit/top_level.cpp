// The top-level widget of a window: its events, its place on the screen and,
// on X11, its empty title.
#include <xcb/xcb.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "toolkit/application.h"
#include "toolkit/controls_qt.h"
#include "toolkit/keys_qt.h"
#include "toolkit/menu_qt.h"
#include "toolkit/window_qt.h"

namespace tk {

namespace {

// How much the frame the window system puts round a window adds to its size:
// the window's own once it has one, before that the frame another window of
// ours had when last shown. The first window shown has nothing to go on, and
// is centred as if it had no frame.
QSize FrameOf(const QWidget* top) {
    auto frame = [](const QWidget* w) { return w->frameGeometry().size() - w->size(); };
    if (!frame(top).isNull()) return frame(top);
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

}  // namespace

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

void TopLevelWidget::Centre(int offset) {
    // A window's position is its frame's.
    move(Centred(size() + FrameOf(this), offset));
}

// On X11, Qt names a window with an empty title after the application; an
// empty title is meant to show an empty title bar, so name it nothing.
void TopLevelWidget::ShowEmptyTitle() {
    if (!windowTitle().isEmpty() || QGuiApplication::platformName() != "xcb") return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return;
    static const xcb_atom_t netWmName = Atom(connection, "_NET_WM_NAME");
    static const xcb_atom_t utf8 = Atom(connection, "UTF8_STRING");
    const auto id = static_cast<xcb_window_t>(winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        0, "");
    if (netWmName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netWmName, utf8, 8, 0, "");
    }
    xcb_flush(connection);
}

}  // namespace tk

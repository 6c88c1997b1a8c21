#include "toolkit/menu.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <optional>
#include <utility>

#include "toolkit/controls_qt.h"
#include "toolkit/menu_qt.h"
#include "toolkit/runtime.h"
#include "toolkit/window_qt.h"

namespace tk {

namespace {

QKeySequence SequenceOf(const std::string& shortcut) {
    // "Cmd+X" is Ctrl+X on this platform.
    std::string text = shortcut;
    if (text.rfind("Cmd+", 0) == 0) text = "Ctrl+" + text.substr(4);
    return QKeySequence(FromUtf8(text), QKeySequence::PortableText);
}

// The focused text control, if it is one the Edit commands know.
struct Focused {
    QLineEdit* line = nullptr;
    QPlainTextEdit* area = nullptr;
};

// A window's menu bar. Used from the keyboard (Alt and a mnemonic, the arrows
// from another menu, Escape), it takes the focus for as long as it is in use;
// the Edit commands act meanwhile on the control it took the focus from, and
// once its menus are closed, by a command or by Escape, it gives the focus back;
// closed by a click on another control, it gives the focus to that one.
class MenuBarView : public QMenuBar {
  public:
    explicit MenuBarView(QWidget* parent) : QMenuBar(parent) {
        QObject::connect(
            qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) {
                if (to == this)
                    focusBefore_ = from != nullptr && from->window() == window() ? from : nullptr;
            });
    }
    QWidget* FocusBefore() const { return focusBefore_; }
    // Called as one of its menus closes. Unless another has opened in its
    // place (the arrows move from menu to menu), the focus goes back.
    void MenuClosing() {
        QTimer::singleShot(0, this, [this, at = std::exchange(clickedAt_, std::nullopt)] {
            if (QApplication::activePopupWidget() != nullptr) return;
            QWidget* clicked = at ? window()->childAt(window()->mapFromGlobal(*at)) : nullptr;
            if (clicked != nullptr && (clicked->focusPolicy() & Qt::ClickFocus))
                clicked->setFocus(Qt::MouseFocusReason);
            else if (hasFocus() && focusBefore_)
                focusBefore_->setFocus(Qt::MenuBarFocusReason);
        });
    }

  protected:
    // Where a click outside one of its menus was, which closes the menu.
    bool eventFilter(QObject* menu, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonPress) return false;
        const auto* click = static_cast<QMouseEvent*>(event);
        if (!static_cast<QWidget*>(menu)->rect().contains(click->position().toPoint()))
            clickedAt_ = click->globalPosition().toPoint();
        return false;
    }

  private:
    QPointer<QWidget> focusBefore_;
    std::optional<QPoint> clickedAt_;
};

Focused FocusedText() {
    QWidget* w = QApplication::focusWidget();
    if (auto* bar = dynamic_cast<MenuBarView*>(w)) w = bar->FocusBefore();
    return Focused{qobject_cast<QLineEdit*>(w), qobject_cast<QPlainTextEdit*>(w)};
}

bool HasSelection(const Focused& f) {
    return (f.line && f.line->hasSelectedText()) || (f.area && f.area->textCursor().hasSelection());
}

// A command that is the same slot of either kind of text control.
template <auto onLine, auto onArea>
void OnEither(const Focused& f) {
    if (f.line) (f.line->*onLine)();
    if (f.area) (f.area->*onArea)();
}

// The standard Edit commands, to which the menu items are tied by name: when
// each can act on the focused text control, and what it does there. A command
// that changes the text is refused on a read-only control.
struct EditCommand {
    std::string_view name;
    bool changesText;
    bool (*canAct)(const Focused&);
    void (*act)(const Focused&);
};

constexpr EditCommand kEditCommands[] = {
    {"EditUndo", true,
     [](const Focused& f) {
         return (f.line && f.line->isUndoAvailable()) ||
                (f.area && f.area->document()->isUndoAvailable());
     },
     OnEither<&QLineEdit::undo, &QPlainTextEdit::undo>},
    {"EditCut", true, HasSelection, OnEither<&QLineEdit::cut, &QPlainTextEdit::cut>},
    {"EditCopy", false, HasSelection, OnEither<&QLineEdit::copy, &QPlainTextEdit::copy>},
    {"EditPaste", true,
     [](const Focused&) { return !QGuiApplication::clipboard()->text().isEmpty(); },
     [](const Focused& f) {
         // The program's fields paste within their character limit.
         if (auto* field = dynamic_cast<LineEditWidget*>(f.line))
             field->PasteFrom(QClipboard::Clipboard);
         else if (f.line)
             f.line->paste();
         if (f.area) f.area->paste();
     }},
    {"EditClear", true, HasSelection,
     [](const Focused& f) {
         if (f.line && f.line->hasSelectedText()) f.line->del();
         if (f.area) f.area->textCursor().removeSelectedText();
     }},
    {"EditSelectAll", false,
     [](const Focused& f) {
         return (f.line && !f.line->text().isEmpty()) || (f.area && !f.area->document()->isEmpty());
     },
     OnEither<&QLineEdit::selectAll, &QPlainTextEdit::selectAll>},
};

const EditCommand* EditCommandNamed(std::string_view name) {
    for (const EditCommand& command : kEditCommands) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

void FillMenu(QMenu* menu, MenuItem& item) {
    for (const auto& child : item.Children()) {
        if (!child->Visible()) continue;
        if (child->IsSeparator()) {
            menu->addSeparator();
        } else if (!child->Children().empty()) {
            QMenu* sub = menu->addMenu(FromUtf8(child->Value()));
            FillMenu(sub, *child);
        } else {
            menu->addAction(ActionOf(*child));
        }
    }
    // Auto-enabled items follow the focused control while the menu is open;
    // in between, their shortcuts stay live and act when they can.
    auto enableCommands = [&item](bool followFocus) {
        for (const auto& child : item.Children()) {
            if (child->Children().empty() && !child->IsSeparator()) {
                ActionOf(*child)->setEnabled(!followFocus || child->IsEnabledNow());
            }
        }
    };
    QObject::connect(menu, &QMenu::aboutToShow, menu, [enableCommands] { enableCommands(true); });
    QObject::connect(menu, &QMenu::aboutToHide, menu, [enableCommands, menu] {
        enableCommands(false);
        if (auto* bar = dynamic_cast<MenuBarView*>(menu->parentWidget())) bar->MenuClosing();
    });
}

}  // namespace

MenuItem::MenuItem() : impl_(std::make_unique<MenuItemImpl>()) {}

MenuItem::~MenuItem() = default;

void MenuItem::SetName(std::string name) {
    CheckMainThread("naming a menu item");
    name_ = std::move(name);
}

void MenuItem::SetValue(std::string caption) {
    CheckMainThread("setting a menu item's caption");
    caption_ = std::move(caption);
    Changed();
}

void MenuItem::SetShortcut(std::string shortcut) {
    CheckMainThread("setting a menu item's shortcut");
    shortcut_ = std::move(shortcut);
    Changed();
}

void MenuItem::SetAutoEnabled(bool on) {
    CheckMainThread("setting a menu item's enabling");
    autoEnabled_ = on;
}

void MenuItem::SetVisible(bool on) {
    CheckMainThread("showing or hiding a menu item");
    visible_ = on;
    Changed();
}

void MenuItem::AddMenu(std::shared_ptr<MenuItem> item) {
    CheckMainThread("adding to a menu");
    if (!item) throw NilObjectException("adding a nil item to the menu '" + name_ + "'");
    children_.push_back(std::move(item));
}

std::shared_ptr<MenuItem> MenuItem::Child(std::string_view name) const {
    CheckMainThread("looking up a menu");
    for (const auto& child : children_) {
        if (child->Name() == name) return child;
    }
    return nullptr;
}

std::shared_ptr<MenuItem> MenuItem::Lookup(std::string_view name) const {
    CheckMainThread("looking up a menu item");
    for (const auto& child : children_) {
        if (child->Name() == name) return child;
        if (auto found = child->Lookup(name)) return found;
    }
    return nullptr;
}

void MenuItem::Changed() {
    if (!impl_->action) return;
    impl_->action->setText(FromUtf8(caption_));
    impl_->action->setShortcut(SequenceOf(shortcut_));
    impl_->action->setVisible(visible_);
}

void MenuItem::Choose() {
    CheckMainThread("choosing a menu item");
    Window* window = ActiveWindow();
    if (window != nullptr && window->HasMenuHandler(name_)) {
        window->RunMenuHandler(name_);
        return;
    }
    Action();
}

bool MenuItem::IsEnabledNow() const {
    const EditCommand* command = EditCommandNamed(name_);
    if (!autoEnabled_ || command == nullptr) return true;
    const Focused f = FocusedText();
    const bool editable = (f.line && !f.line->isReadOnly()) || (f.area && !f.area->isReadOnly());
    return (editable || !command->changesText) && command->canAct(f);
}

void MenuItem::Action() {
    const EditCommand* command = EditCommandNamed(name_);
    if (command == nullptr) return;
    const Focused f = FocusedText();
    const bool readOnly = (f.line && f.line->isReadOnly()) || (f.area && f.area->isReadOnly());
    if (!readOnly || !command->changesText) command->act(f);
}

void QuitMenuItem::Action() {
    Quit(0);
}

QAction* ActionOf(MenuItem& item) {
    MenuItemImpl& impl = MenuInternals::Impl(item);
    if (!impl.action) {
        impl.action = std::make_unique<QAction>(FromUtf8(item.Value()));
        impl.action->setShortcut(SequenceOf(item.Shortcut()));
        // Shortcuts work from every window of the program.
        impl.action->setShortcutContext(Qt::ApplicationShortcut);
        impl.action->setVisible(item.Visible());
        if (dynamic_cast<QuitMenuItem*>(&item) != nullptr)
            impl.action->setMenuRole(QAction::QuitRole);
        QObject::connect(impl.action.get(), &QAction::triggered,
                         [&item] { CallGuarded([&item] { item.Choose(); }); });
    }
    return impl.action.get();
}

void CollectCommandActions(MenuItem& bar, QList<QAction*>& out) {
    for (const auto& child : bar.Children()) {
        if (child->IsSeparator()) continue;
        if (child->Children().empty())
            out.push_back(ActionOf(*child));
        else
            CollectCommandActions(*child, out);
    }
}

void ActivateShortcuts(MenuItem& bar) {
    QList<QAction*> actions;
    CollectCommandActions(bar, actions);
    // Any window open already takes them too; new windows take them when made.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (dynamic_cast<TopLevelWidget*>(widget) != nullptr) widget->addActions(actions);
    }
}

QMenuBar* MakeMenuBarView(MenuBar& bar, QWidget* parent) {
    auto* view = new MenuBarView(parent);
    for (const auto& menu : bar.Children()) {
        if (!menu->Visible()) continue;
        QMenu* qmenu = view->addMenu(FromUtf8(menu->Value()));
        qmenu->installEventFilter(view);
        FillMenu(qmenu, *menu);
    }
    return view;
}

}  // namespace tk

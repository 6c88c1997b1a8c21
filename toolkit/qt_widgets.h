// The toolkit's private side: the Qt widgets behind windows and controls, and
// the implementation records that the public classes point to. Only toolkit
// sources (and tests that look at the widgets) include this file.
#pragma once

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "toolkit/controls.h"
#include "toolkit/menu.h"
#include "toolkit/window.h"

namespace tk {

// The text that a key press gives a KeyDown event, or nothing when the key
// goes straight to the widget (navigation keys, modifier shortcuts, a modifier
// pressed alone). Backspace, Tab, Return, Escape and Delete give their control
// characters.
std::optional<std::string> KeyDownText(const QKeyEvent& event);

// The text a key press types into a line edit, by the rule QLineEdit applies
// (any modifiers but Ctrl and Ctrl+Shift), or nothing.
std::optional<QString> TypedText(const QKeyEvent& event);

std::string ToUtf8(const QString& text);
QString FromUtf8(std::string_view text);

// The top-level widget of a window: an optional menu bar above a content area
// of the window's width and height, where the controls sit. The window owns
// the widget; the widget only points back.
class TopLevelWidget : public QWidget {
  public:
    explicit TopLevelWidget(Window* owner);
    Window* Owner() const { return owner_; }
    QWidget* Content() const { return content_; }
    QVBoxLayout* Layout() const { return layout_; }

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

struct ControlImpl {
    QPointer<QWidget> widget;
};

class LineEditWidget : public QLineEdit {
  public:
    LineEditWidget(TextField* field, QWidget* parent);
    // Pastes what the clipboard (or the X11 selection) holds, as much of it as
    // the field's character limit leaves room for.
    void PasteFrom(QClipboard::Mode mode);
    void SetFocusRing(bool on);

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void initStyleOption(QStyleOptionFrame* option) const override;

  private:
    // How many characters an insertion may bring once `freed` characters of
    // the text have gone; INT_MAX with no limit.
    int Room(int freed) const;
    void NewUndoStep();
    // A read-only field shows its whole text: in a smaller size of the list's
    // font when the text does not fit the field in that font.
    void FitFont();

    TextField* field_;
    bool focusRing_ = true;
    QFont listFont_;  // the font the field's list gave it
    bool fitting_ = false;
};

class TextAreaWidget : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;

  protected:
    bool event(QEvent* event) override;
};

class CanvasWidget : public QWidget {
  public:
    CanvasWidget(Canvas* canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    Canvas* canvas_;
};

class LabelWidget : public QLabel {
  public:
    LabelWidget(Label* label, QWidget* parent) : QLabel(parent), label_(label) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    Label* label_;
};

struct PictureImpl {
    QImage image;
};

struct TimerImpl {
    QTimer timer;
};

struct MenuItemImpl {
    std::unique_ptr<QAction> action;  // shared by every view of the item
};

// The QAction of a menu item, made on first use.
QAction* ActionOf(MenuItem& item);
// A Qt menu bar showing `bar`, for a window.
QMenuBar* MakeMenuBarView(MenuBar& bar, QWidget* parent);

// The window whose top-level widget is active, or null.
Window* ActiveWindow();

}  // namespace tk

namespace tk {
// Makes the shortcuts of every item below `bar` work from every window.
void ActivateShortcuts(MenuItem& bar);
// Every item below `bar` that carries out a command (not menus, not separators).
void CollectCommandActions(MenuItem& bar, QList<QAction*>& out);
}  // namespace tk

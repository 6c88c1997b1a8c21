// The Qt side of controls: the widgets behind labels, text fields, text areas
// and canvases, and how a key press reaches a KeyDown handler. Only toolkit
// sources and tests that look at the widgets include this file.
#pragma once

#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyleOptionFrame>
#include <QWidget>
#include <optional>
#include <string>

#include "toolkit/controls.h"
#include "toolkit/text_qt.h"

namespace tk {

// The text that a key press gives a KeyDown event, or nothing when the key
// goes straight to the widget (navigation keys, modifier shortcuts, a modifier
// pressed alone). Backspace, Tab, Return, Escape and Delete give their control
// characters.
std::optional<std::string> KeyDownText(const QKeyEvent& event);

// The text a key press types into a line edit, by the rule QLineEdit applies
// (any modifiers but Ctrl and Ctrl+Shift), or nothing.
std::optional<QString> TypedText(const QKeyEvent& event);

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
    explicit TextAreaWidget(QWidget* parent);

  protected:
    bool event(QEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    // Wraps at word boundaries, or anywhere while a paragraph holds a long
    // stretch with no break opportunity; looks at the paragraphs that a change
    // of `added` characters at `position` touched.
    void FitWrapMode(int position, int added);
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

}  // namespace tk

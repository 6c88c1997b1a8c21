// The Qt side of controls: the widgets behind labels, text fields, text areas
// and canvases, and the toolkit's own access to a control. Only toolkit
// sources, tests and benchmarks that look at the widgets include this file.
#pragma once

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyleOptionFrame>
#include <QWidget>
#include <string>

#include "toolkit/controls.h"
#include "toolkit/text_qt.h"

namespace tk {

struct ControlImpl {
    QPointer<QWidget> widget;
};

// What the toolkit, and its tests, do with a control beyond what the program may.
struct ControlInternals {
    static ControlImpl& Impl(const RectControl& c) { return *c.impl_; }
    // The control's events, raised by its widget.
    static bool RaiseMouseDown(RectControl& c, std::int64_t x, std::int64_t y);
    static bool RaiseKeyDown(TextField& f, std::string_view key);
};

class LineEditWidget : public QLineEdit {
  public:
    LineEditWidget(TextField* field, QWidget* parent);
    // Pastes what the clipboard (or the X11 selection) holds, without the
    // blanks and invisible characters round it: whole, or, where that is past
    // the field's character limit, not at all and with a beep.
    void PasteFrom(QClipboard::Mode mode);
    void SetFocusRing(bool on);

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
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

// Labels, text fields, text areas and canvases: each made for its window over
// its widget, and the events their widgets raise. Their property tables are in
// control_properties.cpp; a text field's widget is in line_edit.cpp, a text
// area's in text_area.cpp.
#include "toolkit/controls.h"

#include <QPainter>

#include "toolkit/controls_qt.h"
#include "toolkit/picture_qt.h"
#include "toolkit/runtime.h"
#include "toolkit/window_qt.h"

namespace tk {

namespace {

QWidget* ContentOf(tk::Window& window) {
    return WindowInternals::Impl(window).top->Content();
}

// Makes `widget` the control's, shown at no size yet: its list places it. A
// widget shown before it has a size would be sized to its content, which
// loads the fonts before the window can come on screen.
void Adopt(ControlImpl& impl, QWidget* widget) {
    widget->resize(0, 0);
    widget->show();
    impl.widget = widget;
}

}  // namespace

// --- RectControl ----------------------------------------------------------------

RectControl::RectControl(std::unique_ptr<ControlImpl> impl) : impl_(std::move(impl)) {}

RectControl::~RectControl() {
    if (impl_ && impl_->widget) delete impl_->widget.data();
}

std::string RectControl::ClassName() const {
    return "RectControl";
}

int RectControl::Left() const {
    return impl_->widget->x();
}
int RectControl::Top() const {
    return impl_->widget->y();
}
int RectControl::Width() const {
    return impl_->widget->width();
}
int RectControl::Height() const {
    return impl_->widget->height();
}

bool RectControl::Visible() const {
    CheckMainThread("reading whether a control is visible");
    return impl_->widget && !impl_->widget->isHidden();
}

void RectControl::SetVisible(bool visible) {
    CheckMainThread("showing or hiding a control");
    impl_->widget->setVisible(visible);
}

void RectControl::SetFocus() {
    CheckMainThread("focusing a control");
    impl_->widget->setFocus(Qt::OtherFocusReason);
}

bool RectControl::HasFocus() const {
    return impl_->widget && impl_->widget->hasFocus();
}

bool ControlInternals::RaiseMouseDown(RectControl& c, std::int64_t x, std::int64_t y) {
    if (!c.mouseDown_ || !c.enabled_) return false;
    return CallGuarded(true, [&] { return c.mouseDown_(c, x, y); });
}

// --- Label ------------------------------------------------------------------------

Label::Label(tk::Window& window) : RectControl(std::make_unique<ControlImpl>()) {
    CheckMainThread("creating a label");
    auto* label = new LabelWidget(this, ContentOf(window));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    Adopt(*impl_, label);
    tabStop_ = false;
}

void Label::Refit() {
    auto* label = static_cast<QLabel*>(impl_->widget.data());
    // A centred label may spill a quarter of its width to each side, so a line
    // a little wider than its box stays whole about the same centre. Nothing
    // is measured here: fonts load only when the window first paints.
    const int spill = label->alignment() & Qt::AlignHCenter ? width_ / 4 : 0;
    label->setGeometry(left_ - spill, top_, width_ + 2 * spill, height_);
}

std::string Label::Text() const {
    CheckMainThread("reading a label's text");
    return ToUtf8(static_cast<QLabel*>(impl_->widget.data())->text().replace('\n', '\r'));
}

void Label::SetText(std::string_view text) {
    CheckMainThread("setting a label's text");
    static_cast<QLabel*>(impl_->widget.data())->setText(FromUtf8(text).replace('\r', '\n'));
    Refit();
}

// --- TextField --------------------------------------------------------------------

TextField::TextField(tk::Window& window) : RectControl(std::make_unique<ControlImpl>()) {
    CheckMainThread("creating a text field");
    auto* edit = new LineEditWidget(this, ContentOf(window));
    edit->setFocusPolicy(Qt::StrongFocus);
    Adopt(*impl_, edit);
}

std::string TextField::Text() const {
    CheckMainThread("reading a text field's text");
    return ToUtf8(static_cast<QLineEdit*>(impl_->widget.data())->text());
}

void TextField::SetText(std::string_view text) {
    CheckMainThread("setting a text field's text");
    auto* edit = static_cast<QLineEdit*>(impl_->widget.data());
    // The limit bounds only what the user types or pastes (the widget checks
    // each insertion), so the program's own text is shown whole.
    edit->setText(FromUtf8(text));
    edit->setCursorPosition(0);
}

bool TextField::ReadOnly() const {
    return static_cast<QLineEdit*>(impl_->widget.data())->isReadOnly();
}

bool ControlInternals::RaiseKeyDown(TextField& f, std::string_view key) {
    if (!f.keyDown_) return false;
    return CallGuarded(true, [&] { return f.keyDown_(f, key); });
}

// --- TextArea -----------------------------------------------------------------------

TextArea::TextArea(tk::Window& window) : RectControl(std::make_unique<ControlImpl>()) {
    CheckMainThread("creating a text area");
    auto* edit = new TextAreaWidget(ContentOf(window));
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setTabChangesFocus(true);
    edit->setFocusPolicy(Qt::StrongFocus);
    Adopt(*impl_, edit);
}

std::string TextArea::Text() const {
    CheckMainThread("reading a text area's text");
    return ToUtf8(
        static_cast<QPlainTextEdit*>(impl_->widget.data())->toPlainText().replace('\n', '\r'));
}

void TextArea::SetText(std::string_view text) {
    CheckMainThread("setting a text area's text");
    static_cast<QPlainTextEdit*>(impl_->widget.data())
        ->setPlainText(FromUtf8(text).replace('\r', '\n'));
}

// --- Canvas -------------------------------------------------------------------------

Canvas::Canvas(tk::Window& window) : RectControl(std::make_unique<ControlImpl>()) {
    CheckMainThread("creating a canvas");
    auto* widget = new CanvasWidget(this, ContentOf(window));
    widget->setFocusPolicy(Qt::NoFocus);
    Adopt(*impl_, widget);
}

void Canvas::SetBackdrop(std::shared_ptr<Picture> picture) {
    CheckMainThread("setting a canvas's picture");
    backdrop_ = std::move(picture);
    impl_->widget->update();
}

// --- Widgets of labels and canvases -----------------------------------------------

void CanvasWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (const auto picture = canvas_->Backdrop()) {
        painter.drawImage(QPoint(0, 0), picture->Impl().image);
    }
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (ControlInternals::RaiseMouseDown(*canvas_, at.x(), at.y()) || canvas_->HasMouseDown()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void LabelWidget::paintEvent(QPaintEvent* event) {
    if (!label_->Transparent()) {
        QPainter painter(this);
        const QRect box(label_->Left() - x(), label_->Top() - y(), label_->Width(),
                        label_->Height());
        painter.fillRect(box, palette().brush(backgroundRole()));
    }
    QLabel::paintEvent(event);
}

void LabelWidget::mousePressEvent(QMouseEvent* event) {
    if (label_->HasMouseDown() && label_->Enabled()) {
        const QPoint at = event->position().toPoint();
        ControlInternals::RaiseMouseDown(*label_, at.x(), at.y());
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace tk

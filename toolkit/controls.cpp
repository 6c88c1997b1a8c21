#include "toolkit/controls.h"

#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <type_traits>

#include "toolkit/controls_qt.h"
#include "toolkit/core/text.h"
#include "toolkit/dialogs.h"
#include "toolkit/picture_qt.h"
#include "toolkit/properties.h"
#include "toolkit/runtime.h"
#include "toolkit/window_qt.h"

namespace tk {

namespace {

using E = const plist::Entry&;

int Coordinate(E e) {
    return static_cast<int>(
        std::clamp<std::int64_t>(IntegerOf(e), -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

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

Qt::Alignment AlignmentOf(E e) {
    switch (IntegerOf(e)) {
        case 2:
            return Qt::AlignHCenter;
        case 3:
            return Qt::AlignRight;
        default:
            return Qt::AlignLeft;
    }
}

template <class W = QWidget>
W* WidgetOf(const RectControl& c) {
    return static_cast<W*>(ControlInternals::Impl(c).widget.data());
}
LineEditWidget* Edit(const TextField& f) {
    return WidgetOf<LineEditWidget>(f);
}
QPlainTextEdit* Edit(const TextArea& a) {
    return WidgetOf<QPlainTextEdit>(a);
}

int Length(E e) {
    return std::max(0, Coordinate(e));
}

template <void (QFont::*set)(bool)>
void SetFontFlag(QWidget* widget, E e) {
    QFont font = widget->font();
    (font.*set)(BooleanOf(e));
    widget->setFont(font);
}

// A label keeps its own colours when disabled; a disabled text field or text
// area takes the style's, so that it looks disabled.
template <class C>
void SetColour(QWidget* widget, QPalette::ColorRole role, E e) {
    const Rgba c = ColourOf(e);
    const QColor colour(c.r, c.g, c.b, c.a);
    QPalette palette = widget->palette();
    if constexpr (std::is_same_v<C, Label>) {
        palette.setColor(role, colour);
    } else {
        palette.setColor(QPalette::Active, role, colour);
        palette.setColor(QPalette::Inactive, role, colour);
    }
    widget->setPalette(palette);
}

}  // namespace

std::optional<QString> TypedText(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty()) return std::nullopt;
    const QChar c = text.front();
    // Format characters (joiners, direction marks) type whatever the
    // modifiers; otherwise Ctrl and Ctrl+Shift are for shortcuts, while Alt,
    // Meta and AltGr can type text.
    if (c.category() == QChar::Other_Format) return text;
    const auto mods = event.modifiers();
    if (mods == Qt::ControlModifier || mods == (Qt::ShiftModifier | Qt::ControlModifier))
        return std::nullopt;
    const bool pair = c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate();
    if (c.isPrint() || c.category() == QChar::Other_PrivateUse || pair) return text;
    return std::nullopt;
}

std::optional<std::string> KeyDownText(const QKeyEvent& event) {
    // Every key that types text passes, whatever its modifiers; modifier
    // shortcuts (Ctrl+C and the like) go to the widget and the menus. On X11 a
    // Ctrl+letter press carries a control character as its text, so the
    // editing keys are told by the key and the modifiers.
    if (!(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        switch (event.key()) {
            case Qt::Key_Backspace:
                return std::string("\b");
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
                return std::string("\t");
            case Qt::Key_Return:
            case Qt::Key_Enter:
                return std::string("\r");
            case Qt::Key_Escape:
                return std::string("\x1b");
            default:
                break;
        }
    }
    const auto typed = TypedText(event);
    if (!typed) return std::nullopt;  // navigation keys, shortcuts, a modifier alone
    return ToUtf8(*typed);
}

std::optional<std::string> WindowKeyDownText(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Meta:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_Mode_switch:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return std::nullopt;
        default:
            return KeyDownText(event).value_or(ToUtf8(event.text()));
    }
}

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
    bool handled = true;
    CallGuarded([&] { handled = c.mouseDown_(c, x, y); });
    return handled;
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
    bool swallow = true;
    CallGuarded([&] { swallow = f.keyDown_(f, key); });
    return swallow;
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

// --- Property tables ------------------------------------------------------------

// What each name does to each class of control, in groups that several classes
// share: the one place where a class's names live.
struct ControlProperties {
    // Every control.
    template <class C>
    static constexpr auto kControl = std::to_array<Setter<C>>({
        {"Visible", [](C& c, E e) { WidgetOf(c)->setVisible(BooleanOf(e)); }},
        {"Enabled",
         [](C& c, E e) {
             c.enabled_ = BooleanOf(e);
             // A disabled text control takes no focus and no typing; labels and
             // canvases only stop raising their events.
             if constexpr (std::is_same_v<C, TextField> || std::is_same_v<C, TextArea>)
                 WidgetOf(c)->setEnabled(c.enabled_);
         }},
        {"TabIndex", [](C& c, E e) { c.tabIndex_ = Coordinate(e); }},
        {"Name", [](C& c, E e) { WidgetOf(c)->setObjectName(FromUtf8(TextOf(e))); }},
        {"Tooltip", [](C& c, E e) { WidgetOf(c)->setToolTip(FromUtf8(TextOf(e))); }},
        // A control sits directly on its window, in no control array, and keeps
        // its place from the window's top left.
        {"Index", kNoEffect},
        {"TabPanelIndex", kNoEffect},
        {"InitialParent", kNoEffect},
        {"LockLeft", kNoEffect},
        {"LockTop", kNoEffect},
        {"LockRight", kNoEffect},
        {"LockBottom", kNoEffect},
        {"AllowAutoDeactivate", kNoEffect},
    });

    // A control that is its widget: placed, sized and filled as the widget.
    template <class C>
    static constexpr auto kWidgetBox = std::to_array<Setter<C>>({
        {"Left", [](C& c, E e) { WidgetOf(c)->move(Coordinate(e), WidgetOf(c)->y()); }},
        {"Top", [](C& c, E e) { WidgetOf(c)->move(WidgetOf(c)->x(), Coordinate(e)); }},
        {"Width", [](C& c, E e) { WidgetOf(c)->resize(Length(e), WidgetOf(c)->height()); }},
        {"Height", [](C& c, E e) { WidgetOf(c)->resize(WidgetOf(c)->width(), Length(e)); }},
        {"Transparent", [](C& c, E e) { WidgetOf(c)->setAutoFillBackground(!BooleanOf(e)); }},
    });

    // Labels, text fields and text areas: the text and its style.
    template <class C>
    static constexpr auto kText = std::to_array<Setter<C>>({
        {"Value", [](C& c, E e) { c.SetText(TextOf(e)); }},
        {"Bold", [](C& c, E e) { SetFontFlag<&QFont::setBold>(WidgetOf(c), e); }},
        {"Italic", [](C& c, E e) { SetFontFlag<&QFont::setItalic>(WidgetOf(c), e); }},
        {"Underline", [](C& c, E e) { SetFontFlag<&QFont::setUnderline>(WidgetOf(c), e); }},
        {"FontName",
         [](C& c, E e) {
             // "System" is the platform's user-interface font.
             QFont font = WidgetOf(c)->font();
             const QString name = FromUtf8(TextOf(e));
             font.setFamily(name == "System" ? QApplication::font().family() : name);
             WidgetOf(c)->setFont(font);
         }},
        {"FontSize",
         [](C& c, E e) {
             // Sizes are in the same unit as positions and sizes: logical pixels.
             QFont font = WidgetOf(c)->font();
             const float size = std::get<plist::FontSize>(e.value).points;
             if (std::isfinite(size) && size >= 1.0f && size <= 500.0f) {
                 font.setPixelSize(static_cast<int>(std::lround(size)));
             }
             WidgetOf(c)->setFont(font);
         }},
        {"TextColor",
         [](C& c, E e) {
             SetColour<C>(WidgetOf(c),
                          std::is_same_v<C, Label> ? QPalette::WindowText : QPalette::Text, e);
         }},
        // Text is in the platform's one unit, and bound to no data.
        {"FontUnit", kNoEffect},
        {"DataSource", kNoEffect},
        {"DataField", kNoEffect},
    });

    // Text fields and text areas.
    template <class C>
    static constexpr auto kEdit = std::to_array<Setter<C>>({
        {"TabStop",
         [](C& c, E e) {
             c.tabStop_ = BooleanOf(e);
             // A control that is no tab stop can still be clicked into, to select and copy.
             WidgetOf(c)->setFocusPolicy(c.tabStop_ ? Qt::StrongFocus : Qt::ClickFocus);
         }},
        {"ReadOnly", [](C& c, E e) { Edit(c)->setReadOnly(BooleanOf(e)); }},
        {"BackgroundColor", [](C& c, E e) { SetColour<C>(WidgetOf(c), QPalette::Base, e); }},
        // Text is not checked as it is typed.
        {"Format", kNoEffect},
        {"ValidationMask", kNoEffect},
        {"AllowSpellChecking", kNoEffect},
    });

    static constexpr auto kLabel = Join(
        kControl<Label>, kText<Label>,
        std::to_array<Setter<Label>>({
            // The label keeps its own box; its widget may be wider (see Refit).
            {"Left", [](Label& l, E e) { l.left_ = Coordinate(e); }},
            {"Top", [](Label& l, E e) { l.top_ = Coordinate(e); }},
            {"Width", [](Label& l, E e) { l.width_ = Length(e); }},
            {"Height", [](Label& l, E e) { l.height_ = Length(e); }},
            {"Transparent",
             [](Label& l, E e) {
                 l.transparent_ = BooleanOf(e);
                 WidgetOf(l)->update();
             }},
            {"TabStop", [](Label& l, E e) { l.tabStop_ = BooleanOf(e); }},
            {"Multiline", [](Label& l, E e) { WidgetOf<QLabel>(l)->setWordWrap(BooleanOf(e)); }},
            {"TextAlignment",
             [](Label& l, E e) {
                 WidgetOf<QLabel>(l)->setAlignment(AlignmentOf(e) | Qt::AlignTop);
             }},
            {"Selectable", kNoEffect},
        }));

    static constexpr auto kTextField = Join(
        kControl<TextField>, kWidgetBox<TextField>, kText<TextField>, kEdit<TextField>,
        std::to_array<Setter<TextField>>({
            {"TextAlignment",
             [](TextField& f, E e) { Edit(f)->setAlignment(AlignmentOf(e) | Qt::AlignVCenter); }},
            {"MaximumCharactersAllowed",
             [](TextField& f, E e) {
                 f.limit_ = static_cast<int>(std::clamp<std::int64_t>(IntegerOf(e), 0, 32767));
             }},
            {"HasBorder", [](TextField& f, E e) { Edit(f)->setFrame(BooleanOf(e)); }},
            {"Password",
             [](TextField& f, E e) {
                 Edit(f)->setEchoMode(BooleanOf(e) ? QLineEdit::Password : QLineEdit::Normal);
             }},
            {"AllowFocusRing", [](TextField& f, E e) { Edit(f)->SetFocusRing(BooleanOf(e)); }},
            {"Hint", [](TextField& f, E e) { Edit(f)->setPlaceholderText(FromUtf8(TextOf(e))); }},
            {"AllowTabs", kNoEffect},  // Tab moves the focus
        }));

    static constexpr auto kTextArea = Join(
        kControl<TextArea>, kWidgetBox<TextArea>, kText<TextArea>, kEdit<TextArea>,
        std::to_array<Setter<TextArea>>({
            {"TextAlignment",
             [](TextArea& a, E e) {
                 QTextOption option = Edit(a)->document()->defaultTextOption();
                 option.setAlignment(AlignmentOf(e));
                 Edit(a)->document()->setDefaultTextOption(option);
             }},
            {"HasBorder",
             [](TextArea& a, E e) {
                 Edit(a)->setFrameShape(BooleanOf(e) ? QFrame::StyledPanel : QFrame::NoFrame);
             }},
            {"AllowTabs", [](TextArea& a, E e) { Edit(a)->setTabChangesFocus(!BooleanOf(e)); }},
            {"Multiline",
             [](TextArea& a, E e) {
                 Edit(a)->setLineWrapMode(BooleanOf(e) ? QPlainTextEdit::WidgetWidth
                                                       : QPlainTextEdit::NoWrap);
             }},
            {"HasHorizontalScrollbar",
             [](TextArea& a, E e) {
                 Edit(a)->setHorizontalScrollBarPolicy(BooleanOf(e) ? Qt::ScrollBarAsNeeded
                                                                    : Qt::ScrollBarAlwaysOff);
             }},
            {"HasVerticalScrollbar",
             [](TextArea& a, E e) {
                 Edit(a)->setVerticalScrollBarPolicy(BooleanOf(e) ? Qt::ScrollBarAlwaysOn
                                                                  : Qt::ScrollBarAlwaysOff);
             }},
            // Single-spaced plain text of any length, with no focus ring.
            {"LineSpacing", kNoEffect},
            {"LineHeight", kNoEffect},
            {"AllowStyledText", kNoEffect},
            {"HideSelection", kNoEffect},
            {"MaximumCharactersAllowed", kNoEffect},
            {"AllowFocusRing", kNoEffect},
        }));

    static constexpr auto kCanvas =
        Join(kControl<Canvas>, kWidgetBox<Canvas>,
             std::to_array<Setter<Canvas>>({
                 {"TabStop", [](Canvas& c, E e) { c.tabStop_ = BooleanOf(e); }},
                 {"AllowFocus",
                  [](Canvas& c, E e) {
                      WidgetOf(c)->setFocusPolicy(BooleanOf(e) ? Qt::StrongFocus : Qt::NoFocus);
                  }},
                 {"DoubleBuffer", kNoEffect},
                 {"AllowFocusRing", kNoEffect},
                 {"AllowTabs", kNoEffect},
             }));
};

void Label::SetProperty(const plist::Entry& entry) {
    CheckMainThread("setting a control's property");
    Apply(*this, ControlProperties::kLabel, entry);
    Refit();
}

void TextField::SetProperty(const plist::Entry& entry) {
    CheckMainThread("setting a control's property");
    Apply(*this, ControlProperties::kTextField, entry);
}

void TextArea::SetProperty(const plist::Entry& entry) {
    CheckMainThread("setting a control's property");
    Apply(*this, ControlProperties::kTextArea, entry);
}

void Canvas::SetProperty(const plist::Entry& entry) {
    CheckMainThread("setting a control's property");
    Apply(*this, ControlProperties::kCanvas, entry);
}

// --- Widgets --------------------------------------------------------------------------

namespace {

// Characters as the limit counts them: code points, so that a character
// outside the Basic Multilingual Plane (an emoji) counts once.
int CodePoints(QStringView text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())) ++n;
    }
    return n;
}

// The longest start of `text` of at most `room` characters that ends between
// two characters as a user sees them, so that nothing is cut in half.
QString Fitted(const QString& text, int room) {
    if (CodePoints(text) <= room) return text;
    // Past twice `room` units no end can fit; what lies beyond cannot move an
    // earlier boundary.
    const QString head = text.left(2 * static_cast<qsizetype>(room) + 16);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, head);
    qsizetype end = 0;
    int count = 0;
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        count += CodePoints(QStringView(head).mid(end, at - end));
        if (count > room) break;
        end = at;
    }
    return text.left(end);
}

// What a paste brings into a field: its text without the blanks and invisible
// characters around it, which a number read from the field ignores anyway.
QString Pasted(const QString& text) {
    const std::string utf8 = ToUtf8(text);
    return FromUtf8(TrimInvisible(utf8));
}

}  // namespace

LineEditWidget::LineEditWidget(TextField* field, QWidget* parent)
    : QLineEdit(parent), field_(field), listFont_(font()) {
    QObject::connect(this, &QLineEdit::textChanged, this, [this] { FitFont(); });
}

int LineEditWidget::Room(int freed) const {
    const int limit = field_->MaximumCharactersAllowed();
    if (limit <= 0) return std::numeric_limits<int>::max();
    return std::max(0, limit - (CodePoints(text()) - freed));
}

void LineEditWidget::PasteFrom(QClipboard::Mode mode) {
    if (isReadOnly()) return;
    const QString pasted = Pasted(QGuiApplication::clipboard()->text(mode));
    if (pasted.isEmpty()) return;
    // A number cut short would read as another number: what does not fit in
    // whole is refused.
    if (CodePoints(pasted) > Room(CodePoints(selectedText()))) {
        Beep();
        return;
    }
    // A step of its own in the undo history, as the widget's paste is.
    NewUndoStep();
    insert(pasted);
    NewUndoStep();
}

void LineEditWidget::NewUndoStep() {
    // Moving the caret ends the undo step before it; the caret and the
    // selection come back as they were.
    if (text().isEmpty()) return;
    const int caret = cursorPosition();
    const int start = selectionStart();
    const int length = selectionLength();
    setCursorPosition(caret == 0 ? 1 : caret - 1);
    if (length == 0)
        setCursorPosition(caret);
    else if (caret == start)
        setSelection(start + length, -length);
    else
        setSelection(start, length);
}

bool LineEditWidget::event(QEvent* event) {
    // Before QLineEdit and QWidget see the key (QWidget takes Tab for focus).
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (field_->HasKeyDown()) {
            const auto text = KeyDownText(*key);
            if (text && ControlInternals::RaiseKeyDown(*field_, *text)) {
                event->accept();
                return true;
            }
        }
        if (!isReadOnly() && key->matches(QKeySequence::Paste)) {
            PasteFrom(key->key() == Qt::Key_Insert && key->modifiers() & Qt::ControlModifier
                          ? QClipboard::Selection
                          : QClipboard::Clipboard);
            event->accept();
            return true;
        }
        const auto typed = TypedText(*key);
        if (!isReadOnly() && typed && CodePoints(*typed) > Room(CodePoints(selectedText()))) {
            event->accept();  // past the limit: nothing is typed, and no beep
            return true;
        }
    } else if (event->type() == QEvent::InputMethod && !isReadOnly()) {
        // Composed text (dead keys, Compose, an input method) passes the key
        // filter a character at a time; one refused character refuses it all.
        auto* input = static_cast<QInputMethodEvent*>(event);
        QString commit = input->commitString();
        if (!commit.isEmpty()) {
            if (field_->HasKeyDown()) {
                for (const char32_t c : commit.toUcs4()) {
                    if (ControlInternals::RaiseKeyDown(*field_, ToUtf8(QString::fromUcs4(&c, 1)))) {
                        commit.clear();
                        break;
                    }
                }
            }
            const QString replaced = text().mid(cursorPosition() + input->replacementStart(),
                                                input->replacementLength());
            commit = Fitted(commit, Room(CodePoints(selectedText()) + CodePoints(replaced)));
            if (commit != input->commitString()) {
                QInputMethodEvent kept(input->preeditString(), input->attributes());
                kept.setCommitString(commit, input->replacementStart(), input->replacementLength());
                QLineEdit::event(&kept);
                event->accept();
                return true;
            }
        }
    }
    return QLineEdit::event(event);
}

void LineEditWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    // Its Paste keeps to the limit too.
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            QObject::connect(action, &QAction::triggered, this,
                             [this] { PasteFrom(QClipboard::Clipboard); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void LineEditWidget::mouseReleaseEvent(QMouseEvent* event) {
    // A middle click pastes the X11 selection, within the limit.
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        PasteFrom(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void LineEditWidget::dropEvent(QDropEvent* event) {
    if (isReadOnly() || !event->mimeData()->hasText()) return QLineEdit::dropEvent(event);
    // Text dragged within the field is moved or copied as the widget does it,
    // a move leaving room as it goes. Text from elsewhere goes in as a paste
    // does, without the blanks round it. Either goes in whole or not at all.
    const bool within = event->source() == this;
    const QString dropped = within ? event->mimeData()->text() : Pasted(event->mimeData()->text());
    const bool moved = within && event->dropAction() == Qt::MoveAction;
    if (dropped.isEmpty() || CodePoints(dropped) > Room(moved ? CodePoints(selectedText()) : 0)) {
        if (!dropped.isEmpty()) Beep();
        event->ignore();
        return;
    }
    if (within) return QLineEdit::dropEvent(event);
    QMimeData text;
    text.setText(dropped);
    QDropEvent trimmed(event->position(), event->possibleActions(), &text, event->buttons(),
                       event->modifiers());
    trimmed.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&trimmed);
    event->setDropAction(trimmed.dropAction());
    event->setAccepted(trimmed.isAccepted());
}

void LineEditWidget::focusOutEvent(QFocusEvent* event) {
    // The menu bar takes the focus while it is used from the keyboard; the
    // selection stays for its Edit commands, as it does for a menu opened with
    // the mouse.
    if (event->reason() == Qt::MenuBarFocusReason) {
        QFocusEvent kept(QEvent::FocusOut, Qt::PopupFocusReason);
        QLineEdit::focusOutEvent(&kept);
        return;
    }
    QLineEdit::focusOutEvent(event);
}

void LineEditWidget::SetFocusRing(bool on) {
    focusRing_ = on;
    update();
}

void LineEditWidget::initStyleOption(QStyleOptionFrame* option) const {
    QLineEdit::initStyleOption(option);
    // With no focus ring the frame is drawn as when the field has no focus.
    if (!focusRing_) option->state &= ~QStyle::State_HasFocus;
}

void LineEditWidget::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && !fitting_) {
        listFont_ = font();
        FitFont();
    } else if (event->type() == QEvent::ReadOnlyChange) {
        FitFont();
    }
}

void LineEditWidget::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    FitFont();
}

void LineEditWidget::FitFont() {
    QFont fitted = listFont_;
    // An empty text always fits: nothing is measured, so no font loads while
    // a window is built.
    if (isReadOnly() && !displayText().isEmpty()) {
        QStyleOptionFrame panel;
        initStyleOption(&panel);
        // The width QLineEdit lays the text out in: its contents less its
        // margins of 2 on each side, and room for the cursor after the text.
        const QRect contents = style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                                   .marginsRemoved(textMargins());
        const int cursor = style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this);
        const qreal room = contents.width() - 4 - 1 - cursor;
        if (fitted.pixelSize() <= 0) fitted.setPixelSize(QFontInfo(fitted).pixelSize());
        while (fitted.pixelSize() > 1 &&
               QFontMetricsF(fitted).horizontalAdvance(displayText()) > room) {
            fitted.setPixelSize(fitted.pixelSize() - 1);
        }
    }
    if (fitted == font()) return;
    fitting_ = true;
    setFont(fitted);
    fitting_ = false;
}

namespace {

// The longest stretch of `text` with no line break opportunity, in UTF-16
// code units.
qsizetype LongestUnbroken(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    qsizetype longest = 0;
    qsizetype last = 0;
    for (qsizetype at = finder.toNextBoundary(); at >= 0; at = finder.toNextBoundary()) {
        longest = std::max(longest, at - last);
        last = at;
    }
    return longest;
}

// When a paragraph wraps at word boundaries, Qt breaks a line inside a stretch
// with no break opportunity only after looking for one up to the stretch's
// end, once for each line: its time grows with the square of the stretch. A
// 1 MB line of digits takes about a minute. Past this length (some dozen lines
// of the area), the area wraps anywhere, which lays out in time that grows
// with the length.
constexpr qsizetype kLongestWordWrapped = 1000;
constexpr int kLongStretch = 1;  // a paragraph's user state: it holds one

}  // namespace

TextAreaWidget::TextAreaWidget(QWidget* parent) : QPlainTextEdit(parent) {
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // The document tells of every change (typing, pastes, drops, undo, a new
    // text) before it lays the changed paragraphs out.
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { FitWrapMode(position, added); });
}

void TextAreaWidget::FitWrapMode(int position, int added) {
    bool anywhere = false;
    const QTextBlock end = document()->findBlock(position + added).next();
    for (QTextBlock block = document()->findBlock(position); block.isValid() && block != end;
         block = block.next()) {
        const bool long_ = block.length() > kLongestWordWrapped &&
                           LongestUnbroken(block.text()) > kLongestWordWrapped;
        block.setUserState(long_ ? kLongStretch : 0);
        anywhere = anywhere || long_;
    }
    // A change elsewhere may have taken away the last long stretch.
    if (!anywhere && wordWrapMode() == QTextOption::WrapAnywhere) {
        for (QTextBlock block = document()->begin(); block.isValid() && !anywhere;
             block = block.next()) {
            anywhere = block.userState() == kLongStretch;
        }
    }
    const auto mode =
        anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != mode) setWordWrapMode(mode);
}

void TextAreaWidget::insertFromMimeData(const QMimeData* source) {
    // A paste that brings a long stretch is laid out once, in the mode it
    // needs, rather than first in the mode the area had.
    if (wordWrapMode() != QTextOption::WrapAnywhere && !isReadOnly() && source->hasText() &&
        LongestUnbroken(source->text()) > kLongestWordWrapped) {
        setWordWrapMode(QTextOption::WrapAnywhere);
        // The new mode drops every paragraph's lines. The one the paste goes
        // into gets them back while it is short: a paragraph that has lines
        // is laid out once after the change, one that has none twice.
        document()->documentLayout()->blockBoundingRect(textCursor().block());
    }
    QPlainTextEdit::insertFromMimeData(source);
}

bool TextAreaWidget::event(QEvent* event) {
    // With tabs off, Tab only moves the focus: where there is nothing to move
    // it to, it does nothing rather than type a tab.
    if (event->type() == QEvent::KeyPress && tabChangesFocus()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            focusNextPrevChild(key->key() == Qt::Key_Tab &&
                               !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

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

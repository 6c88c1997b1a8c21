// The property tables of labels, text fields, text areas and canvases.
#include <QApplication>
#include <array>
#include <cmath>
#include <type_traits>

#include "toolkit/controls.h"
#include "toolkit/controls_qt.h"
#include "toolkit/properties.h"
#include "toolkit/runtime.h"

namespace tk {

namespace {

using E = const plist::Entry&;

int Coordinate(E e) {
    return static_cast<int>(
        std::clamp<std::int64_t>(IntegerOf(e), -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
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
        // clang-format off
        {"Index", kNoEffect}, {"TabPanelIndex", kNoEffect}, {"InitialParent", kNoEffect},
        {"LockLeft", kNoEffect}, {"LockTop", kNoEffect}, {"LockRight", kNoEffect},
        {"LockBottom", kNoEffect}, {"AllowAutoDeactivate", kNoEffect},
        // clang-format on
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
        // clang-format off
        {"FontUnit", kNoEffect}, {"DataSource", kNoEffect}, {"DataField", kNoEffect},
        // clang-format on
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
        // clang-format off
        {"Format", kNoEffect}, {"ValidationMask", kNoEffect}, {"AllowSpellChecking", kNoEffect},
        // clang-format on
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
            // clang-format off
            {"LineSpacing", kNoEffect}, {"LineHeight", kNoEffect}, {"AllowStyledText", kNoEffect},
            {"HideSelection", kNoEffect}, {"MaximumCharactersAllowed", kNoEffect},
            {"AllowFocusRing", kNoEffect},
            // clang-format on
        }));

    static constexpr auto kCanvas =
        Join(kControl<Canvas>, kWidgetBox<Canvas>,
             std::to_array<Setter<Canvas>>({
                 {"TabStop", [](Canvas& c, E e) { c.tabStop_ = BooleanOf(e); }},
                 {"AllowFocus",
                  [](Canvas& c, E e) {
                      WidgetOf(c)->setFocusPolicy(BooleanOf(e) ? Qt::StrongFocus : Qt::NoFocus);
                  }},
                 // clang-format off
                 {"DoubleBuffer", kNoEffect}, {"AllowFocusRing", kNoEffect},
                 {"AllowTabs", kNoEffect},
                 // clang-format on
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

}  // namespace tk

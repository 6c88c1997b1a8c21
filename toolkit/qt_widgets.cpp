#include "toolkit/qt_widgets.h"

namespace tk {

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
            case Qt::Key_Delete:
                return std::string("\x7f");
            default:
                break;
        }
    }
    const auto typed = TypedText(event);
    if (!typed) return std::nullopt;  // navigation keys, shortcuts, a modifier alone
    return ToUtf8(*typed);
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Window* ActiveWindow() {
    for (QWidget* w = QApplication::activeWindow(); w != nullptr; w = w->parentWidget()) {
        if (auto* top = dynamic_cast<TopLevelWidget*>(w)) return top->Owner();
    }
    return nullptr;
}

}  // namespace tk

#include "toolkit/qt_widgets.h"

namespace tk {

std::optional<std::string> KeyDownText(const QKeyEvent& event) {
    // Modifier shortcuts (Ctrl+C and the like) go to the widget and the menus;
    // on X11 a Ctrl+letter press carries a control character as its text, so
    // decide by the key and the modifiers.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return std::nullopt;
    }
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
    const QString text = event.text();
    if (text.isEmpty()) return std::nullopt;  // navigation keys, a modifier alone
    const char32_t first = text.toUcs4().value(0);
    if (first < 0x20 || first == 0x7f) return std::nullopt;
    return ToUtf8(text);
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

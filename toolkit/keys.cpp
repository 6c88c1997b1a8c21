// Which key presses reach a KeyDown handler, and with what text.
#include <QKeyEvent>
#include <algorithm>
#include <iterator>

#include "toolkit/keys_qt.h"
#include "toolkit/text_qt.h"

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
            default:
                break;
        }
    }
    const auto typed = TypedText(event);
    if (!typed) return std::nullopt;  // navigation keys, shortcuts, a modifier alone
    return ToUtf8(*typed);
}

std::optional<std::string> WindowKeyDownText(const QKeyEvent& event) {
    // clang-format off
    static constexpr int kAlone[] = {
        Qt::Key_Shift, Qt::Key_Control, Qt::Key_Meta, Qt::Key_Alt, Qt::Key_AltGr, Qt::Key_Super_L,
        Qt::Key_Super_R, Qt::Key_Hyper_L, Qt::Key_Hyper_R, Qt::Key_Mode_switch, Qt::Key_CapsLock,
        Qt::Key_NumLock, Qt::Key_ScrollLock};
    // clang-format on
    if (std::ranges::find(kAlone, event.key()) != std::end(kAlone)) return std::nullopt;
    return KeyDownText(event).value_or(ToUtf8(event.text()));
}

}  // namespace tk

// Which key presses reach a KeyDown handler, and with what text. Only toolkit
// sources and tests include this file.
#pragma once

#include <QKeyEvent>
#include <QString>
#include <optional>
#include <string>

namespace tk {

// The text that a key press gives a text field's KeyDown event, or nothing
// when the key goes straight to the widget (navigation keys and Delete,
// modifier shortcuts, a modifier pressed alone). Backspace, Tab, Return and
// Escape give their control characters.
std::optional<std::string> KeyDownText(const QKeyEvent& event);
// The text that a key press gives a window's KeyDown event: every key raises
// it but a modifier or lock key pressed alone. A key that types nothing gives
// the text the platform gave it, often none.
std::optional<std::string> WindowKeyDownText(const QKeyEvent& event);

// The text a key press types into a line edit, by the rule QLineEdit applies
// (any modifiers but Ctrl and Ctrl+Shift), or nothing.
std::optional<QString> TypedText(const QKeyEvent& event);

}  // namespace tk

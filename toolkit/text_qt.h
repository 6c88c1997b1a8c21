// Texts between the toolkit's UTF-8 and Qt's strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tk {

inline std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tk

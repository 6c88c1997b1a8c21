// Layout property lists: the byte format from which every window and control
// is initialised when a window is built.
//
// A list is a run of entries with no count, separator or terminator: each
// entry is the property's name in ASCII letters, one space, and the value in
// the width and encoding of the property's type, which only the name tells:
//
//   integer       8 bytes, two's complement, little-endian
//   boolean       1 byte, 0 or 1
//   font unit     1 byte, unsigned code
//   text          4-byte little-endian byte count n, then n bytes of UTF-8
//   colour        4 bytes, kept exactly as stored
//   font size     4 bytes, IEEE single precision, little-endian
//   line spacing  8 bytes, IEEE double precision, little-endian
//
// The decoder is bounds-checked and never reads outside the bytes it is given;
// the encoder is constexpr so that the program's lists are constant bytes made
// at build time (see Row and LAYOUT_LIST below).
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tk::plist {

enum class ValueType { Integer, Boolean, FontUnit, Text, Colour, FontSize, LineSpacing };

struct FontUnit {
    std::uint8_t code = 0;
    friend bool operator==(const FontUnit&, const FontUnit&) = default;
};
struct Colour {
    std::array<std::uint8_t, 4> bytes{};
    friend bool operator==(const Colour&, const Colour&) = default;
};
struct FontSize {
    float points = 0;
    friend bool operator==(const FontSize&, const FontSize&) = default;
};
struct LineSpacing {
    double factor = 0;
    friend bool operator==(const LineSpacing&, const LineSpacing&) = default;
};

// Alternatives in the order of ValueType.
using Value =
    std::variant<std::int64_t, bool, FontUnit, std::string, Colour, FontSize, LineSpacing>;

struct Entry {
    std::string name;
    Value value;
    friend bool operator==(const Entry&, const Entry&) = default;
};

namespace detail {
struct NameType {
    std::string_view name;
    ValueType type;
};

// Every property name that a layout list may carry, with its value's type, in
// groups by type.
// clang-format off
constexpr std::array<NameType, 71> kTable{{
    {"Width", ValueType::Integer}, {"Height", ValueType::Integer}, {"MinimumWidth", ValueType::Integer},
    {"MinimumHeight", ValueType::Integer}, {"MaximumWidth", ValueType::Integer}, {"MaximumHeight", ValueType::Integer},
    {"Type", ValueType::Integer}, {"MacProcID", ValueType::Integer}, {"DefaultLocation", ValueType::Integer},
    {"Left", ValueType::Integer}, {"Top", ValueType::Integer}, {"Index", ValueType::Integer}, {"TabIndex", ValueType::Integer},
    {"TabPanelIndex", ValueType::Integer}, {"TextAlignment", ValueType::Integer},
    {"MaximumCharactersAllowed", ValueType::Integer}, {"LineHeight", ValueType::Integer}, {"Period", ValueType::Integer},
    {"RunMode", ValueType::Integer},
    {"HasCloseButton", ValueType::Boolean}, {"HasMaximizeButton", ValueType::Boolean},
    {"HasMinimizeButton", ValueType::Boolean}, {"HasFullScreenButton", ValueType::Boolean},
    {"Resizeable", ValueType::Boolean}, {"Composite", ValueType::Boolean}, {"FullScreen", ValueType::Boolean},
    {"HasBackgroundColor", ValueType::Boolean}, {"MenuBarVisible", ValueType::Boolean},
    {"LiveResize", ValueType::Boolean}, {"Visible", ValueType::Boolean}, {"LockLeft", ValueType::Boolean},
    {"LockTop", ValueType::Boolean}, {"LockRight", ValueType::Boolean}, {"LockBottom", ValueType::Boolean},
    {"TabStop", ValueType::Boolean}, {"AllowAutoDeactivate", ValueType::Boolean}, {"Enabled", ValueType::Boolean},
    {"Transparent", ValueType::Boolean}, {"HasBorder", ValueType::Boolean}, {"Password", ValueType::Boolean},
    {"AllowFocusRing", ValueType::Boolean}, {"AllowTabs", ValueType::Boolean},
    {"AllowSpellChecking", ValueType::Boolean}, {"ReadOnly", ValueType::Boolean}, {"Bold", ValueType::Boolean},
    {"Italic", ValueType::Boolean}, {"Underline", ValueType::Boolean}, {"Multiline", ValueType::Boolean},
    {"Selectable", ValueType::Boolean}, {"AllowFocus", ValueType::Boolean}, {"DoubleBuffer", ValueType::Boolean},
    {"HideSelection", ValueType::Boolean}, {"HasHorizontalScrollbar", ValueType::Boolean},
    {"HasVerticalScrollbar", ValueType::Boolean}, {"AllowStyledText", ValueType::Boolean},
    {"FontUnit", ValueType::FontUnit},
    {"Title", ValueType::Text}, {"Name", ValueType::Text}, {"Tooltip", ValueType::Text}, {"Value", ValueType::Text},
    {"FontName", ValueType::Text}, {"Format", ValueType::Text}, {"Hint", ValueType::Text}, {"ValidationMask", ValueType::Text},
    {"DataSource", ValueType::Text}, {"DataField", ValueType::Text}, {"InitialParent", ValueType::Text},
    {"BackgroundColor", ValueType::Colour}, {"TextColor", ValueType::Colour},
    {"FontSize", ValueType::FontSize},
    {"LineSpacing", ValueType::LineSpacing},
}};
// clang-format on
}  // namespace detail

// The type of a property name, or nothing for a name outside the table.
constexpr std::optional<ValueType> TypeOf(std::string_view name) {
    for (const detail::NameType& row : detail::kTable) {
        if (row.name == name) return row.type;
    }
    return std::nullopt;
}

// A list that cannot be decoded: `offset` is where the fault was found.
class DecodeError : public std::runtime_error {
  public:
    DecodeError(std::size_t offset, const std::string& what);
    std::size_t offset() const { return offset_; }

  private:
    std::size_t offset_;
};

// Decodes a whole list, or throws DecodeError; nothing is returned for a list
// that fails anywhere.
std::vector<Entry> Decode(std::span<const std::uint8_t> bytes);

// Encodes entries; throws std::invalid_argument for a name outside the table
// or a value whose type is not the name's.
std::vector<std::uint8_t> Encode(const std::vector<Entry>& entries);

// ---------------------------------------------------------------------------
// Constant lists made at build time. Each row is one property; the macro below
// sizes the byte array from the rows, so a list reads like its table:
//
//   constexpr tk::plist::Row kTimerRows[] = {
//       Int("Period", 4000),
//       Int("RunMode", 1),
//   };
//   LAYOUT_LIST(kTimer, kTimerRows);   // constexpr std::array<std::uint8_t, 31>

struct Row {
    std::string_view name;
    ValueType type;
    std::int64_t integer = 0;
    std::string_view text;
    std::array<std::uint8_t, 4> colour{};
    double real = 0;
};

constexpr Row Int(std::string_view name, std::int64_t v) {
    return Row{name, ValueType::Integer, v, {}, {}, 0};
}
constexpr Row Bool(std::string_view name, bool v) {
    return Row{name, ValueType::Boolean, v ? 1 : 0, {}, {}, 0};
}
constexpr Row Unit(std::string_view name, std::uint8_t v) {
    return Row{name, ValueType::FontUnit, v, {}, {}, 0};
}
constexpr Row Text(std::string_view name, std::string_view v) {
    return Row{name, ValueType::Text, 0, v, {}, 0};
}
constexpr Row Rgb(std::string_view name, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
                  std::uint8_t b3) {
    return Row{name, ValueType::Colour, 0, {}, {b0, b1, b2, b3}, 0};
}
constexpr Row Size(std::string_view name, float v) {
    return Row{name, ValueType::FontSize, 0, {}, {}, v};
}
constexpr Row Spacing(std::string_view name, double v) {
    return Row{name, ValueType::LineSpacing, 0, {}, {}, v};
}

// The width in bytes of a value of each type; for a text, of its byte count,
// which its bytes follow. The decoder and both encoders read it from here.
constexpr std::size_t FixedWidth(ValueType type) {
    switch (type) {
        case ValueType::Integer:
        case ValueType::LineSpacing:
            return 8;
        case ValueType::Boolean:
        case ValueType::FontUnit:
            return 1;
        case ValueType::Text:
        case ValueType::Colour:
        case ValueType::FontSize:
            return 4;
    }
    return 0;
}

constexpr std::size_t ValueWidth(const Row& row) {
    return FixedWidth(row.type) + (row.type == ValueType::Text ? row.text.size() : 0);
}

// The bits that a row's value is stored as, lowest byte first; for a text, its
// byte count. Colours are stored byte by byte instead.
constexpr std::uint64_t LittleEndianBits(const Row& row) {
    switch (row.type) {
        case ValueType::Text:
            return row.text.size();
        case ValueType::FontSize:
            return std::bit_cast<std::uint32_t>(static_cast<float>(row.real));
        case ValueType::LineSpacing:
            return std::bit_cast<std::uint64_t>(row.real);
        default:
            return static_cast<std::uint64_t>(row.integer);
    }
}

// Rows: a C array or std::array of Row.
template <class Rows>
constexpr std::size_t EncodedSize(const Rows& rows) {
    std::size_t size = 0;
    for (const Row& row : rows) size += row.name.size() + 1 + ValueWidth(row);
    return size;
}

template <std::size_t Size, class Rows>
constexpr std::array<std::uint8_t, Size> EncodeRows(const Rows& rows) {
    std::array<std::uint8_t, Size> out{};
    std::size_t at = 0;
    for (const Row& row : rows) {
        for (char c : row.name) out[at++] = static_cast<std::uint8_t>(c);
        out[at++] = ' ';
        if (row.type == ValueType::Colour) {
            for (auto b : row.colour) out[at++] = b;
            continue;
        }
        const std::uint64_t bits = LittleEndianBits(row);
        for (std::size_t k = 0; k < FixedWidth(row.type); ++k) {
            out[at++] = static_cast<std::uint8_t>(bits >> (8 * k));
        }
        for (char c : row.text) out[at++] = static_cast<std::uint8_t>(c);  // a text's bytes
    }
    return out;
}

}  // namespace tk::plist

// Defines `constexpr std::array<std::uint8_t, N> name` holding the encoded rows.
#define LAYOUT_LIST(name, rows) \
    inline constexpr auto name = ::tk::plist::EncodeRows<::tk::plist::EncodedSize(rows)>(rows)

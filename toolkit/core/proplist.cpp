#include "toolkit/core/proplist.h"

#include <algorithm>
#include <cstring>

namespace tk::plist {

namespace {

struct NameType {
    std::string_view name;
    ValueType type;
};

using VT = ValueType;

// Every property name that a layout list may carry, with its value's type.
constexpr std::array<NameType, 71> kTable{{
    {"Width", VT::Integer},
    {"Height", VT::Integer},
    {"MinimumWidth", VT::Integer},
    {"MinimumHeight", VT::Integer},
    {"MaximumWidth", VT::Integer},
    {"MaximumHeight", VT::Integer},
    {"Type", VT::Integer},
    {"MacProcID", VT::Integer},
    {"DefaultLocation", VT::Integer},
    {"Left", VT::Integer},
    {"Top", VT::Integer},
    {"Index", VT::Integer},
    {"TabIndex", VT::Integer},
    {"TabPanelIndex", VT::Integer},
    {"TextAlignment", VT::Integer},
    {"MaximumCharactersAllowed", VT::Integer},
    {"LineHeight", VT::Integer},
    {"Period", VT::Integer},
    {"RunMode", VT::Integer},
    {"HasCloseButton", VT::Boolean},
    {"HasMaximizeButton", VT::Boolean},
    {"HasMinimizeButton", VT::Boolean},
    {"HasFullScreenButton", VT::Boolean},
    {"Resizeable", VT::Boolean},
    {"Composite", VT::Boolean},
    {"FullScreen", VT::Boolean},
    {"HasBackgroundColor", VT::Boolean},
    {"MenuBarVisible", VT::Boolean},
    {"LiveResize", VT::Boolean},
    {"Visible", VT::Boolean},
    {"LockLeft", VT::Boolean},
    {"LockTop", VT::Boolean},
    {"LockRight", VT::Boolean},
    {"LockBottom", VT::Boolean},
    {"TabStop", VT::Boolean},
    {"AllowAutoDeactivate", VT::Boolean},
    {"Enabled", VT::Boolean},
    {"Transparent", VT::Boolean},
    {"HasBorder", VT::Boolean},
    {"Password", VT::Boolean},
    {"AllowFocusRing", VT::Boolean},
    {"AllowTabs", VT::Boolean},
    {"AllowSpellChecking", VT::Boolean},
    {"ReadOnly", VT::Boolean},
    {"Bold", VT::Boolean},
    {"Italic", VT::Boolean},
    {"Underline", VT::Boolean},
    {"Multiline", VT::Boolean},
    {"Selectable", VT::Boolean},
    {"AllowFocus", VT::Boolean},
    {"DoubleBuffer", VT::Boolean},
    {"HideSelection", VT::Boolean},
    {"HasHorizontalScrollbar", VT::Boolean},
    {"HasVerticalScrollbar", VT::Boolean},
    {"AllowStyledText", VT::Boolean},
    {"FontUnit", VT::FontUnit},
    {"Title", VT::Text},
    {"Name", VT::Text},
    {"Tooltip", VT::Text},
    {"Value", VT::Text},
    {"FontName", VT::Text},
    {"Format", VT::Text},
    {"Hint", VT::Text},
    {"ValidationMask", VT::Text},
    {"DataSource", VT::Text},
    {"DataField", VT::Text},
    {"InitialParent", VT::Text},
    {"BackgroundColor", VT::Colour},
    {"TextColor", VT::Colour},
    {"FontSize", VT::FontSize},
    {"LineSpacing", VT::LineSpacing},
}};

constexpr std::array<std::string_view, kTable.size()> MakeNames() {
    std::array<std::string_view, kTable.size()> names{};
    for (std::size_t i = 0; i < kTable.size(); ++i) names[i] = kTable[i].name;
    return names;
}
constexpr auto kNames = MakeNames();

const char* TypeName(ValueType type) {
    switch (type) {
        case VT::Integer:
            return "an 8-byte integer";
        case VT::Boolean:
            return "a 1-byte boolean";
        case VT::FontUnit:
            return "a 1-byte font unit";
        case VT::Text:
            return "a text (4-byte count and its bytes)";
        case VT::Colour:
            return "a 4-byte colour";
        case VT::FontSize:
            return "a 4-byte font size";
        case VT::LineSpacing:
            return "an 8-byte line spacing";
    }
    return "a value";
}

std::uint64_t ReadLE(std::span<const std::uint8_t> bytes, std::size_t at, int width) {
    std::uint64_t v = 0;
    for (int k = 0; k < width; ++k) {
        v |= static_cast<std::uint64_t>(bytes[at + static_cast<std::size_t>(k)]) << (8 * k);
    }
    return v;
}

bool IsLetter(std::uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::optional<ValueType> TypeOf(std::string_view name) {
    const auto it = std::find_if(kTable.begin(), kTable.end(),
                                 [&](const NameType& nt) { return nt.name == name; });
    if (it == kTable.end()) return std::nullopt;
    return it->type;
}

std::span<const std::string_view> KnownNames() {
    return kNames;
}

DecodeError::DecodeError(std::size_t offset, const std::string& what)
    : std::runtime_error("layout list, byte " + std::to_string(offset) + ": " + what),
      offset_(offset) {}

std::vector<Entry> Decode(std::span<const std::uint8_t> bytes) {
    std::vector<Entry> entries;
    std::size_t at = 0;
    const std::size_t size = bytes.size();
    while (at < size) {
        const std::size_t nameStart = at;
        while (at < size && IsLetter(bytes[at])) ++at;
        if (at == nameStart) {
            throw DecodeError(at, "expected a property name (letters)");
        }
        const std::string name(reinterpret_cast<const char*>(bytes.data() + nameStart),
                               at - nameStart);
        if (at >= size) {
            throw DecodeError(at, "list ends after the name '" + name + "'; expected a space");
        }
        if (bytes[at] != ' ') {
            throw DecodeError(at, "expected a space after the name '" + name + "'");
        }
        const auto type = TypeOf(name);
        if (!type) throw DecodeError(nameStart, "unknown property name '" + name + "'");
        ++at;

        const std::size_t left = size - at;
        auto need = [&](std::size_t width) {
            if (left < width) {
                throw DecodeError(at, "list ends inside the value of '" + name + "'; expected " +
                                          TypeName(*type) + ", " + std::to_string(left) +
                                          " byte(s) left");
            }
        };
        Entry entry{name, {}};
        switch (*type) {
            case VT::Integer:
                need(8);
                entry.value = static_cast<std::int64_t>(ReadLE(bytes, at, 8));
                at += 8;
                break;
            case VT::Boolean:
                need(1);
                if (bytes[at] > 1) {
                    throw DecodeError(at, "the boolean of '" + name + "' is " +
                                              std::to_string(bytes[at]) + "; expected 0 or 1");
                }
                entry.value = bytes[at] == 1;
                at += 1;
                break;
            case VT::FontUnit:
                need(1);
                entry.value = plist::FontUnit{bytes[at]};
                at += 1;
                break;
            case VT::Text: {
                need(4);
                const auto count = static_cast<std::size_t>(ReadLE(bytes, at, 4));
                if (left - 4 < count) {
                    throw DecodeError(at, "the text of '" + name + "' counts " +
                                              std::to_string(count) + " bytes but only " +
                                              std::to_string(left - 4) + " follow");
                }
                entry.value =
                    std::string(reinterpret_cast<const char*>(bytes.data() + at + 4), count);
                at += 4 + count;
                break;
            }
            case VT::Colour: {
                need(4);
                plist::Colour c;
                std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), 4, c.bytes.begin());
                entry.value = c;
                at += 4;
                break;
            }
            case VT::FontSize:
                need(4);
                entry.value = plist::FontSize{
                    std::bit_cast<float>(static_cast<std::uint32_t>(ReadLE(bytes, at, 4)))};
                at += 4;
                break;
            case VT::LineSpacing:
                need(8);
                entry.value = plist::LineSpacing{std::bit_cast<double>(ReadLE(bytes, at, 8))};
                at += 8;
                break;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::uint8_t> Encode(const std::vector<Entry>& entries) {
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint64_t v, int width) {
        for (int k = 0; k < width; ++k) out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
    };
    for (const Entry& e : entries) {
        const auto type = TypeOf(e.name);
        if (!type) throw std::invalid_argument("unknown property name '" + e.name + "'");
        if (static_cast<std::size_t>(*type) != e.value.index()) {
            throw std::invalid_argument("the value of '" + e.name + "' must be " + TypeName(*type));
        }
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.push_back(' ');
        switch (*type) {
            case VT::Integer:
                put(static_cast<std::uint64_t>(std::get<std::int64_t>(e.value)), 8);
                break;
            case VT::Boolean:
                put(std::get<bool>(e.value) ? 1 : 0, 1);
                break;
            case VT::FontUnit:
                put(std::get<plist::FontUnit>(e.value).code, 1);
                break;
            case VT::Text: {
                const auto& text = std::get<std::string>(e.value);
                if (text.size() > 0xFFFFFFFFu) throw std::invalid_argument("text too long");
                put(text.size(), 4);
                out.insert(out.end(), text.begin(), text.end());
                break;
            }
            case VT::Colour: {
                const auto& c = std::get<plist::Colour>(e.value).bytes;
                out.insert(out.end(), c.begin(), c.end());
                break;
            }
            case VT::FontSize:
                put(std::bit_cast<std::uint32_t>(std::get<plist::FontSize>(e.value).points), 4);
                break;
            case VT::LineSpacing:
                put(std::bit_cast<std::uint64_t>(std::get<plist::LineSpacing>(e.value).factor), 8);
                break;
        }
    }
    return out;
}

}  // namespace tk::plist

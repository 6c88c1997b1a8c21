#include "toolkit/core/proplist.h"

#include <algorithm>
#include <cstring>

namespace tk::plist {

namespace {

using VT = ValueType;

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

DecodeError::DecodeError(std::size_t offset, const std::string& what)
    : std::runtime_error("layout list, byte " + std::to_string(offset) + ": " + what),
      offset_(offset) {}

namespace {

// Reads a property name and the space after it, from `at` on; returns the name
// and its type, with `at` past the space.
std::pair<std::string, ValueType> ReadName(std::span<const std::uint8_t> bytes, std::size_t& at) {
    const std::size_t start = at;
    while (at < bytes.size() && IsLetter(bytes[at])) ++at;
    if (at == start) throw DecodeError(at, "expected a property name (letters)");
    std::string name(reinterpret_cast<const char*>(bytes.data() + start), at - start);
    if (at >= bytes.size()) {
        throw DecodeError(at, "list ends after the name '" + name + "'; expected a space");
    }
    if (bytes[at] != ' ') throw DecodeError(at, "expected a space after the name '" + name + "'");
    const auto type = TypeOf(name);
    if (!type) throw DecodeError(start, "unknown property name '" + name + "'");
    ++at;
    return {std::move(name), *type};
}

// Reads the value of the property `name` of type `type` from `at` on, with
// `at` past it.
Value ReadValue(std::span<const std::uint8_t> bytes, std::size_t& at, const std::string& name,
                ValueType type) {
    const std::size_t left = bytes.size() - at;
    const std::size_t width = FixedWidth(type);
    if (left < width) {
        throw DecodeError(at, "list ends inside the value of '" + name + "'; expected " +
                                  TypeName(type) + ", " + std::to_string(left) + " byte(s) left");
    }
    const std::uint64_t bits = ReadLE(bytes, at, static_cast<int>(width));
    const std::size_t start = at;
    at += width;
    switch (type) {
        case VT::Integer:
            return static_cast<std::int64_t>(bits);
        case VT::Boolean:
            if (bits > 1) {
                throw DecodeError(start, "the boolean of '" + name + "' is " +
                                             std::to_string(bits) + "; expected 0 or 1");
            }
            return bits == 1;
        case VT::FontUnit:
            return plist::FontUnit{static_cast<std::uint8_t>(bits)};
        case VT::Text: {
            const auto count = static_cast<std::size_t>(bits);
            if (left - width < count) {
                throw DecodeError(start, "the text of '" + name + "' counts " +
                                             std::to_string(count) + " bytes but only " +
                                             std::to_string(left - width) + " follow");
            }
            at += count;
            return std::string(reinterpret_cast<const char*>(bytes.data() + start + width), count);
        }
        case VT::Colour: {
            plist::Colour c;
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(start), 4, c.bytes.begin());
            return c;
        }
        case VT::FontSize:
            return plist::FontSize{std::bit_cast<float>(static_cast<std::uint32_t>(bits))};
        case VT::LineSpacing:
            return plist::LineSpacing{std::bit_cast<double>(bits)};
    }
    return {};
}

}  // namespace

std::vector<Entry> Decode(std::span<const std::uint8_t> bytes) {
    std::vector<Entry> entries;
    std::size_t at = 0;
    while (at < bytes.size()) {
        auto [name, type] = ReadName(bytes, at);
        Value value = ReadValue(bytes, at, name, type);
        entries.push_back(Entry{std::move(name), std::move(value)});
    }
    return entries;
}

std::vector<std::uint8_t> Encode(const std::vector<Entry>& entries) {
    std::vector<std::uint8_t> out;
    for (const Entry& e : entries) {
        const auto type = TypeOf(e.name);
        if (!type) throw std::invalid_argument("unknown property name '" + e.name + "'");
        if (static_cast<std::size_t>(*type) != e.value.index()) {
            throw std::invalid_argument("the value of '" + e.name + "' must be " + TypeName(*type));
        }
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.push_back(' ');
        std::uint64_t bits = 0;
        std::string_view trailing;  // bytes that follow the fixed-width part
        switch (*type) {
            case VT::Integer:
                bits = static_cast<std::uint64_t>(std::get<std::int64_t>(e.value));
                break;
            case VT::Boolean:
                bits = std::get<bool>(e.value) ? 1 : 0;
                break;
            case VT::FontUnit:
                bits = std::get<plist::FontUnit>(e.value).code;
                break;
            case VT::Text:
                trailing = std::get<std::string>(e.value);
                if (trailing.size() > 0xFFFFFFFFu) throw std::invalid_argument("text too long");
                bits = trailing.size();
                break;
            case VT::Colour: {
                const auto& c = std::get<plist::Colour>(e.value).bytes;
                bits = std::uint64_t{c[0]} | std::uint64_t{c[1]} << 8 | std::uint64_t{c[2]} << 16 |
                       std::uint64_t{c[3]} << 24;
                break;
            }
            case VT::FontSize:
                bits = std::bit_cast<std::uint32_t>(std::get<plist::FontSize>(e.value).points);
                break;
            case VT::LineSpacing:
                bits = std::bit_cast<std::uint64_t>(std::get<plist::LineSpacing>(e.value).factor);
                break;
        }
        for (std::size_t k = 0; k < FixedWidth(*type); ++k) {
            out.push_back(static_cast<std::uint8_t>(bits >> (8 * k)));
        }
        out.insert(out.end(), trailing.begin(), trailing.end());
    }
    return out;
}

}  // namespace tk::plist

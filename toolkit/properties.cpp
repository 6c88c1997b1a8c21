#include "toolkit/properties.h"

#include <algorithm>
#include <vector>

namespace tk {

void SetProperties(Object& target, std::span<const std::uint8_t> list) {
    std::vector<plist::Entry> entries;
    try {
        entries = plist::Decode(list);
    } catch (const plist::DecodeError& e) {
        throw PropertyException(target.ClassName() + ": " + e.what());
    }
    for (const plist::Entry& entry : entries) target.SetProperty(entry);
}

namespace {

template <class T>
const T& ValueAs(const plist::Entry& entry) {
    const T* value = std::get_if<T>(&entry.value);
    if (value == nullptr) {
        throw PropertyException("property '" + entry.name + "' has a value of the wrong type");
    }
    return *value;
}

}  // namespace

std::int64_t IntegerOf(const plist::Entry& entry) {
    return ValueAs<std::int64_t>(entry);
}
bool BooleanOf(const plist::Entry& entry) {
    return ValueAs<bool>(entry);
}
const std::string& TextOf(const plist::Entry& entry) {
    return ValueAs<std::string>(entry);
}

void CheckValueType(const plist::Entry& entry) {
    // The value's alternatives are in the order of the types.
    const auto type = plist::TypeOf(entry.name);
    if (type && entry.value.index() != static_cast<std::size_t>(*type)) {
        throw PropertyException("property '" + entry.name + "' has a value of the wrong type");
    }
}

Rgba ColourOf(const plist::Entry& entry) {
    const auto& b = ValueAs<plist::Colour>(entry).bytes;
    // Little-endian 0xAARRGGBB: b[0] blue, b[1] green, b[2] red, b[3] alpha (0 opaque).
    return Rgba{b[2], b[1], b[0], static_cast<std::uint8_t>(255 - b[3])};
}

}  // namespace tk

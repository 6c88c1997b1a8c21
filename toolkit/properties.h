// The applier: sets every property that a layout list names on its target.
#pragma once

#include <cstdint>
#include <span>

#include "toolkit/object.h"

namespace tk {

// Decodes the whole list first: a list that cannot be decoded raises
// PropertyException and sets nothing. Then sets each entry in list order; a
// name that the target's class does not carry raises PropertyException.
void SetProperties(Object& target, std::span<const std::uint8_t> list);

// Helpers for SetProperty overrides: the entry's value as the type it must have.
std::int64_t IntegerOf(const plist::Entry& entry);
bool BooleanOf(const plist::Entry& entry);
const std::string& TextOf(const plist::Entry& entry);

// A colour as stored: four bytes read as one little-endian 0xAARRGGBB value,
// where alpha 0 is opaque.
struct Rgba {
    std::uint8_t r, g, b, a;
};
Rgba ColourOf(const plist::Entry& entry);

}  // namespace tk

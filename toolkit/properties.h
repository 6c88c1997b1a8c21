// The applier: sets every property that a layout list names on its target.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "toolkit/core/proplist.h"
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

// One row of a class's property table: a name the class carries, and what
// setting it does. A row whose setter is kNoEffect names a property that the
// class carries but that does nothing on this platform: its value is checked
// and dropped.
template <class C>
struct Setter {
    std::string_view name;
    void (*set)(C&, const plist::Entry&) = nullptr;
};
inline constexpr std::nullptr_t kNoEffect = nullptr;

// Raises PropertyException unless the entry's value has its name's type.
void CheckValueType(const plist::Entry& entry);

// Sets the entry on `target` by its row in `rows`; a name with no row raises
// PropertyException.
template <class C>
void Apply(C& target, std::type_identity_t<std::span<const Setter<C>>> rows,
           const plist::Entry& entry) {
    const auto row = std::ranges::find(rows, entry.name, &Setter<C>::name);
    if (row == rows.end()) return target.Object::SetProperty(entry);
    CheckValueType(entry);
    if (row->set != kNoEffect) row->set(target, entry);
}

// A class's table from its groups of rows. A name in two groups, or one that
// the layout lists' table of names and types does not know, does not compile.
template <class C, std::size_t... N>
constexpr auto Join(const std::array<Setter<C>, N>&... groups) {
    std::array<Setter<C>, (N + ...)> all{};
    auto at = all.begin();
    ((at = std::copy(groups.begin(), groups.end(), at)), ...);
    for (auto a = all.begin(); a != all.end(); ++a) {
        if (!plist::TypeOf(a->name)) throw "a name that no layout list can carry";
        if (std::ranges::find(a + 1, all.end(), a->name, &Setter<C>::name) != all.end())
            throw "a name in two groups";
    }
    return all;
}

}  // namespace tk

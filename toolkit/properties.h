// The applier: sets every property that a layout list names on its target.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

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
// setting it does.
template <class C>
struct Setter {
    std::string_view name;
    void (*set)(C&, const plist::Entry&) = nullptr;
};

// Whether the class lettered `where` (W window, F text field, L label, C
// canvas, A text area, T timer) carries `name` but does nothing with it here.
bool HasNoEffect(char where, std::string_view name);
// Raises PropertyException unless the entry's value has its name's type.
void CheckValueType(const plist::Entry& entry);

// Sets the entry on `target` by its row in `rows`, or checks and ignores a name
// that has no effect on the class; any other name raises PropertyException.
template <class C>
void Apply(C& target, std::type_identity_t<std::span<const Setter<C>>> rows, char where,
           const plist::Entry& entry) {
    const auto row = std::ranges::find(rows, entry.name, &Setter<C>::name);
    if (row == rows.end() && !HasNoEffect(where, entry.name))
        return target.Object::SetProperty(entry);
    CheckValueType(entry);
    if (row != rows.end()) row->set(target, entry);
}

// A class's table from its groups of rows; a name in two groups does not compile.
template <class C, std::size_t... N>
constexpr auto Join(const std::array<Setter<C>, N>&... groups) {
    std::array<Setter<C>, (N + ...)> all{};
    auto at = all.begin();
    ((at = std::copy(groups.begin(), groups.end(), at)), ...);
    for (auto a = all.begin(); a != all.end(); ++a) {
        if (std::ranges::find(a + 1, all.end(), a->name, &Setter<C>::name) != all.end())
            throw "a name in two groups";
    }
    return all;
}

}  // namespace tk

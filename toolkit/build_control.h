// The steps by which a window builds each of its controls, in this order:
// create it for the window, run its constructor, register it under its name,
// give a canvas its picture, and apply its layout list. Each step after
// registering finds the control again by its name. The window then binds its
// handler, if the control has one, to the control returned.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <type_traits>

#include "toolkit/controls.h"
#include "toolkit/picture.h"
#include "toolkit/properties.h"
#include "toolkit/window.h"

namespace tk {

using PictureAccessor = std::shared_ptr<Picture> (*)();

// `Made` is the class created; `As` the class it is used as (a timer wrapper
// is used as a Timer).
template <class Made, class As = Made>
As& BuildControl(Window& window, const char* name, std::span<const std::uint8_t> list,
                 PictureAccessor picture = nullptr) {
    {
        std::unique_ptr<Made> control = window.New<Made>();
        control->Constructor();
        window.AddControl(name, std::move(control));
    }
    if constexpr (std::is_base_of_v<Canvas, As>) {
        if (picture != nullptr) Cast<Canvas>(window.ControlByName(name)).SetBackdrop(picture());
    }
    SetProperties(Cast<As>(window.ControlByName(name)), list);
    return Cast<As>(window.ControlByName(name));
}

}  // namespace tk

// The steps by which a window builds each of its controls, in this order:
// create it for the window, run its constructor, register it under its name,
// give a canvas its picture, apply its layout list, and bind its one handler.
// Each step after registering finds the control again by its name.
#pragma once

#include <functional>
#include <memory>
#include <type_traits>

#include "toolkit/controls.h"
#include "toolkit/picture.h"
#include "toolkit/properties.h"
#include "toolkit/window.h"

namespace windows {

using PictureAccessor = std::shared_ptr<tk::Picture> (*)();

// `Made` is the class created; `As` the class it is used as (a timer wrapper
// is used as a Timer).
template <class Made, class As = Made>
void BuildControl(tk::Window& window, const char* name, std::span<const std::uint8_t> list,
                  std::type_identity_t<std::function<void(As&)>> bind = {},
                  PictureAccessor picture = nullptr) {
    {
        std::unique_ptr<Made> control = window.New<Made>();
        control->Constructor();
        window.AddControl(name, std::move(control));
    }
    if constexpr (std::is_base_of_v<tk::Canvas, As>) {
        if (picture != nullptr) {
            tk::Cast<tk::Canvas>(window.ControlByName(name)).SetBackdrop(picture());
        }
    }
    tk::SetProperties(tk::Cast<As>(window.ControlByName(name)), list);
    if (bind) bind(tk::Cast<As>(window.ControlByName(name)));
}

}  // namespace windows

// The application class: one object, made at start-up and kept by the toolkit
// for the whole run.
#pragma once

#include <array>
#include <string_view>

#include "toolkit/application.h"
#include "toolkit/runtime.h"

class Tamsavik : public tk::Application {
  public:
    Tamsavik() : tk::Application("tamsavik") {}
    std::string ClassName() const override { return "Tamsavik"; }
    void Constructor() {}
    // The class handles none of the application's events.
    bool IsEventImplemented(std::string_view event) const {
        return tk::RuntimeIsEventHandled(std::span<const std::string_view>(), event);
    }
};

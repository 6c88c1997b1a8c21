#include "windows/helpWnd.h"

#include <array>

#include "resources/layouts.h"
#include "toolkit/build_control.h"
#include "toolkit/runtime.h"

helpWnd& helpWnd::Instance() {
    return tk::ImplicitInstance<helpWnd>("helpWnd.helpWnd");
}

bool helpWnd::IsEventImplemented(std::string_view event) const {
    static constexpr std::array<std::string_view, 2> kEvents{"Layout", "CreateControls"};
    return tk::RuntimeIsEventHandled(kEvents, event);
}

void helpWnd::Layout() {
    tk::SetProperties(*this, resources::helpWnd::Window());
}

void helpWnd::CreateControls() {
    CreateControls0();
}

void helpWnd::CreateControls0() {
    tk::BuildControl<tk::TextArea>(*this, "EditField1", resources::helpWnd::EditField1());
}

tk::TextArea& helpWnd::EditField1() const {
    return tk::Cast<tk::TextArea>(ControlByName("EditField1"));
}

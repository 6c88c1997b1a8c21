#include "windows/AboutWnd.h"

#include <array>

#include "calculator/ControlWnd.h"
#include "resources/layouts.h"
#include "resources/pictures.h"
#include "toolkit/build_control.h"
#include "toolkit/runtime.h"

void AboutWnd::_wrapper_Timer1::SetWindow(tk::Window* window) {
    ownerWindow = std::make_unique<tk::WeakRef<tk::Window>>(window);
}

tk::Window* AboutWnd::_wrapper_Timer1::Window() const {
    if (!ownerWindow) return nullptr;
    tk::Window* target = ownerWindow->Value();
    if (target == nullptr) return nullptr;
    return &tk::Cast<tk::Window>(target);
}

AboutWnd& AboutWnd::Instance() {
    return tk::ImplicitInstance<AboutWnd>("AboutWnd.AboutWnd");
}

bool AboutWnd::IsEventImplemented(std::string_view event) const {
    static constexpr std::array<std::string_view, 5> kEvents{"Layout", "CreateControls", "KeyDown",
                                                             "MouseDown", "CancelClose"};
    return tk::RuntimeIsEventHandled(kEvents, event);
}

void AboutWnd::Layout() {
    tk::SetProperties(*this, resources::aboutWnd::Window());
}

void AboutWnd::CreateControls() {
    CreateControls0();
}

void AboutWnd::CreateControls0() {
    namespace lists = resources::aboutWnd;
    using tk::BuildControl;
    BuildControl<tk::Label>(*this, "StaticText2", lists::StaticText2());
    BuildControl<tk::Canvas>(*this, "Canvas1", lists::Canvas1(), resources::_x_CirclesSmall);
    BuildControl<_wrapper_Timer1, tk::Timer>(*this, "Timer1", lists::Timer1())
        .BindAction([this](tk::Timer& timer) { Timer1_Action(timer); });
    BuildControl<tk::Label>(*this, "Label1", lists::Label1());
}

tk::Label& AboutWnd::StaticText2() const {
    return tk::Cast<tk::Label>(ControlByName("StaticText2"));
}
tk::Canvas& AboutWnd::Canvas1() const {
    return tk::Cast<tk::Canvas>(ControlByName("Canvas1"));
}
tk::Timer& AboutWnd::Timer1() const {
    return tk::Cast<tk::Timer>(ControlByName("Timer1"));
}
tk::Label& AboutWnd::Label1() const {
    return tk::Cast<tk::Label>(ControlByName("Label1"));
}

void AboutWnd::HandOver() {
    AboutWnd::Instance().Hide();
    ControlWnd::Instance().Show();
}

void AboutWnd::Timer1_Action(tk::Timer&) {
    // Only when nothing has handed over yet: the main window comes with the
    // first hand-over, and after it the user alone shows and hides windows.
    if (tk::Window::GetImplicitWindow("ControlWnd.ControlWnd") != nullptr) return;
    HandOver();
}

bool AboutWnd::Event_KeyDown(std::string_view) {
    HandOver();
    return false;
}

bool AboutWnd::Event_MouseDown(std::int64_t, std::int64_t) {
    HandOver();
    return false;
}

bool AboutWnd::Event_CancelClose() {
    if (tk::Window::GetImplicitWindow("ControlWnd.ControlWnd") == nullptr) {
        HandOver();
    } else {
        Hide();
    }
    return true;
}

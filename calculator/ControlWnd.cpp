#include "calculator/ControlWnd.h"

#include <array>

#include "calculator/decisions.h"
#include "menus/MenuBar1.h"
#include "resources/layouts.h"
#include "resources/pictures.h"
#include "toolkit/application.h"
#include "toolkit/build_control.h"
#include "toolkit/core/text.h"
#include "toolkit/dialogs.h"
#include "toolkit/runtime.h"
#include "windows/AboutWnd.h"
#include "windows/helpWnd.h"

using calculator::ComputeOutcome;
using calculator::InputField;

ControlWnd& ControlWnd::Instance() {
    return tk::ImplicitInstance<ControlWnd>("ControlWnd.ControlWnd");
}

bool ControlWnd::IsEventImplemented(std::string_view event) const {
    static constexpr std::array<std::string_view, 5> kEvents{"AddMenuHandlers", "Close",
                                                             "CreateControls", "Layout", "Open"};
    return tk::RuntimeIsEventHandled(kEvents, event);
}

// --- Building -----------------------------------------------------------------------

void ControlWnd::Layout() {
    SetMenuBar(MenuBar1::Instance());
    tk::SetProperties(*this, resources::controlWnd::Window());
}

void ControlWnd::CreateControls() {
    CreateControls0();
}

void ControlWnd::CreateControls0() {
    namespace lists = resources::controlWnd;
    using tk::BuildControl;
    BuildControl<tk::TextField>(*this, "RdFld", lists::RdFld());
    BuildControl<tk::Label>(*this, "RdText", lists::RdText());
    BuildControl<tk::Label>(*this, "StaticText1", lists::StaticText1());
    BuildControl<tk::TextField>(*this, "RxxFld", lists::RxxFld())
        .BindKeyDown(
            [this](tk::TextField& f, std::string_view key) { return RxxFld_KeyDown(f, key); });
    BuildControl<tk::Label>(*this, "StaticText2", lists::StaticText2());
    BuildControl<tk::TextField>(*this, "RyyFld", lists::RyyFld())
        .BindKeyDown(
            [this](tk::TextField& f, std::string_view key) { return RyyFld_KeyDown(f, key); });
    BuildControl<tk::Label>(*this, "StaticText3", lists::StaticText3());
    BuildControl<tk::TextField>(*this, "RxyFld", lists::RxyFld())
        .BindKeyDown(
            [this](tk::TextField& f, std::string_view key) { return RxyFld_KeyDown(f, key); });
    BuildControl<tk::Label>(*this, "StaticText6", lists::StaticText6())
        .BindMouseDown([this](tk::RectControl& c, std::int64_t x, std::int64_t y) {
            return StaticText6_MouseDown(tk::Cast<tk::Label>(&c), x, y);
        });

    // The five pictures: each canvas gets its picture before its list.
    using Handler = bool (ControlWnd::*)(tk::Canvas&, std::int64_t, std::int64_t);
    const auto click = [this](Handler handler) {
        return [this, handler](tk::RectControl& c, std::int64_t x, std::int64_t y) {
            return (this->*handler)(tk::Cast<tk::Canvas>(&c), x, y);
        };
    };
    BuildControl<tk::Canvas>(*this, "ComputeCanvas", lists::ComputeCanvas(), resources::_x_compute)
        .BindMouseDown(click(&ControlWnd::ComputeCanvas_MouseDown));
    BuildControl<tk::Canvas>(*this, "ClearCanvas", lists::ClearCanvas(), resources::_x_clear)
        .BindMouseDown(click(&ControlWnd::ClearCanvas_MouseDown));
    BuildControl<tk::Canvas>(*this, "HelpCanvas", lists::HelpCanvas(), resources::_x_info)
        .BindMouseDown(click(&ControlWnd::HelpCanvas_MouseDown));
    BuildControl<tk::Canvas>(*this, "Canvas1", lists::Canvas1(), resources::_x_title3)
        .BindMouseDown(click(&ControlWnd::Canvas1_MouseDown));
    BuildControl<tk::Canvas>(*this, "Canvas2", lists::Canvas2(), resources::_x_CirclesVSmall)
        .BindMouseDown(click(&ControlWnd::Canvas2_MouseDown));
}

// --- Controls -----------------------------------------------------------------------

tk::TextField& ControlWnd::RdFld() const {
    return tk::Cast<tk::TextField>(ControlByName("RdFld"));
}
tk::Label& ControlWnd::RdText() const {
    return tk::Cast<tk::Label>(ControlByName("RdText"));
}
tk::Label& ControlWnd::StaticText1() const {
    return tk::Cast<tk::Label>(ControlByName("StaticText1"));
}
tk::TextField& ControlWnd::RxxFld() const {
    return tk::Cast<tk::TextField>(ControlByName("RxxFld"));
}
tk::Label& ControlWnd::StaticText2() const {
    return tk::Cast<tk::Label>(ControlByName("StaticText2"));
}
tk::TextField& ControlWnd::RyyFld() const {
    return tk::Cast<tk::TextField>(ControlByName("RyyFld"));
}
tk::Label& ControlWnd::StaticText3() const {
    return tk::Cast<tk::Label>(ControlByName("StaticText3"));
}
tk::TextField& ControlWnd::RxyFld() const {
    return tk::Cast<tk::TextField>(ControlByName("RxyFld"));
}
tk::Label& ControlWnd::StaticText6() const {
    return tk::Cast<tk::Label>(ControlByName("StaticText6"));
}
tk::Canvas& ControlWnd::ComputeCanvas() const {
    return tk::Cast<tk::Canvas>(ControlByName("ComputeCanvas"));
}
tk::Canvas& ControlWnd::ClearCanvas() const {
    return tk::Cast<tk::Canvas>(ControlByName("ClearCanvas"));
}
tk::Canvas& ControlWnd::HelpCanvas() const {
    return tk::Cast<tk::Canvas>(ControlByName("HelpCanvas"));
}
tk::Canvas& ControlWnd::Canvas1() const {
    return tk::Cast<tk::Canvas>(ControlByName("Canvas1"));
}
tk::Canvas& ControlWnd::Canvas2() const {
    return tk::Cast<tk::Canvas>(ControlByName("Canvas2"));
}

// --- Key filters ----------------------------------------------------------------------

bool ControlWnd::FilterKey(InputField field, std::string_view key) {
    if (calculator::AcceptsKey(field, tk::Asc(key))) return false;
    tk::Beep();
    return true;
}

bool ControlWnd::RxxFld_KeyDown(tk::TextField&, std::string_view key) {
    return FilterKey(InputField::RxxFld, key);
}

bool ControlWnd::RyyFld_KeyDown(tk::TextField&, std::string_view key) {
    return FilterKey(InputField::RyyFld, key);
}

bool ControlWnd::RxyFld_KeyDown(tk::TextField&, std::string_view key) {
    return FilterKey(InputField::RxyFld, key);
}

// --- Clicks -----------------------------------------------------------------------------

bool ControlWnd::StaticText6_MouseDown(tk::Label&, std::int64_t, std::int64_t) {
    return false;
}

bool ControlWnd::ComputeCanvas_MouseDown(tk::Canvas&, std::int64_t, std::int64_t) {
    const ComputeOutcome outcome =
        calculator::EvaluateInputs(RxxFld().Text(), RyyFld().Text(), RxyFld().Text());
    if (outcome.kind == ComputeOutcome::Kind::Computed) {
        RdFld().SetVisible(true);
        RdText().SetVisible(true);
        RdFld().SetText(outcome.resultText);
        return false;
    }
    tk::MsgBox(outcome.message);
    tk::TextField* const fields[] = {&RxxFld(), &RyyFld(), &RxyFld()};  // in InputField's order
    fields[static_cast<int>(outcome.focus)]->SetFocus();
    return false;
}

bool ControlWnd::ClearCanvas_MouseDown(tk::Canvas&, std::int64_t, std::int64_t) {
    RdFld().SetVisible(false);
    RdText().SetVisible(false);
    RxxFld().SetText("");
    RyyFld().SetText("");
    RxyFld().SetText("");
    RdFld().SetText("");
    RxxFld().SetFocus();
    return false;
}

bool ControlWnd::HelpCanvas_MouseDown(tk::Canvas&, std::int64_t, std::int64_t) {
    helpWnd::Instance().Show();
    return false;
}

bool ControlWnd::Canvas1_MouseDown(tk::Canvas&, std::int64_t, std::int64_t) {
    return false;
}

bool ControlWnd::Canvas2_MouseDown(tk::Canvas&, std::int64_t, std::int64_t) {
    AboutWnd::Instance().Show();
    return false;
}

// --- Menu items -------------------------------------------------------------------------

template <class T>
T& ControlWnd::MenuItemNamed(const char* name) const {
    const std::shared_ptr<tk::MenuBar> bar = GetMenuBar();
    if (!bar) throw tk::NilObjectException("the main window has no menu bar");
    return tk::Cast<T>(bar->Lookup(name).get());
}

tk::MenuItem& ControlWnd::EditMenu() const {
    return MenuItemNamed<tk::MenuItem>("EditMenu");
}
tk::MenuItem& ControlWnd::EditSelectAll() const {
    return MenuItemNamed<tk::MenuItem>("EditSelectAll");
}
tk::MenuItem& ControlWnd::UntitledMenu0() const {
    return MenuItemNamed<tk::MenuItem>("UntitledMenu0");
}
tk::MenuItem& ControlWnd::EditClear() const {
    return MenuItemNamed<tk::MenuItem>("EditClear");
}
tk::MenuItem& ControlWnd::EditPaste() const {
    return MenuItemNamed<tk::MenuItem>("EditPaste");
}
tk::MenuItem& ControlWnd::EditCopy() const {
    return MenuItemNamed<tk::MenuItem>("EditCopy");
}
tk::MenuItem& ControlWnd::EditCut() const {
    return MenuItemNamed<tk::MenuItem>("EditCut");
}
tk::MenuItem& ControlWnd::UntitledMenu1() const {
    return MenuItemNamed<tk::MenuItem>("UntitledMenu1");
}
tk::MenuItem& ControlWnd::EditUndo() const {
    return MenuItemNamed<tk::MenuItem>("EditUndo");
}
tk::MenuItem& ControlWnd::FileMenu() const {
    return MenuItemNamed<tk::MenuItem>("FileMenu");
}
tk::QuitMenuItem& ControlWnd::FileQuit() const {
    return MenuItemNamed<tk::QuitMenuItem>("FileQuit");
}

void ControlWnd::AddMenuHandlers(tk::Window& window) {
    ControlWnd& self = tk::Cast<ControlWnd>(&window);
    AddMenuHandler("About", [&self] { return self.About_Action(); });
}

// --- The window's own events ---------------------------------------------------------------

void ControlWnd::Event_Open() {}

void ControlWnd::Event_Close() {
    tk::Quit(0);
}

bool ControlWnd::About_Action() {
    return false;
}

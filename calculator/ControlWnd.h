// The main calculator window: three input fields for the correlations, the
// result field with its label, the Compute, Help and Clear pictures, the title
// banner, the small logo and the by-line. Closing it ends the program.
#pragma once

#include <cstdint>
#include <string_view>

#include "calculator/decisions.h"
#include "toolkit/controls.h"
#include "toolkit/menu.h"
#include "toolkit/runtime.h"
#include "toolkit/window.h"

class ControlWnd : public tk::Window {
  public:
    // The open main window, or a new one (which shows itself).
    static ControlWnd& Instance();

    std::string_view FullClassName() const override { return "ControlWnd.ControlWnd"; }
    bool IsEventImplemented(std::string_view event) const override;

    // Build hooks.
    void Layout() override;
    void CreateControls() override;
    void CreateControls0();

    // Controls, by name.
    tk::TextField& RdFld() const;
    tk::Label& RdText() const;
    tk::Label& StaticText1() const;
    tk::TextField& RxxFld() const;
    tk::Label& StaticText2() const;
    tk::TextField& RyyFld() const;
    tk::Label& StaticText3() const;
    tk::TextField& RxyFld() const;
    tk::Label& StaticText6() const;
    tk::Canvas& ComputeCanvas() const;
    tk::Canvas& ClearCanvas() const;
    tk::Canvas& HelpCanvas() const;
    tk::Canvas& Canvas1() const;
    tk::Canvas& Canvas2() const;

    // Key filters of the input fields: true swallows the key.
    bool RxxFld_KeyDown(tk::TextField& field, std::string_view key);
    bool RyyFld_KeyDown(tk::TextField& field, std::string_view key);
    bool RxyFld_KeyDown(tk::TextField& field, std::string_view key);
    // Clicks.
    bool StaticText6_MouseDown(tk::Label& label, std::int64_t x, std::int64_t y);
    bool ComputeCanvas_MouseDown(tk::Canvas& canvas, std::int64_t x, std::int64_t y);
    bool ClearCanvas_MouseDown(tk::Canvas& canvas, std::int64_t x, std::int64_t y);
    bool HelpCanvas_MouseDown(tk::Canvas& canvas, std::int64_t x, std::int64_t y);
    bool Canvas1_MouseDown(tk::Canvas& canvas, std::int64_t x, std::int64_t y);
    bool Canvas2_MouseDown(tk::Canvas& canvas, std::int64_t x, std::int64_t y);

    // Menu items, by name.
    tk::MenuItem& EditMenu() const;
    tk::MenuItem& EditSelectAll() const;
    tk::MenuItem& UntitledMenu0() const;
    tk::MenuItem& EditClear() const;
    tk::MenuItem& EditPaste() const;
    tk::MenuItem& EditCopy() const;
    tk::MenuItem& EditCut() const;
    tk::MenuItem& UntitledMenu1() const;
    tk::MenuItem& EditUndo() const;
    tk::MenuItem& FileMenu() const;
    tk::QuitMenuItem& FileQuit() const;

    void AddMenuHandlers(tk::Window& window) override;

    // The window's own events.
    void Event_Open() override;
    void Event_Close() override;
    bool About_Action();

  private:
    // Lets the field take the key, or beeps and swallows it.
    static bool FilterKey(calculator::InputField field, std::string_view key);
    template <class T>
    T& MenuItemNamed(const char* name) const;
};

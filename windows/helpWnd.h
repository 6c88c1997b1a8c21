// The help window: the help text in an editable, scrolling text area. Edits
// live only in the open window; a window built after the user closed the last
// one shows the stored text again.
#pragma once

#include <string_view>

#include "toolkit/controls.h"
#include "toolkit/window.h"

class helpWnd : public tk::Window {
  public:
    // The open help window, or a new one (which shows itself).
    static helpWnd& Instance();

    std::string_view FullClassName() const override { return "helpWnd.helpWnd"; }
    bool IsEventImplemented(std::string_view event) const override;

    void Layout() override;
    void CreateControls() override;
    void CreateControls0();

    tk::TextArea& EditField1() const;
};

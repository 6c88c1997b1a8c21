// The program's one menu bar: File with Quit, and Edit with the standard
// editing commands. Built on the first request and shared for the whole run:
// the application and the main window install the same object.
#pragma once

#include <memory>

#include "toolkit/menu.h"

class MenuBar1 : public tk::MenuBar {
  public:
    // The one bar, built on first use. It is stored only once it is complete,
    // so a failed build leaves nothing behind and the next request builds anew.
    static std::shared_ptr<MenuBar1> Instance();

    std::string ClassName() const override { return "MenuBar1"; }

    // Builds the two menus.
    void Constructor();
    void Untitled0();  // the File menu
    void Untitled1();  // the Edit menu

  private:
    // One entry: made, named, captioned and given its shortcut (none at all
    // when `shortcut` is null), then appended to the bar, or to its menu
    // looked up afresh by name.
    void AddEntry(std::shared_ptr<tk::MenuItem> item, const char* name, const char* caption,
                  const char* shortcut, const char* parentMenu);
};

// Menus. A MenuItem is an entry or, when it holds entries, a menu; a MenuBar
// holds the menus. Items are shared: one bar can be installed on the
// application and on a window, and both show the same items.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/object.h"

namespace tk {

struct MenuItemImpl;

class MenuItem : public Object {
  public:
    MenuItem();
    ~MenuItem() override;
    std::string ClassName() const override { return "MenuItem"; }

    // The empty item's constructor step: a new item is already usable.
    void Constructor() {}

    const std::string& Name() const { return name_; }
    void SetName(std::string name);
    // The caption: "&" marks the mnemonic letter after it; exactly "-" makes a separator.
    const std::string& Value() const { return caption_; }
    void SetValue(std::string caption);
    // "Cmd+" and one capital letter (Ctrl on this platform); empty for none.
    const std::string& Shortcut() const { return shortcut_; }
    void SetShortcut(std::string shortcut);
    bool AutoEnabled() const { return autoEnabled_; }
    void SetAutoEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    bool IsSeparator() const { return caption_ == "-"; }

    // Appends an item below this one, which makes this one a menu.
    void AddMenu(std::shared_ptr<MenuItem> item);
    const std::vector<std::shared_ptr<MenuItem>>& Children() const { return children_; }
    // The direct child of that name, or null.
    std::shared_ptr<MenuItem> Child(std::string_view name) const;
    // The item of that name anywhere below this one, or null.
    std::shared_ptr<MenuItem> Lookup(std::string_view name) const;

    // Carries out the item: the handler of the active window registered under
    // the item's name, else the item's own action (the standard Edit commands,
    // Quit).
    void Choose();
    // Whether the toolkit would enable the item now.
    bool IsEnabledNow() const;

  protected:
    virtual void Action();

  private:
    friend struct MenuInternals;  // the toolkit's own access (menu_qt.h)
    void Changed();

    std::unique_ptr<MenuItemImpl> impl_;
    std::string name_;
    std::string caption_;
    std::string shortcut_;
    bool autoEnabled_ = true;
    bool visible_ = true;
    std::vector<std::shared_ptr<MenuItem>> children_;
};

// An item that quits the program with exit code 0 when chosen.
class QuitMenuItem : public MenuItem {
  public:
    std::string ClassName() const override { return "QuitMenuItem"; }

  protected:
    void Action() override;
};

// A menu bar: empty once created.
class MenuBar : public MenuItem {
  public:
    std::string ClassName() const override { return "MenuBar"; }
};

}  // namespace tk

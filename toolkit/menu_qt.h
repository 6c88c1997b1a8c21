// The Qt side of menus: each item's one QAction, shared by every view of it.
// Only toolkit sources and tests that look at the actions include this file.
#pragma once

#include <QAction>
#include <QList>
#include <QMenuBar>
#include <memory>

#include "toolkit/menu.h"
#include "toolkit/text_qt.h"

namespace tk {

struct MenuItemImpl {
    std::unique_ptr<QAction> action;  // shared by every view of the item
};

// What the toolkit, and its tests, reach inside a menu item for.
struct MenuInternals {
    static MenuItemImpl& Impl(const MenuItem& item) { return *item.impl_; }
};

// The QAction of a menu item, made on first use.
QAction* ActionOf(MenuItem& item);
// A Qt menu bar showing `bar`, for a window.
QMenuBar* MakeMenuBarView(MenuBar& bar, QWidget* parent);

// Makes the shortcuts of every item below `bar` work from every window.
void ActivateShortcuts(MenuItem& bar);
// Every item below `bar` that carries out a command (not menus, not separators).
void CollectCommandActions(MenuItem& bar, QList<QAction*>& out);

}  // namespace tk

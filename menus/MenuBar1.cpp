#include "menus/MenuBar1.h"

namespace {
std::shared_ptr<MenuBar1> g_implicitInstance;
}

std::shared_ptr<MenuBar1> MenuBar1::Instance() {
    if (g_implicitInstance) return g_implicitInstance;
    auto bar = std::make_shared<MenuBar1>();
    bar->Constructor();
    g_implicitInstance = bar;
    return bar;
}

void MenuBar1::Constructor() {
    Untitled0();
    Untitled1();
}

void MenuBar1::AddEntry(std::shared_ptr<tk::MenuItem> item, const char* name, const char* caption,
                        const char* shortcut, const char* parentMenu) {
    item->Constructor();
    item->SetName(name);
    item->SetAutoEnabled(true);
    item->SetValue(caption);
    item->SetVisible(true);
    if (shortcut != nullptr) item->SetShortcut(shortcut);
    if (parentMenu == nullptr) {
        AddMenu(std::move(item));
        return;
    }
    const std::shared_ptr<tk::MenuItem> menu = Child(parentMenu);
    if (!menu) throw tk::NilObjectException(std::string("no menu named ") + parentMenu);
    menu->AddMenu(std::move(item));
}

void MenuBar1::Untitled0() {
    AddEntry(std::make_shared<tk::MenuItem>(), "FileMenu", "&File", "", nullptr);
    AddEntry(std::make_shared<tk::QuitMenuItem>(), "FileQuit", "Quit", "Cmd+Q", "FileMenu");
}

void MenuBar1::Untitled1() {
    auto item = [] { return std::make_shared<tk::MenuItem>(); };
    AddEntry(item(), "EditMenu", "&Edit", "", nullptr);
    AddEntry(item(), "EditUndo", "&Undo", "Cmd+Z", "EditMenu");
    AddEntry(item(), "UntitledMenu1", "-", nullptr, "EditMenu");
    AddEntry(item(), "EditCut", "Cu&t", "Cmd+X", "EditMenu");
    AddEntry(item(), "EditCopy", "&Copy", "Cmd+C", "EditMenu");
    AddEntry(item(), "EditPaste", "&Paste", "Cmd+V", "EditMenu");
    AddEntry(item(), "EditClear", "Clear", "", "EditMenu");
    AddEntry(item(), "UntitledMenu0", "-", nullptr, "EditMenu");
    AddEntry(item(), "EditSelectAll", "Select &All", "Cmd+A", "EditMenu");
}

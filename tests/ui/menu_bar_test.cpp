// The program's one menu bar: its tree as built and as shown on the main
// window, the classes of its items, the one shared object, and a failed build.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <typeinfo>
#include <vector>

#include "calculator/ControlWnd.h"
#include "menus/MenuBar1.h"
#include "toolkit/qt_widgets.h"

namespace {

struct Expected {
    const char* name;
    const char* caption;
    const char* shortcut;
    const char* keys;  // the QAction's shortcut on this platform
};

const Expected kMenus[] = {{"FileMenu", "&File", "", ""}, {"EditMenu", "&Edit", "", ""}};
const std::vector<Expected> kEntries[] = {
    {{"FileQuit", "Quit", "Cmd+Q", "Ctrl+Q"}},
    {{"EditUndo", "&Undo", "Cmd+Z", "Ctrl+Z"},
     {"UntitledMenu1", "-", "", ""},
     {"EditCut", "Cu&t", "Cmd+X", "Ctrl+X"},
     {"EditCopy", "&Copy", "Cmd+C", "Ctrl+C"},
     {"EditPaste", "&Paste", "Cmd+V", "Ctrl+V"},
     {"EditClear", "Clear", "", ""},
     {"UntitledMenu0", "-", "", ""},
     {"EditSelectAll", "Select &All", "Cmd+A", "Ctrl+A"}},
};

// The bar's exact tree, as built and as the main window shows it, and each
// item found by name, of its class. An About or Help entry has no place in it.
TEST(MenuBar, TreeOfMenusAndEntries) {
    const auto bar = MenuBar1::Instance();
    const QList<QAction*> shownMenus = ControlWnd::Instance().Impl().menuBarView->actions();
    ASSERT_EQ(bar->Children().size(), 2u);
    ASSERT_EQ(shownMenus.size(), 2);
    for (std::size_t m = 0; m < 2; ++m) {
        const tk::MenuItem& menu = *bar->Children()[m];
        EXPECT_EQ(menu.Name(), kMenus[m].name);
        EXPECT_EQ(menu.Value(), kMenus[m].caption);
        EXPECT_EQ(menu.Shortcut(), "");
        EXPECT_TRUE(menu.AutoEnabled() && menu.Visible());
        EXPECT_EQ(bar->Lookup(kMenus[m].name), bar->Child(kMenus[m].name));
        const QAction* shownMenu = shownMenus[static_cast<qsizetype>(m)];
        EXPECT_EQ(shownMenu->text(), kMenus[m].caption);

        const std::vector<Expected>& entries = kEntries[m];
        const QList<QAction*> shown = shownMenu->menu()->actions();
        ASSERT_EQ(menu.Children().size(), entries.size()) << menu.Name();
        ASSERT_EQ(static_cast<std::size_t>(shown.size()), entries.size()) << menu.Name();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            tk::MenuItem& item = *menu.Children()[i];
            const Expected& e = entries[i];
            SCOPED_TRACE(e.name);
            EXPECT_EQ(item.Name(), e.name);
            EXPECT_EQ(item.Value(), e.caption);
            EXPECT_EQ(item.Shortcut(), e.shortcut);
            EXPECT_TRUE(item.AutoEnabled() && item.Visible());
            EXPECT_TRUE(item.Children().empty());
            EXPECT_EQ(bar->Lookup(e.name).get(), &item);
            EXPECT_EQ(bar->Child(e.name), nullptr);  // not a direct child of the bar
            if (std::string_view(e.name) == "FileQuit") {
                EXPECT_NE(dynamic_cast<tk::QuitMenuItem*>(&item), nullptr);
            } else {
                EXPECT_EQ(typeid(item), typeid(tk::MenuItem));
            }
            const bool separator = std::string_view(e.caption) == "-";
            EXPECT_EQ(item.IsSeparator(), separator);
            const QAction* action = shown[static_cast<qsizetype>(i)];
            EXPECT_EQ(action->isSeparator(), separator);
            if (!separator) {
                EXPECT_EQ(action->text(), e.caption);
                EXPECT_EQ(tk::ActionOf(item)->shortcut(), QKeySequence(e.keys));
            }
        }
    }
    EXPECT_EQ(bar->Lookup("About"), nullptr);
    EXPECT_EQ(bar->Lookup("Help"), nullptr);
}

// One bar, shared by the main window, whose accessors give its items (the
// Quit item as the class that quits); the window's About handler is there and
// declines.
TEST(MenuBar, OneSharedObject) {
    const auto bar = MenuBar1::Instance();
    EXPECT_EQ(MenuBar1::Instance(), bar);
    ControlWnd& w = ControlWnd::Instance();
    EXPECT_EQ(w.GetMenuBar(), bar);
    EXPECT_EQ(&w.EditCopy(), bar->Lookup("EditCopy").get());
    EXPECT_EQ(&w.FileQuit(), bar->Lookup("FileQuit").get());
    EXPECT_TRUE(w.HasMenuHandler("About"));
    EXPECT_FALSE(w.RunMenuHandler("About"));
}

// The first request comes from a second thread, so the build fails; the next
// request, on the user-interface thread, must build a whole bar.
TEST(MenuBar, FailedBuildLeavesNothingBehind) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            bool raised = false;
            std::thread worker([&raised] {
                try {
                    MenuBar1::Instance();
                } catch (const tk::ThreadAccessingUIException&) {
                    raised = true;
                }
            });
            worker.join();
            const auto bar = MenuBar1::Instance();
            const auto file = bar->Child("FileMenu");
            const auto edit = bar->Child("EditMenu");
            const bool whole = bar->Children().size() == 2 && file && edit &&
                               file->Children().size() == 1 && edit->Children().size() == 8;
            std::fprintf(stderr, "raised=%d whole=%d\n", raised, whole);
            std::_Exit(raised && whole && MenuBar1::Instance() == bar ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace

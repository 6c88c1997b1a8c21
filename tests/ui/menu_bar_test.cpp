// The program's one menu bar: its tree as built and as shown on the main
// window, the classes of its items, the one shared object, and a failed build.
#include <gtest/gtest.h>
#include <sys/wait.h>

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
const std::vector<Expected> kFile = {{"FileQuit", "Quit", "Cmd+Q", "Ctrl+Q"}};
const std::vector<Expected> kEdit = {
    {"EditUndo", "&Undo", "Cmd+Z", "Ctrl+Z"},
    {"UntitledMenu1", "-", "", ""},
    {"EditCut", "Cu&t", "Cmd+X", "Ctrl+X"},
    {"EditCopy", "&Copy", "Cmd+C", "Ctrl+C"},
    {"EditPaste", "&Paste", "Cmd+V", "Ctrl+V"},
    {"EditClear", "Clear", "", ""},
    {"UntitledMenu0", "-", "", ""},
    {"EditSelectAll", "Select &All", "Cmd+A", "Ctrl+A"},
};

void ExpectEntries(const tk::MenuItem& menu, const std::vector<Expected>& expected) {
    ASSERT_EQ(menu.Children().size(), expected.size()) << menu.Name();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        tk::MenuItem& item = *menu.Children()[i];
        const Expected& e = expected[i];
        EXPECT_EQ(item.Name(), e.name);
        EXPECT_EQ(item.Value(), e.caption) << e.name;
        EXPECT_EQ(item.Shortcut(), e.shortcut) << e.name;
        EXPECT_EQ(item.IsSeparator(), std::string_view(e.caption) == "-") << e.name;
        EXPECT_TRUE(item.AutoEnabled() && item.Visible()) << e.name;
        EXPECT_TRUE(item.Children().empty()) << e.name;
        if (!item.IsSeparator()) {
            EXPECT_EQ(tk::ActionOf(item)->shortcut(), QKeySequence(e.keys)) << e.name;
        }
    }
}

TEST(MenuBar, TreeOfMenusAndEntries) {
    const auto bar = MenuBar1::Instance();
    ASSERT_EQ(bar->Children().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const tk::MenuItem& menu = *bar->Children()[i];
        EXPECT_EQ(menu.Name(), kMenus[i].name);
        EXPECT_EQ(menu.Value(), kMenus[i].caption);
        EXPECT_EQ(menu.Shortcut(), "");
        EXPECT_TRUE(menu.AutoEnabled() && menu.Visible());
    }
    ExpectEntries(*bar->Child("FileMenu"), kFile);
    ExpectEntries(*bar->Child("EditMenu"), kEdit);
    // The exact tree above has no About or Help entry; nor is one found by name.
    EXPECT_EQ(bar->Lookup("About"), nullptr);
    EXPECT_EQ(bar->Lookup("Help"), nullptr);
}

TEST(MenuBar, MainWindowShowsTheTree) {
    ControlWnd::Instance();
    const QMenuBar* view = ControlWnd::Instance().Impl().menuBarView;
    ASSERT_NE(view, nullptr);
    const QList<QAction*> menus = view->actions();
    ASSERT_EQ(menus.size(), 2);
    const std::vector<Expected>* entries[] = {&kFile, &kEdit};
    for (int m = 0; m < 2; ++m) {
        EXPECT_EQ(menus[m]->text(), kMenus[m].caption);
        const QList<QAction*> shown = menus[m]->menu()->actions();
        ASSERT_EQ(static_cast<std::size_t>(shown.size()), entries[m]->size());
        for (int i = 0; i < shown.size(); ++i) {
            const Expected& e = (*entries[m])[static_cast<std::size_t>(i)];
            const bool separator = std::string_view(e.caption) == "-";
            EXPECT_EQ(shown[i]->isSeparator(), separator) << e.name;
            if (!separator) {
                EXPECT_EQ(shown[i]->text(), e.caption) << e.name;
            }
        }
    }
}

TEST(MenuBar, LookupsGiveTheItemClasses) {
    const auto bar = MenuBar1::Instance();
    for (const auto* list : {&kFile, &kEdit}) {
        for (const Expected& e : *list) {
            const auto item = bar->Lookup(e.name);
            ASSERT_NE(item, nullptr) << e.name;
            if (std::string_view(e.name) == "FileQuit") {
                EXPECT_NE(dynamic_cast<tk::QuitMenuItem*>(item.get()), nullptr);
            } else {
                EXPECT_EQ(typeid(*item), typeid(tk::MenuItem)) << e.name;
            }
        }
    }
    EXPECT_EQ(bar->Lookup("FileMenu"), bar->Child("FileMenu"));
    EXPECT_EQ(bar->Child("EditCopy"), nullptr);  // not a direct child of the bar
}

TEST(MenuBar, OneSharedObject) {
    const auto bar = MenuBar1::Instance();
    EXPECT_EQ(MenuBar1::Instance(), bar);
    EXPECT_EQ(ControlWnd::Instance().GetMenuBar(), bar);
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

TEST(MainWindowMenus, AccessorsGiveTheBarsItems) {
    ControlWnd& w = ControlWnd::Instance();
    const auto bar = MenuBar1::Instance();
    using Accessor = tk::MenuItem& (ControlWnd::*)() const;
    const std::pair<const char*, Accessor> cases[] = {
        {"FileMenu", &ControlWnd::FileMenu},
        {"EditMenu", &ControlWnd::EditMenu},
        {"EditUndo", &ControlWnd::EditUndo},
        {"UntitledMenu1", &ControlWnd::UntitledMenu1},
        {"EditCut", &ControlWnd::EditCut},
        {"EditCopy", &ControlWnd::EditCopy},
        {"EditPaste", &ControlWnd::EditPaste},
        {"EditClear", &ControlWnd::EditClear},
        {"UntitledMenu0", &ControlWnd::UntitledMenu0},
        {"EditSelectAll", &ControlWnd::EditSelectAll},
    };
    for (const auto& [name, accessor] : cases) {
        EXPECT_EQ(&(w.*accessor)(), bar->Lookup(name).get()) << name;
    }
    EXPECT_EQ(&w.FileQuit(), bar->Lookup("FileQuit").get());
}

TEST(MainWindowMenus, AboutHandlerIsThereAndDeclines) {
    ControlWnd& w = ControlWnd::Instance();
    EXPECT_TRUE(w.HasMenuHandler("About"));
    EXPECT_FALSE(w.RunMenuHandler("About"));
}

}  // namespace

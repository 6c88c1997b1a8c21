// The program's one menu bar: its shortcuts after a menu has been shown, and a
// failed build.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "calculator/ControlWnd.h"
#include "menus/MenuBar1.h"
#include "tests/ui/ui_support.h"
#include "toolkit/controls_qt.h"
#include "toolkit/window_qt.h"

namespace {

// Opening a menu enables its commands by the focused control; closing it must
// enable them all again, or their shortcuts go dead once a menu has been seen.
TEST(MenuBar, ShortcutsWorkAfterEachMenuHasBeenOpenedAndClosed) {
    ControlWnd& w = ControlWnd::Instance();
    QWidget* top = uitest::TopLevelOf(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(top));
    std::string chosen;
    // clang-format off
    const std::pair<const char*, Qt::Key> kShortcuts[] = {{"EditUndo", Qt::Key_Z}, {"EditCut", Qt::Key_X},
        {"EditCopy", Qt::Key_C}, {"EditPaste", Qt::Key_V}, {"EditSelectAll", Qt::Key_A}};
    // clang-format on
    for (const auto& [name, key] : kShortcuts)
        w.AddMenuHandler(name, [&chosen, n = name] { return !(chosen = n).empty(); });
    for (QAction* menu : tk::WindowInternals::Impl(w).menuBarView->actions()) {
        menu->menu()->popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu->menu()));
        menu->menu()->close();
    }
    // With no text control focused, nothing claims the keys before the menu items.
    if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    for (const auto& [name, key] : kShortcuts) {
        chosen.clear();
        QTest::keyClick(top, key, Qt::ControlModifier);
        EXPECT_EQ(chosen, name);
    }
}

// Opened from the keyboard, the Edit menu acts on the field that had the focus
// before the menu bar took it, enabled by that field; closed, it gives the
// focus back, so the shortcuts act there at once.
TEST(MenuBar, EditMenuFromTheKeyboardActsOnTheFocusedField) {
    ControlWnd& w = ControlWnd::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowActive(uitest::TopLevelOf(w)));
    auto* field = static_cast<QLineEdit*>(uitest::WidgetOf(w.RxxFld()));
    const struct {
        const char *keys, *text, *clipboard;
    } kCases[] = {{"Alt+E, C", ".333", ".333"},
                  {"Alt+F, Right, C", ".333", ".333"},
                  {"Alt+E, Escape, Ctrl+C", ".333", ".333"},
                  {"Alt+E, T", "", ".333"},
                  {"Alt+E, Up, Up, Return", "", ""}};  // Clear, above Select All
    uitest::Settle();
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.keys);
        w.RxxFld().SetText(".333");
        w.RxxFld().SetFocus();
        field->selectAll();
        QGuiApplication::clipboard()->clear();
        std::vector<std::string> enabled;
        const QKeySequence keys(c.keys);
        for (int i = 0; i < keys.count(); ++i) {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu != nullptr && menu->title() == "&Edit" && enabled.empty()) {
                for (QAction* item : menu->actions())
                    if (item->isEnabled() && !item->isSeparator())
                        enabled.push_back(item->text().toStdString());
            }
            QWidget* to = menu != nullptr ? menu : QApplication::focusWidget();
            QTest::keyClick(to, keys[i].key(), keys[i].keyboardModifiers());
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(enabled, (std::vector<std::string>{"Cu&t", "&Copy", "Clear", "Select &All"}));
        EXPECT_EQ(w.RxxFld().Text(), c.text);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.clipboard);
        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
    // A click on another field closes the menu, and that field takes the keys.
    QTest::keyClick(field, Qt::Key_E, Qt::AltModifier);
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    QWidget* other = uitest::WidgetOf(w.RyyFld());
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->mapFromGlobal(other->mapToGlobal(QPoint(5, 5))));
    uitest::Settle();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(uitest::TopLevelOf(w)->focusWidget(), other);
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

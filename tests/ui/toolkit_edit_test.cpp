// The Edit menu's commands act on the focused text control, through the
// program's own menu bar; the offscreen platform keeps the clipboard in-process.
// The window is uitest::TestWnd: FirstFld is editable, LockedFld read-only.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <set>
#include <string>
#include <vector>

#include "menus/MenuBar1.h"
#include "tests/ui/ui_support.h"

namespace {

QLineEdit* Line(const tk::TextField& field) {
    return static_cast<QLineEdit*>(uitest::WidgetOf(field));
}
QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}
void SetClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

class EditCommands : public testing::Test {
  protected:
    void SetUp() override {
        bar_ = MenuBar1::Instance();
        w_ = &uitest::TestWnd::Instance();
        ASSERT_TRUE(QTest::qWaitForWindowActive(uitest::TopLevelOf(*w_)));
        SetClipboard("");
    }
    void Choose(const char* item) { bar_->Lookup(item)->Choose(); }
    // Gives `field` the text and the focus.
    void Focus(tk::TextField& field, const char* text) {
        field.SetText(text);
        field.SetFocus();
        ASSERT_TRUE(field.HasFocus());
    }

    std::shared_ptr<MenuBar1> bar_;
    uitest::TestWnd* w_ = nullptr;
};

TEST_F(EditCommands, EachCommandOnTheFocusedControl) {
    enum Target { kField, kLocked, kArea };
    const struct {
        Target target;
        const char* text;  // then the selection in a field; selLength 0: the cursor at selStart
        int selStart, selLength;
        const char* clipboard;
        std::vector<const char*> commands;
        const char *textAfter, *clipboardAfter;
    } cases[] = {
        {kField, "0.25", 0, 4, "", {"EditCopy"}, "0.25", "0.25"},
        {kField, "ab", 2, 0, "cd", {"EditPaste"}, "abcd", "cd"},
        {kField, "abc", 0, 1, "x", {"EditPaste"}, "xbc", "x"},
        {kField, "hello", 0, 2, "keep", {"EditClear"}, "llo", "keep"},
        {kField, "abc", 1, 0, "keep", {"EditClear"}, "abc", "keep"},
        {kField, "abc", 1, 0, "", {"EditSelectAll", "EditCut"}, "", "abc"},
        {kField, "abc", 1, 0, "", {"EditSelectAll", "EditCut", "EditUndo"}, "abc", "abc"},
        {kLocked, "fixed", 0, 5, "", {"EditCopy"}, "fixed", "fixed"},
        {kLocked, "fixed", 0, 5, "other", {"EditCut"}, "fixed", "other"},
        {kLocked, "fixed", 0, 5, "other", {"EditPaste"}, "fixed", "other"},
        {kLocked, "fixed", 0, 5, "other", {"EditClear"}, "fixed", "other"},
        {kArea, "one\rtwo", 0, 0, "", {"EditSelectAll", "EditCopy"}, "one\rtwo", "one\ntwo"},
        {kArea, "one\rtwo", 0, 0, "three", {"EditSelectAll", "EditPaste"}, "three", "three"},
    };
    for (const auto& c : cases) {
        std::string trace =
            std::string(c.target == kArea ? "area" : "field") + " \"" + c.text + '"';
        for (const char* command : c.commands) trace += std::string(" ") + command;
        SCOPED_TRACE(trace);
        tk::TextField& field = c.target == kLocked ? w_->LockedFld() : w_->FirstFld();
        if (c.target == kArea) {
            w_->NotesArea().SetText(c.text);
            w_->NotesArea().SetFocus();
        } else {
            Focus(field, c.text);
            if (c.selLength > 0)
                Line(field)->setSelection(c.selStart, c.selLength);
            else
                Line(field)->setCursorPosition(c.selStart);
        }
        SetClipboard(c.clipboard);
        for (const char* command : c.commands) Choose(command);
        EXPECT_EQ(c.target == kArea ? w_->NotesArea().Text() : field.Text(), c.textAfter);
        EXPECT_EQ(Clipboard(), c.clipboardAfter);
    }
}

TEST_F(EditCommands, EnablingFollowsSelectionClipboardAndReadOnly) {
    const struct {
        bool locked;
        const char *text, *typed;
        bool selectAll;
        const char* clipboard;
        std::set<std::string> enabled;
    } cases[] = {
        // clang-format off
        {false, "", "", false, "", {}},
        {false, "abc", "", false, "", {"EditSelectAll"}},
        {false, "abc", "", true, "x", {"EditCut", "EditCopy", "EditPaste", "EditClear", "EditSelectAll"}},
        {false, "", "7", false, "", {"EditUndo", "EditSelectAll"}},
        {true, "fixed", "", true, "x", {"EditCopy", "EditSelectAll"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        tk::TextField& field = c.locked ? w_->LockedFld() : w_->FirstFld();
        Focus(field, c.text);
        QTest::keyClicks(Line(field), c.typed);
        if (c.selectAll) Line(field)->selectAll();
        SetClipboard(c.clipboard);
        std::set<std::string> enabled;
        for (const char* item :
             {"EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear", "EditSelectAll"}) {
            if (bar_->Lookup(item)->IsEnabledNow()) enabled.insert(item);
        }
        EXPECT_EQ(enabled, c.enabled)
            << (c.locked ? "read-only " : "") << '"' << c.text << "\" typing \"" << c.typed
            << "\" selected " << c.selectAll << " clipboard \"" << c.clipboard << '"';
    }
}

TEST_F(EditCommands, ActiveWindowsHandlerTakesTheCommandFirst) {
    int handled = 0;
    w_->AddMenuHandler("EditCopy", [&handled] {
        ++handled;
        return true;
    });
    Focus(w_->FirstFld(), "abc");
    Choose("EditSelectAll");
    Choose("EditCopy");
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(Clipboard(), "");
}

}  // namespace

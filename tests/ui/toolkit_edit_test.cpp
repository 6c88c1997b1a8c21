// The Edit menu's commands act on the focused text control, through the
// program's own menu bar; the offscreen platform keeps the clipboard in-process.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <set>
#include <string>

#include "menus/MenuBar1.h"
#include "tests/ui/ui_support.h"
#include "toolkit/controls.h"
#include "toolkit/core/proplist.h"
#include "toolkit/window.h"
#include "windows/build_control.h"

namespace {

using tk::plist::Bool;
using tk::plist::Int;
using tk::plist::Row;

constexpr Row kWindowRows[] = {Int("Width", 300), Int("Height", 120), Bool("Visible", true)};
LAYOUT_LIST(kWindowList, kWindowRows);
constexpr Row kFieldRows[] = {Int("Left", 10), Int("Top", 10), Int("Width", 120),
                              Int("Height", 22)};
LAYOUT_LIST(kFieldList, kFieldRows);
constexpr Row kLockedRows[] = {Int("Left", 10), Int("Top", 40), Int("Width", 120),
                               Int("Height", 22), Bool("ReadOnly", true)};
LAYOUT_LIST(kLockedList, kLockedRows);
constexpr Row kAreaRows[] = {Int("Left", 140), Int("Top", 10), Int("Width", 150),
                             Int("Height", 80)};
LAYOUT_LIST(kAreaList, kAreaRows);

class EditWnd : public tk::Window {
  public:
    static EditWnd& Instance() { return tk::ImplicitInstance<EditWnd>("EditWnd.EditWnd"); }
    std::string_view FullClassName() const override { return "EditWnd.EditWnd"; }
    tk::TextField& Field() const { return tk::Cast<tk::TextField>(ControlByName("Field")); }
    tk::TextField& Locked() const { return tk::Cast<tk::TextField>(ControlByName("Locked")); }
    tk::TextArea& Area() const { return tk::Cast<tk::TextArea>(ControlByName("Area")); }

  protected:
    void Layout() override { tk::SetProperties(*this, kWindowList); }
    void CreateControls() override {
        windows::BuildControl<tk::TextField>(*this, "Field", kFieldList);
        windows::BuildControl<tk::TextField>(*this, "Locked", kLockedList);
        windows::BuildControl<tk::TextArea>(*this, "Area", kAreaList);
    }
};

QLineEdit* Line(const tk::TextField& field) {
    return static_cast<QLineEdit*>(uitest::WidgetOf(field));
}
QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}
void SetClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

const char* const kEditItems[] = {"EditUndo",  "EditCut",   "EditCopy",
                                  "EditPaste", "EditClear", "EditSelectAll"};

class EditCommands : public testing::Test {
  protected:
    void SetUp() override {
        bar_ = MenuBar1::Instance();
        w_ = &EditWnd::Instance();
        ASSERT_TRUE(QTest::qWaitForWindowActive(uitest::TopLevelOf(*w_)));
        SetClipboard("");
    }
    void Choose(const char* item) { bar_->Lookup(item)->Choose(); }
    // The Edit items the toolkit would enable now.
    std::set<std::string> Enabled() const {
        std::set<std::string> on;
        for (const char* item : kEditItems) {
            if (bar_->Lookup(item)->IsEnabledNow()) on.insert(item);
        }
        return on;
    }
    // Gives `field` the text and the focus.
    void Focus(tk::TextField& field, const char* text) {
        field.SetText(text);
        field.SetFocus();
        ASSERT_TRUE(field.HasFocus());
    }

    std::shared_ptr<MenuBar1> bar_;
    EditWnd* w_ = nullptr;
};

TEST_F(EditCommands, EachCommandOnTheFocusedField) {
    const struct {
        const char* item;
        bool readOnly;
        const char* text;
        int selStart, selLength;  // selLength 0: the cursor at selStart
        const char* clipboard;
        const char* textAfter;
        const char* clipboardAfter;
    } cases[] = {
        {"EditCopy", false, "0.25", 0, 4, "", "0.25", "0.25"},
        {"EditCut", false, "abc", 0, 3, "", "", "abc"},
        {"EditPaste", false, "ab", 2, 0, "cd", "abcd", "cd"},
        {"EditPaste", false, "abc", 0, 1, "x", "xbc", "x"},
        {"EditClear", false, "hello", 0, 2, "keep", "llo", "keep"},
        {"EditCopy", true, "fixed", 0, 5, "", "fixed", "fixed"},
        {"EditCut", true, "fixed", 0, 5, "other", "fixed", "other"},
        {"EditPaste", true, "fixed", 0, 5, "other", "fixed", "other"},
        {"EditClear", true, "fixed", 0, 5, "other", "fixed", "other"},
    };
    for (const auto& c : cases) {
        tk::TextField& field = c.readOnly ? w_->Locked() : w_->Field();
        Focus(field, c.text);
        if (c.selLength > 0)
            Line(field)->setSelection(c.selStart, c.selLength);
        else
            Line(field)->setCursorPosition(c.selStart);
        SetClipboard(c.clipboard);
        Choose(c.item);
        EXPECT_EQ(field.Text(), c.textAfter) << c.item << " on \"" << c.text << '"';
        EXPECT_EQ(Clipboard(), c.clipboardAfter) << c.item << " on \"" << c.text << '"';
    }
}

TEST_F(EditCommands, SelectAllThenCutThenUndo) {
    Focus(w_->Field(), "abc");
    Choose("EditSelectAll");
    EXPECT_EQ(Line(w_->Field())->selectedText(), "abc");
    Choose("EditCut");
    EXPECT_EQ(w_->Field().Text(), "");
    Choose("EditUndo");
    EXPECT_EQ(w_->Field().Text(), "abc");
}

TEST_F(EditCommands, TextAreaTakesTheCommandsToo) {
    w_->Area().SetText("one\rtwo");
    w_->Area().SetFocus();
    Choose("EditSelectAll");
    Choose("EditCopy");
    EXPECT_EQ(Clipboard(), "one\ntwo");
    SetClipboard("three");
    Choose("EditPaste");
    EXPECT_EQ(w_->Area().Text(), "three");
}

TEST_F(EditCommands, EnablingFollowsSelectionClipboardAndReadOnly) {
    const struct {
        const char* what;
        std::function<void()> setUp;
        std::set<std::string> enabled;
    } cases[] = {
        {"empty field, empty clipboard", [&] { Focus(w_->Field(), ""); }, {}},
        {"text, no selection", [&] { Focus(w_->Field(), "abc"); }, {"EditSelectAll"}},
        {"text selected, clipboard full",
         [&] {
             Focus(w_->Field(), "abc");
             Line(w_->Field())->selectAll();
             SetClipboard("x");
         },
         {"EditCut", "EditCopy", "EditPaste", "EditClear", "EditSelectAll"}},
        {"after typing",
         [&] {
             Focus(w_->Field(), "");
             QTest::keyClicks(Line(w_->Field()), "7");
         },
         {"EditUndo", "EditSelectAll"}},
        {"read-only, selected, clipboard full",
         [&] {
             Focus(w_->Locked(), "fixed");
             Line(w_->Locked())->selectAll();
             SetClipboard("x");
         },
         {"EditCopy", "EditSelectAll"}},
    };
    for (const auto& c : cases) {
        SetClipboard("");
        c.setUp();
        EXPECT_EQ(Enabled(), c.enabled) << c.what;
    }
}

TEST_F(EditCommands, ActiveWindowsHandlerTakesTheCommandFirst) {
    int handled = 0;
    w_->AddMenuHandler("EditCopy", [&handled] {
        ++handled;
        return true;
    });
    Focus(w_->Field(), "abc");
    Choose("EditSelectAll");
    Choose("EditCopy");
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(Clipboard(), "");
}

}  // namespace

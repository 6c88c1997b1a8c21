// The help window on the offscreen platform: one window while it is open,
// edits that live only in it, and the stored text in every new one.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "resources/help_text.h"
#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/picture.h"
#include "toolkit/qt_widgets.h"
#include "windows/helpWnd.h"

namespace {

using resources::kHelpText;
using uitest::TopLevelOf;
using uitest::WidgetOf;

helpWnd* OpenHelpWindow() {
    tk::Window* window = tk::Window::GetImplicitWindow("helpWnd.helpWnd");
    return window == nullptr ? nullptr : &tk::Cast<helpWnd>(window);
}

int HelpWindowsOpen() {
    const auto windows = tk::Window::OpenWindows();
    return static_cast<int>(std::count_if(windows.begin(), windows.end(), [](tk::Window* w) {
        return dynamic_cast<helpWnd*>(w) != nullptr;
    }));
}

QPlainTextEdit* EditorOf(const helpWnd& help) {
    return static_cast<QPlainTextEdit*>(WidgetOf(help.EditField1()));
}

class HelpWindow : public testing::Test {
  protected:
    void SetUp() override {
        tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
        main_ = &ControlWnd::Instance();
    }

    ControlWnd& Main() const { return *main_; }

    // Clicks the Help picture; returns the help window then open.
    helpWnd& ClickHelp() const {
        uitest::Click(Main().HelpCanvas());
        helpWnd* help = OpenHelpWindow();
        if (help == nullptr) throw std::runtime_error("the Help picture opened no window");
        return *help;
    }

  private:
    ControlWnd* main_ = nullptr;
};

TEST_F(HelpWindow, ShowsTheStoredTextInAScrollingEditableArea) {
    helpWnd& help = ClickHelp();
    auto* top = static_cast<tk::TopLevelWidget*>(TopLevelOf(help));
    EXPECT_TRUE(help.IsShown());
    EXPECT_EQ(top->windowTitle(), "Mirrowin Info");
    EXPECT_EQ(top->Content()->size(), QSize(550, 500));
    EXPECT_EQ(top->Content()->minimumSize(), QSize(550, 500));
    EXPECT_EQ(top->Content()->maximumSize(), QSize(550, 500));
    EXPECT_EQ(help.Controls().size(), 1u);

    const QPlainTextEdit* editor = EditorOf(help);
    EXPECT_EQ(editor->geometry(), QRect(-1, -1, 551, 498));
    EXPECT_EQ(editor->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(editor->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(editor->font().pixelSize(), 12);
    EXPECT_FALSE(editor->isReadOnly());
    // The text is long enough to scroll.
    EXPECT_GT(editor->verticalScrollBar()->maximum(), 0);

    EXPECT_EQ(help.EditField1().Text(), kHelpText);
    // The widget keeps its own line breaks: one for each stored CR.
    const QString shown = editor->toPlainText();
    EXPECT_FALSE(shown.contains('\r'));
    EXPECT_EQ(shown.count('\n'), std::count(kHelpText.begin(), kHelpText.end(), '\r'));
}

TEST_F(HelpWindow, OneWindowWhileItIsOpenWithItsEditsKept) {
    helpWnd& help = ClickHelp();
    EditorOf(help)->moveCursor(QTextCursor::Start);
    QTest::keyClicks(EditorOf(help), "Note. ");
    const std::string edited = help.EditField1().Text();
    ASSERT_EQ(edited, "Note. " + std::string(kHelpText));

    EXPECT_EQ(&ClickHelp(), &help);
    TopLevelOf(help)->showMinimized();
    ASSERT_TRUE(TopLevelOf(help)->isMinimized());
    EXPECT_EQ(&ClickHelp(), &help);
    EXPECT_TRUE(help.IsShown());
    EXPECT_FALSE(TopLevelOf(help)->isMinimized());

    EXPECT_EQ(HelpWindowsOpen(), 1);
    EXPECT_EQ(help.EditField1().Text(), edited);
}

TEST_F(HelpWindow, AfterClosingANewWindowHasTheStoredText) {
    Main().RxxFld().SetText(".5");
    Main().RyyFld().SetText(".3");
    Main().RxyFld().SetText(".4");
    uitest::Click(Main().ComputeCanvas());
    ASSERT_EQ(Main().RdFld().Text(), ".4346");

    helpWnd& first = ClickHelp();
    EditorOf(first)->selectAll();
    QTest::keyClicks(EditorOf(first), "gone");
    first.Close();
    uitest::Settle();
    EXPECT_EQ(OpenHelpWindow(), nullptr);

    // The main window is as it was, and the run goes on.
    EXPECT_FALSE(tk::QuitRequested());
    EXPECT_EQ(tk::Window::OpenWindows(), std::vector<tk::Window*>{&Main()});
    EXPECT_TRUE(Main().IsShown());
    EXPECT_EQ(Main().RxxFld().Text(), ".5");
    EXPECT_EQ(Main().RyyFld().Text(), ".3");
    EXPECT_EQ(Main().RxyFld().Text(), ".4");
    EXPECT_TRUE(Main().RdFld().Visible());
    EXPECT_EQ(Main().RdFld().Text(), ".4346");

    helpWnd& second = ClickHelp();
    EXPECT_TRUE(second.IsShown());
    EXPECT_EQ(second.EditField1().Text(), kHelpText);
    EXPECT_EQ(HelpWindowsOpen(), 1);
}

TEST_F(HelpWindow, TabInsertsNoTabCharacter) {
    helpWnd& help = ClickHelp();
    ASSERT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(help)));
    EditorOf(help)->setFocus();
    ASSERT_TRUE(EditorOf(help)->hasFocus());
    EditorOf(help)->moveCursor(QTextCursor::Start);
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        QTest::keyClick(EditorOf(help), key);
        EXPECT_EQ(help.EditField1().Text(), kHelpText) << "after key " << key;
    }
}

}  // namespace

// The help window on the offscreen platform: one window while it is open,
// edits that live only in it, and the stored text in every new one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "resources/help_text.h"
#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/controls_qt.h"
#include "toolkit/picture.h"
#include "toolkit/runtime.h"
#include "toolkit/window_qt.h"
#include "windows/helpWnd.h"

namespace {

using resources::kHelpText;
using uitest::TopLevelOf;

QPlainTextEdit* EditorOf(const helpWnd& help) {
    return static_cast<QPlainTextEdit*>(uitest::WidgetOf(help.EditField1()));
}

class HelpWindow : public testing::Test {
  protected:
    void SetUp() override {
        tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
        main_ = &ControlWnd::Instance();
    }

    ControlWnd& Main() const { return *main_; }

    // Clicks the Help picture; returns the help window then open, the one
    // help window.
    helpWnd& ClickHelp() const {
        uitest::Click(Main().HelpCanvas());
        auto* help = uitest::OpenWindow<helpWnd>("helpWnd.helpWnd");
        if (help == nullptr) throw std::runtime_error("the Help picture opened no window");
        EXPECT_TRUE(help->IsShown());
        EXPECT_EQ(uitest::CountOpen<helpWnd>(), 1);
        return *help;
    }

  private:
    ControlWnd* main_ = nullptr;
};

// The stored text, edits that live while the window is open, Tab typing nothing,
// one window while it is open (also minimised), and a new one after closing.
TEST_F(HelpWindow, OneWindowWhileOpenWithItsEditsThenANewOneWithTheStoredText) {
    helpWnd& help = ClickHelp();
    EXPECT_EQ(help.EditField1().Text(), kHelpText);
    ASSERT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(help)));
    EditorOf(help)->setFocus();
    EditorOf(help)->moveCursor(QTextCursor::Start);
    QTest::keyClicks(EditorOf(help), "Note. ");
    QTest::keyClick(EditorOf(help), Qt::Key_Tab);  // tabs are off in the area
    QTest::keyClick(EditorOf(help), Qt::Key_Backtab);
    const std::string edited = "Note. " + std::string(kHelpText);
    ASSERT_EQ(help.EditField1().Text(), edited);
    // A line with no break opportunity wraps anywhere, as long as it is there.
    EXPECT_EQ(EditorOf(help)->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QString digits = QString("0123456789").repeated(2000);
    QApplication::clipboard()->setText(digits);
    QTest::keyClick(EditorOf(help), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(EditorOf(help)->toPlainText().count(digits), 1);
    QTest::keyClick(EditorOf(help), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(EditorOf(help), Qt::Key_Backspace);  // in another paragraph
    EXPECT_EQ(EditorOf(help)->wordWrapMode(), QTextOption::WrapAnywhere);
    QTest::keyClick(EditorOf(help), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(EditorOf(help), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(help.EditField1().Text(), edited);
    EXPECT_EQ(EditorOf(help)->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);

    EXPECT_EQ(&ClickHelp(), &help);
    TopLevelOf(help)->showMinimized();
    ASSERT_TRUE(TopLevelOf(help)->isMinimized());
    EXPECT_EQ(&ClickHelp(), &help);
    EXPECT_FALSE(TopLevelOf(help)->isMinimized());
    EXPECT_EQ(help.EditField1().Text(), edited);

    help.Close();
    uitest::Settle();
    EXPECT_EQ(uitest::OpenWindow("helpWnd.helpWnd"), nullptr);
    EXPECT_FALSE(tk::QuitRequested());  // the run goes on
    EXPECT_EQ(tk::OpenWindows(), std::vector<tk::Window*>{&Main()});
    EXPECT_TRUE(Main().IsShown());
    EXPECT_EQ(ClickHelp().EditField1().Text(), kHelpText);
}

}  // namespace

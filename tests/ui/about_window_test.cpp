// The About window on the offscreen platform: how it is built, and how a key
// press, a click, its close button or its timer hands over to the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "tests/ui/ui_support.h"
#include "toolkit/controls_qt.h"
#include "toolkit/picture.h"
#include "toolkit/window_qt.h"
#include "windows/AboutWnd.h"

namespace {

using uitest::TopLevelOf;
using uitest::WidgetOf;

ControlWnd* OpenMainWindow() {
    return uitest::OpenWindow<ControlWnd>("ControlWnd.ControlWnd");
}

class AboutWindow : public testing::Test {
  protected:
    void SetUp() override {
        tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
        about_ = &AboutWnd::Instance();
    }

    AboutWnd& About() const { return *about_; }
    tk::TopLevelWidget* Top() const {
        return static_cast<tk::TopLevelWidget*>(TopLevelOf(About()));
    }

    // The About window is hidden and `main` (any, when null) is the one main
    // window, shown.
    void ExpectHandedOverTo(const ControlWnd* main) const {
        const auto* about = uitest::OpenWindow<AboutWnd>("AboutWnd.AboutWnd");
        ASSERT_NE(about, nullptr);
        EXPECT_FALSE(about->IsShown());
        ASSERT_NE(OpenMainWindow(), nullptr);
        EXPECT_TRUE(OpenMainWindow()->IsShown());
        EXPECT_EQ(uitest::CountOpen<ControlWnd>(), 1);
        if (main != nullptr) {
            EXPECT_EQ(OpenMainWindow(), main);
        }
    }

  private:
    AboutWnd* about_ = nullptr;
};

// --- Building ------------------------------------------------------------------------

TEST_F(AboutWindow, ShowsAloneResizeableWithItsTimerArmed) {
    EXPECT_TRUE(About().IsShown());
    EXPECT_EQ(tk::OpenWindows(), std::vector<tk::Window*>{&About()});
    // It can be resized, so it keeps its maximise button.
    EXPECT_TRUE(Top()->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(About().Timer1().IsArmed());
    EXPECT_EQ(About().Timer1().Period(), 4000);  // it shows for four seconds
    EXPECT_EQ(tk::Cast<AboutWnd::_wrapper_Timer1>(&About().Timer1()).Window(), &About());
}

// --- Handing over --------------------------------------------------------------------

TEST_F(AboutWindow, AKeyOrAClickHandsOverAtOnceAModifierAloneDoesNot) {
    for (const Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta}) {
        QTest::keyClick(Top(), key);
        EXPECT_TRUE(About().IsShown()) << key;
        EXPECT_EQ(OpenMainWindow(), nullptr) << key;
    }

    struct Act {
        std::string what;
        std::function<void(AboutWnd&)> act;
    };
    std::vector<Act> acts = {
        {"a click on the picture", [](AboutWnd& a) { uitest::Click(a.Canvas1()); }},
        {"a click beside them",
         [](AboutWnd& a) {
             auto* top = static_cast<tk::TopLevelWidget*>(TopLevelOf(a));
             QTest::mouseClick(top->Content(), Qt::LeftButton, Qt::NoModifier, QPoint(490, 190));
         }},
    };
    // Keys that type text, and keys that type nothing.
    for (const Qt::Key key :
         {Qt::Key_A, Qt::Key_Escape, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
          Qt::Key_F1, Qt::Key_F10, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown,
          Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Menu}) {
        acts.push_back({QKeySequence(key).toString().toStdString(),
                        [key](AboutWnd& a) { QTest::keyClick(TopLevelOf(a), key); }});
    }
    for (const auto& act : acts) {
        SCOPED_TRACE(act.what);
        uitest::DestroyAllWindows();
        AboutWnd& about = AboutWnd::Instance();
        ASSERT_EQ(OpenMainWindow(), nullptr);
        act.act(about);
        ExpectHandedOverTo(nullptr);
        // Once more, to the hidden window: still the one main window.
        ControlWnd* main = OpenMainWindow();
        act.act(about);
        ExpectHandedOverTo(main);
    }
}

// The About window is never closed. Its close button hands over the first
// time, then only hides it; the logo shows the same window again.
TEST_F(AboutWindow, ItsCloseButtonHandsOverThenHides) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        if (round > 0) {
            uitest::Click(OpenMainWindow()->Canvas2());
            ASSERT_TRUE(About().IsShown());
        }
        EXPECT_FALSE(Top()->close());
        uitest::Settle();
        EXPECT_EQ(uitest::OpenWindow<AboutWnd>("AboutWnd.AboutWnd"), &About());
        ExpectHandedOverTo(nullptr);
    }
    EXPECT_TRUE(About().Timer1().IsArmed());
}

// Once a key has handed over, the timer changes no window when it fires: the
// About window shown again from the logo stays, a minimised main window stays
// so, and the focus stays where it is.
TEST_F(AboutWindow, AfterAKeyTheTimerChangesNothing) {
    for (const bool logo : {false, true}) {
        SCOPED_TRACE(logo ? "shown again from the logo" : "the main window minimised");
        uitest::DestroyAllWindows();
        AboutWnd& about = AboutWnd::Instance();
        QTest::keyClick(TopLevelOf(about), Qt::Key_Space);
        ControlWnd* main = OpenMainWindow();
        ASSERT_NE(main, nullptr);
        if (logo)
            uitest::Click(main->Canvas2());
        else
            TopLevelOf(*main)->showMinimized();
        uitest::Settle();
        QWidget* const active = QApplication::activeWindow();
        tk::FireTimer(about.Timer1());
        uitest::Settle();
        EXPECT_EQ(about.IsShown(), logo);
        EXPECT_EQ(TopLevelOf(*main)->isMinimized(), !logo);
        EXPECT_EQ(QApplication::activeWindow(), active);
        EXPECT_EQ(uitest::CountOpen<ControlWnd>(), 1);
    }
}

TEST_F(AboutWindow, OnceTheTimerHasFiredTheWindowFromTheLogoStays) {
    // The timer, shortened, fires through the event loop as it would at 4 s.
    About().Timer1().SetPeriod(20);
    ASSERT_TRUE(QTest::qWaitFor([] { return OpenMainWindow() != nullptr; }, 10000));
    ExpectHandedOverTo(nullptr);
    EXPECT_FALSE(About().Timer1().IsArmed());

    uitest::Click(OpenMainWindow()->Canvas2());
    uitest::Settle();
    EXPECT_TRUE(About().IsShown());
    EXPECT_FALSE(About().Timer1().IsArmed());

    uitest::Click(About().Canvas1());
    ExpectHandedOverTo(nullptr);
}

}  // namespace

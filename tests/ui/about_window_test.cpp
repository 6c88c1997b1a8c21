// The About window on the offscreen platform: how it is built, and how a key
// press, a click or its timer hands over to the main window.
#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "resources/layouts.h"
#include "tests/ui/ui_support.h"
#include "toolkit/picture.h"
#include "toolkit/qt_widgets.h"
#include "windows/AboutWnd.h"

namespace {

using uitest::TopLevelOf;
using uitest::WidgetOf;

ControlWnd* OpenMainWindow() {
    tk::Window* window = tk::Window::GetImplicitWindow("ControlWnd.ControlWnd");
    return window == nullptr ? nullptr : &tk::Cast<ControlWnd>(window);
}

int MainWindowsOpen() {
    int count = 0;
    for (tk::Window* window : tk::Window::OpenWindows()) {
        if (dynamic_cast<ControlWnd*>(window) != nullptr) ++count;
    }
    return count;
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

    // The main window is up and the About window hidden; one main window in all.
    void ExpectHandedOver() const {
        EXPECT_FALSE(About().IsShown());
        ASSERT_NE(OpenMainWindow(), nullptr);
        EXPECT_TRUE(OpenMainWindow()->IsShown());
        EXPECT_EQ(MainWindowsOpen(), 1);
    }

  private:
    AboutWnd* about_ = nullptr;
};

// --- Building ------------------------------------------------------------------------

TEST_F(AboutWindow, IsTheOnlyWindowShownWithNoTitle) {
    EXPECT_TRUE(About().IsShown());
    EXPECT_EQ(tk::Window::OpenWindows(), std::vector<tk::Window*>{&About()});
    EXPECT_EQ(Top()->windowTitle(), "");
    EXPECT_EQ(Top()->Content()->size(), QSize(500, 200));
    EXPECT_EQ(Top()->Layout()->menuBar(), nullptr);
    // It can be resized, down to 64 by 64.
    EXPECT_TRUE(Top()->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(Top()->Content()->minimumSize(), QSize(64, 64));
    EXPECT_EQ(Top()->Content()->maximumSize(), QSize(32000, 32000));

    std::vector<std::string> names;
    for (tk::Object* control : About().Controls()) {
        if (auto* rect = dynamic_cast<tk::RectControl*>(control))
            names.push_back(rect->Name());
        else
            names.push_back(control->ClassName());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"StaticText2", "Canvas1", "AboutWnd._wrapper_Timer1",
                                               "Label1"}));
}

TEST_F(AboutWindow, ShowsThePictureTheNameAndTheNotice) {
    const QRect picture = WidgetOf(About().Canvas1())->geometry();
    EXPECT_EQ(picture, QRect(20, 36, 147, 128));
    ASSERT_NE(About().Canvas1().Backdrop(), nullptr);
    EXPECT_EQ(About().Canvas1().Backdrop()->Width(), 147);
    EXPECT_EQ(About().Canvas1().Backdrop()->Height(), 128);

    const struct {
        const tk::Label& label;
        std::string text;
        QRect box;
        bool bold;
        int pixels;
    } kLabels[] = {
        {About().Label1(), "Tamsavik", QRect(179, 36, 287, 63), true, 34},
        {About().StaticText2(), std::string(resources::kAuthorshipNotice), QRect(179, 111, 279, 15),
         false, 10},
    };
    for (const auto& l : kLabels) {
        SCOPED_TRACE(l.label.Name());
        const auto* widget = static_cast<const QLabel*>(WidgetOf(l.label));
        EXPECT_EQ(l.label.Text(), l.text);
        EXPECT_TRUE(l.label.Visible());
        EXPECT_EQ(widget->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(widget->font().bold(), l.bold);
        EXPECT_EQ(widget->font().pixelSize(), l.pixels);
        EXPECT_EQ(widget->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
        // Both texts fit their boxes, which keep the size they were given.
        EXPECT_EQ(widget->geometry(), l.box);
    }
}

TEST_F(AboutWindow, ItsTimerIsArmedOnceForFourSeconds) {
    tk::Timer& timer = About().Timer1();
    EXPECT_EQ(timer.Period(), 4000);
    EXPECT_EQ(timer.RunMode(), 1);
    EXPECT_TRUE(timer.IsArmed());
    auto& wrapper = tk::Cast<AboutWnd::_wrapper_Timer1>(&timer);
    EXPECT_EQ(wrapper.Window(), &About());
}

// --- Handing over --------------------------------------------------------------------

TEST_F(AboutWindow, AKeyOrAClickHandsOverAtOnce) {
    const struct {
        const char* what;
        std::function<void(AboutWnd&)> act;
    } kActs[] = {
        {"a letter", [](AboutWnd& a) { QTest::keyClick(TopLevelOf(a), Qt::Key_A); }},
        {"Return", [](AboutWnd& a) { QTest::keyClick(TopLevelOf(a), Qt::Key_Return); }},
        {"Escape", [](AboutWnd& a) { QTest::keyClick(TopLevelOf(a), Qt::Key_Escape); }},
        {"a click on the picture", [](AboutWnd& a) { uitest::Click(a.Canvas1()); }},
        {"a click on the name", [](AboutWnd& a) { uitest::Click(a.Label1()); }},
        {"a click on the notice", [](AboutWnd& a) { uitest::Click(a.StaticText2()); }},
        {"a click beside them",
         [](AboutWnd& a) {
             auto* top = static_cast<tk::TopLevelWidget*>(TopLevelOf(a));
             QTest::mouseClick(top->Content(), Qt::LeftButton, Qt::NoModifier, QPoint(490, 190));
         }},
    };
    for (const auto& act : kActs) {
        SCOPED_TRACE(act.what);
        uitest::DestroyAllWindows();
        AboutWnd& about = AboutWnd::Instance();
        ASSERT_EQ(OpenMainWindow(), nullptr);
        act.act(about);
        EXPECT_FALSE(about.IsShown());
        ASSERT_NE(OpenMainWindow(), nullptr);
        EXPECT_TRUE(OpenMainWindow()->IsShown());
        // Once more, to the hidden window: still the one main window.
        ControlWnd* main = OpenMainWindow();
        act.act(about);
        EXPECT_EQ(OpenMainWindow(), main);
        EXPECT_EQ(MainWindowsOpen(), 1);
    }
}

TEST_F(AboutWindow, AModifierAloneRaisesNothing) {
    for (const Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta}) {
        SCOPED_TRACE(static_cast<int>(key));
        QTest::keyClick(Top(), key);
        EXPECT_TRUE(About().IsShown());
        EXPECT_EQ(OpenMainWindow(), nullptr);
    }
}

TEST_F(AboutWindow, TheTimerAfterAKeyBuildsNoSecondMainWindow) {
    QTest::keyClick(Top(), Qt::Key_Space);
    ControlWnd* main = OpenMainWindow();
    ASSERT_NE(main, nullptr);
    // The hand-over leaves the timer running.
    EXPECT_TRUE(About().Timer1().IsArmed());
    About().Timer1().Fire();
    ExpectHandedOver();
    EXPECT_EQ(OpenMainWindow(), main);
}

TEST_F(AboutWindow, TheTimerHidesTheWindowShownAgainFromTheLogo) {
    QTest::keyClick(Top(), Qt::Key_Space);
    ASSERT_NE(OpenMainWindow(), nullptr);
    ControlWnd& main = *OpenMainWindow();
    uitest::Click(main.Canvas2());
    // The logo shows the same About window, not a new one.
    ASSERT_EQ(&AboutWnd::Instance(), &About());
    ASSERT_TRUE(About().IsShown());
    About().Timer1().Fire();
    ExpectHandedOver();
    EXPECT_EQ(OpenMainWindow(), &main);
}

TEST_F(AboutWindow, OnceTheTimerHasFiredTheWindowFromTheLogoStays) {
    // The timer, shortened, fires through the event loop as it would at 4 s.
    About().Timer1().SetPeriod(20);
    ASSERT_TRUE(QTest::qWaitFor([] { return OpenMainWindow() != nullptr; }, 10000));
    ExpectHandedOver();
    EXPECT_FALSE(About().Timer1().IsArmed());
    EXPECT_EQ(About().Timer1().RunMode(), 0);

    uitest::Click(OpenMainWindow()->Canvas2());
    uitest::Settle();
    EXPECT_TRUE(About().IsShown());
    EXPECT_FALSE(About().Timer1().IsArmed());

    uitest::Click(About().Canvas1());
    ExpectHandedOver();
}

// --- The timer's place on the window ---------------------------------------------------

class ProbeWindow : public tk::Window {
  public:
    std::string_view FullClassName() const override { return "Probe.ProbeWindow"; }
};

TEST(AboutTimerWrapper, KnowsItsWindowOnlyWhileTheWindowLives) {
    auto probe = std::make_unique<ProbeWindow>();
    AboutWnd::_wrapper_Timer1 wrapper(*probe);
    EXPECT_EQ(wrapper.Window(), nullptr);
    wrapper.SetWindow(probe.get());
    EXPECT_EQ(wrapper.Window(), probe.get());
    probe.reset();
    EXPECT_EQ(wrapper.Window(), nullptr);
    wrapper.SetWindow(nullptr);
    EXPECT_EQ(wrapper.Window(), nullptr);
}

TEST(AboutTimerWrapper, KeepsItsIndex) {
    ProbeWindow probe;
    AboutWnd::_wrapper_Timer1 wrapper(probe);
    EXPECT_EQ(wrapper.GetIndex(), 0);
    for (const std::int64_t index :
         {std::int64_t{7}, std::int64_t{-2147483648LL}, std::int64_t{0}}) {
        wrapper.SetIndex(index);
        EXPECT_EQ(wrapper.GetIndex(), index);
        EXPECT_EQ(wrapper.Index, index);
    }
}

}  // namespace

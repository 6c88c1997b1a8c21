// Windows built from layout lists: what each property does to its widget, the
// character limit, the one open window per class, timers and weak references,
// the user-interface thread check, and the modal message box. The window is
// uitest::TestWnd. (The tab order is the end-to-end suite's.)
#include <gtest/gtest.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/build_control.h"
#include "toolkit/core/proplist.h"
#include "toolkit/dialogs.h"
#include "toolkit/menu.h"
#include "toolkit/properties.h"
#include "toolkit/window_qt.h"

namespace {

using tk::plist::Bool;
using tk::plist::Int;
using tk::plist::Row;
using tk::plist::Text;
using uitest::TestWnd;

// Lists applied on their own to a control of a built window.
constexpr Row kTransparentTwiceRows[] = {Bool("Transparent", false), Bool("Transparent", true)};
LAYOUT_LIST(kTransparentTwiceList, kTransparentTwiceRows);
constexpr Row kPeriodRows[] = {Int("Period", 100)};
LAYOUT_LIST(kPeriodList, kPeriodRows);
constexpr Row kValueRows[] = {Text("Value", "x")};
LAYOUT_LIST(kValueList, kValueRows);
constexpr Row kDisabledRows[] = {Bool("Enabled", false)};
LAYOUT_LIST(kDisabledList, kDisabledRows);
constexpr Row kEnabledRows[] = {Bool("Enabled", true)};
LAYOUT_LIST(kEnabledList, kEnabledRows);
constexpr Row kLeftRows[] = {Int("Left", 5)};
LAYOUT_LIST(kLeftList, kLeftRows);
constexpr Row kLineHeightRows[] = {Int("LineHeight", 0)};  // no effect, and only on text areas
LAYOUT_LIST(kLineHeightList, kLineHeightRows);
constexpr Row kMoveAndRenameRows[] = {Int("Left", 77), Text("Value", "changed")};
LAYOUT_LIST(kMoveAndRenameList, kMoveAndRenameRows);

// A window whose build fails half-way: its label is made, then the window's
// own list names a property no window carries.
class HalfBuiltWnd : public tk::Window {
  public:
    std::string_view FullClassName() const override { return "HalfBuiltWnd.HalfBuiltWnd"; }

  protected:
    void CreateControls() override {
        tk::BuildControl<tk::Label>(*this, "Made", kMoveAndRenameList);
        tk::SetProperties(*this, kPeriodList);
    }
};

// A window of the screen's size less `spare` pixels each way.
template <int spare>
class ScreenSizedWnd : public tk::Window {
  public:
    std::string_view FullClassName() const override { return "ScreenSizedWnd.ScreenSizedWnd"; }

  protected:
    void Layout() override {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        SetProperty({"Width", std::int64_t{area.width() - spare}});
        SetProperty({"Height", std::int64_t{area.height() - spare}});
        SetProperty({"Resizeable", false});
    }
};

QWidget* W(const tk::RectControl& control) {
    return uitest::WidgetOf(control);
}

// --- What the lists show ---------------------------------------------------------------

TEST(LayoutList, EachPropertyShowsOnItsWidget) {
    TestWnd& w = TestWnd::Instance();
    const QWidget* top = uitest::TopLevelOf(w);
    EXPECT_TRUE(w.IsShown());
    EXPECT_EQ(top->size(), QSize(320, 200));
    EXPECT_EQ(top->minimumSize(), top->maximumSize());

    // A fixed-size window gets no maximise button, though its list asks for one.
    EXPECT_FALSE(top->windowFlags() & Qt::WindowMaximizeButtonHint);
    const tk::Label& title = w.TitleLbl();
    EXPECT_EQ(QRect(title.Left(), title.Top(), title.Width(), title.Height()),
              QRect(10, 12, 140, 20));
    // Centred, so its widget spills a quarter of its width each side, though
    // its list gives the alignment after the box.
    EXPECT_EQ(W(w.TitleLbl())->geometry(), QRect(-25, 12, 210, 20));
    // Colours are stored as little-endian 0xAARRGGBB with alpha 0 meaning opaque;
    // opaque ones show in the reference images.
    EXPECT_EQ(W(w.NotesArea())->palette().color(QPalette::Active, QPalette::Text).rgba(),
              QColor(0xff, 0, 0, 0x7f).rgba());
}

TEST(LayoutList, CharacterLimitBoundsTypingButNotTheProgramsText) {
    TestWnd& w = TestWnd::Instance();
    auto* field = static_cast<QLineEdit*>(W(w.LimitFld()));
    // The limit holds from the list on, before any text has been set or typed:
    // a paste past it is refused whole.
    QGuiApplication::clipboard()->setText("abcdefg");
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.LimitFld().Text(), "");
    // The Paste of the field's own menu pastes as Ctrl+V does.
    QGuiApplication::clipboard()->setText(" abcdef\n");
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                field->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field, &menuEvent);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QLineEdit::tr("&Paste"))) action->trigger();
    }
    menu->close();
    EXPECT_EQ(w.LimitFld().Text(), "abcdef");
    field->clear();
    QTest::keyClicks(field, "1234567");
    EXPECT_EQ(w.LimitFld().Text(), "123456");

    w.LimitFld().SetText("12345678");
    EXPECT_EQ(w.LimitFld().Text(), "12345678");
    QTest::keyClicks(field, "9");
    EXPECT_EQ(w.LimitFld().Text(), "12345678");

    // Once the user has deleted the program's longer text, the limit holds again.
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    ASSERT_EQ(w.LimitFld().Text(), "");
    QTest::keyClicks(field, "abcdefg");
    EXPECT_EQ(w.LimitFld().Text(), "abcdef");
}

// The colour the window shows at a point of the canvas that its 16x16 picture
// does not cover; the canvas's own background is green.
QRgb CanvasBackground(const TestWnd& w) {
    QWidget* canvas = W(w.PictureCanvas());
    QPalette palette = canvas->palette();
    palette.setColor(QPalette::Window, Qt::green);
    canvas->setPalette(palette);
    const QImage shot = uitest::TopLevelOf(w)->grab().toImage();
    return shot.pixel(canvas->mapTo(uitest::TopLevelOf(w), QPoint(24, 24)));
}

// A disabled text field or text area looks disabled and takes no focus and no
// typing, until it is enabled again.
TEST(LayoutList, DisabledTextControlsTakeNothing) {
    TestWnd& w = TestWnd::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowActive(uitest::TopLevelOf(w)));
    for (tk::RectControl* control : {static_cast<tk::RectControl*>(&w.LimitFld()),
                                     static_cast<tk::RectControl*>(&w.NotesArea())}) {
        w.FirstFld().SetFocus();
        const QImage enabled = W(*control)->grab().toImage();
        tk::SetProperties(*control, kDisabledList);
        EXPECT_NE(W(*control)->grab().toImage(), enabled);
        uitest::Click(*control);
        control->SetFocus();
        QTest::keyClicks(W(*control), "12");
        EXPECT_FALSE(control->HasFocus());
        EXPECT_EQ(w.LimitFld().Text() + w.NotesArea().Text(), "one\rtwo");
        tk::SetProperties(*control, kEnabledList);
        uitest::Click(*control);
        EXPECT_TRUE(control->HasFocus());
    }
    uitest::DestroyAllWindows();
}

TEST(LayoutList, CanvasKeepsThePictureSetBeforeItsListAndTheLastTransparent) {
    TestWnd& w = TestWnd::Instance();
    EXPECT_EQ(w.PictureCanvas().Backdrop(), uitest::TestPicture());
    // Its list said Transparent true, then false: it paints its background.
    EXPECT_EQ(CanvasBackground(w), QColor(Qt::green).rgb());
    tk::SetProperties(w.PictureCanvas(), kTransparentTwiceList);  // false, then true
    EXPECT_NE(CanvasBackground(w), QColor(Qt::green).rgb());
}

TEST(LayoutList, NamesTheClassDoesNotCarryAndUndecodableListsRaise) {
    TestWnd& w = TestWnd::Instance();
    const struct {
        const char* what;
        tk::Object* target;
        std::span<const std::uint8_t> list;
    } cases[] = {
        {"Period on a label", &w.TitleLbl(), kPeriodList},
        {"Period on a text field", &w.LimitFld(), kPeriodList},
        {"Value on a canvas", &w.PictureCanvas(), kValueList},
        {"Period on a window", &w, kPeriodList},
        {"Left on a timer", &w.Timer1(), kLeftList},
        {"LineHeight on a text field", &w.LimitFld(), kLineHeightList},
        {"LineHeight on a canvas", &w.PictureCanvas(), kLineHeightList},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(tk::SetProperties(*c.target, c.list), tk::PropertyException) << c.what;
    }

    // A list that fails to decode at its end sets none of its good entries.
    std::vector<std::uint8_t> broken(kMoveAndRenameList.begin(), kMoveAndRenameList.end());
    for (char c : std::string_view("Top \x01\x02\x03"))
        broken.push_back(static_cast<std::uint8_t>(c));
    EXPECT_THROW(tk::SetProperties(w.TitleLbl(), broken), tk::PropertyException);
    EXPECT_EQ(w.TitleLbl().Left(), 10);
    EXPECT_EQ(w.TitleLbl().Text(), "Result");
}

// --- One open window per class, timers ---------------------------------------------------

TEST(WindowInstance, OneWindowUntilClosedThenANewOne) {
    const int builds = TestWnd::builds;
    const int closes = TestWnd::closes;
    TestWnd& first = TestWnd::Instance();
    EXPECT_EQ(&TestWnd::Instance(), &first);
    EXPECT_EQ(TestWnd::builds, builds + 1);

    // Weak references see the window and its controls go.
    tk::WeakRef<tk::Window> window(&first);
    tk::WeakRef<tk::Timer> timer(&first.Timer1());
    EXPECT_EQ(timer.Value(), &first.Timer1());
    first.Close();
    EXPECT_EQ(TestWnd::closes, closes + 1);
    EXPECT_EQ(tk::Window::GetImplicitWindow("TestWnd.TestWnd"), nullptr);
    EXPECT_NE(window.Value(), nullptr);  // it goes once its close event is done
    uitest::Settle();
    EXPECT_EQ(window.Value(), nullptr);
    EXPECT_EQ(timer.Value(), nullptr);

    TestWnd& second = TestWnd::Instance();
    EXPECT_EQ(TestWnd::builds, builds + 2);
    EXPECT_TRUE(second.IsShown());
    EXPECT_EQ(second.TitleLbl().Text(), "Result");
}

TEST(WindowInstance, ABuildThatFailsLeavesNothingBehind) {
    const auto widgets = QApplication::topLevelWidgets().size();
    EXPECT_THROW(tk::ImplicitInstance<HalfBuiltWnd>("HalfBuiltWnd.HalfBuiltWnd"),
                 tk::PropertyException);
    EXPECT_EQ(tk::Window::GetImplicitWindow("HalfBuiltWnd.HalfBuiltWnd"), nullptr);
    uitest::Settle();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), widgets);
    // Nor does a nil control.
    TestWnd& w = TestWnd::Instance();
    const auto controls = tk::WindowInternals::Controls(w).size();
    EXPECT_THROW(w.AddControl("Nil", nullptr), tk::NilObjectException);
    EXPECT_EQ(tk::WindowInternals::Controls(w).size(), controls);
}

TEST(Timer, SingleShotFiresOnceAfterItsPeriod) {
    TestWnd& w = TestWnd::Instance();
    // A new period takes effect at once on a running timer: an hour now, then 1 ms.
    w.Timer1().SetPeriod(3600 * 1000);
    QTest::qWait(300);
    ASSERT_EQ(w.timerFires, 0) << "the timer kept its 50 ms period";
    w.Timer1().SetPeriod(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.timerFires > 0; }, 5000));
    EXPECT_FALSE(w.Timer1().IsArmed());
    EXPECT_EQ(w.Timer1().RunMode(), 0);
    QTest::qWait(4 * static_cast<int>(w.Timer1().Period()));
    EXPECT_EQ(w.timerFires, 1);
    // Run mode 2 fires again and again.
    w.Timer1().SetRunMode(2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.timerFires >= 4; }, 5000));

    // Never before its period, whatever the period.
    QElapsedTimer clock;
    for (std::int64_t period = 40; period < 120; period += 7) {
        const int fires = w.timerFires;
        w.Timer1().SetPeriod(period);
        clock.start();
        w.Timer1().SetRunMode(1);
        while (w.timerFires == fires)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        EXPECT_GE(clock.nsecsElapsed(), period * 1000000) << period << " ms";
    }
}

// --- The user-interface thread ----------------------------------------------------------------

TEST(UiThread, OperationsFromAnotherThreadRaiseBeforeTouchingAnything) {
    TestWnd& w = TestWnd::Instance();
    auto item = std::make_shared<tk::MenuItem>();

    const std::vector<std::pair<const char*, std::function<void()>>> ops = {
        {"Window::Show", [&] { w.Show(); }},
        {"SetProperties", [&] { tk::SetProperties(w.TitleLbl(), kMoveAndRenameList); }},
        {"TextField::SetText", [&] { w.LimitFld().SetText("x"); }},
        {"TextField::Text", [&] { (void)w.LimitFld().Text(); }},
        {"Window::IsShown", [&] { (void)w.IsShown(); }},
        {"Timer::SetPeriod", [&] { w.Timer1().SetPeriod(10); }},
        {"MenuItem::SetValue", [&] { item->SetValue("x"); }},
        {"MsgBox", [] { tk::MsgBox("from a thread"); }},
    };
    std::vector<std::string> failures;
    std::thread worker([&] {
        for (const auto& [what, op] : ops) {
            try {
                op();
                failures.push_back(std::string(what) + ": no exception");
            } catch (const tk::ThreadAccessingUIException&) {
            } catch (const std::exception& e) {
                failures.push_back(std::string(what) + ": " + e.what());
            }
        }
        // Finding things is allowed.
        if (w.ControlByName("TitleLbl") == nullptr ||
            tk::Window::GetImplicitWindow("TestWnd.TestWnd") != &w)
            failures.push_back("finding a control or a window");
    });
    worker.join();
    for (const std::string& failure : failures) ADD_FAILURE() << failure;
    EXPECT_EQ(w.TitleLbl().Text(), "Result");
    EXPECT_EQ(w.TitleLbl().Left(), 10);
}

}  // namespace

// A window is placed with its frame: all of it on the screen where it fits,
// and its frame's top-left corner on the screen where it does not.
TEST(WindowPlacement, TheFrameIsOnTheScreen) {
    const QWidget* shown = uitest::TopLevelOf(TestWnd::Instance());  // its frame is known
    const int frame = shown->frameGeometry().width() - shown->width();
    ASSERT_EQ(frame, 4);  // 2 pixels each side on the offscreen platform
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    auto placed = [](std::unique_ptr<tk::Window> window) {
        tk::Window& w = tk::Window::Open(std::move(window));
        w.Show();
        const QRect framed = uitest::TopLevelOf(w)->frameGeometry();
        w.Close();
        uitest::Settle();
        return framed;
    };
    const QRect fits = placed(std::make_unique<ScreenSizedWnd<4>>());
    EXPECT_EQ(fits.size(), area.size());
    EXPECT_TRUE(area.contains(fits)) << fits.y();
    EXPECT_EQ(placed(std::make_unique<ScreenSizedWnd<-100>>()).topLeft(), area.topLeft());
    uitest::DestroyAllWindows();
}

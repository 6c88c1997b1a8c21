// Windows built from layout lists: what each property shows on its widget,
// tab order, the one open window per class, timers and weak references, the
// user-interface thread check, and the modal message box. The window is
// uitest::TestWnd.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/core/proplist.h"
#include "toolkit/menu.h"
#include "toolkit/properties.h"

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
constexpr Row kLeftRows[] = {Int("Left", 5)};
LAYOUT_LIST(kLeftList, kLeftRows);
constexpr Row kMoveAndRenameRows[] = {Int("Left", 77), Text("Value", "changed")};
LAYOUT_LIST(kMoveAndRenameList, kMoveAndRenameRows);

QWidget* W(const tk::RectControl& control) {
    return uitest::WidgetOf(control);
}

// --- What the lists show ---------------------------------------------------------------

TEST(LayoutList, EachPropertyShowsOnItsWidget) {
    TestWnd& w = TestWnd::Instance();
    const QWidget* top = uitest::TopLevelOf(w);
    EXPECT_TRUE(w.IsShown());
    EXPECT_EQ(top->windowTitle(), "Layout check");
    EXPECT_EQ(top->size(), QSize(320, 200));
    EXPECT_EQ(top->minimumSize(), top->maximumSize());

    EXPECT_EQ(uitest::BoxOf(w.TitleLbl()), QRect(10, 12, 140, 20));
    EXPECT_EQ(W(w.LimitFld())->geometry(), QRect(10, 40, 100, 22));
    EXPECT_EQ(W(w.NotesArea())->geometry(), QRect(130, 40, 150, 60));
    EXPECT_EQ(W(w.PictureCanvas())->geometry(), QRect(200, 110, 32, 32));
    EXPECT_EQ(W(w.TitleLbl())->font().pixelSize(), 13);
    EXPECT_TRUE(W(w.TitleLbl())->font().bold());
    EXPECT_EQ(W(w.LimitFld())->font().pixelSize(), 12);
    EXPECT_FALSE(W(w.LimitFld())->font().bold());
    // Colours are stored as little-endian 0xAARRGGBB with alpha 0 meaning opaque.
    const auto colour = [](const tk::RectControl& c, QPalette::ColorRole role) {
        return W(c)->palette().color(QPalette::Active, role).rgba();
    };
    EXPECT_EQ(colour(w.TitleLbl(), QPalette::WindowText), QColor(0, 0, 0x80).rgba());
    EXPECT_EQ(colour(w.LimitFld(), QPalette::Text), QColor(Qt::white).rgba());
    EXPECT_EQ(colour(w.NotesArea(), QPalette::Text), QColor(0xff, 0, 0, 0x7f).rgba());

    EXPECT_TRUE(static_cast<QLabel*>(W(w.TitleLbl()))->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(static_cast<QLineEdit*>(W(w.LimitFld()))->alignment() & Qt::AlignRight);
    EXPECT_EQ(w.TitleLbl().Text(), "Result");
    EXPECT_EQ(w.NotesArea().Text(), "one\rtwo");

    EXPECT_TRUE(w.LockedFld().ReadOnly());
    EXPECT_FALSE(w.LimitFld().ReadOnly());
    QTest::keyClicks(W(w.LockedFld()), "xyz");
    EXPECT_EQ(w.LockedFld().Text(), "fixed");

    EXPECT_FALSE(w.HiddenLbl().Visible());
    EXPECT_TRUE(W(w.TitleLbl())->isVisible());
}

TEST(LayoutList, CharacterLimitBoundsTypingButNotTheProgramsText) {
    TestWnd& w = TestWnd::Instance();
    auto* field = static_cast<QLineEdit*>(W(w.LimitFld()));
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

// Built in the order Limit(2), First(0), Locked(3), Notes(1), the fields and
// the area are visited by tab index.
TEST(LayoutList, TabOrderFollowsTabIndex) {
    TestWnd& w = TestWnd::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowActive(uitest::TopLevelOf(w)));
    w.FirstFld().SetFocus();
    const tk::RectControl* order[] = {&w.NotesArea(), &w.LimitFld(), &w.LockedFld()};
    for (const tk::RectControl* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(next->HasFocus()) << next->Name();
    }
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

// Another class that claims the same full class name.
class ImpostorWnd : public tk::Window {
  public:
    std::string_view FullClassName() const override { return "TestWnd.TestWnd"; }
};

TEST(WindowInstance, OneWindowUntilClosedThenANewOne) {
    const int builds = TestWnd::builds;
    const int closes = TestWnd::closes;
    TestWnd& first = TestWnd::Instance();
    EXPECT_EQ(&TestWnd::Instance(), &first);
    EXPECT_EQ(TestWnd::builds, builds + 1);
    EXPECT_EQ(tk::Window::GetImplicitWindow("TestWnd.TestWnd"), &first);
    EXPECT_THROW(tk::ImplicitInstance<ImpostorWnd>("TestWnd.TestWnd"), tk::IllegalCastException);

    // Weak references see the window and its controls go.
    tk::WeakRef<tk::Window> window(&first);
    tk::WeakRef<tk::Timer> timer(&first.Timer1());
    EXPECT_EQ(timer.Value(), &first.Timer1());
    first.Close();
    EXPECT_EQ(TestWnd::closes, closes + 1);
    EXPECT_EQ(tk::Window::GetImplicitWindow("TestWnd.TestWnd"), nullptr);
    uitest::Settle();
    EXPECT_EQ(window.Value(), nullptr);
    EXPECT_EQ(timer.Value(), nullptr);

    TestWnd& second = TestWnd::Instance();
    EXPECT_EQ(TestWnd::builds, builds + 2);
    EXPECT_TRUE(second.IsShown());
    EXPECT_EQ(second.TitleLbl().Text(), "Result");
}

TEST(Timer, SingleShotFiresOnceAfterItsPeriod) {
    TestWnd& w = TestWnd::Instance();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.timerFires > 0; }, 5000));
    EXPECT_FALSE(w.Timer1().IsArmed());
    EXPECT_EQ(w.Timer1().RunMode(), 0);
    QTest::qWait(4 * static_cast<int>(w.Timer1().Period()));
    EXPECT_EQ(w.timerFires, 1);
}

// --- The user-interface thread ----------------------------------------------------------------

TEST(UiThread, OperationsFromAnotherThreadRaiseBeforeTouchingAnything) {
    TestWnd& w = TestWnd::Instance();
    auto bar = std::make_shared<tk::MenuBar>();
    auto item = std::make_shared<tk::MenuItem>();
    item->SetName("EditCopy");
    bar->AddMenu(item);

    const std::vector<std::pair<const char*, std::function<void()>>> ops = {
        {"Window::Show", [&] { w.Show(); }},
        {"Window::Hide", [&] { w.Hide(); }},
        {"Window::Close", [&] { w.Close(); }},
        {"Window::SetMenuBar", [&] { w.SetMenuBar(bar); }},
        {"Window::GetMenuBar", [&] { (void)w.GetMenuBar(); }},
        {"Window::AddMenuHandler", [&] { w.AddMenuHandler("X", [] { return true; }); }},
        {"Window::New", [&] { (void)w.New<tk::Label>(); }},
        {"Window::AddControl", [&] { w.AddControl("X", nullptr); }},
        {"SetProperties", [&] { tk::SetProperties(w.TitleLbl(), kMoveAndRenameList); }},
        {"Label::SetText", [&] { w.TitleLbl().SetText("x"); }},
        {"TextField::SetText", [&] { w.LimitFld().SetText("x"); }},
        {"TextArea::SetText", [&] { w.NotesArea().SetText("x"); }},
        {"RectControl::SetVisible", [&] { w.HiddenLbl().SetVisible(true); }},
        {"RectControl::SetFocus", [&] { w.FirstFld().SetFocus(); }},
        {"Canvas::SetBackdrop", [&] { w.PictureCanvas().SetBackdrop(nullptr); }},
        {"Timer::SetPeriod", [&] { w.Timer1().SetPeriod(10); }},
        {"Timer::SetRunMode", [&] { w.Timer1().SetRunMode(2); }},
        {"Timer::Reset", [&] { w.Timer1().Reset(); }},
        {"MenuItem::SetValue", [&] { item->SetValue("x"); }},
        {"MenuItem::SetShortcut", [&] { item->SetShortcut("Cmd+K"); }},
        {"MenuItem::AddMenu", [&] { item->AddMenu(std::make_shared<tk::MenuItem>()); }},
        {"MenuItem::Lookup", [&] { (void)bar->Lookup("EditCopy"); }},
        {"MenuItem::Choose", [&] { item->Choose(); }},
        {"MsgBox", [] { tk::MsgBox("from a thread"); }},
    };
    std::vector<std::string> failures;
    tk::Object* foundControl = nullptr;
    tk::Window* foundWindow = nullptr;
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
        foundControl = w.ControlByName("TitleLbl");
        foundWindow = tk::Window::GetImplicitWindow("TestWnd.TestWnd");
    });
    worker.join();
    for (const std::string& failure : failures) ADD_FAILURE() << failure;
    EXPECT_EQ(foundControl, &w.TitleLbl());
    EXPECT_EQ(foundWindow, &w);
    EXPECT_EQ(w.TitleLbl().Text(), "Result");
    EXPECT_EQ(w.TitleLbl().Left(), 10);
}

// Building a window off the user-interface thread must fail before any widget
// exists; run in a child process, since a widget made on the wrong thread
// cannot be cleaned up safely.
TEST(UiThread, BuildingAWindowFromAnotherThreadMakesNoWidget) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const auto before = QApplication::allWidgets().size();
            bool raised = false;
            std::thread worker([&] {
                try {
                    TestWnd::Instance();
                } catch (const tk::ThreadAccessingUIException&) {
                    raised = true;
                }
            });
            worker.join();
            const auto after = QApplication::allWidgets().size();
            std::fprintf(stderr, "raised %d, widgets before %d, after %d\n", raised ? 1 : 0,
                         static_cast<int>(before), static_cast<int>(after));
            std::_Exit(raised && after == before ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

// The box is seen, and dismissed, only while MsgBox has not returned: the
// poll that finds it runs in no event loop but the box's own.
TEST(MsgBox, BlocksItsCallerUntilDismissed) {
    TestWnd::Instance();
    EXPECT_EQ(uitest::DismissMessageBoxes([] { tk::MsgBox("Please wait"); }),
              std::vector<std::string>{"Please wait"});
}

}  // namespace

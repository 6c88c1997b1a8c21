// Windows built from layout lists: what each property shows on its widget,
// tab order, the one open window per class, timers and weak references, the
// user-interface thread check, and the modal message box.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPlainTextEdit>
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
#include "toolkit/controls.h"
#include "toolkit/core/proplist.h"
#include "toolkit/menu.h"
#include "toolkit/picture.h"
#include "toolkit/properties.h"
#include "toolkit/qt_widgets.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"
#include "windows/build_control.h"

namespace {

using tk::plist::Bool;
using tk::plist::Int;
using tk::plist::Rgb;
using tk::plist::Row;
using tk::plist::Size;
using tk::plist::Text;

constexpr Row kWindowRows[] = {Text("Title", "Layout check"), Int("Width", 320), Int("Height", 200),
                               Bool("Resizeable", false), Bool("Visible", true)};
LAYOUT_LIST(kWindowList, kWindowRows);

constexpr Row kTitleRows[] = {Int("Left", 10),
                              Int("Top", 12),
                              Int("Width", 140),
                              Int("Height", 20),
                              Text("Value", "Result"),
                              Int("TextAlignment", 2),
                              Rgb("TextColor", 0x80, 0x00, 0x00, 0x00),
                              Size("FontSize", 13.0f),
                              Bool("Bold", true)};
LAYOUT_LIST(kTitleList, kTitleRows);

constexpr Row kHiddenRows[] = {Int("Left", 10),   Int("Top", 160),         Int("Width", 80),
                               Int("Height", 20), Text("Value", "hidden"), Bool("Visible", false)};
LAYOUT_LIST(kHiddenList, kHiddenRows);

constexpr Row kLimitRows[] = {Int("Left", 10),
                              Int("Top", 40),
                              Int("Width", 100),
                              Int("Height", 22),
                              Int("MaximumCharactersAllowed", 6),
                              Int("TextAlignment", 3),
                              Rgb("TextColor", 0xff, 0xff, 0xff, 0x00),
                              Size("FontSize", 12.0f),
                              Bool("Bold", false),
                              Int("TabIndex", 2)};
LAYOUT_LIST(kLimitList, kLimitRows);

constexpr Row kLockedRows[] = {Int("Left", 10),   Int("Top", 70),         Int("Width", 100),
                               Int("Height", 22), Text("Value", "fixed"), Bool("ReadOnly", true),
                               Int("TabIndex", 3)};
LAYOUT_LIST(kLockedList, kLockedRows);

constexpr Row kFirstRows[] = {Int("Left", 10), Int("Top", 100), Int("Width", 100),
                              Int("Height", 22), Int("TabIndex", 0)};
LAYOUT_LIST(kFirstList, kFirstRows);

constexpr Row kNotesRows[] = {Int("Left", 130),          Int("Top", 40),
                              Int("Width", 150),         Int("Height", 60),
                              Text("Value", "one\rtwo"), Rgb("TextColor", 0x00, 0x00, 0xff, 0x80),
                              Int("TabIndex", 1)};
LAYOUT_LIST(kNotesList, kNotesRows);

// "Transparent" named twice: the second one counts.
constexpr Row kCanvasRows[] = {Int("Left", 200),          Int("Top", 110),
                               Int("Width", 32),          Int("Height", 32),
                               Bool("Transparent", true), Bool("Transparent", false)};
LAYOUT_LIST(kCanvasList, kCanvasRows);

constexpr Row kTimerRows[] = {Int("Period", 50), Int("RunMode", 1)};
LAYOUT_LIST(kTimerList, kTimerRows);

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

std::shared_ptr<tk::Picture> TestPicture() {
    static const std::shared_ptr<tk::Picture> picture = [] {
        auto impl = std::make_unique<tk::PictureImpl>();
        impl->image = QImage(16, 16, QImage::Format_ARGB32);
        impl->image.fill(Qt::red);
        return std::make_shared<tk::Picture>(std::move(impl));
    }();
    return picture;
}

// A timer that sits on a window, as the program's timers do.
class TestTimer : public tk::Timer, public tk::PaneChild {
  public:
    explicit TestTimer(tk::Window& window) { (void)window; }
    void Constructor() {}
    void SetWindow(tk::Window* window) override { window_ = window; }
    tk::Window* Window() const override { return window_; }
    std::int64_t GetIndex() const override { return index_; }
    void SetIndex(std::int64_t index) override { index_ = index; }

  private:
    tk::Window* window_ = nullptr;
    std::int64_t index_ = 0;
};

class TestWnd : public tk::Window {
  public:
    static TestWnd& Instance() { return tk::ImplicitInstance<TestWnd>("TestWnd.TestWnd"); }
    std::string_view FullClassName() const override { return "TestWnd.TestWnd"; }

    static inline int builds = 0;
    static inline int closes = 0;
    int timerFires = 0;

    tk::Label& TitleLbl() const { return tk::Cast<tk::Label>(ControlByName("TitleLbl")); }
    tk::Label& HiddenLbl() const { return tk::Cast<tk::Label>(ControlByName("HiddenLbl")); }
    tk::TextField& LimitFld() const { return tk::Cast<tk::TextField>(ControlByName("LimitFld")); }
    tk::TextField& LockedFld() const { return tk::Cast<tk::TextField>(ControlByName("LockedFld")); }
    tk::TextField& FirstFld() const { return tk::Cast<tk::TextField>(ControlByName("FirstFld")); }
    tk::TextArea& NotesArea() const { return tk::Cast<tk::TextArea>(ControlByName("NotesArea")); }
    tk::Canvas& PictureCanvas() const {
        return tk::Cast<tk::Canvas>(ControlByName("PictureCanvas"));
    }
    tk::Timer& Timer1() const { return tk::Cast<tk::Timer>(ControlByName("Timer1")); }

  protected:
    void Layout() override {
        ++builds;
        tk::SetProperties(*this, kWindowList);
    }
    void CreateControls() override {
        using windows::BuildControl;
        BuildControl<tk::Label>(*this, "TitleLbl", kTitleList);
        BuildControl<tk::Label>(*this, "HiddenLbl", kHiddenList);
        BuildControl<tk::TextField>(*this, "LimitFld", kLimitList);
        BuildControl<tk::TextField>(*this, "FirstFld", kFirstList);
        BuildControl<tk::TextField>(*this, "LockedFld", kLockedList);
        BuildControl<tk::TextArea>(*this, "NotesArea", kNotesList);
        BuildControl<tk::Canvas>(*this, "PictureCanvas", kCanvasList, {}, TestPicture);
        BuildControl<TestTimer, tk::Timer>(*this, "Timer1", kTimerList, [this](tk::Timer& t) {
            t.BindAction([this](tk::Timer&) { ++timerFires; });
        });
    }
    void Event_Close() override { ++closes; }
};

// Another class that claims the same full class name.
class ImpostorWnd : public tk::Window {
  public:
    std::string_view FullClassName() const override { return "TestWnd.TestWnd"; }
};

QWidget* W(const tk::RectControl& control) {
    return uitest::WidgetOf(control);
}

// --- What the lists show ---------------------------------------------------------------

TEST(LayoutList, GeometryOfEachControlClass) {
    TestWnd& w = TestWnd::Instance();
    const struct {
        const tk::RectControl* control;
        QRect geometry;
    } cases[] = {
        {&w.TitleLbl(), QRect(10, 12, 140, 20)},
        {&w.LimitFld(), QRect(10, 40, 100, 22)},
        {&w.NotesArea(), QRect(130, 40, 150, 60)},
        {&w.PictureCanvas(), QRect(200, 110, 32, 32)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(W(*c.control)->geometry(), c.geometry) << c.control->Name();
    }
}

TEST(LayoutList, FontsAndTextColours) {
    TestWnd& w = TestWnd::Instance();
    const QWidget* title = W(w.TitleLbl());
    EXPECT_EQ(title->font().pixelSize(), 13);
    EXPECT_TRUE(title->font().bold());
    EXPECT_EQ(W(w.LimitFld())->font().pixelSize(), 12);
    EXPECT_FALSE(W(w.LimitFld())->font().bold());

    // Stored as little-endian 0xAARRGGBB with alpha 0 meaning opaque.
    const struct {
        const tk::RectControl* control;
        QPalette::ColorRole role;
        QColor colour;
    } cases[] = {
        {&w.TitleLbl(), QPalette::WindowText, QColor(0x00, 0x00, 0x80, 255)},
        {&w.LimitFld(), QPalette::Text, QColor(0xff, 0xff, 0xff, 255)},
        {&w.NotesArea(), QPalette::Text, QColor(0xff, 0x00, 0x00, 0x7f)},
    };
    for (const auto& c : cases) {
        const QColor shown = W(*c.control)->palette().color(QPalette::Active, c.role);
        EXPECT_EQ(shown.rgba(), c.colour.rgba()) << c.control->Name();
    }
}

TEST(LayoutList, TextAlignmentReadOnlyAndVisibility) {
    TestWnd& w = TestWnd::Instance();
    EXPECT_TRUE(static_cast<QLabel*>(W(w.TitleLbl()))->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(static_cast<QLineEdit*>(W(w.LimitFld()))->alignment() & Qt::AlignRight);
    EXPECT_EQ(w.TitleLbl().Text(), "Result");
    EXPECT_EQ(w.NotesArea().Text(), "one\rtwo");

    EXPECT_TRUE(w.LockedFld().ReadOnly());
    EXPECT_FALSE(w.LimitFld().ReadOnly());
    QTest::keyClicks(W(w.LockedFld()), "xyz");
    EXPECT_EQ(w.LockedFld().Text(), "fixed");

    EXPECT_FALSE(w.HiddenLbl().Visible());
    EXPECT_TRUE(w.TitleLbl().Visible());
    EXPECT_TRUE(W(w.TitleLbl())->isVisible());
}

TEST(LayoutList, CharacterLimitBoundsTypingButNotTheProgramsText) {
    TestWnd& w = TestWnd::Instance();
    QWidget* field = W(w.LimitFld());
    QTest::keyClicks(field, "1234567");
    EXPECT_EQ(w.LimitFld().Text(), "123456");

    w.LimitFld().SetText("12345678");
    EXPECT_EQ(w.LimitFld().Text(), "12345678");
    QTest::keyClicks(field, "9");
    EXPECT_EQ(w.LimitFld().Text(), "12345678");
}

TEST(LayoutList, CharacterLimitHoldsAfterTheUserDeletesTheProgramsText) {
    TestWnd& w = TestWnd::Instance();
    QWidget* field = W(w.LimitFld());
    w.LimitFld().SetText("12345678");
    static_cast<QLineEdit*>(field)->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    ASSERT_EQ(w.LimitFld().Text(), "");
    QTest::keyClicks(field, "abcdefg");
    EXPECT_EQ(w.LimitFld().Text(), "abcdef");
}

// The fields and the text area in the order the focus chain visits them,
// starting at `from`; a text area's own inner widgets are left out.
std::vector<QWidget*> TabStopsFrom(QWidget* from, const std::vector<QWidget*>& controls) {
    std::vector<QWidget*> order;
    QWidget* w = from;
    do {
        if (std::find(controls.begin(), controls.end(), w) != controls.end()) order.push_back(w);
        w = w->nextInFocusChain();
    } while (w != from && order.size() <= controls.size());
    return order;
}

TEST(LayoutList, TabOrderFollowsTabIndex) {
    TestWnd& w = TestWnd::Instance();
    // Built in the order Limit(2), First(0), Locked(3), Notes(1).
    const std::vector<QWidget*> expected = {W(w.FirstFld()), W(w.NotesArea()), W(w.LimitFld()),
                                            W(w.LockedFld())};
    EXPECT_EQ(TabStopsFrom(W(w.FirstFld()), expected), expected);

    ASSERT_TRUE(QTest::qWaitForWindowActive(uitest::TopLevelOf(w)));
    w.FirstFld().SetFocus();
    ASSERT_TRUE(w.FirstFld().HasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(w.NotesArea().HasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(w.LimitFld().HasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(w.LockedFld().HasFocus());
}

TEST(LayoutList, WindowHasItsTitleAndFixedSize) {
    TestWnd& w = TestWnd::Instance();
    const QWidget* top = uitest::TopLevelOf(w);
    EXPECT_TRUE(w.IsShown());
    EXPECT_EQ(top->windowTitle(), "Layout check");
    EXPECT_EQ(top->size(), QSize(320, 200));
    EXPECT_EQ(top->minimumSize(), top->maximumSize());
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
    EXPECT_EQ(w.PictureCanvas().Backdrop(), TestPicture());
    // Its list said Transparent true, then false: it paints its background.
    EXPECT_EQ(CanvasBackground(w), QColor(Qt::green).rgb());
    tk::SetProperties(w.PictureCanvas(), kTransparentTwiceList);  // false, then true
    EXPECT_NE(CanvasBackground(w), QColor(Qt::green).rgb());
}

TEST(LayoutList, NameTheClassDoesNotCarryRaises) {
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
}

TEST(LayoutList, UndecodableListRaisesAndSetsNothing) {
    TestWnd& w = TestWnd::Instance();
    std::vector<std::uint8_t> broken(kMoveAndRenameList.begin(), kMoveAndRenameList.end());
    for (char c : std::string_view("Top \x01\x02\x03"))
        broken.push_back(static_cast<std::uint8_t>(c));

    EXPECT_THROW(tk::SetProperties(w.TitleLbl(), broken), tk::PropertyException);
    EXPECT_EQ(W(w.TitleLbl())->x(), 10);
    EXPECT_EQ(w.TitleLbl().Text(), "Result");
}

// --- One open window per class ------------------------------------------------------------

TEST(WindowInstance, OneWindowUntilClosedThenANewOne) {
    const int builds = TestWnd::builds;
    const int closes = TestWnd::closes;
    TestWnd& first = TestWnd::Instance();
    EXPECT_EQ(&TestWnd::Instance(), &first);
    EXPECT_EQ(TestWnd::builds, builds + 1);
    EXPECT_EQ(tk::Window::GetImplicitWindow("TestWnd.TestWnd"), &first);

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

TEST(WindowInstance, AnotherClassUnderTheSameNameIsAnIllegalCast) {
    TestWnd::Instance();
    EXPECT_THROW(tk::ImplicitInstance<ImpostorWnd>("TestWnd.TestWnd"), tk::IllegalCastException);
}

// --- Timers -------------------------------------------------------------

TEST(Timer, SingleShotFiresOnceAfterItsPeriod) {
    TestWnd& w = TestWnd::Instance();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.timerFires > 0; }, 5000));
    EXPECT_FALSE(w.Timer1().IsArmed());
    EXPECT_EQ(w.Timer1().RunMode(), 0);
    QTest::qWait(4 * static_cast<int>(w.Timer1().Period()));
    EXPECT_EQ(w.timerFires, 1);
}

// --- The user-interface thread ----------------------------------------------------------------

TEST(UiThread, OperationsFromAnotherThreadRaise) {
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
        foundControl = w.ControlByName("TitleLbl");
        foundWindow = tk::Window::GetImplicitWindow("TestWnd.TestWnd");
    });
    worker.join();
    for (const std::string& failure : failures) ADD_FAILURE() << failure;
    EXPECT_EQ(foundControl, &w.TitleLbl());
    EXPECT_EQ(foundWindow, &w);
    EXPECT_EQ(w.TitleLbl().Text(), "Result");
}

TEST(UiThread, ApplyingAListFromAnotherThreadRaisesBeforeTouchingTheControl) {
    TestWnd& w = TestWnd::Instance();
    bool raised = false;
    std::thread worker([&] {
        try {
            tk::SetProperties(w.TitleLbl(), kMoveAndRenameList);  // Left 77, then Value
        } catch (const tk::ThreadAccessingUIException&) {
            raised = true;
        }
    });
    worker.join();
    EXPECT_TRUE(raised);
    EXPECT_EQ(w.TitleLbl().Text(), "Result");
    EXPECT_EQ(W(w.TitleLbl())->x(), 10);
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

// --- The message box -------------------------------------------------------------------------

TEST(MsgBox, BlocksItsCallerUntilDismissed) {
    TestWnd::Instance();
    std::vector<std::string> events;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        events.push_back("shown: " + box->text().toStdString());
        box->button(QMessageBox::Ok)->click();
    });
    poll.start();
    events.push_back("before");
    tk::MsgBox("Please wait");
    events.push_back("after");
    poll.stop();
    EXPECT_EQ(events, (std::vector<std::string>{"before", "shown: Please wait", "after"}));
}

}  // namespace

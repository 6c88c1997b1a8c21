// How a run ends: an exception escaping an event handler is reported once and
// ends the run with a non-zero status; Quit (the menu item or its shortcut)
// ends it with status 0. Quitting ends every later event loop of a process, so
// each case runs this test program again as a child, in one scenario.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>

#include "menus/MenuBar1.h"
#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/core/proplist.h"
#include "toolkit/timer.h"
#include "toolkit/window.h"
#include "windows/build_control.h"

namespace {

using tk::plist::Bool;
using tk::plist::Int;
using tk::plist::Row;

constexpr const char* kScenarioVariable = "TAMSAVIK_RUN_SCENARIO";

constexpr Row kWindowRows[] = {Int("Width", 200), Int("Height", 100), Bool("Visible", true)};
LAYOUT_LIST(kWindowList, kWindowRows);
constexpr Row kControlRows[] = {Int("Left", 10), Int("Top", 10), Int("Width", 60),
                                Int("Height", 22)};
LAYOUT_LIST(kControlList, kControlRows);
constexpr Row kRepeatRows[] = {Int("Period", 10), Int("RunMode", 2)};
LAYOUT_LIST(kRepeatList, kRepeatRows);

class RepeatTimer : public tk::Timer, public tk::PaneChild {
  public:
    explicit RepeatTimer(tk::Window& window) { (void)window; }
    void Constructor() {}
    void SetWindow(tk::Window* window) override { window_ = window; }
    tk::Window* Window() const override { return window_; }
    std::int64_t GetIndex() const override { return 0; }
    void SetIndex(std::int64_t index) override { (void)index; }

  private:
    tk::Window* window_ = nullptr;
};

// A window whose handlers fail on demand.
class FailingWnd : public tk::Window {
  public:
    static inline bool timerFails = false;
    static FailingWnd& Instance() {
        return tk::ImplicitInstance<FailingWnd>("FailingWnd.FailingWnd");
    }
    std::string_view FullClassName() const override { return "FailingWnd.FailingWnd"; }
    tk::Canvas& Pad() const { return tk::Cast<tk::Canvas>(ControlByName("Pad")); }
    tk::TextField& Entry() const { return tk::Cast<tk::TextField>(ControlByName("Entry")); }

  protected:
    void Layout() override { tk::SetProperties(*this, kWindowList); }
    void CreateControls() override {
        using windows::BuildControl;
        BuildControl<tk::Canvas>(*this, "Pad", kControlList, [](tk::Canvas& c) {
            c.BindMouseDown([](tk::RectControl&, std::int64_t, std::int64_t) -> bool {
                throw std::runtime_error("the canvas handler failed");
            });
        });
        BuildControl<tk::TextField>(*this, "Entry", kControlList, [](tk::TextField& f) {
            f.BindKeyDown([](tk::TextField&, std::string_view) -> bool {
                throw std::runtime_error("the key filter failed");
            });
        });
        BuildControl<RepeatTimer, tk::Timer>(*this, "Ticker", kRepeatList, [](tk::Timer& t) {
            t.BindAction([](tk::Timer&) {
                if (timerFails) throw std::runtime_error("the timer action failed");
            });
        });
        AddMenuHandler("EditCopy",
                       []() -> bool { throw std::runtime_error("the menu handler failed"); });
    }
};

struct Scenario {
    const char* name;
    std::function<void()> start;  // in the child, from its event loop
    int exitCode;
    const char* message;  // what stderr must say exactly once; null for nothing
};

void InstallTheBar() {
    tk::Application::Current()->SetMenuBar(MenuBar1::Instance());
}

const Scenario kScenarios[] = {
    {"canvas click", [] { uitest::Click(FailingWnd::Instance().Pad()); }, 1,
     "the canvas handler failed"},
    {"key filter", [] { QTest::keyClick(uitest::WidgetOf(FailingWnd::Instance().Entry()), 'a'); },
     1, "the key filter failed"},
    {"repeating timer", [] { FailingWnd::timerFails = true; }, 1, "the timer action failed"},
    {"menu handler",
     [] {
         InstallTheBar();
         FailingWnd::Instance();
         MenuBar1::Instance()->Lookup("EditCopy")->Choose();
     },
     1, "the menu handler failed"},
    {"Quit chosen", [] { MenuBar1::Instance()->Lookup("FileQuit")->Choose(); }, 0, nullptr},
    {"Ctrl+Q on a window without a bar of its own",
     [] {
         InstallTheBar();
         QTest::keyClick(uitest::TopLevelOf(FailingWnd::Instance()), Qt::Key_Q,
                         Qt::ControlModifier);
     },
     0, nullptr},
};

// In the child: builds the window, starts the scenario from the event loop
// and ends the process as the program does, with the run's exit status. A run
// that nothing ends stops itself after a while with status 97.
[[noreturn]] void RunScenario(const Scenario& scenario) {
    FailingWnd& window = FailingWnd::Instance();
    (void)QTest::qWaitForWindowActive(uitest::TopLevelOf(window));
    QTimer::singleShot(0, [&scenario] { tk::CallGuarded(scenario.start); });
    QTimer::singleShot(20000, [] { tk::Quit(97); });
    tk::RuntimeRun();
    tk::RuntimePerformFinalizers();
    std::fflush(stderr);
    std::_Exit(tk::RuntimeExit());
}

struct ChildRun {
    int exitCode = -1;  // -1: crashed or did not finish
    QString stderrText;
};

ChildRun RunChild(const Scenario& scenario) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kScenarioVariable, scenario.name);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    ChildRun run;
    if (child.waitForFinished(60000) && child.exitStatus() == QProcess::NormalExit) {
        run.exitCode = child.exitCode();
    }
    run.stderrText = QString::fromUtf8(child.readAllStandardError());
    return run;
}

TEST(RunEnd, EachScenarioEndsWithItsStatusAndReportsOnce) {
    if (const char* wanted = std::getenv(kScenarioVariable)) {
        for (const Scenario& s : kScenarios) {
            if (std::string(s.name) == wanted) RunScenario(s);
        }
        std::_Exit(96);
    }
    for (const Scenario& s : kScenarios) {
        const ChildRun run = RunChild(s);
        EXPECT_EQ(run.exitCode, s.exitCode) << s.name << "\n" << run.stderrText.toStdString();
        if (s.message != nullptr) {
            EXPECT_EQ(run.stderrText.count(s.message), 1) << s.name << "\n"
                                                          << run.stderrText.toStdString();
        } else {
            EXPECT_FALSE(run.stderrText.contains("nobody handled")) << s.name;
        }
    }
}

}  // namespace

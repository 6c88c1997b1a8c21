// How a run of the program ends. Whole runs end the event loop for good, so
// each runs as a child: this test program again, in one scenario, or the real
// program. An error that escapes a handler, or the loss of the display, is
// reported once and ends the run with status 1. The end-to-end suite closes
// windows and quits from each of them, and then the status is 0.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>

#include "menus/MenuBar1.h"
#include "tests/ui/ui_support.h"
#include "toolkit/runtime.h"

namespace {

using uitest::OpenWindow;

constexpr const char* kScenarioVariable = "TAMSAVIK_STARTUP_SCENARIO";
constexpr const char* kReport = "an error nobody handled ended the program";

// --- Whole runs of app::Run, in a child ---------------------------------------------------

// A window that takes the About window's name, so that building the About
// window fails.
class Impostor : public tk::Window {
  public:
    std::string_view FullClassName() const override { return "AboutWnd.AboutWnd"; }
};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "not as expected: %s\n", what);
    std::fflush(stderr);
    std::_Exit(3);
}

// The test window, shown and active over the About window.
uitest::TestWnd& ActiveTestWindow() {
    uitest::TestWnd& w = uitest::TestWnd::Instance();
    if (!QTest::qWaitForWindowActive(uitest::TopLevelOf(w))) Fail("the test window is active");
    return w;
}

[[noreturn]] void Throw(const char* what) {
    throw std::runtime_error(what);
}

// Each run, and what the one report of the error nobody handled says.
const struct {
    const char *name, *error;
} kRuns[] = {
    {"a failing late start-up", "cannot be used as"},
    {"a canvas handler fails", "the canvas handler failed"},
    {"a key filter fails", "the key filter failed"},
    {"a repeating timer's action fails", "the timer action failed"},
    {"a menu handler fails", "the menu handler failed"},
};

// What the run does once the About window is up, as the toolkit calls a handler.
void Act(std::string_view run) {
    if (run == "a canvas handler fails") {
        tk::Canvas& canvas = ActiveTestWindow().PictureCanvas();
        canvas.BindMouseDown([](auto&, auto, auto) -> bool { Throw("the canvas handler failed"); });
        uitest::Click(canvas);
    } else if (run == "a key filter fails") {
        tk::TextField& field = ActiveTestWindow().FirstFld();
        field.BindKeyDown([](auto&, auto) -> bool { Throw("the key filter failed"); });
        QTest::keyClick(uitest::WidgetOf(field), 'a');
    } else if (run == "a repeating timer's action fails") {
        tk::Timer& timer = ActiveTestWindow().Timer1();
        timer.BindAction([](tk::Timer&) { Throw("the timer action failed"); });
        timer.SetPeriod(10);
        timer.SetRunMode(2);
    } else if (run == "the display goes") {
        std::puts("the About window is up");  // for the test to take the display away
        std::fflush(stdout);
    } else if (run == "a menu handler fails") {
        ActiveTestWindow().AddMenuHandler("EditCopy",
                                          []() -> bool { Throw("the menu handler failed"); });
        MenuBar1::Instance()->Lookup("EditCopy")->Choose();
    } else {
        Fail("a known run");
    }
}

// In the child: the whole run, ended as the program ends it.
[[noreturn]] void RunInChild(std::string_view run) {
    if (run == "a failing late start-up") {
        tk::Window::Open(std::make_unique<Impostor>());
    }
    QTimer poll;
    bool acted = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        tk::Window* about = OpenWindow("AboutWnd.AboutWnd");
        if (acted || about == nullptr || !about->IsShown()) return;
        acted = true;
        // The toolkit's own guard must stop every error before it gets back here.
        try {
            Act(run);
        } catch (...) {
            Fail("an error got past the toolkit's guard");
        }
    });
    poll.start(10);
    QTimer::singleShot(20000, [] { Fail("the run ends"); });
    char name[] = "tamsavik";
    char* argv[] = {name, nullptr};
    const int status = app::Run(1, argv);
    std::fflush(stderr);
    std::_Exit(status);
}

// Starts this test again as a child that runs `run` on the platform `env` names.
void StartRun(QProcess& child, const char* run, QProcessEnvironment env) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    env.insert(kScenarioVariable, run);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
}

TEST(StartupRun, AnErrorNobodyHandledIsReportedOnceAndEndsTheRunWithOne) {
    if (const char* run = std::getenv(kScenarioVariable)) RunInChild(run);
    for (const auto& s : kRuns) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess child;
        StartRun(child, s.name, env);
        const bool finished = child.waitForFinished(60000);
        const QString said = QString::fromUtf8(child.readAllStandardError());
        SCOPED_TRACE(std::string(s.name) + "\n" + said.toStdString());
        EXPECT_TRUE(finished && child.exitStatus() == QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 1);
        EXPECT_EQ(said.count(kReport), 1);
        EXPECT_EQ(said.count(s.error), 1);
        // An error must never unwind through Qt's event loop, which says so.
        EXPECT_FALSE(said.contains("caught an exception"));
    }
}

// On a display of its own, which goes away while the About window shows.
TEST(StartupRun, ALostDisplayIsReportedInOneLineAndEndsTheRunWithOne) {
    if (const char* run = std::getenv(kScenarioVariable)) RunInChild(run);
    QProcess xvfb;  // it names its free display on its standard output
    xvfb.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp"});
    if (!xvfb.waitForReadyRead(15000)) GTEST_SKIP() << "Xvfb is needed, and did not start";
    QTemporaryDir runtime;  // or Qt says it made one
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", ":" + xvfb.readAllStandardOutput().trimmed());
    QProcess child;
    StartRun(child, "the display goes", env);
    QByteArray out;
    while (!out.contains("is up") && child.waitForReadyRead(30000))
        out += child.readAllStandardOutput();
    xvfb.kill();
    xvfb.waitForFinished();
    ASSERT_TRUE(child.waitForFinished(30000));
    const QString said = QString::fromUtf8(child.readAllStandardError());
    EXPECT_TRUE(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 1)
        << said.toStdString();
    EXPECT_TRUE(said.startsWith("tamsavik: lost the connection to the display") &&
                said.count('\n') == 1);
}

}  // namespace

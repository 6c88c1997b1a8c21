// The program's start-up. The steps that make the application object and the
// first window run in this process; whole runs, which end the event loop for
// good, run as children: this test program again, or the real program.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "calculator/ControlWnd.h"
#include "menus/MenuBar1.h"
#include "resources/layouts.h"
#include "tests/ui/ui_support.h"
#include "toolkit/application.h"
#include "toolkit/picture.h"
#include "windows/AboutWnd.h"

namespace {

constexpr const char* kScenarioVariable = "TAMSAVIK_STARTUP_SCENARIO";
constexpr const char* kReport = "an error nobody handled ended the program";

tk::Window* OpenWindow(std::string_view fullClassName) {
    return tk::Window::GetImplicitWindow(fullClassName);
}

// --- The steps, in this process ---------------------------------------------------------

TEST(StartupSteps, NewAppInstanceRegistersTheApplicationWithItsMenuBar) {
    app::NewAppInstance();
    tk::Application* application = tk::Application::Current();
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(application->ClassName(), "Tamsavik");
    const tk::VersionData& v = application->Version();
    EXPECT_EQ((std::vector<std::int64_t>{v.major, v.minor, v.bug, v.nonRelease, v.stageCode}),
              (std::vector<std::int64_t>{2, 0, 0, 0, 3}));
    EXPECT_EQ(v.longVersion, resources::kAuthorshipNotice);
    EXPECT_EQ(v.shortVersion, "");
    EXPECT_EQ(v.packageInfo, "Tamsavik");
    EXPECT_EQ(QCoreApplication::applicationName(), "Tamsavik");

    // The application and the main window share the one bar.
    EXPECT_EQ(application->GetMenuBar(), MenuBar1::Instance());
    tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
    EXPECT_EQ(ControlWnd::Instance().GetMenuBar(), application->GetMenuBar());
}

TEST(StartupSteps, LateStartupOpensTheAboutWindowAlone) {
    tk::Picture::SetResourceFolder(TAMSAVIK_PICTURES_DIR);
    app::LateStartup();
    tk::Window* about = OpenWindow("AboutWnd.AboutWnd");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->IsShown());
    EXPECT_EQ(tk::Window::OpenWindows(), std::vector<tk::Window*>{about});
    EXPECT_TRUE(tk::Cast<AboutWnd>(about).Timer1().IsArmed());
}

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

bool AboutIsUp() {
    tk::Window* about = OpenWindow("AboutWnd.AboutWnd");
    return about != nullptr && about->IsShown();
}

struct Scenario {
    const char* name;
    std::function<void()> before;  // before app::Run; may be empty
    std::function<bool()> ready;   // polled from the event loop; null: never
    std::function<void()> act;     // once `ready` holds
    int exitCode;
    int reports;  // how often the report of an unhandled error appears
};

const Scenario kScenarios[] = {
    {"the About window, then Quit",
     {},
     AboutIsUp,
     [] {
         if (tk::Window::OpenWindows().size() != 1) Fail("the About window is the only window");
         tk::Application* application = tk::Application::Current();
         if (application == nullptr || application->ClassName() != "Tamsavik") {
             Fail("the application object is a Tamsavik");
         }
         if (application->GetMenuBar() != MenuBar1::Instance()) Fail("the bar is installed");
         MenuBar1::Instance()->Lookup("FileQuit")->Choose();
     },
     0,
     0},
    {"the timer's hand-over, then the main window closed",
     {},
     [] { return OpenWindow("ControlWnd.ControlWnd") != nullptr; },
     [] {
         if (AboutIsUp()) Fail("the About window is hidden");
         uitest::TopLevelOf(*OpenWindow("ControlWnd.ControlWnd"))->close();
     },
     0,
     0},
    {"a key press, the help window, then the main window closed",
     {},
     AboutIsUp,
     [] {
         QTest::keyClick(uitest::TopLevelOf(*OpenWindow("AboutWnd.AboutWnd")), Qt::Key_Space);
         tk::Window* main = OpenWindow("ControlWnd.ControlWnd");
         if (main == nullptr || !main->IsShown()) Fail("the main window is shown");
         uitest::Click(tk::Cast<ControlWnd>(main).HelpCanvas());
         tk::Window* help = OpenWindow("helpWnd.helpWnd");
         if (help == nullptr || !help->IsShown()) Fail("the help window is shown");
         uitest::TopLevelOf(*main)->close();
     },
     0,
     0},
    {"a failing late start-up",
     [] {
         auto* impostor = new Impostor();  // the toolkit owns it once it is built
         impostor->Constructor();
     },
     {},
     {},
     1,
     1},
};

[[noreturn]] void RunScenario(const Scenario& scenario) {
    if (scenario.before) scenario.before();
    QTimer poll;
    bool acted = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (acted || !scenario.ready || !scenario.ready()) return;
        acted = true;
        scenario.act();
    });
    poll.start(10);
    QTimer::singleShot(20000, [] { Fail("the run ends"); });
    char name[] = "tamsavik";
    char* argv[] = {name, nullptr};
    const int status = app::Run(1, argv);
    std::fflush(stderr);
    std::_Exit(status);
}

struct ChildRun {
    int exitCode = -1;  // -1: crashed or did not finish
    QString stderrText;
};

ChildRun RunChild(const char* scenario) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kScenarioVariable, scenario);
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

TEST(StartupRun, EachRunEndsWithItsStatusAndReportsErrorsOnce) {
    if (const char* wanted = std::getenv(kScenarioVariable)) {
        for (const Scenario& s : kScenarios) {
            if (std::string(s.name) == wanted) RunScenario(s);
        }
        std::_Exit(96);
    }
    for (const Scenario& s : kScenarios) {
        const ChildRun run = RunChild(s.name);
        const std::string said = run.stderrText.toStdString();
        EXPECT_EQ(run.exitCode, s.exitCode) << s.name << "\n" << said;
        EXPECT_EQ(run.stderrText.count(kReport), s.reports) << s.name << "\n" << said;
    }
}

// --- The real program ---------------------------------------------------------------------

TEST(StartupProgram, KeepsRunningWithItsAboutWindow) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(TAMSAVIK_BINARY, {});
    ASSERT_TRUE(program.waitForStarted());
    // Nothing but the user ends a run: it is still going a while later.
    EXPECT_FALSE(program.waitForFinished(1500));
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
    EXPECT_FALSE(QString::fromUtf8(program.readAllStandardError()).contains(kReport));
}

TEST(StartupProgram, WithNoDisplaySaysSoAndEndsWithStatusOne) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(name);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(TAMSAVIK_BINARY, {});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    const QString said = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
    EXPECT_TRUE(said.contains("no display")) << said.toStdString();
}

}  // namespace

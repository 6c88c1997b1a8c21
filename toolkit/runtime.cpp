// The run of the program: start, event loop, quit, and the report of
// exceptions that nobody caught.
#include "toolkit/runtime.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "toolkit/text_qt.h"
#include "toolkit/window_qt.h"

namespace tk {

namespace {

// All the run's state, in one object so that it goes in one known order:
// the application, which destroys the windows, before the windows' registry.
struct RunState {
    int exitCode = 0;
    bool quitRequested = false;
    std::string startedAs;
    std::vector<HeldWindow> windows;
    std::unique_ptr<Application> app;
};

RunState& State() {
    static RunState state;
    return state;
}

std::string& StartedAs() {
    return State().startedAs;
}

// The path, quoted for a shell where it needs it.
std::string ForShell(const std::string& path) {
    if (!path.empty() &&
        path.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                               "0123456789_./+-=:,@%") == std::string::npos) {
        return path;
    }
    std::string quoted = "'";
    for (const char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

std::vector<HeldWindow>& HeldWindows() {
    return State().windows;
}

void CannotShowWindows(const std::string& problem) {
    std::string line = problem;
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    // Under a virtual display the X11 window system serves, whatever was asked for.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool other = platform != nullptr && *platform != '\0' && std::string(platform) != "xcb";
    std::fprintf(stderr,
                 "%s: %s; run it on a desktop, or under a virtual display: %sxvfb-run -a %s\n",
                 ProgramName().c_str(), line.c_str(), other ? "QT_QPA_PLATFORM=xcb " : "",
                 ForShell(StartedAs()).c_str());
    std::fflush(stderr);
    // Not exit(): this may run inside the window system's start, half done.
    std::_Exit(1);
}

std::string ProgramName() {
    if (const Application* app = Application::Current()) return app->Name();
    const std::string& path = StartedAs();
    return path.empty() ? "program" : path.substr(path.find_last_of('/') + 1);
}

void RuntimeInit(int argc, char** argv) {
    // The program takes no arguments; its name is for messages.
    if (argc > 0 && argv != nullptr && argv[0] != nullptr && *argv[0] != '\0')
        StartedAs() = argv[0];
    // Without a session's runtime folder Qt makes one and warns about it on
    // every start; make it ourselves, as Qt would, and say nothing.
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir == nullptr || *runtimeDir == '\0') {
        const std::string folder = "/tmp/runtime-" + std::to_string(getuid());
        if (mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) {
            struct stat info {};
            if (stat(folder.c_str(), &info) == 0 && info.st_uid == getuid() &&
                (info.st_mode & 0777) == 0700) {
                setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
            }
        }
    }
}

void RuntimePerformInitializers() {}

void SetSupportsHiDPI(bool on) {
    if (on) {
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    } else {
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    }
}

void RuntimeRegisterAppObject(std::unique_ptr<Application> app) {
    State().app = std::move(app);
}

void RunFrameworkInitialization(std::function<void()> lateStartup) {
    QTimer::singleShot(0, qApp, [step = std::move(lateStartup)] { CallGuarded(step); });
}

void RuntimeRun() {
    if (State().quitRequested || QCoreApplication::instance() == nullptr) return;
    QApplication::exec();
}

void RuntimePerformFinalizers() {
    // Windows go before the application that shows them.
    WindowInternals::DestroyAll();
    State().app.reset();
}

int RuntimeExit() {
    return State().exitCode;
}

void Quit(int code) {
    State().exitCode = code;
    State().quitRequested = true;
    if (QCoreApplication::instance() != nullptr) QCoreApplication::exit(code);
}

bool QuitRequested() {
    return State().quitRequested;
}

void UnhandledException(std::exception_ptr error) {
    std::string what = "an unknown error";
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        what = TypeName(typeid(e)) + ": " + e.what();
    } catch (...) {
    }
    std::cerr << ProgramName() << ": an error nobody handled ended the program: " << what
              << std::endl;
    Quit(1);
}

bool RuntimeIsEventHandled(std::span<const std::string_view> events, std::string_view event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

void CallGuarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (...) {
        UnhandledException(std::current_exception());
    }
}

}  // namespace tk

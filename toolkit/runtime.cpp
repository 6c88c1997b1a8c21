// The run of the program: start, event loop, quit, and the report of
// exceptions that nobody caught.
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "toolkit/application.h"
#include "toolkit/qt_widgets.h"

namespace tk {

namespace {

struct RunState {
    int exitCode = 0;
    bool quitRequested = false;
    std::unique_ptr<Application> app;
};

RunState& State() {
    static RunState state;
    return state;
}

bool HasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0') return true;
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

void RuntimeInit(int argc, char** argv) {
    (void)argc;
    (void)argv;  // the program takes no arguments
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "tamsavik: no display to show windows on (DISPLAY is not set); run it on a "
                     "desktop, or under a virtual display: xvfb-run -a build/bin/tamsavik\n");
        std::exit(1);
    }
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
    // Windows go before the application that shows them. Deleting one window
    // deletes its menus, which are top-level widgets too: hold them weakly.
    QList<QPointer<TopLevelWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* top = dynamic_cast<TopLevelWidget*>(widget)) windows.append(top);
    }
    for (const QPointer<TopLevelWidget>& top : windows) delete top.data();
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
    std::cerr << "tamsavik: an error nobody handled ended the program: " << what << std::endl;
    Quit(1);
}

void CallGuarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (...) {
        UnhandledException(std::current_exception());
    }
}

}  // namespace tk

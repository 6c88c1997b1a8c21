#include "toolkit/application.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "toolkit/menu.h"
#include "toolkit/menu_qt.h"
#include "toolkit/runtime.h"
#include "toolkit/text_qt.h"
#include "toolkit/window_qt.h"

namespace tk {

struct ApplicationImpl {
    explicit ApplicationImpl(const std::string& name) : argv0(name) {}
    std::string argv0;
    int argc = 1;
    char* argv[2] = {argv0.data(), nullptr};
    std::unique_ptr<QApplication> qt;
};

namespace {

Application* g_current = nullptr;

// What Qt says while it connects to the window system: kept, to be passed on
// once it has started, or to name the problem when it cannot start.
struct StartMessage {
    QtMsgType type;
    QString text;
};
QList<StartMessage> g_startMessages;

QString EnvironmentText(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// X11 needs DISPLAY, which Qt would find missing only by ending the process.
void CheckForDisplay() {
    const QString platform = EnvironmentText("QT_QPA_PLATFORM");
    if ((platform.isEmpty() && EnvironmentText("WAYLAND_DISPLAY").isEmpty()) || platform == "xcb") {
        if (!qEnvironmentVariableIsSet("DISPLAY"))
            CannotShowWindows("no display to show windows on (DISPLAY is not set)");
        if (EnvironmentText("DISPLAY").isEmpty())
            CannotShowWindows("no display to show windows on (DISPLAY is empty)");
    }
}

// Names the window system that cannot be used, with the first thing Qt said
// while it started, or else `text`.
[[noreturn]] void CannotUse(const QString& text) {
    const QString platform =
        EnvironmentText("QT_QPA_PLATFORM").isEmpty() ? "xcb" : EnvironmentText("QT_QPA_PLATFORM");
    QString said;
    for (const StartMessage& m : g_startMessages) {
        if (m.text.contains("could not connect to display", Qt::CaseInsensitive)) {
            if (EnvironmentText("DISPLAY").isEmpty())
                CannotShowWindows("no display to show windows on (DISPLAY is not set)");
            CannotShowWindows(QString("cannot reach the display \"%1\" that DISPLAY names")
                                  .arg(EnvironmentText("DISPLAY"))
                                  .toStdString());
        }
        if (said.isEmpty()) said = m.text;
    }
    if (said.isEmpty()) said = text.section('\n', 0, 0);
    CannotShowWindows(QString("the window system \"%1\" cannot be used (%2)")
                          .arg(platform, said.simplified())
                          .toStdString());
}

// Qt ends the process when it finds no usable window system; say why instead.
void WhileStarting(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtFatalMsg) {
        g_startMessages.append({type, text});
        return;
    }
    CannotUse(text);
}

// Once running on X11: the connection to the display, and who took Qt's
// messages before.
xcb_connection_t* g_display = nullptr;
QtMessageHandler g_passOn = nullptr;

// When the X11 connection breaks, Qt warns and calls exit(), which would tear
// the program down around a framework that can no longer reach its windows.
// Say so in one line and end at once instead.
void WhileRunning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (g_display != nullptr && xcb_connection_has_error(g_display) != 0) {
        std::fprintf(stderr, "%s: lost the connection to the display \"%s\"\n",
                     ProgramName().c_str(), qgetenv("DISPLAY").constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (g_passOn != nullptr) g_passOn(type, context, text);
}

}  // namespace

Application::Application(std::string name)
    : impl_(std::make_unique<ApplicationImpl>(name)), name_(std::move(name)) {
    g_current = this;  // the program's name, for any message from here on
    if (QApplication::instance() == nullptr) {
        CheckForDisplay();
        g_startMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(WhileStarting);
        impl_->qt = std::make_unique<QApplication>(impl_->argc, impl_->argv);
        // A window system with no screen would fail at the first window.
        if (QGuiApplication::primaryScreen() == nullptr) CannotUse("it has no screen");
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            g_display = x11->connection();
        g_passOn = previous;
        qInstallMessageHandler(WhileRunning);
        for (const StartMessage& m : g_startMessages) {
            qt_message_output(m.type, QMessageLogContext(), m.text);
        }
        g_startMessages.clear();
    }
    // Only Quit ends the run: closing the last visible window does not.
    QApplication::setQuitOnLastWindowClosed(false);
}

Application::~Application() {
    // Windows cannot outlive the framework's application that shows them.
    WindowInternals::DestroyAll();
    if (impl_->qt) {
        qInstallMessageHandler(g_passOn);
        g_display = nullptr;
    }
    if (g_current == this) g_current = nullptr;
    menuBar_.reset();
}

Application* Application::Current() {
    return g_current;
}

void Application::_x_SetVersionData(std::int64_t major, std::int64_t minor, std::int64_t bug,
                                    std::int64_t nonRelease, std::int64_t stageCode,
                                    std::string longVersion, std::string shortVersion,
                                    std::string packageInfo) {
    version_ = VersionData{major,
                           minor,
                           bug,
                           nonRelease,
                           stageCode,
                           std::move(longVersion),
                           std::move(shortVersion),
                           std::move(packageInfo)};
    QCoreApplication::setApplicationName(FromUtf8(version_.packageInfo));
    QCoreApplication::setApplicationVersion(QString("%1.%2.%3").arg(major).arg(minor).arg(bug));
}

void Application::SetMenuBar(std::shared_ptr<MenuBar> bar) {
    CheckMainThread("setting the application's menu bar");
    menuBar_ = std::move(bar);
    // There is no menu bar of the application's own on this platform; its
    // items' shortcuts still work from every window.
    if (menuBar_) ActivateShortcuts(*menuBar_);
}

}  // namespace tk

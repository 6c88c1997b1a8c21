// The application object and the run of the program: start, the event loop,
// quitting with an exit code, and the report of exceptions nobody caught.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "toolkit/object.h"

namespace tk {

class MenuBar;
struct ApplicationImpl;

struct VersionData {
    std::int64_t major = 0;
    std::int64_t minor = 0;
    std::int64_t bug = 0;
    std::int64_t nonRelease = 0;
    std::int64_t stageCode = 0;
    std::string longVersion;
    std::string shortVersion;
    std::string packageInfo;
};

class Application : public Object {
  public:
    // Creates the user-interface framework's application; there is one at a time.
    // `name` is what the program is called on the command line: its messages
    // begin with it, and its resources are found under share/`name`.
    explicit Application(std::string name);
    ~Application() override;
    const std::string& Name() const { return name_; }
    std::string ClassName() const override { return "Application"; }

    void _x_SetVersionData(std::int64_t major, std::int64_t minor, std::int64_t bug,
                           std::int64_t nonRelease, std::int64_t stageCode, std::string longVersion,
                           std::string shortVersion, std::string packageInfo);
    const VersionData& Version() const { return version_; }

    void SetMenuBar(std::shared_ptr<MenuBar> bar);
    std::shared_ptr<MenuBar> GetMenuBar() const { return menuBar_; }

    // The registered application object, or null.
    static Application* Current();

  private:
    std::unique_ptr<ApplicationImpl> impl_;
    std::string name_;
    VersionData version_;
    std::shared_ptr<MenuBar> menuBar_;
};

// --- The run -----------------------------------------------------------------

// Starts the runtime; keeps the path the program was started as, for messages.
void RuntimeInit(int argc, char** argv);
// The name the program's messages begin with: the application's, or before
// there is one, the file the program was started as.
std::string ProgramName();
// Prints one line naming what keeps the program from a display, and how to
// run it anyway, and ends the process with status 1.
[[noreturn]] void CannotShowWindows(const std::string& problem);
void RuntimePerformInitializers();
// Switches high-resolution support on or off; call before the application exists.
void SetSupportsHiDPI(bool on);
// Keeps the application object alive for the rest of the run.
void RuntimeRegisterAppObject(std::unique_ptr<Application> app);
// Calls `lateStartup` once the framework is ready, from the event loop.
void RunFrameworkInitialization(std::function<void()> lateStartup);
// Runs the event loop until the program quits.
void RuntimeRun();
void RuntimePerformFinalizers();
// The exit status: the code given to Quit, or non-zero after an unhandled exception.
int RuntimeExit();

// Ends the event loop; `code` becomes the process's exit status.
void Quit(int code);
bool QuitRequested();

// Reports an exception that nobody caught: one message on stderr, and the run
// ends with a non-zero exit status.
void UnhandledException(std::exception_ptr error);

// Calls `fn`, handing any exception that escapes it to UnhandledException.
// Used wherever the toolkit calls program code.
void CallGuarded(const std::function<void()>& fn);

}  // namespace tk

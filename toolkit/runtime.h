// The run of the program: start, the event loop, quitting with an exit code,
// and the report of exceptions that nobody caught.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "toolkit/application.h"

namespace tk {

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

// The runtime's answer to "is this event implemented by the class": true when
// `event` is among the class's own `events`.
bool RuntimeIsEventHandled(std::span<const std::string_view> events, std::string_view event);

// Calls `fn`, handing any exception that escapes it to UnhandledException.
// Used wherever the toolkit calls program code.
void CallGuarded(const std::function<void()>& fn);
// The same for a handler with a result: its result, or `otherwise` when it failed.
template <class T, class F>
T CallGuarded(T otherwise, F&& fn) {
    CallGuarded([&] { otherwise = fn(); });
    return otherwise;
}

}  // namespace tk

// The program's start-up: from the process entry to the event loop.
#pragma once

namespace app {

// The whole run: runtime start, initialisers, the main routine, finalisers;
// returns the exit status.
int Run(int argc, char** argv);

// The main routine: early start-up, the framework's initialisation with the
// late start-up step, and the event loop. An exception that escapes any of
// them is reported, and the steps after it do not run.
void Main();

void EarlyStartup();
void NewAppInstance();
void LateStartup();
void MakeDefaultView();

// The program's name, for the application object's version data.
inline constexpr const char* kPackageInfo = "Tamsavik";

}  // namespace app

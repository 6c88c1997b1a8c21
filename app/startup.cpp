#include "app/startup.h"

#include <memory>

#include "app/Tamsavik.h"
#include "menus/MenuBar1.h"
#include "resources/layouts.h"
#include "toolkit/runtime.h"
#include "windows/AboutWnd.h"

namespace app {

void NewAppInstance() {
    auto application = std::make_unique<Tamsavik>();
    application->Constructor();
    application->_x_SetVersionData(TAMSAVIK_VERSION_MAJOR, TAMSAVIK_VERSION_MINOR,
                                   TAMSAVIK_VERSION_PATCH, 0, 3,
                                   std::string(resources::kAuthorshipNotice), "", kPackageInfo);
    application->SetMenuBar(MenuBar1::Instance());
    tk::RuntimeRegisterAppObject(std::move(application));
}

void EarlyStartup() {
    tk::SetSupportsHiDPI(true);
    NewAppInstance();
}

void MakeDefaultView() {
    AboutWnd::Instance();
}

void LateStartup() {
    MakeDefaultView();
}

void Main() {
    try {
        EarlyStartup();
        tk::RunFrameworkInitialization(LateStartup);
        tk::RuntimeRun();
    } catch (...) {
        tk::UnhandledException(std::current_exception());
    }
}

int Run(int argc, char** argv) {
    tk::RuntimeInit(argc, argv);
    tk::RuntimePerformInitializers();
    Main();
    tk::RuntimePerformFinalizers();
    return tk::RuntimeExit();
}

}  // namespace app

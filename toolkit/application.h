// The application object: the framework's application, the program's name,
// its version data and its menu bar.
#pragma once

#include <cstdint>
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

}  // namespace tk

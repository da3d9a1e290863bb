#include "program_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/single_instance.h"
#include "support/scoped_env.h"
#include "update/product_name.h"

namespace shell_testing {

namespace fs = std::filesystem;

testing_support::EnvironmentChanges ProgramRunTest::Environment(
    const testing_support::EnvironmentChanges& changes) const {
    ::mkdir(runtime_.c_str(), 0700);
    testing_support::EnvironmentChanges environment = {
        {"VELKARO_HID", "sim"},
        {"VELKARO_SIM", "none"},
        {"XDG_DATA_HOME", dir_.File("data")},
        {"XDG_CONFIG_HOME", dir_.File("config")},
        {"XDG_RUNTIME_DIR", runtime_},
        {"TMPDIR", dir_.path()},
        {"SDL_VIDEODRIVER", "offscreen"},
        {"DISPLAY", std::nullopt},
        {"WAYLAND_DISPLAY", std::nullopt},
        {"VELKARO_SCREENSHOT", std::nullopt},
        {"VELKARO_TRACE", std::nullopt},
    };
    for (const auto& [name, value] : changes) {
        environment[name] = value;
    }
    return environment;
}

std::unique_ptr<testing_support::ChildProcess> ProgramRunTest::Run(
    const std::string& program, const testing_support::EnvironmentChanges& changes) {
    return std::make_unique<testing_support::ChildProcess>(
        std::vector<std::string>{program}, Environment(changes),
        dir_.File("stderr-" + std::to_string(++runs_)));
}

std::string ProgramRunTest::ProgramCopy(const std::string& name, bool withSkin,
                                        bool withDefaultData) {
    const fs::path built = VELKARO_PROGRAM;
    const fs::path folder = dir_.File(name);
    std::error_code ec;
    fs::create_directories(folder, ec);
    // A hard link costs nothing; the program finds its folder through its own path.
    fs::create_hard_link(built, folder / "velkaro", ec);
    if (ec) {
        fs::copy_file(built, folder / "velkaro", ec);
    }
    fs::create_directory_symlink(built.parent_path() / "Font", folder / "Font", ec);
    if (withSkin) {
        fs::copy(built.parent_path() / "skin", folder / "skin", fs::copy_options::recursive, ec);
    }
    if (withDefaultData) {
        fs::create_directory_symlink(built.parent_path() / "DefaultData", folder / "DefaultData",
                                     ec);
    }
    return (folder / "velkaro").string();
}

bool ProgramRunTest::WaitUntilListening(const std::string& runtimeFolder) {
    testing_support::ScopedEnv env("XDG_RUNTIME_DIR", runtimeFolder);
    // The product message only brings the window to the front.
    return platform::SingleInstance::SendToRunning(kProductName, kProductName, 0, 1, kProgramMs);
}

}  // namespace shell_testing

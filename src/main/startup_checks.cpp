#include "main/startup_checks.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/hid/hid_bus.h"
#include "sim/scenario.h"

namespace {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string SimModelList() {
    std::string list;
    for (std::string_view model : sim::kSimModelNames) {
        list += (list.empty() ? "" : ", ") + std::string(model);
    }
    return list;
}

}  // namespace

std::optional<StartupProblem> CheckEnvironmentChoices() {
    const std::string hid = EnvironmentValue("VELKARO_HID");
    if (!platform::hid::IsKnownHidBackendChoice(hid.c_str())) {
        return StartupProblem{2, "unknown VELKARO_HID value \"" + hid +
                                     "\"; accepted values: hidraw (the devices on this "
                                     "computer, the default) or sim (simulated devices)"};
    }
    const std::string scenario = EnvironmentValue("VELKARO_SIM");
    std::vector<sim::ScenarioEntry> entries;
    if (!sim::ParseScenario(scenario, &entries)) {
        return StartupProblem{
            2, "unknown VELKARO_SIM value \"" + scenario +
                   "\"; accepted values: none, or a comma-separated list of " + SimModelList() +
                   ", each optionally with a plug time in milliseconds (keyboard@500); unset "
                   "or empty means keyboard"};
    }
    return std::nullopt;
}

std::optional<StartupProblem> CheckInstanceFolders(const std::string& instanceFolder) {
    for (const char* name : {"skin", "DefaultData"}) {
        const std::string folder = instanceFolder + name + "/";
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec)) {
            return StartupProblem{1, "the folder " + folder +
                                         " is missing; Velkaro needs its skin and DefaultData "
                                         "folders beside the program"};
        }
    }
    return std::nullopt;
}

std::optional<StartupProblem> CheckDisplay(bool hasDisplay) {
    const std::string driver = EnvironmentValue("SDL_VIDEODRIVER");
    const bool offscreenAsked = !EnvironmentValue("VELKARO_SCREENSHOT").empty() ||
                                driver == "dummy" || driver == "offscreen";
    if (hasDisplay || offscreenAsked) {
        return std::nullopt;
    }
    const std::string display = EnvironmentValue("DISPLAY");
    return StartupProblem{1, (display.empty() ? std::string("no display: DISPLAY is not set")
                                              : "cannot open the display \"" + display + "\"") +
                                 "; to paint off-screen set VELKARO_SCREENSHOT=<file.png> or "
                                 "SDL_VIDEODRIVER=offscreen"};
}

int ReportStartupProblem(const StartupProblem& problem) {
    std::fprintf(stderr, "velkaro: %s\n", problem.message.c_str());
    return problem.exitCode;
}

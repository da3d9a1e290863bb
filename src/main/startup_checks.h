#pragma once
// What a start needs before it can show a window, each checked with a message that says
// what is wrong: the environment's choices, the folders beside the executable, a display.

#include <optional>
#include <string>

struct StartupProblem {
    int exitCode = 1;
    std::string message;  // one or more lines, without the program's name
};

// An unknown VELKARO_HID or VELKARO_SIM value (exit code 2), listing the accepted values.
std::optional<StartupProblem> CheckEnvironmentChoices();
// A missing skin or DefaultData folder in `instanceFolder` (exit code 1), naming it.
std::optional<StartupProblem> CheckInstanceFolders(const std::string& instanceFolder);
// No display while painting off-screen was not asked for (VELKARO_SCREENSHOT, or
// SDL_VIDEODRIVER=dummy|offscreen).
std::optional<StartupProblem> CheckDisplay(bool hasDisplay);

// Writes the problem to stderr and gives its exit code.
int ReportStartupProblem(const StartupProblem& problem);

#pragma once
// The running desktop's own keyboard and mouse settings: the desktop is named by
// XDG_CURRENT_DESKTOP (a colon-separated list, most specific first), and its settings
// program must be found on PATH.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class SettingsPage { kKeyboard, kMouse };

struct SettingsCommand {
    std::string program;  // absolute path found on PATH
    std::vector<std::string> arguments;
    bool operator==(const SettingsCommand&) const = default;
};

// The first desktop of `currentDesktop` that is known and whose settings program lies in
// a folder of `searchPath`; nothing when none is.
std::optional<SettingsCommand> FindDesktopSettings(SettingsPage page,
                                                   std::string_view currentDesktop,
                                                   std::string_view searchPath);

// Starts `command` detached from this process (its own session, default signal state);
// false when it could not be started.
bool LaunchDetached(const SettingsCommand& command);

// Finds the settings of this session's desktop and starts them; false when there are
// none or they could not be started.
bool OpenDesktopSettings(SettingsPage page);

}  // namespace platform

#include "platform/desktop_settings.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <strings.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace platform {
namespace {

// One way a desktop opens its two pages: a program and its argument (nullptr for none)
// for each page.
struct Opener {
    const char* keyboardProgram;
    const char* keyboardArgument;
    const char* mouseProgram;
    const char* mouseArgument;
};

struct DesktopEntry {
    const char* name;             // as XDG_CURRENT_DESKTOP spells it, compared without case
    std::vector<Opener> openers;  // tried in this order
};

const std::vector<DesktopEntry>& KnownDesktops() {
    static const std::vector<DesktopEntry> desktops = {
        {"GNOME", {{"gnome-control-center", "keyboard", "gnome-control-center", "mouse"}}},
        {"KDE",
         {{"kcmshell6", "kcm_keyboard", "kcmshell6", "kcm_mouse"},
          {"kcmshell5", "kcm_keyboard", "kcmshell5", "kcm_mouse"},
          {"systemsettings", "kcm_keyboard", "systemsettings", "kcm_mouse"},
          {"systemsettings5", "kcm_keyboard", "systemsettings5", "kcm_mouse"}}},
        {"XFCE", {{"xfce4-keyboard-settings", nullptr, "xfce4-mouse-settings", nullptr}}},
        {"X-Cinnamon", {{"cinnamon-settings", "keyboard", "cinnamon-settings", "mouse"}}},
        {"Cinnamon", {{"cinnamon-settings", "keyboard", "cinnamon-settings", "mouse"}}},
        {"MATE", {{"mate-keyboard-properties", nullptr, "mate-mouse-properties", nullptr}}},
        {"LXQt", {{"lxqt-config-input", nullptr, "lxqt-config-input", nullptr}}},
    };
    return desktops;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// Only absolute folders count: an empty or relative PATH entry would run whatever lies in
// the current folder.
std::optional<std::string> FindOnPath(const std::string& program, std::string_view searchPath) {
    size_t start = 0;
    while (start <= searchPath.size()) {
        const size_t end = std::min(searchPath.find(':', start), searchPath.size());
        const std::string_view folder = searchPath.substr(start, end - start);
        if (!folder.empty() && folder.front() == '/') {
            std::string candidate(folder);
            if (candidate.back() != '/') {
                candidate.push_back('/');
            }
            candidate += program;
            if (IsExecutableFile(candidate)) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return std::nullopt;
}

const DesktopEntry* KnownDesktop(std::string_view name) {
    for (const DesktopEntry& desktop : KnownDesktops()) {
        const std::string wanted(name);
        if (strcasecmp(desktop.name, wanted.c_str()) == 0) {
            return &desktop;
        }
    }
    return nullptr;
}

std::optional<SettingsCommand> FindForDesktop(const DesktopEntry& desktop, SettingsPage page,
                                              std::string_view searchPath) {
    for (const Opener& opener : desktop.openers) {
        const bool keyboard = page == SettingsPage::kKeyboard;
        const std::optional<std::string> found =
            FindOnPath(keyboard ? opener.keyboardProgram : opener.mouseProgram, searchPath);
        if (!found) {
            continue;
        }
        SettingsCommand command{*found, {}};
        const char* argument = keyboard ? opener.keyboardArgument : opener.mouseArgument;
        if (argument != nullptr) {
            command.arguments.emplace_back(argument);
        }
        return command;
    }
    return std::nullopt;
}

}  // namespace

std::optional<SettingsCommand> FindDesktopSettings(SettingsPage page,
                                                   std::string_view currentDesktop,
                                                   std::string_view searchPath) {
    size_t start = 0;
    while (start < currentDesktop.size()) {
        const size_t end = std::min(currentDesktop.find(':', start), currentDesktop.size());
        if (const DesktopEntry* desktop = KnownDesktop(currentDesktop.substr(start, end - start))) {
            if (auto command = FindForDesktop(*desktop, page, searchPath)) {
                return command;
            }
        }
        start = end + 1;
    }
    return std::nullopt;
}

bool LaunchDetached(const SettingsCommand& command) {
    // Everything the children need is made before fork: after it, in a process with
    // threads, only async-signal-safe calls are allowed.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(command.program.c_str()));
    for (const std::string& argument : command.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    sigset_t none;
    sigemptyset(&none);

    // The middle child exits at once, so the settings program is nobody's zombie and
    // this process waits only for that exit.
    const pid_t middle = fork();
    if (middle < 0) {
        return false;
    }
    if (middle == 0) {
        if (fork() == 0) {
            setsid();
            // This process blocks its shutdown signals in every thread; the program
            // started must not inherit that.
            sigprocmask(SIG_SETMASK, &none, nullptr);
            signal(SIGPIPE, SIG_DFL);
            execv(argv[0], argv.data());
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool OpenDesktopSettings(SettingsPage page) {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    const char* path = std::getenv("PATH");
    const auto command =
        FindDesktopSettings(page, desktop != nullptr ? desktop : "", path != nullptr ? path : "");
    return command && LaunchDetached(*command);
}

}  // namespace platform

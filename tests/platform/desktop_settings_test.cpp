// The desktop's own keyboard and mouse settings: which program is chosen for which
// desktop on a fake PATH, and how it is started.

#include "platform/desktop_settings.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/temp_dir.h"

namespace {

using platform::FindDesktopSettings;
using platform::SettingsCommand;
using platform::SettingsPage;

class DesktopSettingsTest : public ::testing::Test {
  protected:
    // A program named `name` in folder `folder` of the fake PATH.
    std::string Install(const std::string& folder, const std::string& name,
                        const std::string& body = "exit 0", bool executable = true) {
        std::filesystem::create_directories(dir_.File(folder));
        const std::string path = dir_.File(folder + "/" + name);
        EXPECT_TRUE(testing_support::WriteTextFile(path, "#!/bin/sh\n" + body + "\n"));
        chmod(path.c_str(), executable ? 0755 : 0644);
        return path;
    }
    std::string PathOf(std::initializer_list<const char*> folders) const {
        std::string path;
        for (const char* folder : folders) {
            path += (path.empty() ? "" : ":") + dir_.File(folder);
        }
        return path;
    }

    testing_support::TempDir dir_;
};

TEST_F(DesktopSettingsTest, EachDesktopGetsItsOwnSettingsPage) {
    const std::string kcm = Install("bin", "kcmshell5");
    const std::string gnome = Install("bin", "gnome-control-center");
    const std::string xfceMouse = Install("more", "xfce4-mouse-settings");
    const std::string xfceKeys = Install("more", "xfce4-keyboard-settings");
    const std::string cinnamon = Install("more", "cinnamon-settings");
    const std::string path = PathOf({"bin", "more"});

    // KDE's newer shell is absent, so the older one opens the module.
    EXPECT_EQ(FindDesktopSettings(SettingsPage::kKeyboard, "KDE", path),
              (SettingsCommand{kcm, {"kcm_keyboard"}}));
    EXPECT_EQ(FindDesktopSettings(SettingsPage::kMouse, "ubuntu:GNOME", path),
              (SettingsCommand{gnome, {"mouse"}}));
    // Xfce keeps its two pages in two programs; names compare without case.
    EXPECT_EQ(FindDesktopSettings(SettingsPage::kMouse, "xfce", path),
              (SettingsCommand{xfceMouse, {}}));
    EXPECT_EQ(FindDesktopSettings(SettingsPage::kKeyboard, "XFCE", path),
              (SettingsCommand{xfceKeys, {}}));
    EXPECT_EQ(FindDesktopSettings(SettingsPage::kKeyboard, "X-Cinnamon", path),
              (SettingsCommand{cinnamon, {"keyboard"}}));
}

TEST_F(DesktopSettingsTest, AnUnknownOrMissingDesktopFindsNothing) {
    Install("bin", "gnome-control-center");
    Install("bin", "mate-mouse-properties", "exit 0", false);  // not executable
    Install("cwd", "lxqt-config-input");
    const std::string path = PathOf({"bin"});

    EXPECT_FALSE(FindDesktopSettings(SettingsPage::kMouse, "", path));
    EXPECT_FALSE(FindDesktopSettings(SettingsPage::kMouse, "Hyprland", path));
    EXPECT_FALSE(FindDesktopSettings(SettingsPage::kMouse, "MATE", path));
    EXPECT_FALSE(FindDesktopSettings(SettingsPage::kMouse, "KDE", path))
        << "another desktop's program is not this desktop's settings";
    // Relative and empty PATH entries would run whatever lies in the current folder.
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir_.File("cwd"));
    EXPECT_FALSE(FindDesktopSettings(SettingsPage::kMouse, "LXQt", ".::cwd"));
    std::filesystem::current_path(old);

    // A later entry of the list is used when the first desktop has no program here.
    EXPECT_TRUE(FindDesktopSettings(SettingsPage::kMouse, "KDE:GNOME", path));
}

TEST_F(DesktopSettingsTest, TheStartedProgramGetsItsArgumentsAndNoBlockedSignals) {
    const std::string out = dir_.File("started.txt");
    const std::string program =
        Install("bin", "settings",
                "grep SigBlk /proc/self/status > '" + out + ".tmp'; echo \"$@\" >> '" + out +
                    ".tmp'; mv '" + out + ".tmp' '" + out + "'");
    // This process blocks its shutdown signals; the settings program must not.
    sigset_t blocked, old;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &blocked, &old);
    EXPECT_TRUE(platform::LaunchDetached(SettingsCommand{program, {"kcm_mouse", "two words"}}));
    pthread_sigmask(SIG_SETMASK, &old, nullptr);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!std::filesystem::exists(out) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(testing_support::ReadTextFile(out),
              "SigBlk:\t0000000000000000\nkcm_mouse two words\n");
}

}  // namespace

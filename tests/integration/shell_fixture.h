#pragma once
// A main window run headless over a simulated bus, with the per-user, configuration and
// runtime folders of a temporary folder.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/main_wnd/main_wnd.h"
#include "platform/debug_trace.h"
#include "platform/hid/sim_hid_bus.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace shell_testing {

using testing_support::ScopedEnv;

// Handles this thread's messages until `done` holds or `ms` have passed; true when it held.
bool PumpUntil(const std::function<bool()>& done, int ms = 1500);
// Handles this thread's messages for `ms`.
void PumpFor(int ms);

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main window as the entry point does and waits for its "windowinit".
    void CreateMainWindow();
    // Asks the window to close as the desktop does and runs the stop.
    void CloseMainWindow();
    DuiLib::CControlUI* Find(const wchar_t* name);
    bool IsMainWindowVisible();

    testing_support::ScopedUserFolders folders_;
    testing_support::TempDir runtime_;
    std::unique_ptr<ScopedEnv> runtimeEnv_;
    // A Chinese locale: a fresh user starts in language 0 (Chinese) whatever the
    // machine's locale.
    ScopedEnv locale_{"LC_ALL", "zh_CN.UTF-8"};
    platform::hid::SimHidBus bus_;
    std::unique_ptr<platform::hid::ScopedHidBus> useBus_;
    platform::TraceCapture trace_;
    std::unique_ptr<CMainWnd> window_;
};

}  // namespace shell_testing

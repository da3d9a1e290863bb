// The program's entry point: one instance per user, the registered messages, the private
// fonts, the control classes, the main window and its message loop, and an ordered stop.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/control_registration.h"
#include "app/file_choosers.h"
#include "app/main_wnd/main_wnd.h"
#include "app/private_font_set.h"
#include "app/registered_messages.h"
#include "app/shutdown_signals.h"
#include "duilib/paint_manager.h"
#include "duilib/render/sdl/sdl_render_session.h"
#include "duilib/resource_manager.h"
#include "main/startup_checks.h"
#include "platform/bus/sleep_watcher.h"
#include "platform/hid/hid_bus.h"
#include "platform/paths.h"
#include "platform/single_instance.h"
#include "platform/text_convert.h"
#include "platform/window_messages.h"
#include "sim/scenario.h"

using namespace DuiLib;

namespace {

// An instance that is ending stops its threads before it lets its lock go.
constexpr auto kEndingInstanceWait = std::chrono::seconds(10);
constexpr uint32_t kLockRetryMs = 500;

// The running instance comes to the front and this start has nothing to do (exit code 0),
// unless that one is ending: then this start goes on once it has ended (nullopt).
// A termination request while waiting ends this start too.
std::optional<int> HandOverToRunning(platform::SingleInstance& instance,
                                     const ShutdownSignals& signals) {
    const auto deadline = std::chrono::steady_clock::now() + kEndingInstanceWait;
    while (!instance.IsFirst()) {
        if (platform::SingleInstance::SendToRunning(kProductName, kProductName, 0, 1) ||
            signals.Received()) {
            return 0;
        }
        if (instance.state() == platform::SingleInstance::State::kFailed) {
            return ReportStartupProblem({1, instance.Error()});
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return ReportStartupProblem({1, "another instance is running but does not answer"});
        }
        instance.WaitToBeFirst(kLockRetryMs);
    }
    return std::nullopt;
}

}  // namespace

int main() {
    ShutdownSignals signals;  // first: the signals stay blocked in every later thread
    if (auto problem = CheckEnvironmentChoices()) {
        return ReportStartupProblem(*problem);
    }
    AppMessages();  // every registered id exists before the first window
    platform::SingleInstance instance(kProductName);
    if (instance.state() == platform::SingleInstance::State::kFailed) {
        return ReportStartupProblem({1, instance.Error()});
    }
    if (!instance.IsFirst()) {
        if (auto handedOver = HandOverToRunning(instance, signals)) {
            return *handedOver;
        }
    }
    if (auto problem = CheckInstanceFolders(platform::InstancePath())) {
        return ReportStartupProblem(*problem);
    }
    PrivateFontSet fonts(platform::InstancePath() + "Font/");
    // Windows appear on the desktop (or, when asked, are painted off-screen).
    CSdlRenderSession renderer;
    if (auto problem = CheckDisplay(renderer.HasDisplay())) {
        return ReportStartupProblem(*problem);
    }
    // With VELKARO_HID=sim the simulated devices of VELKARO_SIM are plugged in.
    std::unique_ptr<sim::SimScenario> scenario = sim::StartScenarioFromEnvironment();

    CPaintManagerUI::SetResourcePath(L"skin");
    if (!CResourceManager::GetInstance()->LoadResource(L"res.xml")) {
        return ReportStartupProblem(
            {1, "the skin cannot be read: " +
                    CResourceManager::GetInstance()->GetLastError().ToUtf8()});
    }
    RegisterControlClasses();

    auto window = std::make_unique<CMainWnd>();
    // Over the simulated bus the simulated devices have pages of their own.
    window->UseDeviceTables(DeviceTablesForBus(platform::hid::CurrentHidBus()));
    if (window->Create(nullptr, kProductName, 0x96CA0000, 0, 0, 0, 800, 572) == nullptr) {
        return ReportStartupProblem(
            {1, "the main window cannot be built: " + window->GetLastBuildError().ToUtf8()});
    }
    window->SetIcon(107);
    const HWND mainHwnd = window->GetHWND();
    InstallFileChoosers(*window);
    window->CenterWindow();
    // What other programs may send: the product message and the peer program's messages.
    if (!instance.Listen(window->GetHWND(),
                         {kProductName, kUpdateResultMessageName, kLightControlAnnounceMessageName,
                          kLightControlRequestMessageName, kConfigQueryMessageName})) {
        std::fprintf(stderr, "velkaro: %s; other programs cannot reach this one\n",
                     instance.Error().c_str());
    }
    signals.SetTarget(window->GetHWND());
    // A display that goes away closes the program as the desktop's close request does.
    int exitCode = 0;
    renderer.SetDisplayLostHandler([&exitCode, mainHwnd](const std::string& display) {
        std::fprintf(stderr, "velkaro: lost the connection to the display %s; closing\n",
                     display.c_str());
        exitCode = 1;
        platform::PostMessage(mainHwnd, WM_CLOSE, 0, 0);
    });
    // Sleep and waking reach the window as the desktop announces them.
    auto sleep = std::make_unique<platform::bus::SleepWatcher>(
        window->GetHWND(), platform::Utf8Encode(kProductName), "Lets go of the device lights");
    CPaintManagerUI::MessageLoop();

    sleep.reset();
    window.reset();
    CResourceManager::GetInstance()->Release();
    return exitCode;
}

// The main window among the desktop's services: the buttons that open the desktop's own
// keyboard and mouse settings, a move to another display, and the tray icon's clicks and
// sleep as the desktop sends them on buses of the test's own.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "app/registered_messages.h"
#include "device/vornalix_usb_device.h"
#include "duilib/menu_wnd.h"
#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_button.h"
#include "duilib/ui_control.h"
#include "platform/bus/sleep_watcher.h"
#include "platform/bus/status_notifier_item.h"
#include "platform/desktop.h"
#include "platform/unique_fd.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "platform/window_registry.h"
#include "shell_fixture.h"
#include "support/fake_logind.h"
#include "support/fake_tray_watcher.h"
#include "support/message_box_reader.h"
#include "support/private_bus.h"
#include "support/temp_dir.h"

namespace shell_testing {
namespace {

using testing_support::ManagerOfClass;

class MainWindowDesktopTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        CreateMainWindow();
    }

    // The mouse page that holds the second button is not built for the keyboard: the
    // click is dispatched by the button's name alone.
    void Click(const wchar_t* name) {
        DuiLib::CButtonUI button;
        button.SetName(name);
        DuiLib::TNotifyUI msg;
        msg.sType = DuiLib::DUI_MSGTYPE_CLICK;
        msg.pSender = &button;
        window_->Notify(msg);
    }

    testing_support::TempDir bin_;
};

TEST_F(MainWindowDesktopTest, SettingsButtonsOpenTheDesktopsOwnPages) {
    const std::string out = bin_.File("opened.txt");
    const std::string program = bin_.File("xfce4-mouse-settings");
    ASSERT_TRUE(testing_support::WriteTextFile(program, "#!/bin/sh\necho \"$0 $@\" > '" + out +
                                                            ".tmp'; /bin/mv '" + out + ".tmp' '" +
                                                            out + "'\n"));
    chmod(program.c_str(), 0755);
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "XFCE");
    ScopedEnv path("PATH", bin_.path());

    Click(L"windowdeviceset_1");
    EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(out); }, 30000));
    EXPECT_EQ(testing_support::ReadTextFile(out), program + " \n");
    EXPECT_EQ(ManagerOfClass(L"MsgWnd"), nullptr) << "found: no message";
}

TEST_F(MainWindowDesktopTest, WithoutTheDesktopsSettingsAMessageSaysSo) {
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", "KDE");
    ScopedEnv path("PATH", bin_.path());  // holds no settings program
    testing_support::MessageBoxReader reader;
    Click(L"windowdeviceset_0");
    ASSERT_EQ(reader.Texts().size(), 1u);
    const std::wstring& shown = reader.Texts()[0];
    EXPECT_EQ(
        shown,
        DuiLib::CResourceManager::GetInstance()->GetText(L"message_text_settings_missing").str());
    EXPECT_NE(shown, L"");
}

TEST_F(MainWindowDesktopTest, MovedToAnotherDisplayTheWindowTakesThatDisplaysDpiThere) {
    const platform::MonitorArea laptop{RECT{0, 0, 1366, 768}, RECT{0, 0, 1366, 768}};
    const platform::MonitorArea wide{RECT{1366, 0, 3926, 1440}, RECT{1366, 0, 3926, 1440}};
    platform::SetMonitors({laptop, wide});
    const HWND hwnd = window_->GetHWND();
    platform::SendMessage(hwnd, WM_DISPLAYCHANGE, 32, 0);
    EXPECT_EQ(window_->GetDPI(), 96);

    // The user drags it onto the wide display; the desktop tells it so.
    platform::SetWindowPos(hwnd, nullptr, 2000, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    platform::SendMessage(hwnd, WM_DISPLAYCHANGE, 32, 0);
    EXPECT_EQ(window_->GetDPI(), 144);
    RECT rc{};
    platform::GetWindowRect(hwnd, &rc);
    EXPECT_GE(rc.left, wide.bounds.left) << "laid out and centred on the display it was moved to";
    EXPECT_LE(rc.right, wide.bounds.right);
    platform::SetScreenSize(SIZE{1920, 1080});
}

TEST_F(MainWindowDesktopTest, TheNotificationAreasClicksTakeTheTrayPaths) {
    testing_support::PrivateBus sessionBus(platform::bus::BusKind::kSession);
    ASSERT_TRUE(sessionBus.IsRunning());
    testing_support::FakeWatcher watcher;
    ASSERT_TRUE(watcher.IsReady());
    // As the renderer makes it for the window's tray icon.
    const DuiLib::CTrayIcon& icon = window_->TrayIcon();
    platform::bus::StatusNotifierItem item(
        {"velkaro", "Velkaro", "velkaro", ""},
        {icon.GetWindow(), icon.GetCallbackMessage(), icon.GetIcon()}, {});
    ASSERT_TRUE(PumpUntil([&] { return !watcher.Registered().empty(); }, 20000));
    ASSERT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }, 20000));

    // A left click hides the shown window to the tray, a second one brings it back.
    EXPECT_GE(watcher.CallItem(item.ServiceName(), "Activate", 0, 0), 0);
    EXPECT_TRUE(PumpUntil([this] { return !IsMainWindowVisible(); }, 20000));
    EXPECT_GE(watcher.CallItem(item.ServiceName(), "Activate", 0, 0), 0);
    EXPECT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }, 20000));

    // A right click opens the tray menu at the pointer.
    EXPECT_GE(watcher.CallItem(item.ServiceName(), "ContextMenu", 300, 200), 0);
    ASSERT_TRUE(PumpUntil([] { return !DuiLib::CMenuWnd::GetOpenMenus().empty(); }, 20000));
    RECT menu{};
    platform::GetWindowRect(DuiLib::CMenuWnd::GetOpenMenus().front()->GetHWND(), &menu);
    EXPECT_EQ(menu.left, 300);
    EXPECT_EQ(menu.top, 200);
    DuiLib::CMenuWnd::DestroyMenu();
}

using testing_support::FakeLogind;

TEST_F(MainWindowDesktopTest, SleepLetsTheLightsGoBeforeTheComputerSleepsAndWakingTakesThem) {
    testing_support::PrivateBus systemBus(platform::bus::BusKind::kSystem);
    ASSERT_TRUE(systemBus.IsRunning());
    FakeLogind logind;
    ASSERT_TRUE(logind.IsReady());
    ASSERT_FALSE(window_->Keyboards().empty());
    CVornalixUSBDevice* keyboard = window_->Keyboards()[0];
    ASSERT_EQ(keyboard->HasLightControl(), 1);
    platform::bus::SleepWatcher watcher(window_->GetHWND(), "Velkaro", "test");
    ASSERT_TRUE(PumpUntil([&] { return logind.LocksTaken() == 1; }, 20000));

    logind.AnnounceSleep(true);
    bool releasedAfterTheWindow = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (!logind.LockReleased(0)) {
                return false;
            }
            // The lock goes only once the window has let the lights go.
            releasedAfterTheWindow = !window_->IsAwake() && keyboard->HasLightControl() == 0;
            return true;
        },
        20000));
    EXPECT_TRUE(releasedAfterTheWindow);

    logind.AnnounceSleep(false);
    EXPECT_TRUE(
        PumpUntil([&] { return window_->IsAwake() && keyboard->HasLightControl() == 1; }, 20000));
    EXPECT_TRUE(PumpUntil([&] { return logind.LocksTaken() == 2; }, 20000))
        << "a new lock for the next sleep";
    EXPECT_FALSE(logind.LockReleased(1));
}

TEST_F(MainWindowDesktopTest, ALogindThatRestartsIsAskedForTheSleepLockAgain) {
    testing_support::PrivateBus systemBus(platform::bus::BusKind::kSystem);
    ASSERT_TRUE(systemBus.IsRunning());
    auto logind = std::make_unique<FakeLogind>();
    ASSERT_TRUE(logind->IsReady());
    platform::bus::SleepWatcher watcher(window_->GetHWND(), "Velkaro", "test");
    ASSERT_TRUE(PumpUntil([&] { return logind->LocksTaken() == 1; }, 20000));

    logind.reset();
    logind = std::make_unique<FakeLogind>();
    ASSERT_TRUE(logind->IsReady());
    EXPECT_TRUE(PumpUntil([&] { return logind->LocksTaken() == 1; }, 20000));
    logind->AnnounceSleep(true);
    EXPECT_TRUE(PumpUntil([&] { return logind->LockReleased(0); }, 20000));
    EXPECT_FALSE(window_->IsAwake());
}

// A window of this thread that keeps the power changes in the order it handled them.
class PowerLog {
  public:
    PowerLog() {
        platform::WindowCreateParams params;
        params.className = L"PowerLog";
        hwnd_ = platform::CreateWindowHandle(params, [this](HWND, UINT msg, WPARAM w, LPARAM) {
            if (msg == WM_POWERBROADCAST) {
                handled_.push_back(w);
            }
            return LRESULT{0};
        });
    }
    ~PowerLog() { platform::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }
    const std::vector<WPARAM>& Handled() const { return handled_; }

    // Handles nothing until a power change waits to be sent to this thread.
    bool WaitForWaitingSend(int ms) {
        const auto queue = platform::detail::CurrentThreadQueue();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            {
                std::lock_guard lock(queue->mutex);
                if (std::any_of(queue->sends.begin(), queue->sends.end(), [](const auto& send) {
                        return send->message == WM_POWERBROADCAST;
                    })) {
                    return true;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return false;
            }
            queue->sendArrived.Wait(static_cast<uint32_t>(left.count()));
        }
    }

  private:
    HWND hwnd_ = nullptr;
    std::vector<WPARAM> handled_;
};

// The computer wakes and at once goes back to sleep while the window is busy: it learns
// of both in that order, and the lock taken on waking does not hold that sleep back.
TEST_F(MainWindowDesktopTest, AWakingAndASleepRightAfterItReachTheWindowInTheirOrder) {
    testing_support::PrivateBus systemBus(platform::bus::BusKind::kSystem);
    ASSERT_TRUE(systemBus.IsRunning());
    FakeLogind logind;
    ASSERT_TRUE(logind.IsReady());
    PowerLog log;
    platform::bus::SleepWatcher watcher(log.hwnd(), "Velkaro", "test");
    ASSERT_TRUE(PumpUntil([&] { return logind.LocksTaken() == 1; }, 20000));

    logind.AnnounceSleep(false);
    logind.AnnounceSleep(true);
    ASSERT_TRUE(log.WaitForWaitingSend(20000));
    ASSERT_TRUE(PumpUntil([&] { return log.Handled().size() >= 2; }, 20000));
    EXPECT_TRUE(
        PumpUntil([&] { return logind.LocksTaken() == 2 && logind.LockReleased(1); }, 20000))
        << "asleep, no lock is held";
    EXPECT_EQ(log.Handled(), (std::vector<WPARAM>{PBT_APMRESUMEAUTOMATIC, PBT_APMSUSPEND}));
}

// Another program on the system bus that says it is logind, in a signal addressed to the
// watcher alone. Once the watcher has answered the ping that follows the signal, it has
// handled the signal too: a connection's messages are handled in the order they came.
void ImpersonateLogind(const std::string& target, std::atomic<bool>& answered) {
    testing_support::BusPeer impostor(platform::bus::BusKind::kSystem, "com.example.Impostor",
                                      [](sd_bus*) {});
    ASSERT_TRUE(impostor.IsReady());
    impostor.Run([&](sd_bus* bus) {
        sd_bus_message* signal = nullptr;
        sd_bus_message_new_signal(bus, &signal, "/org/freedesktop/login1",
                                  "org.freedesktop.login1.Manager", "PrepareForSleep");
        sd_bus_message_set_destination(signal, target.c_str());
        sd_bus_message_append(signal, "b", 1);
        EXPECT_GE(sd_bus_send(bus, signal, nullptr), 0);
        sd_bus_message_unref(signal);
        EXPECT_GE(sd_bus_call_method_async(
                      bus, nullptr, target.c_str(), "/", "org.freedesktop.DBus.Peer", "Ping",
                      [](sd_bus_message*, void* flag, sd_bus_error*) {
                          static_cast<std::atomic<bool>*>(flag)->store(true);
                          return 0;
                      },
                      &answered, ""),
                  0);
    });
    ASSERT_TRUE(PumpUntil([&] { return answered.load(); }, 20000));
}

TEST_F(MainWindowDesktopTest, OnlyLogindItselfPutsTheDevicesToSleep) {
    testing_support::PrivateBus systemBus(platform::bus::BusKind::kSystem);
    ASSERT_TRUE(systemBus.IsRunning());
    FakeLogind logind;
    ASSERT_TRUE(logind.IsReady());
    ASSERT_FALSE(window_->Keyboards().empty());
    CVornalixUSBDevice* keyboard = window_->Keyboards()[0];
    platform::bus::SleepWatcher watcher(window_->GetHWND(), "Velkaro", "test");
    ASSERT_TRUE(PumpUntil([&] { return logind.LocksTaken() == 1; }, 20000));

    std::atomic<bool> answered{false};
    ImpersonateLogind(logind.LockHolder(), answered);
    EXPECT_TRUE(window_->IsAwake());
    EXPECT_EQ(keyboard->HasLightControl(), 1);
    EXPECT_FALSE(logind.LockReleased(0));

    // logind's own word still counts.
    logind.AnnounceSleep(true);
    EXPECT_TRUE(PumpUntil([&] { return logind.LockReleased(0); }, 20000));
    EXPECT_FALSE(window_->IsAwake());
}

}  // namespace
}  // namespace shell_testing

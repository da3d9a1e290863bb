// The main window's answers to the messages of other programs, the desktop and the tray:
// lighting control asked for by a peer, the configuration answer, suspend and resume,
// activity, the tray icon's clicks, the DPI rule and the menu's exit.

#include <sys/socket.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "app/config_answer.h"
#include "app/registered_messages.h"
#include "device/vornalix_usb_device.h"
#include "duilib/menu_wnd.h"
#include "duilib/ui_control.h"
#include "platform/desktop.h"
#include "platform/paths.h"
#include "platform/peer_socket.h"
#include "platform/peer_windows.h"
#include "platform/peer_wire.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "shell_fixture.h"

namespace shell_testing {
namespace {

class MainWindowMessagesTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        CreateMainWindow();
        ASSERT_FALSE(window_->Keyboards().empty());
        keyboard_ = window_->Keyboards()[0];
    }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
        return platform::SendMessage(window_->GetHWND(), message, wParam, lParam);
    }

    CVornalixUSBDevice* keyboard_ = nullptr;
};

TEST_F(MainWindowMessagesTest, PeerLightControlRequestsSetTheFlagTextAndDevices) {
    const UINT request = AppMessages().lightControlRequest;
    DuiLib::CControlUI* status = Find(L"control_light_status");
    ASSERT_NE(status, nullptr);

    Send(request, 0, 0);  // not a request this program answers
    EXPECT_EQ(window_->GetLightControl(), 1);
    EXPECT_EQ(keyboard_->HasLightControl(), 1);

    Send(request, 1, 0);
    EXPECT_EQ(window_->GetLightControl(), 0);
    EXPECT_EQ(keyboard_->HasLightControl(), 0);
    EXPECT_EQ(status->GetText().ToUtf8(), "不控制灯光");

    // An unknown value keeps the flag but tells the devices again.
    keyboard_->SetLightControl(1);
    Send(request, 1, 2);
    EXPECT_EQ(window_->GetLightControl(), 0);
    EXPECT_EQ(keyboard_->HasLightControl(), 0);

    Send(request, 1, 1);
    EXPECT_EQ(window_->GetLightControl(), 1);
    EXPECT_EQ(keyboard_->HasLightControl(), 1);
    EXPECT_EQ(status->GetText().ToUtf8(), "控制灯光");
}

TEST_F(MainWindowMessagesTest, ProductMessageBringsTheHiddenWindowBack) {
    ASSERT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }));
    platform::ShowWindow(window_->GetHWND(), SW_HIDE);
    Send(AppMessages().product, 0, 1);
    EXPECT_TRUE(IsMainWindowVisible());
}

TEST_F(MainWindowMessagesTest, ClosedDeviceTakesSharedColoursButDoesNotWakeTheSynchronisation) {
    ASSERT_EQ(keyboard_->CommandChannel().IsOpen(), 0);
    keyboard_->CommandChannel().SetLightSync(true);
    EXPECT_FALSE(window_->HasSyncedOpenDevice());
    window_->SendSyncFrame(1, 2, 3, 4);
    EXPECT_EQ(keyboard_->GetLedColor(0), 0x04030201u);
    EXPECT_EQ(keyboard_->GetLedColor(keyboard_->GetLedCount() - 1), 0x04030201u);
    keyboard_->CommandChannel().SetLightSync(false);
    window_->SendSyncFrame(9, 9, 9, 9);
    EXPECT_EQ(keyboard_->GetLedColor(0), 0x04030201u)
        << "a device that does not follow is left alone";
}

TEST_F(MainWindowMessagesTest, ConfigQueryIsAnsweredToThePeerWindowOnly) {
    std::vector<uint8_t> received;
    ULONG_PTR kind = 0;
    WPARAM sender = 0;
    platform::WindowCreateParams params;
    params.className = L"PeerProgram";
    params.title = L"ZuzoZara";
    HWND peer = platform::CreateWindowHandle(
        params, [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (msg == WM_COPYDATA) {
                const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
                kind = data->dwData;
                sender = wParam;
                const auto* bytes = static_cast<const uint8_t*>(data->lpData);
                received.assign(bytes, bytes + data->cbData);
                return 1;
            }
            return 0;
        });
    ASSERT_NE(peer, nullptr);

    Send(AppMessages().configQuery, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !received.empty(); }, 10000));
    EXPECT_EQ(kind, kConfigAnswerKind);
    EXPECT_EQ(sender, reinterpret_cast<WPARAM>(window_->GetHWND()));
    const auto expected = BuildConfigAnswer();
    ASSERT_EQ(received.size(), kConfigAnswerSize);
    EXPECT_EQ(std::memcmp(received.data(), expected.data(), expected.size()), 0);

    platform::DestroyWindow(peer);
    received.clear();
    Send(AppMessages().configQuery, 0, 0);
    PumpFor(300);
    EXPECT_TRUE(received.empty());
}

// A peer program played by this thread, which is also the window's: it can answer only
// while the window's thread is free, as a program that answers late would.
class LatePeer {
  public:
    LatePeer() {
        platform::EnsureDirectory(platform::PeerFolder());
        socket_ = platform::peer::BindListening(platform::PeerFolder() + "99999.1.sock", 8);
    }
    bool IsListening() const { return socket_.valid(); }
    // Takes the next record (waiting for it while the window's messages are handled) and
    // answers it with `answer`.
    std::optional<platform::peer::PeerRecord> Serve(const std::vector<uint8_t>& answer) {
        platform::UniqueFd connection;
        PumpUntil(
            [&] {
                connection = platform::UniqueFd(
                    ::accept4(socket_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
                return connection.valid();
            },
            10000);
        if (!connection.valid()) {
            return std::nullopt;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        platform::peer::PeerRecordReader reader;
        while (reader.status() == platform::peer::PeerRecordReader::Status::kNeedMore) {
            std::vector<uint8_t> part(reader.Missing());
            if (!platform::peer::ReadExactly(connection.get(), part, deadline)) {
                return std::nullopt;
            }
            reader.Feed(part);
        }
        platform::peer::WriteAll(connection.get(), answer, deadline);
        return reader.record();
    }

  private:
    platform::UniqueFd socket_;
};

TEST_F(MainWindowMessagesTest, APeerThatAnswersLateOrNotAtAllNeverHoldsTheWindowUp) {
    // A program of the user's that has stopped: its socket takes connections, answers none.
    platform::EnsureDirectory(platform::PeerFolder());
    const platform::UniqueFd stopped =
        platform::peer::BindListening(platform::PeerFolder() + "99998.1.sock", 8);
    ASSERT_TRUE(stopped.valid());
    LatePeer peer;
    ASSERT_TRUE(peer.IsListening());

    // Handled at once: the window's thread is free to serve the peer right after.
    Send(AppMessages().configQuery, 0, 0);
    const auto describe = peer.Serve(platform::peer::EncodeDescription(L"Peer", L"ZuzoZara"));
    ASSERT_TRUE(describe.has_value()) << "the peer was never looked up";
    EXPECT_EQ(describe->kind, platform::peer::RecordKind::kDescribe);
    const auto answer = peer.Serve(platform::peer::EncodeResult(1));
    ASSERT_TRUE(answer.has_value()) << "the configuration never reached the peer";
    EXPECT_EQ(answer->kind, platform::peer::RecordKind::kCopyData);
    EXPECT_EQ(answer->copyKind, kConfigAnswerKind);
    const auto expected = BuildConfigAnswer();
    EXPECT_EQ(answer->bytes, std::vector<uint8_t>(expected.begin(), expected.end()));
}

TEST_F(MainWindowMessagesTest, WhileSuspendedOnlyThePowerMessagesCount) {
    DuiLib::CControlUI* progress = Find(L"setting_progress");
    ASSERT_NE(progress, nullptr);
    Send(WM_POWERBROADCAST, 4, 0);
    EXPECT_FALSE(window_->IsAwake());
    EXPECT_EQ(keyboard_->HasLightControl(), 0) << "the devices let go of the lights";

    Send(WM_SHOW_SETTING_PROGRESS, 0, 0);
    Send(WM_KEY_CAPTURE, 1, 0);
    EXPECT_FALSE(progress->IsVisible());
    EXPECT_FALSE(window_->DeviceHook().IsInstalled());

    Send(WM_POWERBROADCAST, 0x12, 0);
    EXPECT_TRUE(window_->IsAwake());
    EXPECT_EQ(keyboard_->HasLightControl(), 1);
    Send(WM_SHOW_SETTING_PROGRESS, 0, 0);
    EXPECT_TRUE(progress->IsVisible());
    Send(WM_KEY_CAPTURE, 1, 0);
    EXPECT_TRUE(window_->DeviceHook().IsInstalled());
    Send(WM_KEY_CAPTURE, 7, 0);
    EXPECT_TRUE(window_->DeviceHook().IsInstalled());
    Send(WM_KEY_CAPTURE, 0, 0);
    EXPECT_FALSE(window_->DeviceHook().IsInstalled());
}

TEST_F(MainWindowMessagesTest, ActivityAndHoverReachTheDevices) {
    Send(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(keyboard_->IsWindowActive(), 0);
    Send(WM_MOUSEHOVER, 0, 0);
    EXPECT_EQ(keyboard_->IsWindowActive(), 1);
    Send(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(keyboard_->IsWindowActive(), 0);
    Send(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(keyboard_->IsWindowActive(), 1);
    Send(WM_MOUSELEAVE, 0, 0);  // an active window stays active without the pointer
    EXPECT_EQ(keyboard_->IsWindowActive(), 1);
}

TEST_F(MainWindowMessagesTest, TrayClicksToggleTheWindowAndTheDpiRuleFollowsTheMonitor) {
    ASSERT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }));
    Send(WM_TRAY_NOTIFY, 0, WM_LBUTTONUP);
    EXPECT_FALSE(IsMainWindowVisible());
    Send(WM_TRAY_NOTIFY, 0, WM_LBUTTONUP);
    EXPECT_TRUE(IsMainWindowVisible());
    EXPECT_TRUE(Find(L"No_device_Link")->IsVisible());

    const SIZE old = platform::GetScreenSize();
    platform::SetScreenSize(SIZE{1500, 960});
    window_->ApplyMonitorDpi();
    EXPECT_EQ(window_->GetDPI(), 96);
    platform::SetScreenSize(SIZE{1501, 961});
    window_->ApplyMonitorDpi();
    EXPECT_EQ(window_->GetDPI(), 144);
    EXPECT_TRUE(IsMainWindowVisible()) << "the rule keeps a shown window shown";
    platform::SetScreenSize(old);
    window_->ApplyMonitorDpi();

    // A right click opens the tray menu a moment later.
    Send(WM_TRAY_NOTIFY, 0, WM_RBUTTONUP);
    EXPECT_TRUE(PumpUntil([] { return !DuiLib::CMenuWnd::GetOpenMenus().empty(); }));
    DuiLib::CMenuWnd::DestroyMenu();
}

// Handles this thread's messages until those posted before the call have been handled.
void HandlePostedSoFar() {
    bool reached = false;
    platform::WindowCreateParams params;
    params.className = L"PostedMarker";
    const HWND marker =
        platform::CreateWindowHandle(params, [&reached](HWND, UINT msg, WPARAM, LPARAM) {
            reached = reached || msg == WM_APP;
            return LRESULT{0};
        });
    platform::PostMessage(marker, WM_APP, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return reached; }, 20000));
    platform::DestroyWindow(marker);
}

// A second start or a peer program that come just after the desktop asked
// the window to close find it closing: nothing shows it again or takes the lights.
TEST_F(MainWindowMessagesTest, WhatArrivesAfterTheCloseRequestDoesNotUndoIt) {
    ASSERT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }));
    Send(AppMessages().lightControlRequest, 1, 0);
    ASSERT_EQ(keyboard_->HasLightControl(), 0);
    const HWND hwnd = window_->GetHWND();
    platform::PostMessage(hwnd, WM_CLOSE, 0, 0);
    platform::PostMessage(hwnd, AppMessages().product, 0, 1);
    platform::PostMessage(hwnd, AppMessages().lightControlRequest, 1, 1);
    HandlePostedSoFar();
    EXPECT_FALSE(window_->IsWorkerRunning(kLightSyncThreadSlot));
    EXPECT_FALSE(IsMainWindowVisible());
    EXPECT_EQ(keyboard_->HasLightControl(), 0);
}

TEST_F(MainWindowMessagesTest, MenuClicksFreeTheirRecordAndExitStopsTheProgram) {
    EXPECT_EQ(Send(WM_MENUCLICK, 0, 0), 0);  // no record: nothing to do
    auto* unknown = new DuiLib::MenuCmd();
    wcscpy(unknown->szName, L"no_such_item");
    Send(WM_MENUCLICK, reinterpret_cast<WPARAM>(unknown), 0);
    EXPECT_TRUE(window_->IsWorkerRunning(kLightSyncThreadSlot));

    auto* exitItem = new DuiLib::MenuCmd();
    // A name that fills the whole field without its terminator is read only to its end.
    std::fill(std::begin(exitItem->szName), std::end(exitItem->szName), L'x');
    Send(WM_MENUCLICK, reinterpret_cast<WPARAM>(exitItem), 0);
    EXPECT_TRUE(window_->IsWorkerRunning(kLightSyncThreadSlot));

    exitItem = new DuiLib::MenuCmd();
    wcscpy(exitItem->szName, L"exit");
    platform::PostMessage(window_->GetHWND(), WM_MENUCLICK, reinterpret_cast<WPARAM>(exitItem), 0);
    EXPECT_TRUE(PumpUntil([this] {
        return !window_->IsWorkerRunning(kCaptureThreadSlot) &&
               !window_->IsWorkerRunning(kLightSyncThreadSlot);
    }));
}

}  // namespace
}  // namespace shell_testing

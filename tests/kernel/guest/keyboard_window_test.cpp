// The program over the real kernel: a headless main window finds the emulated keyboard's
// hidraw nodes, opens and starts the keyboard, talks to it through both interfaces, and
// sees it unplugged and plugged in again.

#include <gtest/gtest.h>

#include <memory>

#include "app/control_registration.h"
#include "app/device_option_ui.h"
#include "app/main_wnd/main_wnd.h"
#include "device/keyboard/key_map.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "guest_pump.h"
#include "guest_setup.h"
#include "platform/window_messages.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace kernel_test {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

std::shared_ptr<sim::SimKeyboard> StaticBlueKeyboard() {
    auto keyboard = std::make_shared<sim::SimKeyboard>();
    const uint8_t block[] = {0, 6, 14, 4, 0, 0, 0, 0, 200};  // slot 0: static, blue 200
    keyboard->SetMemory(sim::KeyboardMemory::kSettings, 0, block);
    return keyboard;
}

Bytes Prefix(const Bytes& bytes, size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(std::min(count, bytes.size())));
}

class KeyboardWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DuiLib::CPaintManagerUI::SetResourcePath(L"skin");
        ASSERT_TRUE(DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml"));
        RegisterControlClasses();
    }
    void TearDown() override {
        if (window_) {
            platform::PostMessage(window_->GetHWND(), WM_CLOSE, 0, 0);
            PumpUntil([this] {
                return !window_->IsWorkerRunning(kCaptureThreadSlot) &&
                       !window_->IsWorkerRunning(kLightSyncThreadSlot);
            });
        }
        window_.reset();
        TheGadget().Unplug();
    }

    void CreateMainWindow() {
        window_ = std::make_unique<CMainWnd>();
        ASSERT_NE(window_->Create(nullptr, L"Velkaro", 0x96CA0000, 0, 0, 0, 800, 572), nullptr);
        ASSERT_TRUE(PumpUntil([this] { return window_->IsInitialised(); }));
    }
    CVornalixKeyboardDevice* Keyboard() {
        return window_->Keyboards().empty()
                   ? nullptr
                   : dynamic_cast<CVornalixKeyboardDevice*>(window_->Keyboards()[0]);
    }
    bool Opened(CVornalixKeyboardDevice* device, CDeviceOptionUI* entry) {
        return entry->IsShown() && device->CommandChannel().IsOpen() &&
               device->InputChannel().IsOpen();
    }
    bool Closed(CVornalixKeyboardDevice* device, CDeviceOptionUI* entry) {
        return !entry->IsShown() && !device->CommandChannel().IsOpen() &&
               !device->InputChannel().IsOpen();
    }

    testing_support::ScopedUserFolders folders_;
    testing_support::TempDir runtime_;
    testing_support::ScopedEnv runtimeEnv_{"XDG_RUNTIME_DIR", runtime_.path()};
    testing_support::ScopedEnv locale_{"LC_ALL", "C"};
    std::unique_ptr<CMainWnd> window_;
};

TEST_F(KeyboardWindowTest, FoundOpenedStartedAndServedOverTheNodesThenUnpluggedAndBack) {
    KeyboardGadget& gadget = TheGadget();
    auto keyboard = StaticBlueKeyboard();
    auto plugged = Clock::now();
    ASSERT_TRUE(gadget.Plug(KeyboardGadget::RuledPort(), keyboard));
    CreateMainWindow();
    CVornalixKeyboardDevice* device = Keyboard();
    ASSERT_NE(device, nullptr);
    auto* entry = dynamic_cast<CDeviceOptionUI*>(device->GetDeviceOptionItem());
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Opened(device, entry); }));
    Report("plug to both interfaces open: %ld ms", MsSince(plugged));

    // Both rows of the interface table hold paths of the real node, as sysfs describes it.
    const std::wstring command = window_->LiveRecords().Get(0)->devicePath.GetData();
    const std::wstring input = window_->LiveRecords().Get(1)->devicePath.GetData();
    EXPECT_NE(command.find(L"hid#vid_320f&pid_505b&mi_01&col04#hidraw"), std::wstring::npos)
        << std::string(command.begin(), command.end());
    EXPECT_NE(input.find(L"hid#vid_320f&pid_505b&mi_01&col03#hidraw"), std::wstring::npos);
    EXPECT_EQ(platform::hid::HidPathNode(command), platform::hid::HidPathNode(input));
    EXPECT_EQ(device->CommandChannel().File().Attributes().VersionNumber, sim::kKeyboardVersion);
    EXPECT_EQ(device->CommandChannel().File().Caps().UsagePage, 0xFF1C);

    // Started on the entry's timer: capability block, both tables and the light block.
    ASSERT_TRUE(PumpUntil([&] {
        return keyboard->CommandCount(0x1B) >= 1 && device->GetLightState().light.mode == 6;
    }));
    Report("plug to started: %ld ms", MsSince(plugged));
    EXPECT_NE(device->KeyMaps().keyPosition[0], device::kNoKeyPosition);

    // A key table write: the keyboard holds what was written.
    Bytes table = Prefix(keyboard->Memory(sim::KeyboardMemory::kKeyCodes), 378);
    std::swap_ranges(table.begin(), table.begin() + 3, table.begin() + 3);
    EXPECT_EQ(device->CommandChannel().WriteKeyCodeTable(table, 0), 1);
    EXPECT_EQ(Prefix(keyboard->Memory(sim::KeyboardMemory::kKeyCodes), 378), table);

    // A light frame, sent by the channel's frame thread.
    Bytes frame(378);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint8_t>(i * 7);
    }
    EXPECT_EQ(device->CommandChannel().PostLightFrame(frame), 1);
    ASSERT_TRUE(device->CommandChannel().WaitLightFramesSent(10000));
    EXPECT_EQ(Prefix(keyboard->Memory(sim::KeyboardMemory::kLightFrame), 378), frame);

    // An output report on the control path (HIDIOCSOUTPUT) reaches the keyboard whole.
    HidCommandReport request = HidCommandReport::Request(HidCommandCode::TakeLightControl);
    request.Seal();
    const size_t received = keyboard->ReceivedCount();
    EXPECT_TRUE(device->CommandChannel().File().SetOutputReport(request.bytes.data(), 64));
    ASSERT_TRUE(keyboard->WaitForReceivedCount(received + 1, 10000));
    const auto reports = keyboard->ReceivedReports();
    EXPECT_EQ(reports.back().bytes, Bytes(request.bytes.begin(), request.bytes.end()));
    // Its reply, which nobody asked for, does not answer the next exchange.
    Bytes status(6, 0xEE);
    EXPECT_EQ(device->CommandChannel().ReadPowerStatus(status, status.size(), 0), 1);
    EXPECT_EQ(status[0], 100);

    // The keyboard asks for a re-sync on its input interface: the sync thread hears it and
    // the page reads the light block again.
    const size_t reads = keyboard->CommandCount(0x05);
    const auto asked = Clock::now();
    keyboard->RequestResync();
    EXPECT_TRUE(PumpUntil([&] { return keyboard->CommandCount(0x05) > reads; }));
    Report("re-sync request to the light block read: %ld ms", MsSince(asked));

    // Unplugged: the capture thread sees the nodes go, the channels close, the entry hides.
    const auto unplugged = Clock::now();
    gadget.Unplug();
    ASSERT_TRUE(PumpUntil([&] { return Closed(device, entry); }));
    Report("unplug to both interfaces closed: %ld ms", MsSince(unplugged));

    // Plugged in again: found, opened and started anew.
    auto again = StaticBlueKeyboard();
    plugged = Clock::now();
    ASSERT_TRUE(gadget.Plug(KeyboardGadget::RuledPort(), again));
    ASSERT_TRUE(PumpUntil([&] { return Opened(device, entry); }));
    ASSERT_TRUE(PumpUntil([&] { return again->CommandCount(0x1B) >= 1; }));
    Report("re-plug to started again: %ld ms", MsSince(plugged));
    EXPECT_EQ(device->GetLightState().light.mode, 6);
}

}  // namespace
}  // namespace kernel_test

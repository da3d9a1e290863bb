// Plugging and unplugging the simulated keyboard under a headless main window: its entry
// comes and goes, its channels open and close, and its start sequence runs on the entry's
// timer.

#include <memory>

#include "app/device_option_ui.h"
#include "app/registered_messages.h"
#include "controls/device_key_button.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "duilib/string_utils.h"
#include "platform/window_messages.h"
#include "shell_fixture.h"
#include "sim/sim_keyboard.h"

namespace shell_testing {
namespace {

class KeyboardArrivalTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        // Slot 0 runs the static mode in blue, which the page shows without effects of
        // its own.
        const uint8_t block[] = {0, 6, 14, 4, 0, 0, 0, 0, 200};
        keyboard_->SetMemory(sim::KeyboardMemory::kSettings, 0, block);
    }

    CVornalixKeyboardDevice* Keyboard() {
        return window_->Keyboards().empty()
                   ? nullptr
                   : dynamic_cast<CVornalixKeyboardDevice*>(window_->Keyboards()[0]);
    }

    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
};

TEST_F(KeyboardArrivalTest, PlugShowsAndStartsTheKeyboardAndUnplugClosesAndHidesIt) {
    bus_.Plug(keyboard_);
    CreateMainWindow();
    CVornalixKeyboardDevice* device = Keyboard();
    ASSERT_NE(device, nullptr) << "the keyboard page is built by the keyboard class";
    auto* entry = dynamic_cast<CDeviceOptionUI*>(device->GetDeviceOptionItem());
    ASSERT_NE(entry, nullptr);

    ASSERT_TRUE(PumpUntil([&] {
        return entry->IsShown() && device->CommandChannel().IsOpen() &&
               device->InputChannel().IsOpen();
    }));
    EXPECT_EQ(window_->GetCurrentDevice(), device) << "the first device becomes current";
    EXPECT_FALSE(Find(L"No_device_Link")->IsVisible());

    // The start timer runs the open sequence; the frame timer then paints the keys.
    auto* escape = dynamic_cast<CDeviceKeyButtonUI*>(device->GetLedButton(0));
    ASSERT_NE(escape, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return escape->GetTintColor() == 200u << 8; }, 1900));
    EXPECT_GE(keyboard_->CommandCount(0x1B), 1u);
    EXPECT_EQ(device->GetLightState().light.mode, 6);
    EXPECT_NE(device->KeyMaps().keyPosition[0], device::kNoKeyPosition);
    // The light mode shows in the user's language, not as its language key.
    const DuiLib::CDuiString modeText = Find(L"light_combo_modeSelect")->GetText();
    EXPECT_FALSE(modeText.IsEmpty());
    EXPECT_EQ(modeText.Find(L"light_mode_"), -1) << "shown: " << DuiStringToUtf8(modeText);

    // Once the window has its working size the keys spread over the page's width.
    ASSERT_TRUE(PumpUntil([&] { return Find(L"device_switch")->GetPos().right >= 990; }));
    PumpFor(100);
    const RECT page = Find(L"device_switch")->GetPos();
    const RECT lastKey = Find(L"key_41")->GetPos();  // the numpad's minus, rightmost
    EXPECT_LE(lastKey.right, page.right);
    EXPECT_GT(lastKey.right, page.left + (page.right - page.left) * 9 / 10);

    // A re-sync request on the input interface re-reads the light block.
    const size_t reads = keyboard_->CommandCount(0x05);
    keyboard_->RequestResync();
    EXPECT_TRUE(PumpUntil([&] { return keyboard_->CommandCount(0x05) >= reads + 2; }));

    // Reported again while its channel is open, the interface changes nothing, not even
    // the entry.
    window_->SetDeviceEntryState(0, false, false);
    window_->OnDeviceArrived(0);
    EXPECT_FALSE(entry->IsShown());
    window_->SetDeviceEntryState(0, true, true);

    bus_.Unplug(keyboard_);
    ASSERT_TRUE(PumpUntil([&] {
        return !entry->IsShown() && !device->CommandChannel().IsOpen() &&
               !device->InputChannel().IsOpen();
    }));
    EXPECT_EQ(window_->GetCurrentDevice(), nullptr);
    EXPECT_TRUE(Find(L"No_device_Link")->IsVisible());
}

TEST_F(KeyboardArrivalTest, UnknownIndexesChangeNothingAndAFailedOpenStillShowsTheEntry) {
    CreateMainWindow();
    CVornalixKeyboardDevice* device = Keyboard();
    ASSERT_NE(device, nullptr);
    auto* entry = dynamic_cast<CDeviceOptionUI*>(device->GetDeviceOptionItem());
    window_->OnDeviceArrived(99);
    window_->OnDeviceRemoved(99);
    EXPECT_FALSE(entry->IsShown());

    // A command interface whose path cannot be opened still shows the entry.
    window_->OnDeviceArrived(0);
    EXPECT_TRUE(entry->IsShown());
    EXPECT_FALSE(device->CommandChannel().IsOpen());
    window_->OnDeviceRemoved(0);
    EXPECT_FALSE(entry->IsShown());
}

TEST_F(KeyboardArrivalTest, PlugsWhileSuspendedAreAppliedAndTheLightsWaitForTheResume) {
    constexpr UINT kSuspend = 4;
    constexpr UINT kResume = 0x12;
    constexpr uint8_t kTakeLightControl = 0x1C;
    CreateMainWindow();
    CVornalixKeyboardDevice* device = Keyboard();
    ASSERT_NE(device, nullptr);
    auto* entry = dynamic_cast<CDeviceOptionUI*>(device->GetDeviceOptionItem());
    ASSERT_NE(entry, nullptr);
    const auto opened = [&] {
        return entry->IsShown() && device->CommandChannel().IsOpen() &&
               device->InputChannel().IsOpen();
    };
    const auto closed = [&] {
        return !entry->IsShown() && !device->CommandChannel().IsOpen() &&
               !device->InputChannel().IsOpen();
    };
    platform::SendMessage(window_->GetHWND(), WM_POWERBROADCAST, kSuspend, 0);

    // Plugged while suspended: opened and started, but the lights stay the keyboard's.
    bus_.Plug(keyboard_);
    ASSERT_TRUE(PumpUntil(opened));
    ASSERT_TRUE(PumpUntil([&] { return keyboard_->CommandCount(0x05) >= 1; }, 1900));
    EXPECT_EQ(device->HasLightControl(), 0);
    EXPECT_EQ(keyboard_->CommandCount(kTakeLightControl), 0u);
    // A peer asking for the lights meanwhile is remembered, not carried out.
    platform::SendMessage(window_->GetHWND(), AppMessages().lightControlRequest, 1, 1);
    EXPECT_EQ(device->HasLightControl(), 0);

    // Unplugged while suspended: closed and hidden, no handle left on the old path.
    bus_.Unplug(keyboard_);
    ASSERT_TRUE(PumpUntil(closed));

    // Plugged again while suspended, then resumed: the lights come back.
    bus_.Plug(keyboard_);
    ASSERT_TRUE(PumpUntil(opened));
    platform::SendMessage(window_->GetHWND(), WM_POWERBROADCAST, kResume, 0);
    EXPECT_EQ(device->HasLightControl(), 1);
    EXPECT_EQ(keyboard_->CommandCount(kTakeLightControl), 1u);

    // And after the resume the keyboard comes and goes as ever.
    bus_.Unplug(keyboard_);
    ASSERT_TRUE(PumpUntil(closed));
    bus_.Plug(keyboard_);
    ASSERT_TRUE(PumpUntil(opened));
    const size_t reads = keyboard_->CommandCount(0x05);
    keyboard_->RequestResync();
    EXPECT_TRUE(PumpUntil([&] { return keyboard_->CommandCount(0x05) > reads; }));
}

}  // namespace
}  // namespace shell_testing

// A device's page as it comes: shown at once, taking input only once the device is
// started and its profile read, so that nothing a person changes meanwhile is lost.

#include <gtest/gtest.h>

#include "sim/command_device.h"
#include "ui/driver/ui_driver.h"

namespace {

TEST(DeviceStartUi, APageTakesInputOnlyOnceItsDeviceIsStarted) {
    ui::UiDriver ui({.devices = "keyboard", .waitForDevice = false});
    sim::SimCommandDevice* keyboard = ui.Device("keyboard");
    ASSERT_NE(keyboard, nullptr);
    // The device starts on this thread's loop: between two turns nothing changes.
    ASSERT_TRUE(ui.WaitFor([&] { return ui.IsShown(ui.Find(L"deng_light_slider")); }));
    if (keyboard->ReceivedCommands().empty()) {
        EXPECT_FALSE(ui.IsEnabled(ui.Find(L"deng_light_slider")))
            << "a change now would go to a profile not yet read";
    }
    ASSERT_TRUE(ui.WaitFor([&] { return !keyboard->ReceivedCommands().empty(); }));
    ui.Settle();
    EXPECT_TRUE(ui.IsEnabled(ui.Find(L"deng_light_slider")));
}

}  // namespace

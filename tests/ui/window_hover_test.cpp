// The pages' light previews run while the window is active or the pointer is over it, and
// rest while it is neither: the pointer coming over an inactive window and leaving it is
// told to the window as the desktop tells it. Hidden to the tray or minimised, nothing is
// drawn, and shown or restored again the preview runs on.

#include <gtest/gtest.h>

#include "controls/device_key_button.h"
#include "duilib/render/tray_stand_in.h"
#include "duilib/ui_control.h"
#include "keyboard_steps.h"
#include "platform/hid/sim_hid_device.h"
#include "platform/window_handles.h"
#include "ui/driver/ui_driver.h"

namespace {

class WindowHoverUi : public testing::Test {
  protected:
    explicit WindowHoverUi(ui::UiOptions options = {.devices = "keyboard,mouse"})
        : ui_(std::move(options)) {}
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(keyboard_steps::WaitForKeyboard(ui_));
        key_ = ui_.Find(L"key_30")->GetPos();
    }

    // How often a person saw a key of the keyboard's picture change: the preview shows the
    // keyboard's wave on it.
    size_t KeyPaints() { return ui_.PaintsOver(ui_.MainHwnd(), key_); }

    bool PreviewRuns() {
        const size_t before = KeyPaints();
        return ui_.WaitFor([&] { return KeyPaints() > before + 2; }, 5000);
    }

    // The mouse's frames go on whatever the window does: a dozen more of them is a moment
    // in which a running preview would have been drawn again and again.
    void ExpectPreviewRests() {
        const size_t before = KeyPaints();
        const auto* mouse = ui_.Devices()[1].get();
        const size_t until = mouse->ReceivedCount() + 12;
        ASSERT_TRUE(ui_.WaitFor([&] { return mouse->ReceivedCount() >= until; }));
        EXPECT_EQ(KeyPaints(), before);
    }

    ui::UiDriver ui_;
    RECT key_{};
};

class TrayHiddenUi : public WindowHoverUi {
  protected:
    TrayHiddenUi() : WindowHoverUi({.devices = "keyboard,mouse", .tray = true}) {}

    void ClickTrayIcon() {
        ui_.ClickAt(ui_.WaitForWindow(DuiLib::kTrayStandInClass), POINT{20, 20});
    }

    // Minimised, the keyboard's picture is neither drawn nor worked out: its key keeps the
    // colour it had while the mouse's frames go on.
    void ExpectPictureStill(const CDeviceKeyButtonUI& key) {
        const DWORD colour = key.GetTintColor();
        bool changed = false;
        const auto* mouse = ui_.Devices()[1].get();
        const size_t until = mouse->ReceivedCount() + 24;
        ASSERT_TRUE(ui_.WaitFor([&] {
            changed = changed || key.GetTintColor() != colour;
            return mouse->ReceivedCount() >= until;
        }));
        EXPECT_FALSE(changed) << "the picture of a minimised window was worked out";
    }
};

TEST_F(WindowHoverUi, ThePreviewRunsWhileThePointerIsOverAnInactiveWindow) {
    const RECT title = ui_.Find(L"app_title")->GetPos();
    ui_.ClickAt(ui_.MainHwnd(), POINT{title.right + 40, title.top + 4});  // a bare spot
    ASSERT_TRUE(PreviewRuns()) << "the active window previews the lights";
    ui_.MoveToDesktop();
    ui_.FocusAnotherProgram();
    ASSERT_NO_FATAL_FAILURE(ExpectPreviewRests());

    ui_.MoveTo(ui_.MainHwnd(), POINT{title.right + 40, title.top + 4});
    EXPECT_TRUE(PreviewRuns()) << "the pointer over the window brings the preview back";

    ui_.MoveToDesktop();
    ExpectPreviewRests();
}

TEST_F(TrayHiddenUi, AWindowShownFromTheTrayPreviewsTheLightsAgain) {
    ASSERT_TRUE(PreviewRuns());
    ClickTrayIcon();
    ASSERT_TRUE(ui_.WaitFor([&] { return !platform::IsWindowVisible(ui_.MainHwnd()); }));
    ASSERT_NO_FATAL_FAILURE(ExpectPreviewRests());

    ClickTrayIcon();
    ASSERT_TRUE(ui_.WaitFor([&] { return platform::IsWindowVisible(ui_.MainHwnd()) != 0; }));
    EXPECT_TRUE(PreviewRuns()) << "the keyboard's frames start again with the window";
}

TEST_F(TrayHiddenUi, AMinimisedWindowLeavesItsPreviewAloneTillRestored) {
    const auto* key = dynamic_cast<CDeviceKeyButtonUI*>(ui_.Find(L"key_30"));
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(PreviewRuns());
    ui_.Click(L"minbtn");
    ASSERT_TRUE(platform::IsIconic(ui_.MainHwnd()));
    ASSERT_NO_FATAL_FAILURE(ExpectPreviewRests());
    ASSERT_NO_FATAL_FAILURE(ExpectPictureStill(*key));
    ui_.RestoreFromTaskBar(ui_.MainHwnd());
    EXPECT_TRUE(PreviewRuns()) << "the keyboard's frames start again with the task bar's restore";

    ui_.Click(L"minbtn");
    ASSERT_TRUE(platform::IsIconic(ui_.MainHwnd()));
    ASSERT_NO_FATAL_FAILURE(ExpectPictureStill(*key));
    ClickTrayIcon();  // the tray is the active window now
    ASSERT_TRUE(ui_.WaitFor([&] { return !platform::IsIconic(ui_.MainHwnd()); }));
    const RECT title = ui_.Find(L"app_title")->GetPos();
    ui_.MoveTo(ui_.MainHwnd(), POINT{title.right + 40, title.top + 4});  // a bare spot
    EXPECT_TRUE(PreviewRuns()) << "the keyboard's frames start again with the tray's restore";
}

}  // namespace

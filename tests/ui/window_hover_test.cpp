// The pages' light previews run while the window is active or the pointer is over it, and
// rest while it is neither: the pointer coming over an inactive window and leaving it is
// told to the window as the desktop tells it.

#include <gtest/gtest.h>

#include "duilib/ui_control.h"
#include "keyboard_steps.h"
#include "platform/hid/sim_hid_device.h"
#include "ui/driver/ui_driver.h"

namespace {

class WindowHoverUi : public testing::Test {
  protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(keyboard_steps::WaitForKeyboard(ui_)); }

    // How often a person saw a key of the keyboard's picture change: the preview shows the
    // keyboard's wave on it.
    size_t KeyPaints() { return ui_.PaintsOver(ui_.MainHwnd(), ui_.Find(L"key_30")->GetPos()); }

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

    ui::UiDriver ui_{{.devices = "keyboard,mouse"}};
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

}  // namespace

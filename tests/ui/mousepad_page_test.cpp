// The mouse pad's page as a person uses it, over the simulated pad: the picture of the pad
// with its LEDs, and profiles chosen.

#include <gtest/gtest.h>

#include "duilib/ui_control.h"
#include "platform/json_text.h"
#include "support/temp_dir.h"
#include "ui/driver/ui_driver.h"
#include "ui/headset_steps.h"
#include "ui/modal_steps.h"

namespace {

int StoredSelection(ui::UiDriver& ui) {
    Json::Value root;
    platform::ParseJsonText(ui.ReadDataFile("MousePad/ProfileList.ini"), &root);
    return root["SelectIndex"].isInt() ? root["SelectIndex"].asInt() : -1;
}

TEST(MousePadPageUi, EveryLedButtonSitsOnTheDrawnRimOfLights) {
    ui::HeadsetPage page("en", "mousepad");
    page.ExpectLedButtonsOnTheDevice(15);
    page.Save("mousepad_en");
}

TEST(MousePadPageUi, InChineseThePageShowsThePadAndItsTexts) {
    ui::HeadsetPage page("zh", "mousepad");
    page.ExpectLedButtonsOnTheDevice(15);
    page.Save("mousepad_zh");
}

// The pad has no keys to assign: a profile chosen is written whole, and nothing failed.
TEST(MousePadPageUi, AProfileChosenIsTakenWithoutSayingAWriteFailed) {
    ui::HeadsetPage page("en", "mousepad");
    ui::UiDriver& ui = page.ui;
    ui::ModalSteps modal(ui);
    ui.Click(L"profile_fun_spread_btn");
    ui.Click(L"device_add_btn");
    DuiLib::CControlUI* combo = ui.Find(L"device_profile_combo");
    ASSERT_EQ(ui.Text(combo), L"Profile2");
    ASSERT_EQ(StoredSelection(ui), 1);

    ui.Wheel(combo, 1);
    EXPECT_EQ(ui.Text(combo), L"Profile1");
    EXPECT_TRUE(ui.WaitFor([&] { return StoredSelection(ui) == 0; }));
    ui.Settle();
    EXPECT_TRUE(modal.UnexpectedBoxes().empty())
        << "a box said: " << DuiLib::CDuiString(modal.UnexpectedBoxes().front()).ToUtf8();
}

}  // namespace

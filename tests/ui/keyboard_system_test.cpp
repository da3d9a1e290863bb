// The keyboard page's system tab as a person uses it: the polling rate and the three flags
// reach the keyboard's light block and the profile; the repeat rate and delay are kept in
// the profile only; the repeat field takes typing and is emptied by its button; the
// desktop's own keyboard settings open from their button.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>

#include "duilib/ui_control.h"
#include "sim/sim_keyboard.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "ui/driver/keyboard_state.h"
#include "ui/driver/slider_wheel.h"
#include "ui/driver/ui_driver.h"

namespace {

class KeyboardSystemUi : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ui::WaitForKeyboardStart(ui_));
        ui_.Click(L"system_Op_tab");
        ASSERT_TRUE(ui_.IsShown(ui_.Find(L"winlockflag_option")));
    }

    uint8_t BlockByte(size_t i) { return ui::KeyboardLightBlock(ui_)[i]; }
    bool WaitForByte(size_t i, int value) {
        return ui_.WaitFor([&] { return BlockByte(i) == value; });
    }
    Json::Value Stage(const char* key) { return ui::KeyboardProfile(ui_)["SystemStages"][key]; }
    size_t Writes() { return ui::SimKeyboardOf(ui_)->CommandCount(0x06); }

    ui::UiDriver ui_;
};

TEST_F(KeyboardSystemUi, PollingRateAndFlagsReachTheKeyboardAndTheProfile) {
    ui_.Click(L"polling_rate_option_2");
    ASSERT_TRUE(WaitForByte(22, 2));
    EXPECT_EQ(2, Stage("PollingRate").asInt());
    EXPECT_TRUE(ui_.IsChecked(ui_.Find(L"polling_rate_option_2")));
    EXPECT_FALSE(ui_.IsChecked(ui_.Find(L"polling_rate_option_1")));

    ui_.Click(L"winlockflag_option");
    ASSERT_TRUE(WaitForByte(21, 1));
    EXPECT_EQ(1, Stage("WinFlag").asInt());
    ui_.Click(L"winlockflag_option");
    ASSERT_TRUE(WaitForByte(21, 0));
    EXPECT_EQ(0, Stage("WinFlag").asInt());

    ui_.Click(L"wflag_option");
    ASSERT_TRUE(WaitForByte(19, 1));
    EXPECT_EQ(1, Stage("WFlag").asInt());

    // The keyboard keeps the six-key flag the other way round.
    const bool sixKeys = ui_.IsChecked(ui_.Find(L"6flag_option"));
    ui_.Click(L"6flag_option");
    ASSERT_TRUE(WaitForByte(20, sixKeys ? 1 : 0));
    EXPECT_EQ(sixKeys ? 0 : 1, Stage("Key6Flag").asInt());
    EXPECT_EQ(2, BlockByte(22));  // the other settings went along unchanged
}

TEST_F(KeyboardSystemUi, RepeatSettingsAreKeptInTheProfileAndTriedInTheField) {
    const size_t writes = Writes();
    const std::array<uint8_t, 26> block = ui::KeyboardLightBlock(ui_);

    DuiLib::CControlUI* rate = ui_.Find(L"repeat_rate_slider");
    const int target = ui::SliderValue(rate) > 10 ? 10 : 20;
    ASSERT_TRUE(ui::WheelSliderTo(ui_, rate, target));
    EXPECT_TRUE(ui_.WaitFor([&] { return Stage("Repeat").asInt() == target; }));

    ui_.Click(L"repeat_delay_check_2");
    EXPECT_TRUE(ui_.WaitFor([&] { return Stage("RepeatDelay").asInt() == 2; }));
    EXPECT_NE(std::wstring::npos, ui_.Text(ui_.Find(L"repeat_delay_time_label1")).find(L"750ms"));
    EXPECT_EQ(writes, Writes());  // nothing of it goes to the keyboard
    EXPECT_EQ(block, ui::KeyboardLightBlock(ui_));

    DuiLib::CControlUI* field = ui_.Find(L"repeat_input_richedit");
    ui_.Click(field);
    ui_.Type("aaa");
    EXPECT_EQ(L"aaa", ui_.Text(field));
    ui_.Click(L"reset_repeat_btn");
    EXPECT_EQ(L"", ui_.Text(field));
}

TEST_F(KeyboardSystemUi, TheDesktopSettingsButtonOpensTheDesktopsKeyboardSettings) {
    // A stand-in for the desktop's settings program, found on the PATH as the real one is.
    testing_support::TempDir bin;
    const std::string marker = bin.File("opened");
    const std::string program = bin.File("gnome-control-center");
    std::ofstream(program) << "#!/bin/sh\necho \"$@\" > '" << marker << "'\n";
    ASSERT_EQ(0, chmod(program.c_str(), 0755));
    testing_support::ScopedEnv desktop("XDG_CURRENT_DESKTOP", std::string("GNOME"));
    testing_support::ScopedEnv path("PATH", bin.path());

    ui_.Click(L"windowdeviceset_0");
    std::string opened;
    EXPECT_TRUE(ui_.WaitFor([&] {
        std::ifstream in(marker);
        return std::getline(in, opened) && !opened.empty();
    }));
    EXPECT_EQ("keyboard", opened);
}

}  // namespace

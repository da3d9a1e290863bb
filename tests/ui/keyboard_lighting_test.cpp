// The keyboard page's lighting tab as a person uses it: every choice reaches the keyboard's
// light block and the profile file; in the custom mode keys are painted on the picture,
// one by a click or many by a band, in the group chosen; the colour field gives the colour
// under the pointer.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "duilib/ui_control.h"
#include "sim/sim_mouse.h"
#include "ui/driver/combo_choice.h"
#include "ui/driver/keyboard_state.h"
#include "ui/driver/slider_wheel.h"
#include "ui/driver/ui_driver.h"

namespace {

using Rgb = std::array<uint8_t, 3>;

constexpr int kCustomMode = 20;
constexpr int kMaxBrightness = 13;
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlack{0, 0, 0};
// Presets of the panel: 0 red, 3 green, 5 blue.
constexpr const wchar_t* kRedPreset = L"color_option_0";
constexpr const wchar_t* kGreenPreset = L"color_option_3";
constexpr const wchar_t* kBluePreset = L"color_option_5";

TEST(KeyboardLightingStartUi, ThePageShowsTheProfilesLightingBeforeTheKeyboardIsRead) {
    ui::UiDriver fresh;  // looked at as soon as its page is shown
    const int stored = ui::KeyboardProfile(fresh)["LightInfo"]["SelectItem"].asInt();
    EXPECT_EQ(stored, fresh.SelectedRow(fresh.Find(L"light_combo_modeSelect")));
    EXPECT_FALSE(fresh.Text(fresh.Find(L"light_combo_modeSelect")).empty());
    // Rows of modes the profile is not in stay hidden.
    EXPECT_FALSE(fresh.IsShown(fresh.Find(L"light_combo_custommodeSelect")));
}

class KeyboardLightingUi : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(ui::WaitForKeyboardStart(ui_)); }

    DuiLib::CControlUI* Find(const wchar_t* name) { return ui_.Find(name); }
    uint8_t BlockByte(size_t i) { return ui::KeyboardLightBlock(ui_)[i]; }
    bool WaitForByte(size_t i, int value) {
        return ui_.WaitFor([&] { return BlockByte(i) == value; });
    }
    Json::Value LightInfo() { return ui::KeyboardProfile(ui_)["LightInfo"]; }
    Json::Value StoredKey(int group, int key) {
        return ui::KeyboardProfile(ui_)["CustomLightMode"]["LightColorInfo"][group][key];
    }
    static Rgb RgbOf(const Json::Value& stored) {
        return {static_cast<uint8_t>(stored["Red"].asInt()),
                static_cast<uint8_t>(stored["Green"].asInt()),
                static_cast<uint8_t>(stored["Blue"].asInt())};
    }
    Rgb KeyOnWire(int slot, int key) { return ui::KeyboardKeyColours(ui_, slot).at(key); }
    // The key's face on the picture leans to the colour's strongest channel.
    bool KeyLooks(const wchar_t* key, int channel) {
        const std::array<int, 3> rgb = ui::RgbAt(ui_, ui_.MainHwnd(), ui::FaceOf(Find(key)));
        return rgb[channel] > rgb[(channel + 1) % 3] + 40 &&
               rgb[channel] > rgb[(channel + 2) % 3] + 40;
    }
    std::wstring EditText(const wchar_t* name) { return ui_.Text(Find(name)); }

    // The custom mode at full brightness, painting with green.
    void EnterCustomMode() {
        ASSERT_TRUE(ui::ChooseComboRow(ui_, Find(L"light_combo_modeSelect"), kCustomMode));
        ASSERT_TRUE(WaitForByte(1, kCustomMode));
        ASSERT_TRUE(ui::WheelSliderTo(ui_, Find(L"deng_light_slider"), kMaxBrightness));
        ui_.Click(kGreenPreset);
    }
    // A band from inside the first key to inside the last, released there.
    void Band(const wchar_t* first, const wchar_t* last) {
        const RECT a = Find(first)->GetPos();
        const RECT b = Find(last)->GetPos();
        ui_.Drag(ui_.MainHwnd(), POINT{a.left + 4, a.top + 4}, POINT{b.right - 4, b.bottom - 4});
    }

    ui::UiDriver ui_;
};

TEST_F(KeyboardLightingUi, AClickOrABandPaintsKeysWithTheBrushAndTheButtonsActOnThem) {
    EnterCustomMode();
    // The brush is chosen here like in any lit mode.
    EXPECT_TRUE(ui_.IsShown(Find(L"deng_Color_Pallet")));
    EXPECT_EQ(L"255", EditText(L"deng_edit_G"));
    EXPECT_FALSE(ui_.IsEnabled(Find(L"custom_off_color_btn")));  // nothing chosen yet

    ui_.Click(Find(L"key_30"));
    ASSERT_TRUE(ui_.WaitFor([&] { return KeyOnWire(0, 30) == kGreen; }));
    EXPECT_EQ(1, ui::CountKeyColours(ui_, 0, kGreen));
    EXPECT_EQ(kGreen, RgbOf(StoredKey(0, 30)));
    EXPECT_TRUE(ui_.WaitFor([&] { return KeyLooks(L"key_30", 1); }));

    // While the band is dragged it is drawn over the keys it takes.
    const RECT q = Find(L"key_43")->GetPos();
    const RECT r = Find(L"key_46")->GetPos();
    const POINT gapInside{Find(L"key_44")->GetPos().left - 1, (q.top + q.bottom) / 2};
    const std::array<int, 3> before = ui::RgbAt(ui_, ui_.MainHwnd(), gapInside);
    ui_.MoveTo(ui_.MainHwnd(), POINT{q.left + 4, q.top + 4});
    ui_.Press(ui_.MainHwnd(), POINT{q.left + 4, q.top + 4});
    ui_.MoveTo(ui_.MainHwnd(), POINT{r.right - 4, r.bottom - 4});
    ui_.Settle();
    EXPECT_NE(before, ui::RgbAt(ui_, ui_.MainHwnd(), gapInside));
    ui_.Release(ui_.MainHwnd(), POINT{r.right - 4, r.bottom - 4});
    ui_.Settle();
    ASSERT_TRUE(ui_.WaitFor([&] { return ui::CountKeyColours(ui_, 0, kGreen) == 5; }));
    for (int key = 43; key <= 46; ++key) {
        EXPECT_EQ(kGreen, KeyOnWire(0, key)) << key;
        EXPECT_EQ(kGreen, RgbOf(StoredKey(0, key))) << key;
    }
    EXPECT_EQ(before, ui::RgbAt(ui_, ui_.MainHwnd(), gapInside));  // the band went

    // The buttons act on the keys of the band, not on the whole keyboard.
    ui_.Click(L"custom_off_color_btn");
    ASSERT_TRUE(ui_.WaitFor([&] { return ui::CountKeyColours(ui_, 0, kGreen) == 1; }));
    EXPECT_EQ(kBlack, KeyOnWire(0, 45));
    EXPECT_EQ(kBlack, RgbOf(StoredKey(0, 45)));
    EXPECT_EQ(kGreen, RgbOf(StoredKey(0, 30)));
    ui_.Click(kRedPreset);
    ui_.Click(L"custom_bright_color_btn");
    ASSERT_TRUE(ui_.WaitFor([&] { return ui::CountKeyColours(ui_, 0, kRed) == 4; }));
    EXPECT_EQ(kRed, RgbOf(StoredKey(0, 43)));
    EXPECT_EQ(kGreen, KeyOnWire(0, 30));
    EXPECT_TRUE(ui_.WaitFor([&] { return KeyLooks(L"key_44", 0); }));
}

TEST_F(KeyboardLightingUi, TheChosenGroupIsShownPlayedAndStored) {
    EnterCustomMode();
    DuiLib::CControlUI* groups = Find(L"light_combo_custommodeSelect");
    EXPECT_EQ(0, ui_.SelectedRow(groups));
    ASSERT_TRUE(ui::ChooseComboRow(ui_, groups, 2));
    ASSERT_TRUE(WaitForByte(25, 2));
    EXPECT_EQ(2, ui::KeyboardProfile(ui_)["CustomLightMode"]["CustomLightModeGroupIndex"].asInt());
    EXPECT_EQ(2, LightInfo()["CustomGroup"].asInt());

    ui_.Click(kBluePreset);
    ui_.Click(Find(L"key_30"));
    ASSERT_TRUE(ui_.WaitFor([&] { return KeyOnWire(2, 30) == kBlue; }));
    EXPECT_EQ(0, ui::CountKeyColours(ui_, 0, kBlue));  // group 0's table is left alone
    EXPECT_EQ(kBlue, RgbOf(StoredKey(2, 30)));
    EXPECT_TRUE(ui_.WaitFor([&] { return KeyLooks(L"key_30", 2); }));

    ASSERT_TRUE(ui::ChooseComboRow(ui_, groups, 0));
    ASSERT_TRUE(WaitForByte(25, 0));
    EXPECT_TRUE(ui_.WaitFor([&] { return !KeyLooks(L"key_30", 2); }));
    ASSERT_TRUE(ui::ChooseComboRow(ui_, groups, 2));
    EXPECT_TRUE(ui_.WaitFor([&] { return KeyLooks(L"key_30", 2); }));
    EXPECT_EQ(kBlue, RgbOf(StoredKey(2, 30)));
}

TEST_F(KeyboardLightingUi, TheAreaChosenStaysThroughLaterEdits) {
    DuiLib::CControlUI* areas = Find(L"light_combo_QRVMmodeSelect");
    ASSERT_TRUE(ui_.IsShown(areas));
    ASSERT_TRUE(ui::ChooseComboRow(ui_, areas, 1));
    EXPECT_EQ(L"Keys", ui_.Text(areas));
    ASSERT_TRUE(WaitForByte(18, 1));
    EXPECT_EQ(1, LightInfo()["QRVMLedMode"].asInt());

    ASSERT_TRUE(ui::WheelSliderTo(ui_, Find(L"deng_light_slider"), 9));
    ASSERT_TRUE(WaitForByte(2, 9));
    EXPECT_EQ(1, BlockByte(18));
    EXPECT_EQ(1, LightInfo()["QRVMLedMode"].asInt());
}

TEST_F(KeyboardLightingUi, TheColourFieldGivesTheColourUnderThePointer) {
    DuiLib::CControlUI* field = Find(L"deng_Color_Pallet");
    ASSERT_TRUE(ui_.IsShown(field));
    const RECT rc = field->GetPos();
    const auto pick = [&](POINT at) {
        const std::array<int, 3> seen = ui::RgbAt(ui_, ui_.MainHwnd(), at);
        const bool taken = ui_.WaitFor([&] {
            return EditText(L"deng_edit_R") == std::to_wstring(seen[0]) &&
                   EditText(L"deng_edit_G") == std::to_wstring(seen[1]) &&
                   EditText(L"deng_edit_B") == std::to_wstring(seen[2]);
        });
        EXPECT_TRUE(taken) << seen[0] << "," << seen[1] << "," << seen[2];
        EXPECT_TRUE(ui_.WaitFor([&] {
            return BlockByte(6) == seen[0] && BlockByte(7) == seen[1] && BlockByte(8) == seen[2];
        }));
        const Json::Value light = LightInfo();
        EXPECT_EQ(seen, (std::array<int, 3>{light["Red"].asInt(), light["Green"].asInt(),
                                            light["Blue"].asInt()}));
    };

    const POINT yellowish{rc.left + (rc.right - rc.left) / 6, rc.top + (rc.bottom - rc.top) / 3};
    ui_.ClickAt(ui_.MainHwnd(), yellowish);
    pick(yellowish);

    const POINT from{rc.left + 10, rc.top + (rc.bottom - rc.top) / 2};
    const POINT to{rc.left + (rc.right - rc.left) * 2 / 3, rc.bottom - 20};
    ui_.Drag(ui_.MainHwnd(), from, to);
    pick(to);
}

TEST_F(KeyboardLightingUi, EveryLightingChoiceReachesTheKeyboardAndTheProfile) {
    ASSERT_TRUE(ui::ChooseComboRow(ui_, Find(L"light_combo_modeSelect"), 5));
    ASSERT_TRUE(WaitForByte(1, 5));
    EXPECT_EQ(5, LightInfo()["SelectItem"].asInt());

    ASSERT_TRUE(ui::WheelSliderTo(ui_, Find(L"deng_light_slider"), 7));
    ASSERT_TRUE(WaitForByte(2, 7));
    EXPECT_EQ(7, LightInfo()["Light"].asInt());
    ASSERT_TRUE(ui::WheelSliderTo(ui_, Find(L"deng_speed_slider"), 1));
    ASSERT_TRUE(WaitForByte(3, 9 - 1));  // the keyboard counts speed the other way
    EXPECT_EQ(1, LightInfo()["Speed"].asInt());

    ui_.Click(L"deng_FXL_check");
    ASSERT_TRUE(WaitForByte(4, 1));
    EXPECT_EQ(1, LightInfo()["Fx"].asInt());
    ui_.Click(L"deng_FXR_check");
    ASSERT_TRUE(WaitForByte(4, 0));
    EXPECT_EQ(0, LightInfo()["Fx"].asInt());

    const bool multi = ui_.IsChecked(Find(L"deng_7color_check"));
    ui_.Click(L"deng_7color_check");
    ASSERT_TRUE(WaitForByte(5, multi ? 0 : 1));
    EXPECT_EQ(!multi, LightInfo()["MultiColor"].asBool());

    ui_.Click(kBluePreset);
    ASSERT_TRUE(ui_.WaitFor([&] { return BlockByte(6) == 0 && BlockByte(8) == 255; }));
    EXPECT_EQ(L"0", EditText(L"deng_edit_R"));
    EXPECT_EQ(255, LightInfo()["Blue"].asInt());

    // Typed colours count once the edit loses the focus.
    const std::pair<const wchar_t*, const char*> typed[] = {
        {L"deng_edit_R", "12"}, {L"deng_edit_G", "34"}, {L"deng_edit_B", "56"}};
    for (const auto& [edit, text] : typed) {
        ui_.Click(edit);
        for (int i = 0; i < 3; ++i) {
            ui_.PressKey(SDLK_BACKSPACE);
        }
        ui_.Type(text);
    }
    ui_.Click(L"deng_edit_R");  // the blue edit loses the focus
    ASSERT_TRUE(ui_.WaitFor(
        [&] { return BlockByte(6) == 12 && BlockByte(7) == 34 && BlockByte(8) == 56; }));
    const Json::Value light = LightInfo();
    EXPECT_EQ(12, light["Red"].asInt());
    EXPECT_EQ(34, light["Green"].asInt());
    EXPECT_EQ(56, light["Blue"].asInt());
}

// With the mouse plugged in too: each page keeps its own choices, and the keyboard's
// lighting can be given to every device.
class KeyboardAndMouseLightingUi : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ShowPage(L"keyboard_device_page"));
        ASSERT_TRUE(ui::WaitForKeyboardStart(ui_));
    }

    // Clicks the device entries until the page is the one shown.
    bool ShowPage(const wchar_t* page) {
        for (DuiLib::CControlUI* entry : ui_.FindAll(L"device_select")) {
            if (ui_.IsShown(entry)) {
                ui_.Click(entry);
                if (ui_.IsShown(ui_.Find(page))) {
                    return true;
                }
            }
        }
        return false;
    }
    uint8_t BlockByte(size_t i) { return ui::KeyboardLightBlock(ui_)[i]; }
    bool Checked(const wchar_t* name) { return ui_.IsChecked(ui_.Find(name)); }

    ui::UiDriver ui_{{.devices = "keyboard,mouse"}};
};

TEST_F(KeyboardAndMouseLightingUi, DirectionAndTabChosenOnOnePageStayOnTheOther) {
    ui_.Click(L"deng_FXL_check");
    ASSERT_TRUE(ui_.WaitFor([&] { return BlockByte(4) == 1; }));
    ASSERT_TRUE(Checked(L"deng_Op_tab"));

    ASSERT_TRUE(ShowPage(L"mouse_device_page"));
    ui_.Click(L"deng_FXR_check");
    EXPECT_TRUE(Checked(L"deng_FXR_check"));
    ui_.Click(L"key_Op_tab");
    EXPECT_TRUE(Checked(L"key_Op_tab"));

    ASSERT_TRUE(ShowPage(L"keyboard_device_page"));
    EXPECT_TRUE(Checked(L"deng_FXL_check"));
    EXPECT_FALSE(Checked(L"deng_FXR_check"));
    EXPECT_TRUE(Checked(L"deng_Op_tab"));
    EXPECT_TRUE(ui_.IsShown(ui_.Find(L"deng_light_slider")));
    // A later edit on the keyboard sends the direction the page still shows.
    ASSERT_TRUE(ui::WheelSliderTo(ui_, ui_.Find(L"deng_light_slider"), 6));
    ASSERT_TRUE(ui_.WaitFor([&] { return BlockByte(2) == 6; }));
    EXPECT_EQ(1, BlockByte(4));
    EXPECT_EQ(1, ui::KeyboardProfile(ui_)["LightInfo"]["Fx"].asInt());
}

TEST_F(KeyboardAndMouseLightingUi, TheKeyboardsLightingGoesToEveryDevice) {
    constexpr int kStatic = 6;
    ASSERT_TRUE(ui::ChooseComboRow(ui_, ui_.Find(L"light_combo_modeSelect"), kStatic));
    ui_.Click(kRedPreset);
    ASSERT_TRUE(ui_.WaitFor([&] { return BlockByte(1) == kStatic && BlockByte(6) == 255; }));
    ui_.Click(L"deng_same_mode");

    ASSERT_TRUE(ShowPage(L"mouse_device_page"));
    // The mouse shows the static light in the keyboard's colour and is sent it.
    EXPECT_EQ(L"255", ui_.Text(ui_.Find(L"deng_edit_R")));
    EXPECT_EQ(L"0", ui_.Text(ui_.Find(L"deng_edit_G")));
    auto* mouse = dynamic_cast<sim::SimMouse*>(ui_.Device("mouse"));
    ASSERT_NE(nullptr, mouse);
    EXPECT_TRUE(ui_.WaitFor([&] {
        const std::vector<uint8_t> frame = mouse->Memory(sim::MouseMemory::kLightFrame);
        return frame.size() >= 3 && frame[0] > 0 && frame[1] == 0 && frame[2] == 0;
    }));
}

}  // namespace

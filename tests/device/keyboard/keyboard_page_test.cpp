// The keyboard's page built from the skin's own layout, as the main window builds it,
// with the simulated keyboard behind it: the panels, key tips and system settings show
// what the device and its profile hold.

#include <gtest/gtest.h>

#include <memory>

#include "controls/device_key_button.h"
#include "device/lighting/light_tables.h"
#include "device/page/control_lookup.h"
#include "device/skin_page_builder.h"
#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_progress.h"
#include "pages/device_profile_ui.h"
#include "pages/key_set_control_ui.h"
#include "pages/light_control_ui.h"
#include "platform/hid/sim_hid_bus.h"
#include "platform/paths.h"
#include "profile/keyboard_profiledata.h"
#include "sim/sim_keyboard.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CControlUI;
using DuiLib::CDuiString;
using DuiLib::COptionUI;

KeyFunctionRecord Function(uint8_t type, uint8_t p1, uint8_t p2) {
    KeyFunctionRecord record;
    record.type = type;
    record.p1 = p1;
    record.p2 = p2;
    return record;
}

class KeyboardPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(skin_.Loaded());
        page_ = BuildPage(L"keyboard");
        ASSERT_TRUE(page_);
    }

    std::unique_ptr<CVornalixKeyboardDevice> BuildPage(const wchar_t* deviceName) {
        return skin_.BuildKeyboardPage(deviceName);
    }

    void StartKeyboard() {
        bus_.Plug(keyboard_);
        const std::wstring path = bus_.PathOf(*keyboard_, sim::kKeyboardCommandInterface, 4);
        ASSERT_TRUE(page_->CommandChannel().OpenInterface(path.c_str(), false));
        page_->StartDevice();
    }

    template <class T>
    T* Find(const wchar_t* name) {
        return dynamic_cast<T*>(device::FindControlByName(page_.get(), name));
    }
    CDeviceKeyButtonUI* Key(int n) {
        return dynamic_cast<CDeviceKeyButtonUI*>(page_->GetKeyButton(n));
    }
    bool Selected(const wchar_t* name) {
        auto* option = Find<COptionUI>(name);
        return option && option->IsSelected();
    }
    std::string UserFolder() const { return folders_.DataHome() + "Velkaro/keyboard/"; }
    // Key n's place on the page at 96 DPI.
    RECT Place(int n) {
        CControlUI* key = page_->GetKeyButton(n);
        if (key == nullptr) {
            ADD_FAILURE() << "no key " << n;
            return RECT{};
        }
        const SIZE at = key->GetFixedXY();
        return RECT{at.cx, at.cy, at.cx + key->GetFixedWidth(), at.cy + key->GetFixedHeight()};
    }

    testing_support::ScopedUserFolders folders_;
    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    SkinPageEnvironment skin_;
    std::unique_ptr<CVornalixKeyboardDevice> page_;
};

TEST_F(KeyboardPageTest, BuildingBindsTheKeysAndHandsThePanelsTheirData) {
    auto* panel = Find<CControlUI>(L"keyboard_device_key_light");
    EXPECT_EQ(page_->GetPreviewControl(), panel);
    ASSERT_NE(Key(0), nullptr);
    EXPECT_EQ(Key(0)->GetName(), CDuiString(L"key_0"));
    auto* led = dynamic_cast<CDeviceKeyButtonUI*>(page_->GetLedButton(5));
    ASSERT_NE(led, nullptr);
    EXPECT_TRUE(led->IsTintOn());
    EXPECT_EQ(led->GetTintColor(), 0xFFFFFFu);

    // The profile list made a first profile in the user folder, and the device uses it.
    auto* profiles = Find<CDeviceProfileUI>(L"DeviceProfileItem");
    ASSERT_NE(profiles, nullptr);
    EXPECT_EQ(page_->GetProfilePage(), profiles);
    ASSERT_EQ(profiles->GetProfileCount(), 1);
    page_->BuildProfilePath();
    EXPECT_EQ(page_->GetProfilePath().ToUtf8(),
              UserFolder() + profiles->GetSelectedProfileUUID().ToUtf8() + ".Json");

    // The lighting panel lists the keyboard's modes of the default light list, the hidden
    // one disabled.
    auto* modes = Find<DuiLib::CComboUI>(L"light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    ASSERT_EQ(modes->GetCount(), 21);
    EXPECT_TRUE(modes->GetItemAt(18)->IsEnabled());
    EXPECT_FALSE(modes->GetItemAt(19)->IsEnabled());
    EXPECT_EQ(page_->PageLists().areaLightNames.size(), 3u);
    EXPECT_EQ(page_->GetLightPage(), Find<CLightControlUI>(L"LightControlItem"));
}

TEST_F(KeyboardPageTest, StartingShowsTheLightAndSystemSettingsOfTheProfile) {
    StartKeyboard();
    auto* modes = Find<DuiLib::CComboUI>(L"light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    EXPECT_EQ(modes->GetCurSel(), page_->GetLightState().light.mode);

    KeyboardSystemStages stages;
    stages.repeat = 17;
    stages.repeatDelay = 2;
    stages.key6Flag = 1;
    stages.pollingRate = 3;
    stages.winFlag = 1;
    page_->SetSystemStages(stages.repeat | stages.repeatDelay << 16,
                           stages.key6Flag | stages.pollingRate << 16,
                           stages.wFlag | stages.winFlag << 16);
    Find<CControlUI>(L"repeat_input_richedit")->SetText(L"aaaa");
    page_->RefreshPageControls();

    EXPECT_TRUE(page_->IsWinFlagChecked());
    EXPECT_FALSE(page_->IsWFlagChecked());
    EXPECT_TRUE(page_->IsKey6FlagChecked());
    EXPECT_EQ(page_->GetRepeatRate(), 17);
    EXPECT_TRUE(Selected(L"repeat_delay_check_2"));
    EXPECT_TRUE(Selected(L"polling_rate_option_3"));
    EXPECT_FALSE(Selected(L"polling_rate_option_0"));
    EXPECT_EQ(Find<CControlUI>(L"repeat_delay_time_label1")->GetText(),
              CDuiString(L"Repeat delay: 750ms"));
    EXPECT_TRUE(Find<CControlUI>(L"repeat_input_richedit")->GetText().IsEmpty());
    EXPECT_EQ(Find<CControlUI>(L"repeat_input_richedit")->GetToolTip(),
              CDuiString(L"Hold a key here to try the repeat settings"));

    // Values the controls cannot show select the first option.
    page_->SelectPollingRateOption(4);
    page_->SelectRepeatDelayOption(-1);
    EXPECT_TRUE(Selected(L"polling_rate_option_0"));
    EXPECT_FALSE(Selected(L"polling_rate_option_3"));
    EXPECT_TRUE(Selected(L"repeat_delay_check_0"));
    EXPECT_EQ(Find<CControlUI>(L"repeat_delay_time_label1")->GetText(),
              CDuiString(L"Repeat delay: 250ms"));
}

TEST_F(KeyboardPageTest, KeyTipsTellEachKeysFunction) {
    std::vector<KeyAssignRecord> keys(126);
    const KeyFunctionRecord esc = Function(0x20, 0x00, 0x29);
    keys[0] = {esc, esc};                         // Esc keeps its own function
    keys[1] = {Function(0x20, 0x01, 0x06), esc};  // F1 is Ctrl+C
    keys[2] = {Function(0x30, 0x00, 0xE9), esc};  // F2 turns the volume up
    keys[3] = {Function(0x00, 0x00, 0x00), esc};  // F3 does nothing
    page_->SetKeyAssignments(keys);
    page_->RefreshKeySetInfoList();

    EXPECT_EQ(Key(0)->GetText(), CDuiString(L"Esc"));
    EXPECT_EQ(Key(0)->GetToolTip(), CDuiString(L"Key: Esc"));
    EXPECT_TRUE(Key(0)->IsSameFunction());
    EXPECT_EQ(Key(1)->GetToolTip(), CDuiString(L"Key: Left Ctrl+C"));
    EXPECT_FALSE(Key(1)->IsSameFunction());
    EXPECT_EQ(Key(2)->GetToolTip(), CDuiString(L"Key: Volume up"));
    EXPECT_EQ(Key(3)->GetToolTip(), CDuiString(L"Key: Disabled"));

    // Chosen on the page, a key shows its record in the key-set panel.
    auto* keySet = Find<CKeySetControlUI>(L"KeySetControlItem");
    ASSERT_NE(keySet, nullptr);
    page_->SelectKey(1);
    EXPECT_EQ(keySet->GetKeyFunctions(), keys[1]);
}

TEST_F(KeyboardPageTest, TheKeysLieAsOnAFullSizeKeyboard) {
    constexpr int kEsc = 0, kOne = 22, kTwo = 23, kBackspace = 34, kTab = 42, kBackslash = 55,
                  kCaps = 63, kEnter = 75, kLeftShift = 84, kRightShift = 95, kUp = 96,
                  kLeftCtrl = 105, kSpace = 108, kRightCtrl = 112, kLeft = 113, kDown = 114,
                  kRight = 115, kPad0 = 116, kPadEnter = 118, kPadPlus = 119, kMacro1 = 120,
                  kGrave = 21;
    const int pitch = Place(kTwo).left - Place(kOne).left;
    const int gap = pitch - (Place(kOne).right - Place(kOne).left);
    ASSERT_GT(gap, 0);
    const auto units = [&](LONG length) { return static_cast<double>(length + gap) / pitch; };
    const auto wide = [&](int n) { return units(Place(n).right - Place(n).left); };
    const auto tall = [&](int n) { return units(Place(n).bottom - Place(n).top); };
    constexpr double kRounding = 0.05;
    EXPECT_NEAR(wide(kEsc), 1, kRounding);
    EXPECT_NEAR(wide(kBackspace), 2, kRounding);
    EXPECT_NEAR(wide(kTab), 1.5, kRounding);
    EXPECT_NEAR(wide(kCaps), 1.75, kRounding);
    EXPECT_NEAR(wide(kEnter), 2.25, kRounding);
    EXPECT_NEAR(wide(kLeftShift), 2.25, kRounding);
    EXPECT_NEAR(wide(kRightShift), 2.75, kRounding);
    EXPECT_NEAR(wide(kSpace), 6.25, kRounding);
    EXPECT_NEAR(wide(kPad0), 2, kRounding);
    EXPECT_NEAR(tall(kPadPlus), 2, kRounding);
    EXPECT_NEAR(tall(kPadEnter), 2, kRounding);

    // The five rows of the main block begin and end together; the macro keys stand one
    // per row to their left.
    const int rowStarts[] = {kGrave, kTab, kCaps, kLeftShift, kLeftCtrl};
    const int rowEnds[] = {kBackspace, kBackslash, kEnter, kRightShift, kRightCtrl};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(Place(rowStarts[row]).left, Place(kGrave).left) << "row " << row;
        EXPECT_EQ(Place(rowEnds[row]).right, Place(kBackspace).right) << "row " << row;
        EXPECT_EQ(Place(kMacro1 + row).top, Place(rowStarts[row]).top) << "row " << row;
        EXPECT_LT(Place(kMacro1 + row).right, Place(kGrave).left);
    }
    EXPECT_EQ(Place(kEsc).left, Place(kGrave).left);
    EXPECT_LT(Place(kEsc).bottom, Place(kGrave).top);
    // The arrows: the up key over the down key, between left and right.
    EXPECT_EQ(Place(kUp).left, Place(kDown).left);
    EXPECT_EQ(Place(kUp).bottom + gap, Place(kDown).top);
    EXPECT_EQ(Place(kLeft).right + gap, Place(kDown).left);
    EXPECT_EQ(Place(kDown).right + gap, Place(kRight).left);

    // No key covers another, all lie inside the keyboard, and every LED the light
    // effects draw has its key.
    auto* panel = Find<CControlUI>(L"keyboard_device_key_light");
    ASSERT_NE(panel, nullptr);
    std::vector<int> keys;
    for (int n = 0; n < 126; ++n) {
        if (page_->GetKeyButton(n) == nullptr) {
            continue;
        }
        const RECT a = Place(n);
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= panel->GetFixedWidth() &&
                    a.bottom <= panel->GetFixedHeight())
            << "key " << n;
        for (int other : keys) {
            const RECT b = Place(other);
            EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom &&
                         b.top < a.bottom)
                << "keys " << n << " and " << other;
        }
        keys.push_back(n);
        EXPECT_EQ(page_->GetLedButton(n), page_->GetKeyButton(n)) << "key " << n;
    }
    for (const auto& column : device::KeyGridColumns) {
        for (uint8_t led : column) {
            EXPECT_TRUE(led == 126 || page_->GetLedButton(led) != nullptr) << "LED " << int{led};
        }
    }
}

TEST_F(KeyboardPageTest, EveryKeyIsNamedAndAShortLegendLeavesTheFullNameToTheTip) {
    // The page is shown half a second before the keyboard is read: its keys are named
    // from the moment it is built.
    EXPECT_EQ(Key(13)->GetText(), CDuiString(L"PrtSc"));
    EXPECT_EQ(Key(63)->GetText(), CDuiString(L"Caps Lock"));
    // A profile without key assignments still names every key.
    page_->SetKeyAssignments({});
    page_->RefreshKeySetInfoList();
    for (int n = 0; n < 126; ++n) {
        if (CControlUI* key = page_->GetKeyButton(n)) {
            EXPECT_FALSE(key->GetText().IsEmpty()) << "key " << n;
        }
    }
    EXPECT_EQ(Key(13)->GetText(), CDuiString(L"PrtSc"));
    EXPECT_EQ(Key(13)->GetToolTip(), CDuiString(L"Print Screen"));
    EXPECT_EQ(Key(63)->GetText(), CDuiString(L"Caps Lock"));
    EXPECT_EQ(Key(96)->GetText(), CDuiString(L"\u2191"));

    // The tip then tells the function after the full name; the same-function flag still
    // compares the full name.
    std::vector<KeyAssignRecord> keys(126);
    const KeyFunctionRecord printScreen = Function(0x20, 0x00, 0x46);
    keys[13] = {printScreen, printScreen};
    page_->SetKeyAssignments(keys);
    page_->RefreshKeySetInfoList();
    EXPECT_EQ(Key(13)->GetText(), CDuiString(L"PrtSc"));
    EXPECT_EQ(Key(13)->GetToolTip(), CDuiString(L"Print Screen\nKey: Print Screen"));
    EXPECT_TRUE(Key(13)->IsSameFunction());
}

TEST_F(KeyboardPageTest, AKeyOfADeletedMacroFallsBackToItsDefault) {
    ASSERT_TRUE(testing_support::WriteTextFile(
        UserFolder() + "macro.config", R"({"MacroInfo": [{"MacroName": "Combo", "Guid": "m1"}]})"));
    std::vector<KeyAssignRecord> keys(126);
    const KeyFunctionRecord esc = Function(0x20, 0x00, 0x29);
    keys[0] = {Function(0x70, 0, 0), esc};  // the macro that is listed
    const KeyFunctionRecord f1 = Function(0x20, 0x00, 0x3A);
    keys[1] = {Function(0x71, 1, 0), f1};  // a macro that was deleted
    page_->LoadProfile();
    page_->SetKeyAssignments(keys);

    page_->RefreshKeyPage();

    const std::vector<KeyAssignRecord> now = page_->GetKeyAssignments();
    EXPECT_EQ(now[0].current, keys[0].current);
    EXPECT_EQ(now[1].current, f1);
    // The file says so at once, not only at the next save.
    CKeyboardProfiledata stored;
    stored.Load(page_->GetProfilePath());
    const KeyFunctionRecord storedF1 = stored.GetKeyList().at(1).current;
    EXPECT_EQ((std::array{storedF1.type, storedF1.p1, storedF1.p2}),
              (std::array{f1.type, f1.p1, f1.p2}));
    EXPECT_EQ(stored.GetKeyList().at(0).current.type, 0x70);
    EXPECT_EQ(Key(0)->GetToolTip(), CDuiString(L"Key: Combo"));
    EXPECT_TRUE(Key(1)->IsSameFunction());
}

TEST_F(KeyboardPageTest, TheCustomColourGroupInUseIsSelectedOnTheLightingPanel) {
    auto* panel = Find<CLightControlUI>(L"LightControlItem");
    ASSERT_NE(panel, nullptr);
    panel->SetCustomModeNames({L"one", L"two", L"three"});
    page_->Profile().SetCustomLightGroupIndex(2);
    LightRecord light;
    light.mode = 20;
    page_->Profile().SetLightInfo(light);
    page_->ApplyProfileLight();
    EXPECT_EQ(panel->GetCustomLightMode(), 2);

    page_->SetCustomLightGroup(1);
    EXPECT_EQ(panel->GetCustomLightMode(), 1);
    EXPECT_EQ(page_->Profile().GetCustomLightGroupIndex(), 1);
}

TEST_F(KeyboardPageTest, APageWithoutADeviceBindsNothing) {
    std::unique_ptr<CVornalixKeyboardDevice> bare = BuildPage(L"");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->GetKeyCount(), 0);
    EXPECT_EQ(bare->GetLedCount(), 0);
    EXPECT_EQ(bare->GetKeyButton(0), nullptr);
    EXPECT_EQ(bare->GetPreviewControl(), nullptr);
    EXPECT_EQ(bare->GetProfilePage(), nullptr);
}

}  // namespace

// The keyboard's page built from the skin's own layout, as the main window builds it,
// with the simulated keyboard behind it: the panels, key tips and system settings show
// what the device and its profile hold.

#include <gtest/gtest.h>

#include <memory>

#include "controls/device_key_button.h"
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

constexpr const wchar_t* kPageXml = L"XML\\DeviceXml\\keyboarddevice.xml";

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
        std::unique_ptr<CVornalixKeyboardDevice> page =
            skin_.Build<CVornalixKeyboardDevice>(kPageXml);
        if (page) {
            page->SetDeviceName(deviceName);
            page->SetKeyCount(126);
            page->SetLedCount(126);
            page->SetDeviceFileName(L"keyboard");
            page->SetDeviceIndex(0);
            page->SetDeviceString2(L"zentu_light");
            page->InitPage();
        }
        return page;
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

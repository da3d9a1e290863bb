#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "duilib/ui_progress.h"
#include "pages/device_profile_ui.h"
#include "pages/hook_messages.h"
#include "pages/light_control_ui.h"
#include "pages/macro_control_ui.h"
#include "pages/magic_control_ui.h"
#include "pages/shoot_control_ui.h"
#include "pages/voice_tamsel_control_ui.h"
#include "panel_builder.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

using DuiLib::CComboUI;
using DuiLib::COptionUI;
using DuiLib::CSliderUI;
using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

namespace {

constexpr const wchar_t* kProfileXml =
    LR"(<Window><DeviceProfile>
  <Combo name="device_profile_combo"/>
  <Edit name="device_profile_edit"/>
  <HorizontalLayout>
    <Option name="deng_Op_tab" group="tabs" visible="false"/>
    <Option name="key_Op_tab" group="tabs" visible="false"/>
    <Option name="macro_Op_tab" group="tabs" visible="false"/>
    <Option name="system_Op_tab" group="tabs" visible="false"/>
    <Option name="cursor_Op_tab" group="tabs" visible="false"/>
    <Option name="Tamsel_voice_Op_tab" group="tabs" visible="false"/>
    <Option name="magic_Op_tab" group="tabs" visible="false"/>
    <Option name="Virtual7.1_Op_tab" group="tabs" visible="false"/>
  </HorizontalLayout>
</DeviceProfile></Window>)";

constexpr const wchar_t* kLightXml =
    LR"(<Window><LightControl>
  <Combo name="light_combo_modeSelect"/>
  <HorizontalLayout name="light_custom_layout"><Combo name="light_combo_custommodeSelect"/></HorizontalLayout>
  <Combo name="light_combo_QRVMmodeSelect"/>
  <Slider name="deng_light_slider" min="0" max="100"/>
  <Slider name="deng_speed_slider" min="0" max="100"/>
  <Option name="deng_FXL_check" group="dir"/><Option name="deng_FXR_check" group="dir"/>
  <CheckBox name="deng_7color_check"/>
  <Edit name="deng_edit_R"/><Edit name="deng_edit_G"/><Edit name="deng_edit_B"/>
  <Button name="deng_same_mode" visible="false"/>
  <Option name="color_option_2" bkcolor="0xFFFF8000"/>
</LightControl></Window>)";

constexpr const wchar_t* kVoiceXml =
    LR"(<Window><VoiceTamselControl>
  <Option name="Tamsel_eq_option_1" group="eq"/><Option name="Tamsel_eq_option_2" group="eq"/>
  <Option name="Tamsel_eq_option_13" group="eq"/>
  <Slider name="Tamsel_eq_hz_slider_0" min="0" max="20"/><Slider name="Tamsel_eq_hz_slider_9" min="0" max="20"/>
  <HorizontalLayout name="custom_eq_layout">
    <Combo name="custom_eq_name_combo"/><Edit name="custom_eq_name_edit"/>
  </HorizontalLayout>
  <CheckBox name="Tamsel_MicIn_option"/><Slider name="Tamsel_MicIn_slider" min="0" max="100"/>
  <CheckBox name="Tamsel_MicMoniter_option"/><Slider name="Tamsel_MicMoniter_slider" min="0" max="100"/>
</VoiceTamselControl></Window>)";

constexpr const wchar_t* kMagicXml =
    LR"(<Window><MagicControl>
  <CheckBox name="magic_enable_option"/>
  <HorizontalLayout name="magic_option_layout">
    <Option name="magic_option_1" group="magic"/><Option name="magic_option_2" group="magic"/>
    <Option name="magic_option_3" group="magic"/><Option name="magic_option_4" group="magic"/>
  </HorizontalLayout>
</MagicControl></Window>)";

constexpr const wchar_t* kMacroXml =
    LR"(<Window><MacroControl>
  <List name="macro_name_list"/><Edit name="macro_name_edit"/><List name="macro_action"/>
  <Edit name="macro_delay" text="25"/><CheckBox name="macro_record_time_check"/>
  <RedioMacroButton name="macro_btn_starredio"/>
</MacroControl></Window>)";

constexpr const wchar_t* kShootXml =
    LR"(<Window><ShootControl>
  <Option name="shoot_gun_op_0" group="gun"/><Option name="shoot_gun_op_1" group="gun"/>
  <Option name="shoot_gun_op_2" group="gun"/><Option name="shoot_gun_op_3" group="gun"/>
  <Option name="bullet_op_0" group="bullet"/><Option name="bullet_op_1" group="bullet"/>
  <CheckBox name="bullet_x_check" selected="true"/><Edit name="bullet_x_eidt"/>
  <CheckBox name="bullet_y_check"/><Edit name="bullet_y_eidt"/><Edit name="bullet_delay_eidt"/>
</ShootControl></Window>)";

std::string MakeFolder(const TempDir& dir, const std::string& name) {
    const std::string folder = dir.path() + name + "/";
    platform::EnsureDirectory(folder);
    return folder;
}

DuiLib::CDuiString Wide(const std::string& text) {
    return DuiLib::CDuiString::FromUtf8(text);
}

}  // namespace

TEST(DeviceProfilePanel, FirstLoadCreatesAProfileAndShowsTheKindsTabs) {
    TempDir dir;
    const std::string folder = MakeFolder(dir, "keyboard");
    WriteTextFile(dir.File("keyboard.Json"), R"({"Device": [{"KeyList": []}]})");
    BuiltPanel<CDeviceProfileUI> panel(kProfileXml);
    ASSERT_NE(panel.get(), nullptr);
    panel->SetDeviceKind(1);
    panel->SetPaths(Wide(folder), Wide(dir.File("keyboard.Json")));
    panel->LoadProfileList();

    auto* combo = panel.Find<CComboUI>(L"device_profile_combo");
    ASSERT_EQ(combo->GetCount(), 1);
    EXPECT_EQ(combo->GetCurSel(), 0);
    const DuiLib::CDuiString uuid = panel->GetSelectedProfileUUID();
    EXPECT_FALSE(uuid.IsEmpty());
    EXPECT_NE(ReadTextFile(folder + uuid.ToUtf8() + ".Json").find("KeyList"), std::string::npos);
    EXPECT_TRUE(panel.Find<COptionUI>(L"system_Op_tab")->IsVisible());
    EXPECT_FALSE(panel.Find<COptionUI>(L"magic_Op_tab")->IsVisible());

    panel->SelectFunctionTab(3);
    EXPECT_TRUE(panel.Find<COptionUI>(L"macro_Op_tab")->IsSelected());
    EXPECT_FALSE(panel.Find<COptionUI>(L"deng_Op_tab")->IsSelected());
    panel->SelectFunctionTab(9);
    EXPECT_FALSE(panel.Find<COptionUI>(L"macro_Op_tab")->IsSelected());

    // Refused imports leave list and combo as they were.
    WriteTextFile(dir.File("half.json"), R"({"profilename": "only a name"})");
    EXPECT_EQ(panel->ImportProfile(Wide(dir.File("half.json"))), 0);
    EXPECT_EQ(combo->GetCount(), 1);
    EXPECT_EQ(panel->GetSelectedProfileUUID(), uuid);

    ASSERT_EQ(panel->AddProfile(), 1);
    EXPECT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetCurSel(), 1);
    ASSERT_EQ(panel->RenameProfile(L"Racing"), 1);
    EXPECT_EQ(combo->GetItemAt(1)->GetText(), DuiLib::CDuiString(L"Racing"));
    EXPECT_EQ(panel->RenameProfile(L"   "), 0);
    ASSERT_EQ(panel->SelectProfile(0), 1);
    EXPECT_EQ(panel->GetSelectedProfileUUID(), uuid);
}

TEST(LightPanel, ModesRangesAndShownRecord) {
    BuiltPanel<CLightControlUI> panel(kLightXml);
    ASSERT_NE(panel.get(), nullptr);
    panel->SetDeviceKind(2);
    panel->InitLightModes({L"off", L"static", L"breath"}, {1, 0, 1}, 13, 4);
    auto* modes = panel.Find<CComboUI>(L"light_combo_modeSelect");
    ASSERT_EQ(modes->GetCount(), 3);
    EXPECT_FALSE(modes->GetItemAt(1)->IsEnabled());
    auto* brightness = panel.Find<CSliderUI>(L"deng_light_slider");
    EXPECT_EQ(brightness->GetMinValue(), 1);
    EXPECT_EQ(brightness->GetMaxValue(), 13);
    EXPECT_EQ(panel.Find<CSliderUI>(L"deng_speed_slider")->GetMaxValue(), 4);

    // A page that is not shown (another device's, another tab) still takes its values.
    panel->SetVisible(false);
    LightPanelRecord record{};
    record = {2, 7, 3, 1, 1, 10, 20, 30, 0, 0, 0, 0};
    panel->ShowLightSettings(record);
    EXPECT_EQ(panel->GetSelectedMode(), 2);
    EXPECT_EQ(panel->GetBrightness(), 7);
    EXPECT_EQ(panel->GetSpeed(), 3);
    EXPECT_EQ(panel->GetDirection(), 1);
    EXPECT_TRUE(panel->IsMultiColor());
    EXPECT_EQ(panel->GetRed(), 10);
    EXPECT_EQ(panel->GetGreen(), 20);
    EXPECT_EQ(panel->GetBlue(), 30);

    record[0] = 1;  // a disabled mode selects no row
    record[3] = 0;
    panel->ShowLightSettings(record);
    EXPECT_EQ(panel->GetSelectedMode(), -1);
    EXPECT_EQ(panel->GetDirection(), 0);

    EXPECT_EQ(panel->GetCustomLightMode(), -1);
    panel->SetCustomModeNames({L"a", L"b"});
    panel->SetCustomLightMode(1);
    EXPECT_EQ(panel->GetCustomLightMode(), 1);
    panel->SetCustomLightMode(5);  // a group the list does not have
    EXPECT_EQ(panel->GetCustomLightMode(), -1);

    panel->SetVisible(true);
    ASSERT_TRUE(panel->ApplyPresetColor(2));
    EXPECT_EQ(panel->GetRed(), 255);
    EXPECT_EQ(panel->GetGreen(), 128);
    EXPECT_EQ(panel->GetBlue(), 0);
    EXPECT_FALSE(panel->ApplyPresetColor(3));
    panel->SetSyncMode(true);
    EXPECT_TRUE(panel.Find<DuiLib::CButtonUI>(L"deng_same_mode")->IsVisible());
    panel->SetSyncMode(false);
    EXPECT_FALSE(panel.Find<DuiLib::CButtonUI>(L"deng_same_mode")->IsVisible());
}

TEST(VoicePanel, SettersReachTheirControlsAndPresetsOutsideTheRangeSelectNone) {
    BuiltPanel<CVoiceTamselControlUI> panel(kVoiceXml);
    ASSERT_NE(panel.get(), nullptr);
    panel->SetMicInSelected(true);
    panel->SetMicMonitorSelected(false);
    EXPECT_TRUE(panel.Find<COptionUI>(L"Tamsel_MicIn_option")->IsSelected());
    EXPECT_FALSE(panel.Find<COptionUI>(L"Tamsel_MicMoniter_option")->IsSelected());
    panel->SetMicInValue(42);
    panel->SetMicMonitorValue(17);
    EXPECT_EQ(panel.Find<CSliderUI>(L"Tamsel_MicIn_slider")->GetValue(), 42);
    EXPECT_EQ(panel->GetMicMonitorValue(), 17);
    panel->SetEqBandValue(9, 12);
    EXPECT_EQ(panel->GetEqBandValue(9), 12);
    EXPECT_EQ(panel->GetEqBandValue(4), -1) << "slider missing from the layout";
    EXPECT_EQ(panel->GetEqBandValue(10), -1);

    panel->SelectEqPreset(13);
    EXPECT_TRUE(panel.Find<COptionUI>(L"Tamsel_eq_option_13")->IsSelected());
    panel->SelectEqPreset(14);
    EXPECT_EQ(panel->GetEqPreset(), 0);
    EXPECT_FALSE(panel.Find<COptionUI>(L"Tamsel_eq_option_13")->IsSelected());
    panel->SelectEqPreset(-3);
    EXPECT_EQ(panel->GetEqPreset(), 0);

    panel->AddCustomEqItem(L"bass");
    panel->AddCustomEqItem(L"vocal");
    panel.Find<DuiLib::CEditUI>(L"custom_eq_name_edit")->SetText(L"typed");
    panel->SelectCustomEqItem(1);
    EXPECT_EQ(panel->GetCustomEqSelection(), 1);
    EXPECT_TRUE(panel->GetCustomEqName().IsEmpty());
    EXPECT_EQ(panel->GetCustomEqItemText(0), DuiLib::CDuiString(L"bass"));
    EXPECT_TRUE(panel->GetCustomEqItemText(7).IsEmpty());
    panel->RemoveCustomEqItem(0);
    EXPECT_EQ(panel->GetCustomEqCount(), 1);
    panel->ClearCustomEqItems();
    EXPECT_EQ(panel->GetCustomEqCount(), 0);
    panel->EnableCustomEqLayout(false);
    EXPECT_FALSE(panel.Find<DuiLib::CControlUI>(L"custom_eq_layout")->IsEnabled());
}

TEST(MagicPanel, SwitchEnablesOptionsAndEffectsOutsideTheRangeSelectNone) {
    BuiltPanel<CMagicControlUI> panel(kMagicXml);
    ASSERT_NE(panel.get(), nullptr);
    panel->SetMagicEnabled(false);
    EXPECT_FALSE(panel->IsMagicEnabled());
    EXPECT_FALSE(panel.Find<DuiLib::CControlUI>(L"magic_option_layout")->IsEnabled());
    panel->SetMagicEnabled(true);
    EXPECT_TRUE(panel->IsMagicEnabled());
    EXPECT_TRUE(panel.Find<DuiLib::CControlUI>(L"magic_option_layout")->IsEnabled());

    panel->SelectMagicEffect(4);
    EXPECT_TRUE(panel.Find<COptionUI>(L"magic_option_4")->IsSelected());
    panel->SelectMagicEffect(5);
    EXPECT_EQ(panel->GetMagicEffect(), 0);
    for (const wchar_t* name : {L"magic_option_1", L"magic_option_4"})
        EXPECT_FALSE(panel.Find<COptionUI>(name)->IsSelected());
}

TEST(MacroPanel, ListsMacrosInFileOrderAndRecordsHookEvents) {
    TempDir dir;
    const std::string folder = MakeFolder(dir, "mouse");
    WriteTextFile(folder + "macro.config", R"({"MacroInfo": [{"MacroName": "zz", "Guid": "g2"},)"
                                           R"( {"MacroName": "aa", "Guid": "g1"}]})");
    WriteTextFile(folder + "g2.mac", R"({"Events": [{"Action": "down", "Button": 4,)"
                                     R"( "Type": 10, "Delay": "50"}]})");
    BuiltPanel<CMacroControlUI> panel(kMacroXml);
    ASSERT_NE(panel.get(), nullptr);
    panel->SetMacroFolder(Wide(folder));
    panel->LoadMacroNameList();
    const auto names = panel->GetMacroNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], DuiLib::CDuiString(L"zz"));
    EXPECT_EQ(names[1], DuiLib::CDuiString(L"aa"));
    EXPECT_EQ(panel.Find<DuiLib::CListUI>(L"macro_name_list")->GetCount(), 2);
    EXPECT_FALSE(panel->IsRecordTimeChecked());
    ASSERT_EQ(panel->GetEvents().size(), 1u);

    // Recording with recorded delays: the gap goes to the event before.
    panel->StartRecording(1, 4);
    ASSERT_TRUE(panel->IsRecording());
    panel->AddHookEvent(4, 0x100, PackHookInput({false, true, 0x05, 0, 1000}));
    panel->AddHookEvent(4, 0x101, PackHookInput({false, false, 0x05, 0, 1120}));
    panel->StopRecording();
    panel->AddHookEvent(4, 0x100, PackHookInput({false, true, 0x06, 0, 1200}));
    const auto& events = panel->GetEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].delay, 50u) << "the first recorded event keeps the old gap";
    EXPECT_EQ(events[1].button, 0x05);
    EXPECT_EQ(events[1].type, kMacroKeyEvent);
    EXPECT_EQ(events[1].delay, 120u);
    EXPECT_FALSE(events[2].down);
    ASSERT_EQ(panel->SaveMacro(), 1);
    EXPECT_NE(ReadTextFile(folder + "g2.mac").find("\"120\""), std::string::npos);

    // The user's choice in the name list loads that macro's events.
    panel.Find<DuiLib::CListUI>(L"macro_name_list")->SelectItem(1, false, false);
    ASSERT_EQ(panel->SelectMacroFromList(), 1);
    EXPECT_TRUE(panel->GetEvents().empty()) << "g1.mac does not exist";
    ASSERT_EQ(panel->SelectMacro(0), 1);
    ASSERT_EQ(panel->GetEvents().size(), 3u);

    ASSERT_EQ(panel->SelectEvent(2), 1);
    ASSERT_EQ(panel->MoveEventToTop(), 1);
    EXPECT_FALSE(panel->GetEvents()[0].down);
    // Inserts go after the selected event, which then is the last one inserted.
    panel->InsertVerticalMoveKey(true);
    ASSERT_EQ(panel->GetEvents().size(), 5u);
    EXPECT_EQ(panel->GetEvents()[1].button, 0x52);
    EXPECT_TRUE(panel->GetEvents()[1].down);
    EXPECT_FALSE(panel->GetEvents()[2].down);
    EXPECT_EQ(panel->GetSelectedEvent(), 2);
    panel->InsertMouseEvent(8, true);
    EXPECT_EQ(panel->GetEvents()[3].type, kMacroMouseEvent);
    EXPECT_EQ(panel->CancelEdit(), 1);
    EXPECT_TRUE(panel->GetEvents()[2].down == false);
}

TEST(MacroPanel, MacroFilesNamedByBadGuidsAreNeverTouched) {
    TempDir dir;
    const std::string folder = MakeFolder(dir, "kb");
    WriteTextFile(dir.File("outside.mac"), R"({"Events": [{"Action": "down"}]})");
    WriteTextFile(folder + "macro.config",
                  R"({"MacroInfo": [{"MacroName": "bad", "Guid": "../outside"}]})");
    BuiltPanel<CMacroControlUI> panel(kMacroXml);
    panel->SetMacroFolder(Wide(folder));
    panel->LoadMacroNameList();
    EXPECT_EQ(panel->GetMacroNames().size(), 1u);
    EXPECT_TRUE(panel->GetEvents().empty());
    EXPECT_EQ(panel->SaveMacro(), 0);
    EXPECT_EQ(panel->DeleteMacro(), 1);
    EXPECT_FALSE(ReadTextFile(dir.File("outside.mac")).empty());
    ASSERT_EQ(panel->AddMacro(), 1);
    EXPECT_EQ(panel->GetMacroNames().size(), 1u);
}

TEST(MacroPanel, AListThatCannotBeWrittenLeavesListAndFolderAsTheyWere) {
    TempDir dir;
    const std::string folder = MakeFolder(dir, "kb");
    BuiltPanel<CMacroControlUI> panel(kMacroXml);
    panel->SetMacroFolder(Wide(folder));
    panel->LoadMacroNameList();
    ASSERT_EQ(panel->AddMacro(), 1);
    // A folder in the list file's place makes every list write fail.
    ASSERT_EQ(std::remove((folder + "macro.config").c_str()), 0);
    platform::EnsureDirectory(folder + "macro.config");

    EXPECT_EQ(panel->AddMacro(), 0);
    EXPECT_EQ(panel->RenameMacro(L"Renamed"), 0);
    ASSERT_EQ(panel->GetMacroNames().size(), 1u);
    EXPECT_EQ(panel->GetMacroNames()[0], L"Macro1");
    size_t macroFiles = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        macroFiles += file.path().extension() == ".mac" ? 1 : 0;
    }
    EXPECT_EQ(macroFiles, 1u) << "an unlisted macro file was left behind";
}

TEST(ShootPanel, SeedsOnceAndEditsBulletsOfTheSelectedGun) {
    TempDir dir;
    const std::string user = MakeFolder(dir, "mouse");
    const std::string defaults = MakeFolder(dir, "DefaultData");
    for (int gun = 0; gun < 4; ++gun)
        WriteTextFile(defaults + ShootDataFile::FileName(gun), R"({"Events": []})");
    WriteTextFile(user + "ShootData_2.Shoot", R"({"Events": [], "mine": 1})");

    BuiltPanel<CShootControlUI> panel(kShootXml);
    ASSERT_NE(panel.get(), nullptr);
    panel->SetUserDataFolder(Wide(user));
    panel->SetDefaultDataFolder(Wide(defaults));
    panel->InitShootPanel();
    EXPECT_NE(ReadTextFile(user + "ShootData_2.Shoot").find("mine"), std::string::npos);
    EXPECT_FALSE(ReadTextFile(user + "ShootData_3.Shoot").empty());

    panel->SelectGun(7);
    EXPECT_EQ(panel->GetGun(), 0);
    EXPECT_TRUE(panel.Find<COptionUI>(L"shoot_gun_op_0")->IsSelected());
    panel->SelectGun(1);
    panel->StepBullets(true);
    panel->SelectBullet(1);
    EXPECT_EQ(panel->GetBullet(), 11);
    // A bullet without moves shows its axes unticked; the one to move is ticked.
    EXPECT_FALSE(panel.Find<COptionUI>(L"bullet_x_check")->IsSelected());
    panel.Find<COptionUI>(L"bullet_x_check")->Selected(true, false);
    panel.Find<DuiLib::CEditUI>(L"bullet_x_eidt")->SetText(L"-300");
    panel.Find<DuiLib::CEditUI>(L"bullet_y_eidt")->SetText(L"9");  // axis unchecked
    panel.Find<DuiLib::CEditUI>(L"bullet_delay_eidt")->SetText(L"35");
    panel->ApplyBulletEdits();
    EXPECT_EQ(panel->GetBulletValues(), (ShootBullet{-128, 0, 35}));
    ASSERT_EQ(panel->SaveShootData(), 1);

    // A second start reads the saved file instead of seeding it again.
    BuiltPanel<CShootControlUI> again(kShootXml);
    again->SetUserDataFolder(Wide(user));
    again->SetDefaultDataFolder(Wide(defaults));
    again->InitShootPanel();
    again->SelectGun(1);
    again->StepBullets(true);
    again->SelectBullet(1);
    EXPECT_EQ(again->GetBulletValues(), (ShootBullet{-128, 0, 35}));
    // Shown with its move ticked, so that an edit of the delay keeps the move.
    EXPECT_TRUE(again.Find<COptionUI>(L"bullet_x_check")->IsSelected());
    again.Find<DuiLib::CEditUI>(L"bullet_delay_eidt")->SetText(L"40");
    again->ApplyBulletEdits();
    EXPECT_EQ(again->GetBulletValues(), (ShootBullet{-128, 0, 40}));
    ASSERT_EQ(again->ResetShootData(), 1);
    EXPECT_EQ(again->GetBulletValues(), ShootBullet{});
}

namespace {

void StartShootPanel(BuiltPanel<CShootControlUI>& panel, const std::string& user) {
    ASSERT_NE(panel.get(), nullptr);
    panel->SetUserDataFolder(Wide(user));
    panel->InitShootPanel();
}

void EditDelay(BuiltPanel<CShootControlUI>& panel, const wchar_t* delay) {
    panel.Find<DuiLib::CEditUI>(L"bullet_delay_eidt")->SetText(delay);
    panel->ApplyBulletEdits();
}

}  // namespace

TEST(ShootPanel, OneSaveKeepsTheEditsOfEveryGunEditedSinceTheLast) {
    TempDir dir;
    const std::string user = MakeFolder(dir, "mouse");
    BuiltPanel<CShootControlUI> panel(kShootXml);
    StartShootPanel(panel, user);
    for (const int gun : {0, 1}) {
        panel->SelectGun(gun);
        EditDelay(panel, gun == 0 ? L"40" : L"50");
    }
    ASSERT_EQ(panel->SaveShootData(), 1);

    // What the mouse is given is read from the files: gun 0 must be there too.
    const auto first = ShootDataFile::Load(user + ShootDataFile::FileName(0));
    ASSERT_TRUE(first);
    EXPECT_EQ(BulletFromEvents(*first, 0).delay, 40);
    const auto second = ShootDataFile::Load(user + ShootDataFile::FileName(1));
    ASSERT_TRUE(second);
    EXPECT_EQ(BulletFromEvents(*second, 0).delay, 50);
}

TEST(ShootPanel, ImportsWithoutAnEventsListAreRefusedAndKeepTheStoredGun) {
    TempDir dir;
    const std::string user = MakeFolder(dir, "mouse");
    BuiltPanel<CShootControlUI> panel(kShootXml);
    StartShootPanel(panel, user);
    EditDelay(panel, L"35");
    ASSERT_EQ(panel->SaveShootData(), 1);
    const std::string stored = ReadTextFile(user + "ShootData_0.Shoot");

    for (const char* text : {"{}", R"({"events": []})", R"({"Events": "x"})", "[1]"}) {
        WriteTextFile(dir.File("import.shoot"), text);
        EXPECT_EQ(panel->ImportShootData(Wide(dir.File("import.shoot"))), 0) << text;
        EXPECT_EQ(panel->GetBulletValues().delay, 35) << text;
        EXPECT_EQ(ReadTextFile(user + "ShootData_0.Shoot"), stored) << text;
    }
    WriteTextFile(dir.File("import.shoot"), R"({"Events": []})");
    EXPECT_EQ(panel->ImportShootData(Wide(dir.File("import.shoot"))), 1);
    EXPECT_EQ(panel->GetBulletValues().delay, 0);
}

// The pages' events dispatched by the main window to the simulated keyboard: a light mode
// chosen on the lighting panel, the shared lighting of every device, a system flag, and a
// macro recorded from the keyboard hook; names dispatch without regard to case.

#include <cwchar>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/device_panels.h"
#include "app/light_sync.h"
#include "app/registered_messages.h"
#include "controls/device_key_button.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/lighting/light_tables.h"
#include "duilib/menu_wnd.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_progress.h"
#include "pages/device_profile_ui.h"
#include "pages/hook_messages.h"
#include "pages/key_set_control_ui.h"
#include "pages/light_control_ui.h"
#include "pages/macro_control_ui.h"
#include "pages/panel_lookup.h"
#include "platform/text_convert.h"
#include "platform/window_messages.h"
#include "shell_fixture.h"
#include "sim/sim_keyboard.h"
#include "support/message_box_reader.h"
#include "support/temp_dir.h"

namespace shell_testing {
namespace {

class MainWindowDispatchTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        const uint8_t block[] = {0, 6, 14, 4, 0, 0, 0, 0, 200};
        keyboard_->SetMemory(sim::KeyboardMemory::kSettings, 0, block);
        bus_.Plug(keyboard_);
        CreateMainWindow();
        ASSERT_FALSE(window_->Keyboards().empty());
        device_ = dynamic_cast<CVornalixKeyboardDevice*>(window_->Keyboards()[0]);
        ASSERT_NE(device_, nullptr);
        // Started: the light block was read into the keyboard's state.
        ASSERT_TRUE(PumpUntil([this] {
            return window_->GetCurrentDevice() == device_ && device_->CommandChannel().IsOpen() &&
                   device_->GetLightState().light.mode == 6;
        }));
        panel_ = LightPanelOf(device_);
        ASSERT_NE(panel_, nullptr);
        std::vector<DuiLib::CDuiString> names;
        for (int mode = 0; mode < 30; ++mode) {
            names.emplace_back(std::to_wstring(mode));
        }
        panel_->InitLightModes(names, std::vector<int>(names.size(), 1), 14, 9);
    }

    void Raise(const wchar_t* type, DuiLib::CControlUI* sender) {
        ASSERT_NE(sender, nullptr) << type;
        DuiLib::TNotifyUI msg;
        msg.sType = type;
        msg.pSender = sender;
        window_->Notify(msg);
    }

    // Opens the profile menu with its button and takes one of its items.
    void ChooseProfileMenuItem(const wchar_t* name) {
        Raise(L"click", FindNamedControl(ProfilePanelOf(device_), L"profile_fun_spread_btn"));
        const std::vector<DuiLib::CMenuWnd*> menus = DuiLib::CMenuWnd::GetOpenMenus();
        ASSERT_EQ(menus.size(), 1u) << "the profile menu is open";
        DuiLib::CControlUI* item = menus[0]->GetPaintManager()->FindControl(name);
        ASSERT_NE(item, nullptr) << DuiLib::CDuiString(name).ToUtf8();
        item->Activate();
        // The choice reaches the window before the menu's close does.
        ASSERT_TRUE(PumpUntil([] { return DuiLib::CMenuWnd::GetOpenMenus().empty(); }));
    }

    void ShowOnPanel(uint8_t mode, uint8_t brightness, uint8_t speed, uint8_t red, uint8_t green,
                     uint8_t blue) {
        LightPanelRecord record{};
        record[0] = mode;
        record[1] = brightness;
        record[2] = speed;
        record[3] = 1;
        record[5] = red;
        record[6] = green;
        record[7] = blue;
        panel_->ShowLightSettings(record);
    }

    std::shared_ptr<sim::SimKeyboard> keyboard_ = std::make_shared<sim::SimKeyboard>();
    CVornalixKeyboardDevice* device_ = nullptr;
    CLightControlUI* panel_ = nullptr;
};

TEST_F(MainWindowDispatchTest, LightModeChosenOnThePanelIsWrittenToTheKeyboard) {
    ShowOnPanel(5, 10, 3, 1, 2, 3);
    Raise(L"itemselect", FindNamedControl(panel_, L"light_combo_modeSelect"));
    const std::vector<uint8_t> memory = keyboard_->Memory(sim::KeyboardMemory::kSettings);
    ASSERT_GE(memory.size(), 26u);
    EXPECT_EQ(memory[0], 0) << "slot 0 stays active";
    EXPECT_EQ(memory[1], 5);
    EXPECT_EQ(memory[2], 10);
    EXPECT_EQ(memory[3], 9 - 3) << "speeds travel inverted";
    EXPECT_EQ(memory[4], 1);
    EXPECT_EQ(memory[6], 1);
    EXPECT_EQ(memory[7], 2);
    EXPECT_EQ(memory[8], 3);
    EXPECT_EQ(device_->GetLightState().light.mode, 5);
    EXPECT_EQ(device_->Profile().GetLightInfo().brightness, 10);

    // The brightness slider alone changes only the brightness.
    auto* slider =
        dynamic_cast<DuiLib::CProgressUI*>(FindNamedControl(panel_, L"deng_light_slider"));
    ASSERT_NE(slider, nullptr);
    slider->SetValue(4);
    Raise(L"valuechanged", slider);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kSettings)[2], 4);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kSettings)[1], 5);
}

TEST_F(MainWindowDispatchTest, SharedLightingDrivesEveryLedOfTheFollowingKeyboard) {
    // The keyboard's static mode, chosen on its panel, becomes the shared static mode.
    ShowOnPanel(6, 14, 9, 255, 0, 0);
    Raise(L"itemselect", FindNamedControl(panel_, L"light_combo_modeSelect"));
    Raise(L"click", FindNamedControl(panel_, L"deng_same_mode"));
    EXPECT_EQ(light_sync::SharedSettings().mode.load(), light_sync::kStatic);
    EXPECT_TRUE(device_->CommandChannel().GetLightSync());
    const uint32_t red = light_sync::ColourWord({{255, 0, 0}, device::BrightnessLevels[14]});
    EXPECT_TRUE(PumpUntil(
        [&] { return device_->GetLedColor(0) == red && device_->GetLedColor(125) == red; }, 1900));

    ShowOnPanel(28, 14, 9, 255, 0, 0);  // off
    Raise(L"itemselect", FindNamedControl(panel_, L"light_combo_modeSelect"));
    Raise(L"click", FindNamedControl(panel_, L"deng_same_mode"));
    EXPECT_TRUE(PumpUntil(
        [&] { return device_->GetLedColor(0) == 0 && device_->GetLedColor(125) == 0; }, 1900));

    // A mode the others cannot show changes nothing.
    ShowOnPanel(20, 14, 9, 255, 0, 0);
    Raise(L"itemselect", FindNamedControl(panel_, L"light_combo_modeSelect"));
    Raise(L"click", FindNamedControl(panel_, L"deng_same_mode"));
    EXPECT_EQ(light_sync::SharedSettings().mode.load(), light_sync::kOff);

    // With fewer than two devices shown, nobody follows any more and the thread idles.
    window_->ShowSyncOptions(false);
    EXPECT_FALSE(device_->CommandChannel().GetLightSync());
    EXPECT_FALSE(window_->HasSyncedOpenDevice());
}

TEST_F(MainWindowDispatchTest, SystemFlagIsStoredAndWrittenToTheKeyboard) {
    auto* option =
        dynamic_cast<DuiLib::COptionUI*>(FindNamedControl(device_, L"winlockflag_option"));
    ASSERT_NE(option, nullptr);
    option->Selected(true, false);
    Raise(L"selectchanged", option);
    EXPECT_EQ(device_->GetSystemStages().winFlag, 1);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kSettings)[21], 1);
    option->Selected(false, false);
    Raise(L"selectchanged", option);
    EXPECT_EQ(keyboard_->Memory(sim::KeyboardMemory::kSettings)[21], 0);
}

TEST_F(MainWindowDispatchTest,
       MacroRecordedFromTheHookLocksTheDeviceListUntilItStopsThenReachesTheKeyboard) {
    CMacroControlUI* macro = MacroPanelOf(device_);
    ASSERT_NE(macro, nullptr);
    Raise(L"click", FindNamedControl(macro, L"macro_btn_name_add"));
    ASSERT_GE(macro->GetSelectedMacro(), 0);

    Raise(L"click", FindNamedControl(macro, L"macro_btn_starredio"));
    EXPECT_TRUE(window_->DeviceHook().IsInstalled());
    EXPECT_TRUE(macro->IsRecording());
    EXPECT_FALSE(window_->IsDeviceInputEnabled());
    EXPECT_FALSE(Find(L"device_select_layout")->IsEnabled());

    HookInput input;
    input.down = true;
    input.code = 0x04;
    const UINT append = AppMessages().hook[kHookKeyKbMacro];
    platform::SendMessage(window_->GetHWND(), append, WM_KEYDOWN, PackHookInput(input));
    ASSERT_EQ(macro->GetEvents().size(), 1u);
    EXPECT_EQ(macro->GetEvents()[0].button, 0x04);
    // A key pressed in the window itself reaches the hook too.
    platform::PostMessage(window_->GetHWND(), WM_KEYDOWN, 'B', 0);
    EXPECT_TRUE(PumpUntil([&] { return macro->GetEvents().size() == 2u; }));

    Raise(L"click", FindNamedControl(macro, L"MACRO_BTN_STOPREDIO"));
    EXPECT_FALSE(window_->DeviceHook().IsInstalled());
    EXPECT_FALSE(macro->IsRecording());
    EXPECT_TRUE(window_->IsDeviceInputEnabled());
    EXPECT_TRUE(Find(L"device_select_layout")->IsEnabled());
    // A late hook event after the stop adds nothing.
    const size_t recorded = macro->GetEvents().size();
    platform::SendMessage(window_->GetHWND(), append, WM_KEYDOWN, PackHookInput(input));
    EXPECT_EQ(macro->GetEvents().size(), recorded);

    // The saved macro went to the keyboard: the image names one macro of two events, A
    // pressed then B, and a later edit goes too (image: magic, total, count, offsets).
    const std::vector<uint8_t> image = keyboard_->Memory(sim::KeyboardMemory::kMacro);
    ASSERT_GE(image.size(), 16u);
    EXPECT_EQ(image[4] | image[5] << 8, 1) << "one macro";
    EXPECT_EQ(image[18] | image[19] << 8, 2) << "of two events";
    const size_t uploads = keyboard_->CommandCount(0x15);
    EXPECT_GT(uploads, 0u);
    Raise(L"click", FindNamedControl(macro, L"macro_btn_deleteall"));
    EXPECT_GT(keyboard_->CommandCount(0x15), uploads);

    // The macro action menu's click item adds a press and a release of its button.
    auto* item = new DuiLib::MenuCmd();
    wcscpy(item->szName, L"Left_Click");
    platform::SendMessage(window_->GetHWND(), WM_MENUCLICK, reinterpret_cast<WPARAM>(item), 0);
    ASSERT_EQ(macro->GetEvents().size(), 2u);
    EXPECT_TRUE(macro->GetEvents()[0].down);
    EXPECT_FALSE(macro->GetEvents()[1].down);
    EXPECT_EQ(macro->GetEvents()[1].button, 1);
}

TEST_F(MainWindowDispatchTest, UnpluggingTheKeyboardWhileRecordingEndsTheRecording) {
    CMacroControlUI* macro = MacroPanelOf(device_);
    ASSERT_NE(macro, nullptr);
    Raise(L"click", FindNamedControl(macro, L"macro_btn_starredio"));
    ASSERT_TRUE(window_->DeviceHook().IsInstalled());
    bus_.Unplug(keyboard_);
    ASSERT_TRUE(PumpUntil([this] { return window_->GetCurrentDevice() == nullptr; }));
    EXPECT_FALSE(window_->DeviceHook().IsInstalled());
    EXPECT_FALSE(macro->IsRecording());
    EXPECT_TRUE(window_->IsDeviceInputEnabled());
    EXPECT_TRUE(Find(L"device_select_layout")->IsEnabled());
}

TEST_F(MainWindowDispatchTest, ProfilesAndMacrosGoOutToAChosenFileAndComeBack) {
    testing_support::TempDir files;
    std::optional<std::wstring> chosen;
    std::vector<std::wstring> filters;
    window_->SetFileChooser([&](bool, const std::wstring& filter) {
        filters.push_back(filter);
        return chosen;
    });
    CDeviceProfileUI* profiles = ProfilePanelOf(device_);
    ASSERT_NE(profiles, nullptr);
    ASSERT_GE(profiles->GetProfileCount(), 1);
    const int count = profiles->GetProfileCount();

    ChooseProfileMenuItem(L"device_export_btn");  // cancelled
    ChooseProfileMenuItem(L"device_import_btn");
    EXPECT_EQ(profiles->GetProfileCount(), count);

    chosen = platform::Utf8Decode(files.File("shared.json"));
    ChooseProfileMenuItem(L"device_export_btn");
    ASSERT_TRUE(std::filesystem::exists(files.File("shared.json")));
    ChooseProfileMenuItem(L"device_import_btn");
    EXPECT_EQ(profiles->GetProfileCount(), count + 1);
    EXPECT_EQ(profiles->GetSelectedProfileIndex(), count) << "the imported profile is chosen";
    EXPECT_EQ(filters.back(), L"Profile Files(*.json)");

    CMacroControlUI* macro = MacroPanelOf(device_);
    ASSERT_NE(macro, nullptr);
    Raise(L"click", FindNamedControl(macro, L"macro_btn_name_add"));
    const size_t macros = macro->GetMacroNames().size();
    chosen = platform::Utf8Decode(files.File("one.mac"));
    Raise(L"click", FindNamedControl(macro, L"macro_btn_export"));
    Raise(L"click", FindNamedControl(macro, L"macro_btn_import"));
    EXPECT_EQ(macro->GetMacroNames().size(), macros + 1);
    EXPECT_EQ(filters.back(), L"Macro Files(*.mac)");
}

TEST_F(MainWindowDispatchTest, AFileThatCannotBeImportedIsSaidEveryTimeAndChangesNothing) {
    testing_support::TempDir files;
    const std::wstring bad = platform::Utf8Decode(files.File("notes.txt"));
    ASSERT_TRUE(testing_support::WriteTextFile(files.File("notes.txt"), "shopping list"));
    window_->SetFileChooser([&](bool, const std::wstring&) { return bad; });
    CDeviceProfileUI* profiles = ProfilePanelOf(device_);
    CMacroControlUI* macro = MacroPanelOf(device_);
    ASSERT_NE(profiles, nullptr);
    ASSERT_NE(macro, nullptr);
    const int count = profiles->GetProfileCount();
    const size_t macros = macro->GetMacroNames().size();

    testing_support::MessageBoxReader reader;
    ChooseProfileMenuItem(L"device_import_btn");
    ChooseProfileMenuItem(L"device_import_btn");
    Raise(L"click", FindNamedControl(macro, L"macro_btn_import"));

    ASSERT_EQ(reader.Texts().size(), 3u) << "a second try is answered too";
    const std::wstring headline =
        DuiLib::CResourceManager::GetInstance()->GetText(L"message_import_refused").str();
    EXPECT_NE(headline, L"message_import_refused");
    for (const std::wstring& text : reader.Texts())
        EXPECT_EQ(text, headline + L"\n" + bad);
    EXPECT_EQ(profiles->GetProfileCount(), count);
    EXPECT_EQ(macro->GetMacroNames().size(), macros);
}

TEST_F(MainWindowDispatchTest, KeyFunctionChosenInTheComboChangesTheChosenKeyAtOnce) {
    constexpr int kKey = 5;
    KeyAssignRecord letter;
    letter.current.type = KeyFunctionType::kKeyboardKey;
    letter.current.p2 = 0x04;
    letter.defaults = letter.current;
    device_->SetKeyAssignments(std::vector<KeyAssignRecord>(126, letter));
    Raise(L"click", device_->GetKeyButton(kKey));
    EXPECT_EQ(device_->GetSelectedKey(), kKey);

    CKeySetControlUI* keys = KeySetPanelOf(device_);
    ASSERT_NE(keys, nullptr);
    auto* combo = dynamic_cast<DuiLib::CComboUI*>(FindNamedControl(keys, L"keyset_function_combo"));
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->SelectItem(CKeySetControlUI::kRowDisabled, false, false));
    Raise(L"itemselect", combo);
    EXPECT_EQ(device_->GetKeyAssignments()[kKey].current.type, KeyFunctionType::kDisabled);
    EXPECT_EQ(keys->GetFunctionRow(), CKeySetControlUI::kRowDisabled);

    // The key edit captures keys through the hook while it has the focus.
    DuiLib::CControlUI* edit = FindNamedControl(keys, L"keyset_keyboard_text_edit");
    Raise(L"setfocus", edit);
    EXPECT_TRUE(window_->DeviceHook().IsInstalled());
    Raise(L"killfocus", edit);
    EXPECT_FALSE(window_->DeviceHook().IsInstalled());
}

TEST_F(MainWindowDispatchTest, TheChosenKeyStaysMarkedUntilAnotherIsChosenOrItIsCancelled) {
    const auto button = [this](int n) {
        return dynamic_cast<CDeviceKeyButtonUI*>(device_->GetKeyButton(n));
    };
    const auto marked = [&] {
        std::vector<int> keys;
        for (int n = 0; n < device_->GetKeyCount(); ++n) {
            if (button(n) != nullptr && button(n)->IsKeySelected()) {
                keys.push_back(n);
            }
        }
        return keys;
    };
    CKeySetControlUI* panel = KeySetPanelOf(device_);
    ASSERT_NE(panel, nullptr);
    DuiLib::CControlUI* keyTab = FindNamedControl(device_->GetProfilePage(), L"key_Op_tab");
    Raise(L"selectchanged", keyTab);
    constexpr int kW = 44;
    constexpr int kE = 45;
    ASSERT_TRUE(button(kW) && button(kE));
    const KeyFunctionRecord before = device_->GetKeyAssignments()[kE].current;

    Raise(L"click", button(kW));
    EXPECT_EQ(marked(), std::vector<int>{kW});
    Raise(L"click", button(kE));
    EXPECT_EQ(marked(), std::vector<int>{kE}) << "one key at a time";

    // Away from the key panel the keys show only their LEDs; back on it, the mark too.
    Raise(L"selectchanged", FindNamedControl(device_->GetProfilePage(), L"deng_Op_tab"));
    EXPECT_TRUE(marked().empty());
    Raise(L"selectchanged", keyTab);
    EXPECT_EQ(marked(), std::vector<int>{kE});

    // A choice takes effect at once; cancelling gives the key back its function.
    auto* combo =
        dynamic_cast<DuiLib::CComboUI*>(FindNamedControl(panel, L"keyset_function_combo"));
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->SelectItem(CKeySetControlUI::kRowDisabled, false, false));
    Raise(L"itemselect", combo);
    ASSERT_EQ(device_->GetKeyAssignments()[kE].current.type, KeyFunctionType::kDisabled);
    Raise(L"click", FindNamedControl(panel, L"key_butt_keycancel"));
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(device_->GetSelectedKey(), -1);
    EXPECT_EQ(device_->GetKeyAssignments()[kE].current, before);
    EXPECT_FALSE(FindNamedControl(panel, L"keyset_layout")->IsVisible());
}

TEST_F(MainWindowDispatchTest,
       FromTheShippedProfileEveryKeyIsNamedAndAReassignedKeyReachesTheWire) {
    // A fresh user's profile comes from the shipped default: every layout position is
    // listed with the code the keyboard ships with.
    const std::vector<KeyAssignRecord> keys = device_->GetKeyAssignments();
    ASSERT_EQ(keys.size(), device::kKeyboardLayoutKeys);
    int named = 0;
    for (int n = 0; n < static_cast<int>(device::kKeyboardLayoutKeys); ++n) {
        if (DuiLib::CControlUI* button = device_->GetKeyButton(n)) {
            EXPECT_FALSE(button->GetText().IsEmpty()) << "key " << n;
            ++named;
        }
    }
    EXPECT_GE(named, 104);

    constexpr int kKeyA = 64;
    ASSERT_EQ(keys[kKeyA].current, keys[kKeyA].defaults);
    ASSERT_EQ(keys[kKeyA].current.p2, 0x04) << "the factory code of A";
    Raise(L"click", device_->GetKeyButton(kKeyA));
    CKeySetControlUI* panel = KeySetPanelOf(device_);
    ASSERT_NE(panel, nullptr);
    auto* combo =
        dynamic_cast<DuiLib::CComboUI*>(FindNamedControl(panel, L"keyset_function_combo"));
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->SelectItem(CKeySetControlUI::kRowDisabled, false, false));
    Raise(L"itemselect", combo);
    Raise(L"click", FindNamedControl(panel, L"key_butt_prosave"));

    const KeyFunctionRecord now = device_->GetKeyAssignments()[kKeyA].current;
    EXPECT_EQ(now.type, KeyFunctionType::kDisabled);
    const size_t at = size_t{device_->KeyMaps().keyPosition[kKeyA]} * 3;
    const std::vector<uint8_t> table = keyboard_->Memory(sim::KeyboardMemory::kKeyCodes);
    ASSERT_GE(table.size(), at + 3);
    EXPECT_EQ(table[at], now.type);
    EXPECT_EQ(table[at + 1], now.p1);
    EXPECT_EQ(table[at + 2], now.p2);
    EXPECT_EQ(table[at + 3 + 2], 0x16) << "the next key, S, keeps its code";
}

TEST_F(MainWindowDispatchTest, CloseButtonOfAnyCaseHidesTheWindowAndKeepsItRunning) {
    ASSERT_TRUE(PumpUntil([this] { return IsMainWindowVisible(); }));
    DuiLib::CButtonUI button;
    button.SetName(L"CloseBtn");
    Raise(L"click", &button);
    EXPECT_FALSE(IsMainWindowVisible());
    EXPECT_TRUE(window_->IsWorkerRunning(kLightSyncThreadSlot));
    EXPECT_TRUE(window_->IsWorkerRunning(kCaptureThreadSlot));
}

}  // namespace
}  // namespace shell_testing

// The keyboard's page: the on-screen keys and LEDs, the panels it holds (profile list,
// lighting, macro editor, key assignment) filled from the device and its profile, and
// the tip on each key that tells what the key does.

#include <cstring>
#include <string>
#include <string_view>

#include "controls/device_key_button.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/page/button_slots.h"
#include "device/page/control_lookup.h"
#include "device/page/key_function_text.h"
#include "device/page/led_button_tint.h"
#include "device/page/text.h"
#include "duilib/string_utils.h"
#include "pages/device_profile_ui.h"
#include "pages/key_code_tables.h"
#include "pages/key_set_control_ui.h"
#include "pages/light_control_ui.h"
#include "pages/macro_control_ui.h"

using DuiLib::CControlUI;
using DuiLib::CDuiString;

namespace {

constexpr uint32_t kWhiteTint = 0xFFFFFF;
constexpr uint8_t kOpaque = 255;
constexpr int kMaxBrightness = 13;
constexpr int kMaxSpeed = 4;
// Language keys of the custom groups' rows: the prefix and the group's number from 1.
constexpr const wchar_t* kCustomGroupNamePrefix = L"light_custom_group_";

// The number after `prefix` in "prefix_n" (prefix compared without case), or -1.
int IndexAfter(const CDuiString& text, const wchar_t* prefix) {
    CDuiString head;
    int number = -1;
    if (!SplitIndexedName(text, &head, &number) || head.CompareNoCase(prefix) != 0) {
        return -1;
    }
    return number;
}

// "keyboard_key_X" names key X in full; "keyboard_legend_X", where a language has it, is
// the shorter text its key cap shows.
constexpr std::wstring_view kKeyNamePrefix = L"keyboard_key_";
constexpr std::wstring_view kKeyLegendPrefix = L"keyboard_legend_";

}  // namespace

void CVornalixKeyboardDevice::BuildDevicePage() {
    if (GetDeviceName().IsEmpty()) {
        CVornalixUSBDevice::InitPage();  // no device behind this page: empty vectors
        return;
    }
    if (CControlUI* panel = pageControls_.Find(kKeyPictureName)) {
        BindKeyPanelButtons(panel);
        if (!GetPreviewControl()) {
            SetSelectPanel(panel);
        }
        // Named now, not when the keyboard has been read: the page is shown at once and
        // the start comes half a second later.
        NameKeyButtons();
    }
    SetupPagePanels();
    // The page is shown before the keyboard is read: until then it shows what the profile
    // holds, which is what the program last gave the keyboard.
    if (!deviceString1_.IsEmpty()) {
        LoadProfile();
        RefreshPageControls();
    }
    UpdateKeyChoice();
}

void CVornalixKeyboardDevice::BindKeyPanelButtons(CControlUI* panel) {
    DuiLib::IContainerUI* container = device::AsContainer(panel);
    if (!container) {
        return;
    }
    for (int i = 0; i < container->GetCount(); ++i) {
        CControlUI* child = container->GetItemAt(i);
        if (!device::IsControlClass(child, L"DeviceKeyButton")) {
            continue;
        }
        bool isLed = false;
        if (!device::PutButtonAt(keyButtons_, IndexAfter(child->GetName(), L"key_"), child)) {
            isLed =
                device::PutButtonAt(ledButtons_, IndexAfter(child->GetName(), L"light_"), child);
        }
        isLed =
            device::PutButtonAt(ledButtons_, IndexAfter(child->GetUserData(), L"light_"), child) ||
            isLed;
        if (isLed) {
            device::SetLedButtonTint(child, kWhiteTint, kOpaque, true);
        }
    }
}

void CVornalixKeyboardDevice::SetupPagePanels() {
    if (auto* profiles = pageControls_.FindAs<CDeviceProfileUI>(L"DeviceProfileItem")) {
        SetProfilePage(profiles);
        profiles->SetDeviceKind(kKeyboardKind);
        profiles->SetPaths(GetUserDataPath(), GetDefaultProfilePath());
        profiles->LoadProfileList();
        profiles->SelectFunctionTab(1);
        SetDeviceString1(profiles->GetSelectedProfileUUID());
    }
    if (auto* light = pageControls_.FindAs<CLightControlUI>(L"LightControlItem")) {
        SetLightPage(light);
        light->SetDeviceKind(kKeyboardKind);
        LoadMacroAndLightLists();
        ShowLightModes(light, kMaxBrightness, kMaxSpeed);
        light->SetAreaModeNames(pageLists_.areaLightNames);
        std::vector<CDuiString> groups;
        for (int group = 1; group <= kCustomLightGroupCount; ++group) {
            groups.push_back(CDuiString(kCustomGroupNamePrefix) + std::to_wstring(group).c_str());
        }
        light->SetCustomModeNames(std::move(groups));
        light->EnableKeyChoiceButtons(false);
    }
    auto* macros = pageControls_.FindAs<CMacroControlUI>(L"MacroControlItem");
    if (macros) {
        macros->SetMacroFolder(GetUserDataPath());
        macros->LoadMacroNameList();
    }
    if (auto* keySet = pageControls_.FindAs<CKeySetControlUI>(L"KeySetControlItem")) {
        keySet->InitControls();
        keySet->SetDeviceKind(kKeyboardKind);
        keySet->ShowKeySetLayout(false);
        keySet->SetNotifyWindow(GetNotifyWindow());
        if (macros) {
            keySet->FillMacroCombo(macros->GetMacroNames());
        }
    }
}

void CVornalixKeyboardDevice::ShowKeyAssignment(int key) {
    ShowKeyAssignmentIn(pageControls_.FindAs<CKeySetControlUI>(L"KeySetControlItem"), key);
}

void CVornalixKeyboardDevice::RefreshPageControls() {
    LoadMacroAndLightLists();
    RefreshKeySetInfoList();
    if (auto* light = pageControls_.FindAs<CLightControlUI>(L"LightControlItem")) {
        const device::LightParams params = CurrentLightParams();
        LightPanelRecord record{};
        static_assert(sizeof(params) <= sizeof(record));
        std::memcpy(record.data(), &params, sizeof(params));
        light->ShowLightSettings(record);
    }
    const KeyboardSystemStages stages = GetSystemStages();
    SetWinFlagOption(stages.winFlag != 0);
    SetWFlagOption(stages.wFlag != 0);
    SetKey6FlagOption(stages.key6Flag != 0);
    SetRepeatRate(stages.repeat);
    SelectRepeatDelayOption(stages.repeatDelay);
    ClearRepeatTestInput();
    SetRepeatInputTip();
    SelectPollingRateOption(stages.pollingRate);
}

void CVornalixKeyboardDevice::RefreshKeyPage(int deletedMacro) {
    if (RevertKeysOfDeletedMacros(deletedMacro)) {
        SaveKeyList();
        SaveProfile();
        RefreshKeySetInfoList();
    }
}

void CVornalixKeyboardDevice::RefreshKeySetInfoList() {
    NameKeyButtons();
    const device::TranslateText translate = [this](const wchar_t* key) {
        return TranslateText(key);
    };
    const std::vector<KeyAssignRecord> assignments = GetKeyAssignments();
    for (size_t k = 0; k < assignments.size(); ++k) {
        const std::optional<CDuiString> text =
            device::KeyFunctionText(assignments[k].current, pageLists_.macroNames,
                                    device::KeyTextStyle::kKeyboard, translate);
        if (text && !text->IsEmpty()) {
            SetKeyButtonTip(static_cast<int>(k), *text);
        }
    }
    UpdateRepeatDelayLabel(GetSystemStages().repeatDelay);
    SetRepeatInputTip();
}

void CVornalixKeyboardDevice::SetKeyButtonTip(int key, CDuiString text) {
    if (key < 0 || static_cast<size_t>(key) >= device::kKeyboardLayoutKeys) {
        return;
    }
    auto* button = dynamic_cast<CDeviceKeyButtonUI*>(GetKeyButton(key));
    if (!button) {
        return;
    }
    const KeyLabel label = KeyLabelOf(key);
    if (!label.legend.IsEmpty()) {
        button->SetText(label.legend);
    }
    button->SetSameFunction(!label.name.IsEmpty() && label.name.CompareNoCase(text.view()) == 0);
    // A shortened legend leaves the key's full name to its tip.
    CDuiString tip = label.legend == label.name ? CDuiString() : label.name + L"\n";
    button->SetToolTip(tip + TranslateText(L"Key_Set") + text);
}

// Every key is named, whatever the profile lists: a profile without key assignments
// still shows a labelled keyboard.
void CVornalixKeyboardDevice::NameKeyButtons() {
    for (int key = 0; key < static_cast<int>(device::kKeyboardLayoutKeys); ++key) {
        CControlUI* button = GetKeyButton(key);
        const KeyLabel label = button ? KeyLabelOf(key) : KeyLabel{};
        if (!label.legend.IsEmpty()) {
            button->SetText(label.legend);
            if (label.legend != label.name) {
                button->SetToolTip(label.name);
            }
        }
    }
}

CVornalixKeyboardDevice::KeyLabel CVornalixKeyboardDevice::KeyLabelOf(int key) {
    const device::KeyCode& code = device::KeyboardLayoutTable[static_cast<size_t>(key)];
    const KeyCodeTableView keys = KeyCodes();
    const wchar_t* nameKey = keys.Name(keys.FindExact(code.category, code.modifier, code.usage));
    if (nameKey == nullptr) {
        return {};
    }
    KeyLabel label;
    label.name = TranslateText(nameKey);
    label.legend = label.name;
    const std::wstring_view name(nameKey);
    if (name.starts_with(kKeyNamePrefix)) {
        const std::wstring legendKey =
            std::wstring(kKeyLegendPrefix) + std::wstring(name.substr(kKeyNamePrefix.size()));
        // An untranslated key comes back as itself: the language has no shorter legend.
        const CDuiString legend = TranslateText(legendKey.c_str());
        if (!legend.IsEmpty() && legend.str() != legendKey) {
            label.legend = legend;
        }
    }
    return label;
}

CDuiString CVornalixKeyboardDevice::TranslateText(const wchar_t* key) {
    return device::TranslatePageText(pageControls_.Find(device::kTranslationLabelName), key);
}

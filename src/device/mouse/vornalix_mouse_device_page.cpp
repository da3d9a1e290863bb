// The mouse's page: the key and LED buttons of its settings tabs, the panels it holds
// (profile list, lighting, macro editor, key assignment, shoot editor), the list that
// tells what each mouse key does, and the logo button's tip.

#include <cstring>

#include "controls/device_key_button.h"
#include "device/lighting/custom_light_modes.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "device/page/button_slots.h"
#include "device/page/control_lookup.h"
#include "device/page/key_function_text.h"
#include "device/page/led_button_tint.h"
#include "device/page/name_lists.h"
#include "device/page/text.h"
#include "duilib/string_utils.h"
#include "duilib/ui_button.h"
#include "duilib/ui_list.h"
#include "pages/device_profile_ui.h"
#include "pages/key_set_control_ui.h"
#include "pages/light_control_ui.h"
#include "pages/macro_control_ui.h"
#include "pages/shoot_control_ui.h"

using DuiLib::CControlUI;
using DuiLib::CDuiString;

namespace {

constexpr uint32_t kWhiteTint = 0xFFFFFF;
constexpr uint8_t kOpaque = 255;
constexpr int kMaxBrightness = 4;
constexpr int kMaxSpeed = 4;
constexpr int kRowHeight = 25;
constexpr int kKeyNameWidth = 200;
constexpr int kFunctionWidth = 180;
constexpr DWORD kKeyNameColour = 0xFFFFFFFF;
constexpr DWORD kFunctionColour = 0xFF0099FF;

DuiLib::CLabelUI* NewRowLabel(int width, DWORD colour) {
    auto* label = new DuiLib::CLabelUI();
    label->SetFixedWidth(width);
    label->SetTextColor(colour);
    return label;
}

// A display-only row: key name and function text.
DuiLib::CListContainerElementUI* NewKeyInfoRow() {
    auto* row = new DuiLib::CListContainerElementUI();
    row->SetFixedHeight(kRowHeight);
    row->Add(NewRowLabel(kKeyNameWidth, kKeyNameColour));
    DuiLib::CLabelUI* function = NewRowLabel(kFunctionWidth, kFunctionColour);
    function->SetTextStyle(function->GetTextStyle() | DuiLib::DT_END_ELLIPSIS);
    row->Add(function);
    row->SetVisible(false);
    row->SetEnabled(false);
    return row;
}

}  // namespace

void CVornalixMouseDevice::InitPage() {
    BuildDevicePage();
}

void CVornalixMouseDevice::BuildDevicePage() {
    if (GetDeviceName().IsEmpty()) {
        CVornalixUSBDevice::InitPage();  // no device behind this page: empty vectors
        mouseKeyButtons_.clear();
        return;
    }
    if (DuiLib::IContainerUI* tabs =
            device::AsContainer(pageControls_.Find(L"mouse_device_seting_layout"))) {
        for (int i = 0; i < tabs->GetCount(); ++i) {
            if (device::IsControlClass(tabs->GetItemAt(i), L"SelectPanel")) {
                BindPanelButtons(tabs->GetItemAt(i));
            }
        }
    }
    SetupPagePanels();
    SelectSettingTab(0);
}

void CVornalixMouseDevice::BindPanelButtons(CControlUI* panel) {
    DuiLib::IContainerUI* container = device::AsContainer(panel);
    for (int i = 0; container && i < container->GetCount(); ++i) {
        CControlUI* button = container->GetItemAt(i);
        if (!device::IsControlClass(button, L"DeviceKeyButton")) {
            continue;
        }
        if (button->GetName().CompareNoCase(L"logo") == 0) {
            SetLogoButton(button);
            continue;
        }
        CDuiString prefix;
        int n = -1;
        if (!SplitIndexedName(button->GetName(), &prefix, &n) || n < 0) {
            continue;
        }
        if (prefix.CompareNoCase(L"key_") == 0) {
            device::PutButtonAt(keyButtons_, n, button);
        } else if (prefix.CompareNoCase(L"light_") == 0) {
            if (device::PutButtonAt(ledButtons_, n, button)) {
                device::SetLedButtonTint(button, kWhiteTint, kOpaque, true);
            }
        } else if (prefix.CompareNoCase(L"light_0_") == 0) {
            // The buttons the light frames colour and the key list describes: button n
            // shows LED n and key n, wherever the layout lists it.
            if (!device::PutButtonGrowing(mouseKeyButtons_, n, button)) {
                continue;
            }
            device::SetLedButtonTint(button, kWhiteTint, kOpaque, true);
            if (!GetPreviewControl()) {
                SetSelectPanel(panel);
            }
        }
    }
}

void CVornalixMouseDevice::SetupPagePanels() {
    const CDuiString userFolder = GetUserDataPath();
    if (auto* profiles = pageControls_.FindAs<CDeviceProfileUI>(L"DeviceProfileItem")) {
        SetProfilePage(profiles);
        profiles->SetDeviceKind(GetDeviceType());
        profiles->SetPaths(userFolder, GetDefaultProfilePath());
        profiles->LoadProfileList();
        profiles->SelectFunctionTab(1);
        SetDeviceString1(profiles->GetSelectedProfileUUID());
    }
    if (auto* light = pageControls_.FindAs<CLightControlUI>(L"LightControlItem")) {
        SetLightPage(light);
        light->SetDeviceKind(GetDeviceType());
        // The mode names come from the lists; read them before the combo is filled.
        LoadMacroAndLightLists();
        FillLightModes();
    }
    auto* macros = pageControls_.FindAs<CMacroControlUI>(L"MacroControlItem");
    if (macros) {
        macros->SetMacroFolder(userFolder);
        macros->LoadMacroNameList();
    }
    if (auto* keySet = pageControls_.FindAs<CKeySetControlUI>(L"KeySetControlItem")) {
        keySet->InitControls();
        keySet->SetDeviceKind(GetDeviceType());
        keySet->ShowKeySetLayout(false);
        keySet->SetNotifyWindow(GetNotifyWindow());
        if (macros) {
            keySet->FillMacroCombo(macros->GetMacroNames());
        }
    }
    if (auto* shoot = pageControls_.FindAs<CShootControlUI>(L"ShootControlItem")) {
        shoot->SetUserDataFolder(userFolder);
        shoot->SetDefaultDataFolder(GetDefaultDataPath());
        shoot->InitShootPanel();
        shoot->SelectGun(0);
        shoot->SelectBullet(0);
    }
}

void CVornalixMouseDevice::FillLightModes() {
    ShowLightModes(GetLightPage(), kMaxBrightness, kMaxSpeed);
}

void CVornalixMouseDevice::ShowKeyAssignment(int key) {
    ShowKeyAssignmentIn(pageControls_.FindAs<CKeySetControlUI>(L"KeySetControlItem"), key);
}

void CVornalixMouseDevice::ShowLightSettings() {
    if (auto* light = pageControls_.FindAs<CLightControlUI>(L"LightControlItem")) {
        const device::LightParams params = CurrentLightParams();
        LightPanelRecord record{};
        static_assert(sizeof(params) <= sizeof(record));
        std::memcpy(record.data(), &params, sizeof(params));
        light->ShowLightSettings(record);
    }
}

void CVornalixMouseDevice::RefreshKeySetInfoList() {
    auto* list = pageControls_.FindAs<DuiLib::CListUI>(L"device_setkeyinfo_list");
    if (list) {
        list->RemoveAll();
    }
    const device::TranslateText translate = [this](const wchar_t* key) {
        return TranslateText(key);
    };
    for (size_t k = 0; k < keyAssignments_.size(); ++k) {
        const std::optional<CDuiString> text =
            device::KeyFunctionText(keyAssignments_[k].current, pageLists_.macroNames,
                                    device::KeyTextStyle::kMouse, translate);
        if (text) {
            SetKeyInfoRow(static_cast<int>(k), *text);
        }
    }
    UpdateLogoToolTip();
    if (list) {
        list->SetVisible(true);
    }
}

void CVornalixMouseDevice::SetKeyInfoRow(int key, CDuiString text) {
    CControlUI* button = GetMouseKeyButton(key);
    if (!button) {
        return;
    }
    const CDuiString name =
        key < device::kMouseKeyCount ? TranslateText(device::kMouseKeyNameKeys[key]) : CDuiString();
    if (auto* keyButton = dynamic_cast<CDeviceKeyButtonUI*>(button)) {
        keyButton->SetUserToolTitle(name);
        keyButton->SetUserToolText(text);
    }
    auto* list = pageControls_.FindAs<DuiLib::CListUI>(L"device_setkeyinfo_list");
    if (!list) {
        return;
    }
    while (list->GetCount() <= key) {
        list->Add(NewKeyInfoRow());
    }
    DuiLib::IContainerUI* row = device::AsContainer(list->GetItemAt(key));
    if (!row || row->GetCount() < 2) {
        return;
    }
    row->GetItemAt(0)->SetText(name);
    row->GetItemAt(1)->SetText(text);
    // Every key the layout has is listed, whichever settings tab shows its button.
    list->GetItemAt(key)->SetVisible(true);
}

CControlUI* CVornalixMouseDevice::GetMouseKeyButton(int key) const {
    return key >= 0 && static_cast<size_t>(key) < mouseKeyButtons_.size()
               ? mouseKeyButtons_[static_cast<size_t>(key)]
               : nullptr;
}

void CVornalixMouseDevice::UpdateLogoToolTip() {
    auto* logo = dynamic_cast<CDeviceKeyButtonUI*>(logoButton_);
    if (!logo) {
        return;
    }
    CDuiString text = TranslateText(L"Light_Set") + L"\n" + TranslateText(L"Overall_Light_Set");
    const int mode = CurrentLightParams().mode;
    const int custom = device::CustomLightOfMode(GetDeviceType(), mode);
    if (custom >= 0) {
        if (static_cast<size_t>(custom) < pageLists_.customLightNames.size()) {
            text += pageLists_.customLightNames[static_cast<size_t>(custom)];
        }
    } else if (static_cast<size_t>(mode) < pageLists_.defaultLightNames.size()) {
        text += TranslateText(pageLists_.defaultLightNames[static_cast<size_t>(mode)]);
    }
    logo->SetUserToolTitle(L"Logo");
    logo->SetUserToolText(text);
}

void CVornalixMouseDevice::SelectSettingTab(int tab) {
    auto* tabs = pageControls_.FindAs<DuiLib::CTabLayoutUI>(L"mouse_device_seting_layout");
    if (!tabs) {
        return;
    }
    if (tab < 0 || tab >= tabs->GetCount()) {
        tab = 0;
    }
    tabs->SelectItem(tab, false);
    // The list tells what the keys do whichever tab shows them; a tab's change shows it anew.
    RefreshKeySetInfoList();
    DuiLib::IContainerUI* options = device::AsContainer(pageControls_.Find(L"mouse_option_layout"));
    const CDuiString name = L"mouse_device_seting_option_" + CDuiString(std::to_wstring(tab));
    for (int i = 0; options && i < options->GetCount(); ++i) {
        auto* option = dynamic_cast<DuiLib::COptionUI*>(options->GetItemAt(i));
        if (option && option->GetName().CompareNoCase(name.view()) == 0) {
            option->Selected(true, false);
        }
    }
}

CDuiString CVornalixMouseDevice::TranslateText(const wchar_t* key) {
    return device::TranslatePageText(pageControls_.Find(device::kTranslationLabelName), key);
}

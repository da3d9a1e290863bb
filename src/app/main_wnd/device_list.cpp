// The device list on the left of the main window: its entries, the current device and the
// selection moves.

#include "app/device_option_ui.h"
#include "app/main_wnd/main_wnd.h"
#include "app/mp_device_power_ui.h"
#include "controls/device_key_button.h"
#include "device/vornalix_usb_device.h"
#include "duilib/dialog_builder.h"
#include "duilib/string_utils.h"
#include "duilib/ui_control.h"
#include "pages/light_control_ui.h"
#include "platform/window_messages.h"
#include "update/installed_version.h"

using namespace DuiLib;

CContainerUI* CMainWnd::FindContainer(LPCTSTR name) {
    return dynamic_cast<CContainerUI*>(m_pm.FindControl(name));
}

std::vector<CDeviceOptionUI*> CMainWnd::Entries() {
    std::vector<CDeviceOptionUI*> entries;
    CContainerUI* list = FindContainer(L"device_select_layout");
    if (list == nullptr) {
        return entries;
    }
    for (int i = 0; i < list->GetCount(); ++i) {
        entries.push_back(dynamic_cast<CDeviceOptionUI*>(list->GetItemAt(i)));
    }
    return entries;
}

CVornalixUSBDevice* CMainWnd::GetCurrentDevice() {
    for (CDeviceOptionUI* entry : Entries()) {
        if (entry != nullptr && entry->IsShown() && entry->IsSelected()) {
            return entry->GetDevice();
        }
    }
    return nullptr;
}

void CMainWnd::OnDeviceSelected() {
    for (CDeviceOptionUI* entry : Entries()) {
        if (entry != nullptr && entry->IsSelected()) {
            ShowEntryPowerSwitch(*entry);
            return;
        }
    }
}

bool CMainWnd::ShowEntryPage(CDeviceOptionUI& entry) {
    CDuiString tabName = entry.GetBindTabName();
    const int tabIndex = entry.GetBindTabIndex();
    auto* tab =
        tabName.IsEmpty() ? nullptr : dynamic_cast<CTabLayoutUI*>(m_pm.FindControl(tabName));
    if (tab == nullptr || tabIndex < 0) {
        return false;
    }
    tab->SelectItem(tabIndex);
    return ShowEntryPowerSwitch(entry);
}

bool CMainWnd::ShowEntryPowerSwitch(CDeviceOptionUI& entry) {
    CDuiString powerName = entry.GetPowerSwitchName();
    CControlUI* powerSwitch = powerName.IsEmpty() ? nullptr : m_pm.FindControl(powerName);
    if (powerSwitch == nullptr) {
        return false;
    }
    const int powerIndex = entry.GetPowerSwitchIndex();
    powerSwitch->SetVisible(powerIndex >= 0);
    if (auto* powerTab = dynamic_cast<CTabLayoutUI*>(powerSwitch);
        powerTab != nullptr && powerIndex >= 0) {
        powerTab->SelectItem(powerIndex);
    }
    return true;
}

void CMainWnd::SetDeviceEntryState(int index, bool show, bool select) {
    std::vector<CDeviceOptionUI*> entries = Entries();
    if (index >= 0 && index < static_cast<int>(entries.size()) && entries[index] != nullptr) {
        CDeviceOptionUI* entry = entries[index];
        entry->SetVisible(show);
        // A page that cannot be shown leaves the entry and the list as they are.
        if (select && !ShowEntryPage(*entry)) {
            return;
        }
        entry->SetSelected(select);
    }
    UpdateListForShownEntries();
}

void CMainWnd::UpdateListForShownEntries() {
    int shown = 0;
    int syncSelected = 0;
    for (CDeviceOptionUI* entry : Entries()) {
        if (entry != nullptr && entry->IsShown()) {
            ++shown;
            if (entry->IsSyncSelected()) {
                ++syncSelected;
            }
        }
    }
    if (shown == 0) {
        ShowNoDeviceNotice(true);
        if (auto* power = dynamic_cast<CTabLayoutUI*>(m_pm.FindControl(L"device_power_switch"))) {
            power->SelectItem(0);
        }
        if (auto* pages = dynamic_cast<CTabLayoutUI*>(m_pm.FindControl(L"device_switch"))) {
            pages->SelectItem(0);
        }
    } else {
        ShowNoDeviceNotice(false);
    }
    ShowSyncOptions(shown >= 2);
    if (syncSelected <= 1) {
        for (CDeviceOptionUI* entry : Entries()) {
            if (entry != nullptr) {
                entry->SetSyncSelected(false);
            }
        }
    }
}

void CMainWnd::ForEachDevice(const std::function<void(CVornalixUSBDevice*)>& action) {
    for (auto* list : {&keyboards_, &mice_, &mousePads_, &headsets_}) {
        for (CVornalixUSBDevice* device : *list) {
            if (device != nullptr) {
                action(device);
            }
        }
    }
}

void CMainWnd::ShowSyncOptions(bool show) {
    ForEachDevice([show](CVornalixUSBDevice* device) {
        if (CLightControlUI* panel = device->GetLightPage()) {
            panel->SetSyncMode(show);
        }
        // Cleared on every device, with or without a lighting panel, so that the light
        // synchronisation drives none of them.
        if (!show) {
            device->SetLightSync(false);
        }
    });
}

void CMainWnd::ReleaseDeviceEntry(int index) {
    std::vector<CDeviceOptionUI*> entries = Entries();
    if (index < 0 || index >= static_cast<int>(entries.size()) || entries[index] == nullptr) {
        return;
    }
    CDeviceOptionUI* entry = entries[index];
    const bool wasCurrent = entry->IsShown() && entry->IsSelected();
    int successor = -1;
    if (wasCurrent) {
        CloseChildWindows();
        // A recording of the device that goes would otherwise keep the hook installed and
        // the device list locked with no stop button left to press.
        if (deviceHook_.IsInstalled()) {
            StopMacroRecording();
        }
        for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
            if (i != index && entries[i] != nullptr && entries[i]->IsShown()) {
                successor = i;
                break;
            }
        }
    }
    SetDeviceEntryState(index, false, false);
    if (wasCurrent && successor >= 0) {
        SetDeviceEntryState(successor, true, true);
    }
}

void CMainWnd::SelectPreviousDevice() {
    int lastVisible = -1;
    std::vector<CDeviceOptionUI*> entries = Entries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        if (entries[i] == nullptr) {
            continue;
        }
        if (entries[i]->IsSelected()) {
            if (lastVisible >= 0) {
                SetDeviceEntryState(lastVisible, true, true);
            }
            return;
        }
        if (entries[i]->IsVisible()) {
            lastVisible = i;
        }
    }
}

void CMainWnd::SelectNextDevice() {
    std::vector<CDeviceOptionUI*> entries = Entries();
    bool afterSelected = false;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        if (entries[i] == nullptr) {
            continue;
        }
        if (afterSelected && entries[i]->IsVisible()) {
            SetDeviceEntryState(i, true, true);
            return;
        }
        if (!afterSelected && entries[i]->IsSelected()) {
            afterSelected = true;
        }
    }
}

bool CMainWnd::CountShownEntries(int* first, int* count) {
    int shown = 0;
    std::vector<CDeviceOptionUI*> entries = Entries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        if (entries[i] != nullptr && entries[i]->IsShown()) {
            if (shown == 0 && first != nullptr) {
                *first = i;
            }
            ++shown;
        }
    }
    if (count != nullptr) {
        *count = shown;
    }
    return shown > 0;
}

void CMainWnd::CloseChildWindows() {
    if (settingsWnd_ != nullptr) {
        platform::SendMessage(settingsWnd_, WM_CLOSE, 0, 0);
    }
    if (aboutWnd_ != nullptr) {
        platform::SendMessage(aboutWnd_, WM_CLOSE, 0, 0);
    }
}

void CMainWnd::BuildUpdateDeviceList() {
    updateCandidates_.clear();
    for (int row = 0; row < DeviceIdentityTableCount; ++row) {
        DeviceIdentityRecord record = DeviceIdentityTable[row];
        record.version = 0;
        updateCandidates_.push_back(record);
    }
    std::vector<CDeviceOptionUI*> entries = Entries();
    for (size_t i = 0; i < entries.size() && i < updateCandidates_.size(); ++i) {
        CVornalixUSBDevice* device = entries[i] != nullptr ? entries[i]->GetDevice() : nullptr;
        updateCandidates_[i].version =
            device != nullptr && device->CommandChannel().IsOpen() != 0
                ? device->CommandChannel().File().Attributes().VersionNumber
                : 0;
    }
    if (!updateCandidates_.empty()) {
        updateCandidates_.back().version = GetInstalledVersion();
    }
}

void CMainWnd::OnMouseKeyLightSelectEnd(CControlUI* panel) {
    CVornalixUSBDevice* device = GetCurrentDevice();
    auto* container = dynamic_cast<CContainerUI*>(panel);
    if (device == nullptr || container == nullptr) {
        return;
    }
    const int n = device->GetLedCount();
    std::vector<int32_t> selected(static_cast<size_t>(std::max(n, 0)), 0);
    bool anySelected = false;
    for (int i = 0; i < container->GetCount(); ++i) {
        auto* button = dynamic_cast<CDeviceKeyButtonUI*>(container->GetItemAt(i));
        if (button == nullptr ||
            CDuiString(button->GetClass()).CompareNoCase(L"DeviceKeyButton") != 0) {
            continue;
        }
        int v = button->IsInSelection();
        if (v != 0) {
            anySelected = true;
        }
        if (!button->IsVisible()) {
            v = 1;
        }
        for (const CDuiString& text : {button->GetName(), button->GetUserData()}) {
            CDuiString prefix;
            int number = 0;
            if (SplitIndexedName(text, &prefix, &number) && prefix.CompareNoCase(L"light_") == 0 &&
                number >= 0 && number < n) {
                selected[static_cast<size_t>(number)] = v;
            }
        }
    }
    if (std::any_of(selected.begin(), selected.end(), [](int32_t v) { return v != 1; })) {
        anySelected = false;
    }
    if (!anySelected) {
        return;
    }
    CDuiString path = GetAppDataFolder();
    path += L".json";
    if (jsonFile_.LoadJsonFile(path).isNull()) {
        return;
    }
    device->LoadProfile();
    device->RefreshPageControls();
    device->WriteDeviceSettings(0, 0, 1, MainScreenWidth(), MainScreenHeight());
    device->ApplyProfileLight();
}

int CMainWnd::GetEntryIndex(CDeviceOptionUI* entry) {
    std::vector<CDeviceOptionUI*> entries = Entries();
    auto it = std::find(entries.begin(), entries.end(), entry);
    return entry != nullptr && it != entries.end() ? static_cast<int>(it - entries.begin()) : -1;
}

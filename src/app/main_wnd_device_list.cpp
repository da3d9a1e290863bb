// The device list on the left of the main window, the device pages and the power items.

#include "app/device_option_ui.h"
#include "app/main_wnd.h"
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

namespace {

constexpr LPCTSTR kPowerItemXml = L"XML\\CustomControlXML\\MpDevicePower.xml";

std::vector<CVornalixUSBDevice*>* ListOfKind(CMainWnd& wnd, int kind) {
    switch (kind) {
        case 1:
            return &wnd.Keyboards();
        case 2:
        case 6:
            return &wnd.Mice();
        case 3:
            return &wnd.MousePads();
        case 7:
            return &wnd.Headsets();
        default:
            return nullptr;
    }
}

}  // namespace

CControlUI* CMainWnd::BuildFromXml(LPCTSTR xml, IDialogBuilderCallback* callback) {
    CDialogBuilder builder;
    return builder.Create(xml, nullptr, callback, &m_pm, nullptr);
}

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

void CMainWnd::BuildDevicePages() {
    for (int row = 0; row < DeviceOptionTableCount; ++row) {
        const DeviceOptionRecord& option = DeviceOptionTable[row];
        const int index = FindHidIdIndex(
            static_cast<uint16_t>(option.vendorId), static_cast<uint16_t>(option.productId),
            static_cast<uint16_t>(option.deviceKind), static_cast<uint16_t>(option.subKind));
        switch (option.deviceKind) {
            case 1:
                BuildKeyboardPage(index, option.subKind);
                break;
            case 2:
            case 6:
                BuildMousePage(index, option.subKind);
                break;
            case 3:
                BuildMousePadPage(index, option.subKind);
                break;
            case 7:
                BuildHeadsetPage(index, option.subKind);
                break;
            default:
                break;
        }
    }
}

void CMainWnd::RemoveDevicePages() {
    // Every row, so that each page is torn down with its channel closed.
    for (int row = 0; row < DeviceOptionTableCount; ++row) {
        const DeviceOptionRecord& option = DeviceOptionTable[row];
        const int index = FindHidIdIndex(
            static_cast<uint16_t>(option.vendorId), static_cast<uint16_t>(option.productId),
            static_cast<uint16_t>(option.deviceKind), static_cast<uint16_t>(option.subKind));
        switch (option.deviceKind) {
            case 1:
                RemoveKeyboardPage(index, option.subKind);
                break;
            case 2:
            case 6:
                RemoveMousePage(index, option.subKind);
                break;
            case 3:
                RemoveMousePadPage(index, option.subKind);
                break;
            case 7:
                RemoveHeadsetPage(index, option.subKind);
                break;
            default:
                break;
        }
    }
}

int CMainWnd::BuildKeyboardPage(int liveIndex, int subKind) {
    return BuildDevicePage(liveIndex, subKind, false);
}
int CMainWnd::BuildMousePage(int liveIndex, int subKind) {
    return BuildDevicePage(liveIndex, subKind, true);
}
int CMainWnd::BuildMousePadPage(int liveIndex, int subKind) {
    return BuildDevicePage(liveIndex, subKind, false);
}
int CMainWnd::BuildHeadsetPage(int liveIndex, int subKind) {
    return BuildDevicePage(liveIndex, subKind, false);
}

int CMainWnd::BuildDevicePage(int liveIndex, int subKind, bool isMouse) {
    if (liveIndex < 0) {
        return 0;
    }
    auto record = liveRecords_->Get(static_cast<size_t>(liveIndex));
    if (!record) {
        return 0;
    }
    int kind = record->deviceKind;
    HidIdRecord identifying = *record;
    if (isMouse && kind == 6) {
        kind = 2;
        if (record->partnerFlag != 0) {
            if (auto partner = liveRecords_->Get(record->partnerIndex)) {
                identifying = *partner;
            }
        }
    }
    const int row =
        FindDeviceOptionIndex(identifying.vendorId, identifying.productId,
                              static_cast<uint16_t>(kind), static_cast<uint16_t>(subKind));
    if (row < 0 || row >= DeviceXmlTableCount) {
        return 0;
    }
    const DeviceOptionRecord& option = DeviceOptionTable[row];
    const DeviceXmlRecord& xml = DeviceXmlTable[row];

    std::unique_ptr<CControlUI> powerControl(BuildFromXml(kPowerItemXml, this));
    std::unique_ptr<CControlUI> entryControl;
    std::unique_ptr<CControlUI> deviceControl;
    if (isMouse) {
        entryControl.reset(BuildFromXml(option.optionXml, this));
        deviceControl.reset(BuildFromXml(xml.deviceXml, this));
    } else {
        deviceControl.reset(BuildFromXml(xml.deviceXml, this));
        entryControl.reset(BuildFromXml(option.optionXml, this));
    }
    auto* power = dynamic_cast<CMpDevicePowerUI*>(powerControl.get());
    auto* entry = dynamic_cast<CDeviceOptionUI*>(entryControl.get());
    auto* device = dynamic_cast<CVornalixUSBDevice*>(deviceControl.get());
    CContainerUI* powerSwitch = FindContainer(option.powerSwitchName);
    CContainerUI* pages = FindContainer(L"device_switch");
    CContainerUI* list = FindContainer(L"device_select_layout");
    std::vector<CVornalixUSBDevice*>* devices = ListOfKind(*this, kind);
    if (power == nullptr || entry == nullptr || device == nullptr || powerSwitch == nullptr ||
        pages == nullptr || list == nullptr || devices == nullptr) {
        return 0;  // nothing has been added to the window
    }

    powerSwitch->Add(powerControl.release());
    power->SetDeviceKind(kind, subKind);
    powerItems_.push_back(power);

    device->SetDeviceName(xml.deviceXml);
    device->SetNotifyWindow(GetHWND());
    device->SetKeyCount(xml.keyCount);
    device->SetLedCount(xml.ledCount);
    device->SetShowPower(xml.showPower);
    device->SetDeviceString1(CDuiString());
    device->SetDeviceFileName(option.kindName);
    device->SetPowerItem(power);
    device->SetDeviceIdentity(*record);
    device->SetDeviceIndex(option.profileIndex);
    device->SetDeviceString2(xml.lightConfigName);
    device->InitPage();
    pages->Add(deviceControl.release());
    {
        platform::CriticalSectionLock lock(deviceListLock_);
        devices->push_back(device);
    }

    list->Add(entryControl.release());
    entry->ShowSyncOption(false);
    entry->SetOptionGroup(option.groupName);
    entry->BindTab(L"device_switch", pages->GetCount() - 1);
    entry->SetPowerSwitch(option.powerSwitchName, powerSwitch->GetCount() - 1);
    entry->SetDeviceKind(option.deviceKind, option.subKind);
    entry->SetVisible(false);
    entry->SetNameText(option.kindName);
    entry->SetDevice(device);
    entry->SetPreviewControl(device->GetPreviewControl());
    return 1;
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
        if (entry == nullptr || !entry->IsSelected()) {
            continue;
        }
        CDuiString name = entry->GetPowerSwitchName();
        CControlUI* powerSwitch = name.IsEmpty() ? nullptr : m_pm.FindControl(name);
        if (powerSwitch == nullptr) {
            return;
        }
        const int index = entry->GetPowerSwitchIndex();
        if (index < 0) {
            powerSwitch->SetVisible(false);
        } else {
            powerSwitch->SetVisible(true);
            if (auto* tab = dynamic_cast<CTabLayoutUI*>(powerSwitch)) {
                tab->SelectItem(index);
            }
        }
        return;
    }
}

void CMainWnd::SetDeviceEntryState(int index, bool show, bool select) {
    std::vector<CDeviceOptionUI*> entries = Entries();
    if (index >= 0 && index < static_cast<int>(entries.size()) && entries[index] != nullptr) {
        CDeviceOptionUI* entry = entries[index];
        entry->SetVisible(show);
        if (select) {
            CDuiString tabName = entry->GetBindTabName();
            const int tabIndex = entry->GetBindTabIndex();
            auto* tab = tabName.IsEmpty() ? nullptr
                                          : dynamic_cast<CTabLayoutUI*>(m_pm.FindControl(tabName));
            if (tab == nullptr || tabIndex < 0) {
                return;
            }
            tab->SelectItem(tabIndex);
            CDuiString powerName = entry->GetPowerSwitchName();
            CControlUI* powerSwitch = powerName.IsEmpty() ? nullptr : m_pm.FindControl(powerName);
            if (powerSwitch == nullptr) {
                return;
            }
            const int powerIndex = entry->GetPowerSwitchIndex();
            powerSwitch->SetVisible(powerIndex >= 0);
            if (auto* powerTab = dynamic_cast<CTabLayoutUI*>(powerSwitch);
                powerTab != nullptr && powerIndex >= 0) {
                powerTab->SelectItem(powerIndex);
            }
        }
        entry->SetSelected(select);
    }

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
            device->CommandChannel().SetLightSync(false);
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

void CMainWnd::RemoveKeyboardPage(int liveIndex, int) {
    RemovePageOfKind(keyboards_, liveIndex);
}
void CMainWnd::RemoveMousePage(int liveIndex, int) {
    RemovePageOfKind(mice_, liveIndex);
}
void CMainWnd::RemoveMousePadPage(int liveIndex, int) {
    RemovePageOfKind(mousePads_, liveIndex);
}
void CMainWnd::RemoveHeadsetPage(int liveIndex, int) {
    RemovePageOfKind(headsets_, liveIndex);
}

void CMainWnd::RemovePageOfKind(std::vector<CVornalixUSBDevice*>& list, int liveIndex) {
    if (liveIndex < 0) {
        return;
    }
    auto record = liveRecords_->Get(static_cast<size_t>(liveIndex));
    if (!record) {
        return;
    }
    auto it = std::find_if(list.begin(), list.end(), [&](CVornalixUSBDevice* device) {
        return device != nullptr && device->GetDeviceIdentity().IsSameInterface(*record);
    });
    if (it == list.end()) {
        return;
    }
    CVornalixUSBDevice* device = *it;
    auto* entry = dynamic_cast<CDeviceOptionUI*>(device->GetDeviceOptionItem());
    const int powerIndex = entry != nullptr ? entry->GetPowerSwitchIndex() : -1;
    const int pageIndex = entry != nullptr ? entry->GetBindTabIndex() : -1;
    device->CommandChannel().CloseInterface();
    {
        // The light synchronisation must not reach the device once its page goes.
        platform::CriticalSectionLock lock(deviceListLock_);
        list.erase(it);
    }
    RemoveDevicePage(powerIndex, pageIndex);
}

void CMainWnd::RemoveDevicePage(int powerIndex, int pageIndex) {
    CContainerUI* powerSwitch = FindContainer(L"device_power_switch");
    CContainerUI* pages = FindContainer(L"device_switch");
    CContainerUI* list = FindContainer(L"device_select_layout");
    const int entryCount = list != nullptr ? list->GetCount() : 0;
    const int powerCount = powerSwitch != nullptr ? powerSwitch->GetCount() : 0;
    if (pageIndex != -1 && pageIndex < entryCount) {
        ReleaseDeviceEntry(pageIndex);
        for (CDeviceOptionUI* entry : Entries()) {
            if (entry == nullptr) {
                continue;
            }
            const int p = entry->GetPowerSwitchIndex();
            if (p != -1 && p > powerIndex && p < powerCount) {
                entry->SetPowerSwitch(entry->GetPowerSwitchName(), p - 1);
            }
            const int t = entry->GetBindTabIndex();
            if (t != -1 && t > pageIndex && t < entryCount) {
                entry->BindTab(entry->GetBindTabName(), t - 1);
            }
        }
    }
    if (powerIndex != -1 && powerIndex < powerCount) {
        CControlUI* item = powerSwitch->GetItemAt(powerIndex);
        std::erase(powerItems_, dynamic_cast<CMpDevicePowerUI*>(item));
        powerSwitch->RemoveAt(powerIndex);
    }
    if (pageIndex != -1 && pageIndex < entryCount) {
        if (pages != nullptr && pageIndex < pages->GetCount()) {
            pages->RemoveAt(pageIndex);
        }
        list->RemoveAt(pageIndex);
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

void CMainWnd::OnKeyLightSelectEnd(CControlUI*) {
    // The end of a selection on the keyboard's picture changes nothing.
}

int CMainWnd::GetEntryIndex(CDeviceOptionUI* entry) {
    std::vector<CDeviceOptionUI*> entries = Entries();
    auto it = std::find(entries.begin(), entries.end(), entry);
    return entry != nullptr && it != entries.end() ? static_cast<int>(it - entries.begin()) : -1;
}

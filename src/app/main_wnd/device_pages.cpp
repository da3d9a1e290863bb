// The device pages: one page, power item and list entry per row of the device option
// table, built when the window starts and torn down when it goes.

#include <algorithm>

#include "app/device_option_ui.h"
#include "app/main_wnd/main_wnd.h"
#include "app/mp_device_power_ui.h"
#include "device/discovery/device_tables.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "device/vornalix_usb_device.h"
#include "duilib/dialog_builder.h"
#include "duilib/ui_control.h"

using namespace DuiLib;

namespace {

constexpr LPCTSTR kPowerItemXml = L"XML\\CustomControlXML\\MpDevicePower.xml";

// The one of four values that serves a device kind; a wireless mouse is served as a mouse.
template <typename Value>
Value ForKind(int kind, Value keyboard, Value mouse, Value mousePad, Value headset) {
    switch (kind) {
        case 1:
            return keyboard;
        case 2:
        case 6:
            return mouse;
        case 3:
            return mousePad;
        case 7:
            return headset;
        default:
            return nullptr;
    }
}

// Calls page(kind, live index, sub-kind) for every option row; the live index is -1 for a
// row no HID record matches.
template <typename Page>
void ForEachOptionRow(const DeviceTableSet& tables, Page page) {
    for (const DeviceOptionRecord& option : tables.options) {
        const int index = tables.FindHidIdIndex(
            static_cast<uint16_t>(option.vendorId), static_cast<uint16_t>(option.productId),
            static_cast<uint16_t>(option.deviceKind), static_cast<uint16_t>(option.subKind));
        page(option.deviceKind, index, option.subKind);
    }
}

void SetUpDevice(CVornalixUSBDevice& device, const DeviceXmlRecord& xml,
                 const DeviceOptionRecord& option, const HidIdRecord& record,
                 CMpDevicePowerUI* power, HWND window) {
    device.SetDeviceName(xml.deviceXml);
    device.SetNotifyWindow(window);
    device.SetKeyCount(xml.keyCount);
    device.SetLedCount(xml.ledCount);
    device.SetShowPower(xml.showPower);
    if (auto* mouse = dynamic_cast<CVornalixMouseDevice*>(&device)) {
        mouse->SetLogoLedIndex(xml.logoLedIndex);
    }
    device.SetDeviceString1(CDuiString());
    device.SetDeviceFileName(option.kindName);
    device.SetPowerItem(power);
    device.SetDeviceIdentity(record);
    device.SetDeviceIndex(option.profileIndex);
    device.SetDeviceString2(xml.lightConfigName);
    device.InitPage();
}

void SetUpEntry(CDeviceOptionUI& entry, const DeviceOptionRecord& option,
                CVornalixUSBDevice* device, int pageIndex, int powerIndex) {
    entry.ShowSyncOption(false);
    entry.SetOptionGroup(option.groupName);
    entry.BindTab(L"device_switch", pageIndex);
    entry.SetPowerSwitch(option.powerSwitchName, powerIndex);
    entry.SetDeviceKind(option.deviceKind, option.subKind);
    entry.SetVisible(false);
    entry.SetNameText(option.kindName);
    entry.SetDevice(device);
    entry.SetPreviewControl(device->GetPreviewControl());
}

}  // namespace

CControlUI* CMainWnd::BuildFromXml(LPCTSTR xml, IDialogBuilderCallback* callback) {
    CDialogBuilder builder;
    return builder.Create(xml, nullptr, callback, &m_pm, nullptr);
}

void CMainWnd::BuildDevicePages() {
    ForEachOptionRow(*tables_, [this](int kind, int index, int subKind) {
        if (auto build = ForKind(kind, &CMainWnd::BuildKeyboardPage, &CMainWnd::BuildMousePage,
                                 &CMainWnd::BuildMousePadPage, &CMainWnd::BuildHeadsetPage)) {
            (this->*build)(index, subKind);
        }
    });
}

void CMainWnd::RemoveDevicePages() {
    // Every row, so that each page is torn down with its channel closed.
    ForEachOptionRow(*tables_, [this](int kind, int index, int subKind) {
        if (auto remove = ForKind(kind, &CMainWnd::RemoveKeyboardPage, &CMainWnd::RemoveMousePage,
                                  &CMainWnd::RemoveMousePadPage, &CMainWnd::RemoveHeadsetPage)) {
            (this->*remove)(index, subKind);
        }
    });
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

int CMainWnd::OptionRowOf(const HidIdRecord& record, bool isMouse, int subKind, int& kind) {
    HidIdRecord identifying = record;
    // A mouse's receiver interface is built as a mouse, identified by its cable partner.
    if (isMouse && kind == 6) {
        kind = 2;
        if (record.partnerFlag != 0) {
            if (auto partner = liveRecords_->Get(record.partnerIndex)) {
                identifying = *partner;
            }
        }
    }
    const int row =
        tables_->FindDeviceOptionIndex(identifying.vendorId, identifying.productId,
                                       static_cast<uint16_t>(kind), static_cast<uint16_t>(subKind));
    return row >= 0 && static_cast<size_t>(row) < tables_->layouts.size() ? row : -1;
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
    const int row = OptionRowOf(*record, isMouse, subKind, kind);
    if (row < 0) {
        return 0;
    }
    const DeviceOptionRecord& option = tables_->options[static_cast<size_t>(row)];
    const DeviceXmlRecord& xml = tables_->layouts[static_cast<size_t>(row)];

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
    std::vector<CVornalixUSBDevice*>* devices =
        ForKind(kind, &keyboards_, &mice_, &mousePads_, &headsets_);
    if (power == nullptr || entry == nullptr || device == nullptr || powerSwitch == nullptr ||
        pages == nullptr || list == nullptr || devices == nullptr) {
        return 0;  // nothing has been added to the window
    }

    powerSwitch->Add(powerControl.release());
    power->SetDeviceKind(kind, subKind);
    powerItems_.push_back(power);

    SetUpDevice(*device, xml, option, *record, power, GetHWND());
    pages->Add(deviceControl.release());
    {
        platform::CriticalSectionLock lock(deviceListLock_);
        devices->push_back(device);
    }

    list->Add(entryControl.release());
    SetUpEntry(*entry, option, device, pages->GetCount() - 1, powerSwitch->GetCount() - 1);
    return 1;
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
    device->CloseCommandChannel();
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

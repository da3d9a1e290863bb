// Devices coming and going: the capture thread reports which live record became connected
// or went, and the window opens or closes the matching channel of the pre-built device
// object and shows or hides its entry. Objects are never created or destroyed here.

#include <optional>

#include "app/accessory_arrival.h"
#include "app/device_option_ui.h"
#include "app/main_wnd/main_wnd.h"
#include "device/vornalix_usb_device.h"
#include "platform/debug_trace.h"

void CMainWnd::OnDeviceArrived(size_t index) {
    const std::optional<HidIdRecord> record = liveRecords_->Get(index);
    if (!record) {
        return;
    }
    // The capture thread forgets the path before it reports the removal: kept here, it
    // names which object read the interface that went.
    arrivedPaths_[index] = record->devicePath.GetData();
    switch (record->deviceKind) {
        case 1:
            DebugTrace(L"添加一个键盘设备");
            OnKeyboardArrived(index);
            break;
        case 2:
        case 6:
            DebugTrace(L"添加一个鼠标设备");
            OnMouseArrived(index);
            break;
        case 3:
            DebugTrace(L"添加一个鼠标垫设备");
            OnMousePadArrived(index);
            break;
        case 7:
            OnHeadsetArrived(index);
            break;
        default:
            break;
    }
    BringToFront();
}

void CMainWnd::OnDeviceRemoved(size_t index) {
    const std::optional<HidIdRecord> record = liveRecords_->Get(index);
    if (!record) {
        return;
    }
    switch (record->deviceKind) {
        case 1:
            DebugTrace(L"删除一个键盘设备");
            OnKeyboardRemoved(index);
            break;
        case 2:
        case 6:
            DebugTrace(L"删除一个鼠标设备");
            OnMouseRemoved(index);
            break;
        case 3:
            DebugTrace(L"删除一个鼠标垫设备");
            OnMousePadRemoved(index);
            break;
        case 7:
            OnHeadsetRemoved(index);
            break;
        default:
            break;
    }
    arrivedPaths_.erase(index);
}

std::wstring CMainWnd::GonePath(size_t index) const {
    const auto arrived = arrivedPaths_.find(index);
    if (arrived != arrivedPaths_.end()) {
        return arrived->second;
    }
    const std::optional<HidIdRecord> record = liveRecords_->Get(index);
    return record ? std::wstring(record->devicePath.GetData()) : std::wstring();
}

void CMainWnd::OnKeyboardArrived(size_t index) {
    OnCommandInterfaceArrived(keyboards_, index, false);
}
void CMainWnd::OnMouseArrived(size_t index) {
    OnCommandInterfaceArrived(mice_, index, true);
}
void CMainWnd::OnMousePadArrived(size_t index) {
    OnCommandInterfaceArrived(mousePads_, index, false);
}
void CMainWnd::OnHeadsetArrived(size_t index) {
    OnCommandInterfaceArrived(headsets_, index, false);
}
void CMainWnd::OnKeyboardRemoved(size_t index) {
    OnCommandInterfaceRemoved(keyboards_, index, false);
}
void CMainWnd::OnMouseRemoved(size_t index) {
    OnCommandInterfaceRemoved(mice_, index, true);
}
void CMainWnd::OnMousePadRemoved(size_t index) {
    OnCommandInterfaceRemoved(mousePads_, index, false);
}
void CMainWnd::OnHeadsetRemoved(size_t index) {
    OnCommandInterfaceRemoved(headsets_, index, false);
}

std::optional<HidIdRecord> CMainWnd::OwnCommandRecord(size_t index, bool isMouse, bool arrived) {
    const std::optional<HidIdRecord> record = liveRecords_->Get(index);
    if (!record) {
        return std::nullopt;
    }
    if (record->subKind == kInputInterface) {
        if (arrived) {
            AttachDevicePath(index, record->deviceKind);
        } else {
            DetachDevicePath(index, record->deviceKind);
        }
        return std::nullopt;
    }
    if (record->subKind != kCommandInterface ||
        (isMouse && TakePartnerPath(index, record->deviceKind))) {
        return std::nullopt;
    }
    return record;
}

void CMainWnd::OnCommandInterfaceArrived(std::vector<CVornalixUSBDevice*>& list, size_t index,
                                         bool isMouse) {
    const std::optional<HidIdRecord> record = OwnCommandRecord(index, isMouse, true);
    if (!record) {
        return;
    }
    CVornalixUSBDevice* device = arrival::CommandInterfaceTaker(list, *record);
    if (device == nullptr) {
        return;
    }
    const bool slow = isMouse && record->deviceKind == arrival::kWirelessMouseKind;
    if (device->OpenCommandChannel(record->devicePath.GetData(), slow)) {
        device->SetDeviceIdentity(*record);
    }
    // Shown and started also when the open failed: the device's operations then fail on
    // the closed channel, as they do after an unplug.
    bool anyShown = false;
    int entryIndex = -1;
    std::vector<CDeviceOptionUI*> entries = Entries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        if (entries[i] == nullptr) {
            continue;
        }
        anyShown = anyShown || entries[i]->IsShown();
        if (entryIndex < 0 && entries[i]->GetDevice() == device) {
            entryIndex = i;
        }
    }
    if (entryIndex >= 0) {
        SetDeviceEntryState(entryIndex, true, !anyShown);
        entries[static_cast<size_t>(entryIndex)]->ArmStartTimer();
    }
}

void CMainWnd::OnCommandInterfaceRemoved(std::vector<CVornalixUSBDevice*>& list, size_t index,
                                         bool isMouse) {
    const std::optional<HidIdRecord> record = OwnCommandRecord(index, isMouse, false);
    if (!record) {
        return;
    }
    CVornalixUSBDevice* device = arrival::CommandInterfaceOwner(list, *record, GonePath(index));
    if (device == nullptr) {
        return;
    }
    device->CloseCommandChannel();
    auto* entry = dynamic_cast<CDeviceOptionUI*>(device->GetDeviceOptionItem());
    if (entry != nullptr) {
        ReleaseDeviceEntry(entry->GetBindTabIndex());
    }
}

void CMainWnd::AttachDevicePath(size_t index, int kind) {
    if (std::vector<CVornalixUSBDevice*>* list = DeviceListOfKind(kind)) {
        arrival::AttachInput(*liveRecords_, index, kind, *list);
    }
}

void CMainWnd::DetachDevicePath(size_t index, int kind) {
    if (std::vector<CVornalixUSBDevice*>* list = DeviceListOfKind(kind)) {
        arrival::DetachInput(*liveRecords_, index, kind, *list, GonePath(index));
    }
}

bool CMainWnd::HasConnectedPartner(size_t index) {
    return arrival::HasConnectedPartner(*liveRecords_, index);
}

void CMainWnd::SwitchMouseInterface(size_t index) {
    arrival::SwitchMouseInterface(*liveRecords_, index, mice_);
}

std::vector<CVornalixUSBDevice*>* CMainWnd::DeviceListOfKind(int kind) {
    switch (kind) {
        case arrival::kKeyboardKind:
            return &keyboards_;
        case arrival::kWiredMouseKind:
        case arrival::kWirelessMouseKind:
            return &mice_;
        case arrival::kMousePadKind:
            return &mousePads_;
        case arrival::kHeadsetKind:
            return &headsets_;
        default:
            return nullptr;
    }
}

bool CMainWnd::TakePartnerPath(size_t index, int kind) {
    if (!HasConnectedPartner(index)) {
        return false;
    }
    // The receiver's own coming and going leaves the mouse where it is.
    if (kind == arrival::kWiredMouseKind) {
        SwitchMouseInterface(index);
    }
    return true;
}

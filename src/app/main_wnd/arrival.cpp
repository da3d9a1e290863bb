// Devices coming and going: the capture thread reports which live record became connected
// or went, and the window opens or closes the matching channel of the pre-built device
// object and shows or hides its entry. Objects are never created or destroyed here.

#include <optional>

#include "app/accessory_arrival.h"
#include "app/device_option_ui.h"
#include "app/main_wnd/main_wnd.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/vornalix_usb_device.h"
#include "platform/debug_trace.h"

namespace {

CVornalixUSBDevice* FindByInterface(const std::vector<CVornalixUSBDevice*>& list,
                                    const HidIdRecord& record) {
    for (CVornalixUSBDevice* device : list) {
        if (device != nullptr && device->GetDeviceIdentity().IsSameInterface(record)) {
            return device;
        }
    }
    return nullptr;
}

}  // namespace

void CMainWnd::OnDeviceArrived(size_t index) {
    const std::optional<HidIdRecord> record = liveRecords_->Get(index);
    if (!record) {
        return;
    }
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
    CVornalixUSBDevice* device = FindByInterface(list, *record);
    if (device == nullptr || device->CommandChannel().IsOpen()) {
        return;
    }
    const bool slow = isMouse && record->deviceKind == arrival::kWirelessMouseKind;
    if (device->CommandChannel().OpenInterface(record->devicePath.GetData(), slow)) {
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
    CVornalixUSBDevice* device = FindByInterface(list, *record);
    if (device == nullptr) {
        return;
    }
    device->CommandChannel().CloseInterface();
    auto* entry = dynamic_cast<CDeviceOptionUI*>(device->GetDeviceOptionItem());
    if (entry != nullptr) {
        ReleaseDeviceEntry(entry->GetBindTabIndex());
    }
}

CVornalixKeyboardDevice* CMainWnd::KeyboardOfInput(size_t index, bool inputOpen) {
    const std::optional<HidIdRecord> record = liveRecords_->Get(index);
    if (!record) {
        return nullptr;
    }
    for (CVornalixUSBDevice* device : keyboards_) {
        auto* keyboard = dynamic_cast<CVornalixKeyboardDevice*>(device);
        if (keyboard != nullptr && (keyboard->InputChannel().IsOpen() != 0) == inputOpen &&
            arrival::MatchesProduct(*keyboard, *record)) {
            return keyboard;
        }
    }
    return nullptr;
}

void CMainWnd::AttachDevicePath(size_t index, int kind) {
    if (kind != CVornalixKeyboardDevice::kKeyboardKind) {
        if (std::vector<CVornalixUSBDevice*>* list = AccessoryList(kind)) {
            arrival::AttachAccessoryInput(*liveRecords_, index, kind, *list);
        }
    } else if (CVornalixKeyboardDevice* keyboard = KeyboardOfInput(index, false)) {
        if (const std::optional<HidIdRecord> record = liveRecords_->Get(index)) {
            keyboard->OpenNotifyChannel(record->devicePath.GetData());
        }
    }
}

void CMainWnd::DetachDevicePath(size_t index, int kind) {
    if (kind != CVornalixKeyboardDevice::kKeyboardKind) {
        if (std::vector<CVornalixUSBDevice*>* list = AccessoryList(kind)) {
            arrival::DetachAccessoryInput(*liveRecords_, index, kind, *list);
        }
    } else if (CVornalixKeyboardDevice* keyboard = KeyboardOfInput(index, true)) {
        keyboard->CloseNotifyChannel();
    }
}

bool CMainWnd::HasConnectedPartner(size_t index) {
    return arrival::HasConnectedPartner(*liveRecords_, index);
}

void CMainWnd::SwitchMouseInterface(size_t index) {
    arrival::SwitchMouseInterface(*liveRecords_, index, mice_);
}

std::vector<CVornalixUSBDevice*>* CMainWnd::AccessoryList(int kind) {
    switch (kind) {
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

#include "app/accessory_arrival.h"

#include <optional>

#include "device/mouse/vornalix_mouse_device.h"
#include "device/vornalix_usb_device.h"
#include "platform/hid/hid_bus.h"

namespace arrival {
namespace {

bool SameProduct(const HidIdRecord& a, const HidIdRecord& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId && a.deviceKind == b.deviceKind;
}

bool NotifyOpen(CVornalixUSBDevice& device) {
    return device.InputChannel().IsOpen() != 0;
}

bool Reads(CHidCommandChannel& channel, const std::wstring& path) {
    return channel.IsOpen() && !path.empty() && channel.File().DevicePath() == path;
}

// Both paths name collections of one interface node, so of one device.
bool OnSameNode(const std::wstring& a, const std::wstring& b) {
    const std::wstring node = platform::hid::HidPathNode(a);
    return !node.empty() && node == platform::hid::HidPathNode(b);
}

// The record the object's identity names as its partner, when the identity names one and
// the live list holds it.
std::optional<HidIdRecord> IdentityPartner(const HidLiveList& live,
                                           const CVornalixUSBDevice& device) {
    const HidIdRecord identity = device.GetDeviceIdentity();
    if (identity.partnerFlag == 0) {
        return std::nullopt;
    }
    return live.Get(identity.partnerIndex);
}

// Of the objects of the input's product whose notify channel is closed: the one whose
// command channel is on the input's device, else the first.
CVornalixUSBDevice* InputOwner(const HidIdRecord& input,
                               const std::vector<CVornalixUSBDevice*>& list) {
    const std::wstring path = input.devicePath.GetData();
    CVornalixUSBDevice* first = nullptr;
    for (CVornalixUSBDevice* device : list) {
        if (device == nullptr || NotifyOpen(*device) || !MatchesProduct(*device, input)) {
            continue;
        }
        CHidCommandChannel& command = device->CommandChannel();
        if (command.IsOpen() && OnSameNode(command.File().DevicePath(), path)) {
            return device;
        }
        first = first != nullptr ? first : device;
    }
    return first;
}

CVornalixUSBDevice* NotifyReader(const std::vector<CVornalixUSBDevice*>& list,
                                 const std::wstring& path) {
    for (CVornalixUSBDevice* device : list) {
        if (device != nullptr && Reads(device->InputChannel(), path)) {
            return device;
        }
    }
    return nullptr;
}

// A mouse on its receiver whose cable's input arrived follows it there; true when one did.
bool FollowPartnerInput(const HidLiveList& live, const HidIdRecord& input,
                        const std::vector<CVornalixUSBDevice*>& mice) {
    bool followed = false;
    for (CVornalixUSBDevice* device : mice) {
        auto* mouse = dynamic_cast<CVornalixMouseDevice*>(device);
        if (mouse == nullptr || !NotifyOpen(*mouse)) {
            continue;
        }
        const std::optional<HidIdRecord> partner = IdentityPartner(live, *mouse);
        if (partner && SameProduct(input, *partner)) {
            mouse->ReopenNotifyChannel(input.devicePath.GetData());
            followed = true;
        }
    }
    return followed;
}

// The partner's input interface that is present, for the notify channel to move to.
std::optional<HidIdRecord> ConnectedInputOf(const HidLiveList& live, const HidIdRecord& product) {
    for (size_t i = 0; i < live.Size(); ++i) {
        const std::optional<HidIdRecord> input = live.Get(i);
        if (input && SameProduct(*input, product) && input->subKind == kInputInterface &&
            input->connected != 0 && !input->devicePath.IsEmpty()) {
            return input;
        }
    }
    return std::nullopt;
}

// The wired input a mouse read went while its receiver is there: the notify channel
// moves to the receiver's input interface, or closes when there is none.
void MoveToPartnerInput(const HidLiveList& live, CVornalixMouseDevice& mouse) {
    // The identity is a command interface, and so is its partner: the notify channel
    // moves to the partner's input interface, not to its command interface.
    const std::optional<HidIdRecord> partner = IdentityPartner(live, mouse);
    const std::optional<HidIdRecord> input =
        partner ? ConnectedInputOf(live, *partner) : std::nullopt;
    if (input) {
        mouse.ReopenNotifyChannel(input->devicePath.GetData());
    } else {
        mouse.CloseNotifyChannel();
    }
}

bool IsInputKind(int kind) {
    return kind == kKeyboardKind || kind == kWiredMouseKind || kind == kMousePadKind ||
           kind == kWirelessMouseKind || kind == kHeadsetKind;
}

CVornalixMouseDevice* FindMouseOfPair(const HidIdRecord& record, const HidIdRecord& partner,
                                      const std::vector<CVornalixUSBDevice*>& mice) {
    for (CVornalixUSBDevice* device : mice) {
        if (device == nullptr) {
            continue;
        }
        const HidIdRecord identity = device->GetDeviceIdentity();
        if (identity.IsSameInterface(record) || identity.IsSameInterface(partner)) {
            return dynamic_cast<CVornalixMouseDevice*>(device);
        }
    }
    return nullptr;
}

// The notify channel follows the command channel to the input interfaces of its kind.
void FollowWithNotify(const HidLiveList& live, const HidIdRecord& chosen,
                      CVornalixMouseDevice& mouse) {
    for (size_t i = 0; i < live.Size(); ++i) {
        const std::optional<HidIdRecord> input = live.Get(i);
        if (input && SameProduct(*input, chosen) && input->subKind == kInputInterface &&
            input->connected != 0) {
            mouse.ReopenNotifyChannel(input->devicePath.GetData());
        }
    }
}

}  // namespace

bool MatchesProduct(const CVornalixUSBDevice& device, const HidIdRecord& record) {
    return SameProduct(device.GetDeviceIdentity(), record);
}

bool HasConnectedPartner(const HidLiveList& live, size_t index) {
    const std::optional<HidIdRecord> record = live.Get(index);
    if (!record || record->partnerFlag == 0) {
        return false;
    }
    const std::optional<HidIdRecord> partner = live.Get(record->partnerIndex);
    return partner && partner->connected != 0 && partner->partnerIndex == index &&
           !partner->devicePath.IsEmpty();
}

void AttachInput(const HidLiveList& live, size_t index, int kind,
                 const std::vector<CVornalixUSBDevice*>& list) {
    const std::optional<HidIdRecord> record = live.Get(index);
    if (!record || !IsInputKind(kind)) {
        return;
    }
    if (kind == kWiredMouseKind && FollowPartnerInput(live, *record, list)) {
        return;
    }
    if (CVornalixUSBDevice* owner = InputOwner(*record, list)) {
        owner->OpenNotifyChannel(record->devicePath.GetData());
    }
}

void DetachInput(const HidLiveList& live, size_t index, int kind,
                 const std::vector<CVornalixUSBDevice*>& list, const std::wstring& gonePath) {
    const std::optional<HidIdRecord> record = live.Get(index);
    if (!record || !IsInputKind(kind)) {
        return;
    }
    const std::wstring path = gonePath.empty() ? record->devicePath.GetData() : gonePath;
    CVornalixUSBDevice* reader = NotifyReader(list, path);
    if (reader == nullptr) {
        return;
    }
    auto* mouse = dynamic_cast<CVornalixMouseDevice*>(reader);
    if (mouse != nullptr && kind == kWiredMouseKind && HasConnectedPartner(live, index)) {
        MoveToPartnerInput(live, *mouse);
    } else {
        reader->CloseNotifyChannel();
    }
}

CVornalixUSBDevice* CommandInterfaceTaker(const std::vector<CVornalixUSBDevice*>& list,
                                          const HidIdRecord& record) {
    const std::wstring path = record.devicePath.GetData();
    CVornalixUSBDevice* closed = nullptr;
    for (CVornalixUSBDevice* device : list) {
        if (device == nullptr || !device->GetDeviceIdentity().IsSameInterface(record)) {
            continue;
        }
        if (Reads(device->CommandChannel(), path)) {
            return nullptr;  // reported again while open: nothing changes
        }
        if (closed == nullptr && !device->CommandChannel().IsOpen()) {
            closed = device;
        }
    }
    return closed;
}

CVornalixUSBDevice* CommandInterfaceOwner(const std::vector<CVornalixUSBDevice*>& list,
                                          const HidIdRecord& record, const std::wstring& gonePath) {
    CVornalixUSBDevice* closed = nullptr;
    for (CVornalixUSBDevice* device : list) {
        if (device == nullptr) {
            continue;
        }
        if (Reads(device->CommandChannel(), gonePath)) {
            return device;
        }
        if (closed == nullptr && !device->CommandChannel().IsOpen() &&
            device->GetDeviceIdentity().IsSameInterface(record)) {
            closed = device;
        }
    }
    return closed;
}

void SwitchMouseInterface(const HidLiveList& live, size_t index,
                          const std::vector<CVornalixUSBDevice*>& mice) {
    const std::optional<HidIdRecord> record = live.Get(index);
    const std::optional<HidIdRecord> partner =
        record && record->partnerFlag != 0 ? live.Get(record->partnerIndex) : std::nullopt;
    if (!partner) {
        return;
    }
    CVornalixMouseDevice* mouse = FindMouseOfPair(*record, *partner, mice);
    if (mouse == nullptr) {
        return;
    }
    CHidCommandChannel& channel = mouse->CommandChannel();
    const bool wasSlow = channel.IsSlow();
    // On the receiver the cable is taken; on the cable the receiver.
    const HidIdRecord& chosen = wasSlow ? *record : *partner;
    if (mouse->OpenCommandChannel(chosen.devicePath.GetData(), !wasSlow)) {
        mouse->SetDeviceIdentity(chosen);
    }
    if (channel.IsOpen()) {
        FollowWithNotify(live, chosen, *mouse);
    }
}

}  // namespace arrival

#include "app/accessory_arrival.h"

#include <optional>

#include "device/mouse/vornalix_mouse_device.h"
#include "device/onboard/light_device.h"
#include "device/vornalix_usb_device.h"

namespace arrival {
namespace {

bool SameProduct(const HidIdRecord& a, const HidIdRecord& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId && a.deviceKind == b.deviceKind;
}

bool NotifyOpen(CVornalixUSBDevice& device) {
    return device.InputChannel().IsOpen() != 0;
}

// The mouse pad and the headset share their notify channel's operations.
void OpenNotify(CVornalixUSBDevice& device, const HidIdRecord& record) {
    if (auto* onboard = dynamic_cast<COnboardLightDevice*>(&device)) {
        onboard->OpenNotifyChannel(record.devicePath.GetData());
    }
}

void CloseNotify(CVornalixUSBDevice& device) {
    if (auto* onboard = dynamic_cast<COnboardLightDevice*>(&device)) {
        onboard->CloseNotifyChannel();
    }
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

// The first object of the product whose notify channel is open or closed as asked.
CVornalixUSBDevice* FirstWithNotify(const HidIdRecord& record,
                                    const std::vector<CVornalixUSBDevice*>& list, bool open) {
    for (CVornalixUSBDevice* device : list) {
        if (device != nullptr && NotifyOpen(*device) == open && MatchesProduct(*device, record)) {
            return device;
        }
    }
    return nullptr;
}

// Every mouse is offered the interface: one pair of interfaces per mouse, so a second
// mouse of the same product takes the next one.
void AttachMice(const HidLiveList& live, const HidIdRecord& record, bool followPartner,
                const std::vector<CVornalixUSBDevice*>& mice) {
    for (CVornalixUSBDevice* device : mice) {
        auto* mouse = dynamic_cast<CVornalixMouseDevice*>(device);
        if (mouse == nullptr) {
            continue;
        }
        if (!NotifyOpen(*mouse)) {
            if (MatchesProduct(*mouse, record)) {
                mouse->OpenNotifyChannel(record.devicePath.GetData());
            }
            continue;
        }
        if (!followPartner) {
            continue;
        }
        const std::optional<HidIdRecord> partner = IdentityPartner(live, *mouse);
        if (partner && SameProduct(record, *partner)) {
            mouse->ReopenNotifyChannel(record.devicePath.GetData());
        }
    }
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

void DetachMice(const HidLiveList& live, const HidIdRecord& record, bool followPartner,
                const std::vector<CVornalixUSBDevice*>& mice) {
    for (CVornalixUSBDevice* device : mice) {
        auto* mouse = dynamic_cast<CVornalixMouseDevice*>(device);
        if (mouse == nullptr || !NotifyOpen(*mouse) || !MatchesProduct(*mouse, record)) {
            continue;
        }
        // The identity is a command interface, and so is its partner: the notify channel
        // moves to the partner's input interface, not to its command interface.
        const std::optional<HidIdRecord> partner =
            followPartner ? IdentityPartner(live, *mouse) : std::nullopt;
        const std::optional<HidIdRecord> input =
            partner ? ConnectedInputOf(live, *partner) : std::nullopt;
        if (input) {
            mouse->ReopenNotifyChannel(input->devicePath.GetData());
        } else {
            mouse->CloseNotifyChannel();
        }
    }
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

namespace {

void AttachOrDetach(const HidLiveList& live, size_t index, int kind,
                    const std::vector<CVornalixUSBDevice*>& list, bool arrived) {
    const std::optional<HidIdRecord> record = live.Get(index);
    if (!record) {
        return;
    }
    switch (kind) {
        case kMousePadKind:
        case kHeadsetKind:
            if (CVornalixUSBDevice* device = FirstWithNotify(*record, list, !arrived)) {
                arrived ? OpenNotify(*device, *record) : CloseNotify(*device);
            }
            break;
        case kWiredMouseKind:
            arrived ? AttachMice(live, *record, true, list)
                    : DetachMice(live, *record, HasConnectedPartner(live, index), list);
            break;
        case kWirelessMouseKind:
            arrived ? AttachMice(live, *record, false, list)
                    : DetachMice(live, *record, false, list);
            break;
        default:
            break;
    }
}

}  // namespace

void AttachAccessoryInput(const HidLiveList& live, size_t index, int kind,
                          const std::vector<CVornalixUSBDevice*>& list) {
    AttachOrDetach(live, index, kind, list, true);
}

void DetachAccessoryInput(const HidLiveList& live, size_t index, int kind,
                          const std::vector<CVornalixUSBDevice*>& list) {
    AttachOrDetach(live, index, kind, list, false);
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
    if (channel.OpenInterface(chosen.devicePath.GetData(), !wasSlow)) {
        mouse->SetDeviceIdentity(chosen);
    }
    if (channel.IsOpen()) {
        FollowWithNotify(live, chosen, *mouse);
    }
}

}  // namespace arrival

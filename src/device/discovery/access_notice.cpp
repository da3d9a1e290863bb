#include "device/discovery/access_notice.h"

#include <algorithm>
#include <cwchar>

#include "device/discovery/device_kind.h"
#include "platform/hid/hid_bus.h"
#include "platform/user_notice.h"

namespace {

const wchar_t* KindWord(uint16_t kind) {
    switch (kind) {
        case device::kKeyboardDevice:
            return L"keyboard";
        case device::kMouseDevice:
        case device::kMouseInterfaceDevice:
            return L"mouse";
        case device::kMousePadDevice:
            return L"mouse pad";
        case device::kHeadsetDevice:
            return L"headset";
        default:
            return L"device";
    }
}

std::wstring Hex4(uint16_t value) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%04x", static_cast<unsigned>(value));
    return text;
}

}  // namespace

std::wstring AccessNoticeText(const HidIdRecord& probe, uint16_t kind) {
    const std::wstring vid = Hex4(probe.vendorId);
    const std::wstring pid = Hex4(probe.productId);
    const std::wstring node = platform::hid::HidPathNode(probe.devicePath.GetData());
    return std::wstring(L"The ") + KindWord(kind) + L" (USB " + vid + L":" + pid +
           (node.empty() ? L"" : L" at /dev/" + node) +
           L") is plugged in, but this user may not open it. Install the udev rule "
           L"70-velkaro.rules: put the line\n"
           L"SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"" +
           vid + L"\", ATTRS{idProduct}==\"" + pid +
           L"\", TAG+=\"uaccess\"\n"
           L"in /etc/udev/rules.d/70-velkaro.rules, run "
           L"\"sudo udevadm control --reload && sudo udevadm trigger\", and plug the device "
           L"in again.";
}

AccessNotices::Entry& AccessNotices::EntryFor(const HidIdRecord& probe, uint32_t now) {
    for (Entry& entry : entries_) {
        if (entry.vendorId == probe.vendorId && entry.productId == probe.productId) {
            return entry;
        }
    }
    entries_.push_back({probe.vendorId, probe.productId, now, now, false});
    return entries_.back();
}

void AccessNotices::Refused(const HidIdRecord& probe, uint16_t kind, uint32_t now) {
    Entry& entry = EntryFor(probe, now);
    if (now - entry.lastRefused > kGapMs) {
        entry.firstRefused = now;
    }
    entry.lastRefused = now;
    if (!entry.told && now - entry.firstRefused >= kDelayMs) {
        entry.told = true;
        platform::TellUser(L"message_device_no_access", AccessNoticeText(probe, kind));
    }
}

void AccessNotices::Opened(const HidIdRecord& probe) {
    // A device told of stays told: the user has heard it once this run.
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& entry) {
                                      return !entry.told && entry.vendorId == probe.vendorId &&
                                             entry.productId == probe.productId;
                                  }),
                   entries_.end());
}

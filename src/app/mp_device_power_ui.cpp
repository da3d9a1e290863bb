#include "app/mp_device_power_ui.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "device/page/control_lookup.h"
#include "duilib/paint_manager.h"
#include "duilib/ui_progress.h"

using DuiLib::CControlUI;
using DuiLib::CDuiString;

namespace {

constexpr int kMouseKind = 2;
constexpr int kMousePadKind = 3;
constexpr int kFullBattery = 100;

struct PhoneLook {
    const wchar_t* tip;
    const wchar_t* image;
};

PhoneLook PhoneLookFor(uint8_t phoneType) {
    switch (phoneType) {
        case 1:
            return {L"Phone_type_iphone", L"file='power/Phone_type_iphone.png'"};
        case 2:
            return {L"Phone_type_samsung", L"file='power/Phone_type_samsung.png'"};
        case 3:
            return {L"Phone_type_other", L"file='power/Phone_type_other.png'"};
        default:
            return {L"Phone_type_no_device", L"file='power/Phone_type_no_device.png'"};
    }
}

}  // namespace

CControlUI* CreateMpDevicePowerUI() {
    return new CMpDevicePowerUI();
}

LPCTSTR CMpDevicePowerUI::GetClass() const {
    return L"MpDevicePower";
}

LPVOID CMpDevicePowerUI::GetInterface(LPCTSTR pstrName) {
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

bool CMpDevicePowerUI::Activate() {
    if (!CHorizontalLayoutUI::Activate()) {
        return false;
    }
    if (m_pManager) {
        m_pManager->SendNotify(this, DuiLib::DUI_MSGTYPE_SELECTCHANGED);
    }
    return true;
}

void CMpDevicePowerUI::DoEvent(DuiLib::TEventUI& event) {
    CHorizontalLayoutUI::DoEvent(event);
}

void CMpDevicePowerUI::SetDeviceKind(int kind, int subKind) {
    deviceKind_ = kind;
    subKind_ = subKind;
}

void CMpDevicePowerUI::ShowPowerLayout(bool show) {
    if (CControlUI* layout = Child(powerLayout_, L"device_power_Layout")) {
        layout->SetVisible(show);
    }
}

void CMpDevicePowerUI::UpdatePowerReport(const uint8_t* block, uint32_t length) {
    std::array<uint8_t, kBlockBufferSize> bytes{};
    if (block) {
        std::memcpy(bytes.data(), block, std::min(length, kBlockBufferSize));
    }
    CControlUI* value = Child(powerValue_, L"device_power_value");
    CControlUI* wirelessLogo = Child(wirelessLogo_, L"device_wuxian_logo");
    CControlUI* progress = Child(powerProgress_, L"device_Power_progress");
    CControlUI* status = Child(powerStatus_, L"device_power_status");
    CControlUI* phone = Child(phoneType_, L"device_phone_type");
    auto* bar =
        progress ? static_cast<DuiLib::CProgressUI*>(progress->GetInterface(L"Progress")) : nullptr;
    if (!value || !wirelessLogo || !bar || !status || !phone) {
        return;
    }
    // The level comes from the device: a value past full shows as full.
    const int percent = std::min<int>(bytes[0], kFullBattery);
    bar->SetValue(kFullBattery - percent);
    value->SetText(CDuiString::FormatText(L"%d%s", percent, L"%"));
    const bool wireless = bytes[3] != 0;
    if (deviceKind_ == kMouseKind) {
        wirelessLogo->SetVisible(wireless);
    }
    ShowChargeState(bytes[1], wireless, status, progress);
    if (deviceKind_ == kMousePadKind) {
        ShowPhoneType(bytes[5], phone);
    }
}

void CMpDevicePowerUI::ShowChargeState(uint8_t state, bool wireless, CControlUI* status,
                                       CControlUI* progress) {
    switch (state) {
        case 0:
            status->SetBkImage(L"file='power/powered.png'");
            progress->SetVisible(true);
            break;
        case 1:
            status->SetBkImage(wireless ? L"file='power/wuxian_powering.png'"
                                        : L"file='power/powering.png'");
            progress->SetVisible(!wireless);
            break;
        case 2:
            status->SetBkImage(L"file='power/power.png'");
            progress->SetVisible(true);
            break;
        default:
            break;
    }
}

void CMpDevicePowerUI::ShowPhoneType(uint8_t phoneType, CControlUI* phone) {
    const PhoneLook look = PhoneLookFor(phoneType);
    phone->SetToolTip(look.tip);
    phone->SetBkImage(look.image);
}

CControlUI* CMpDevicePowerUI::Child(CControlUI*& cache, const wchar_t* name) {
    if (!cache) {
        cache = device::FindControlByName(this, name);
    }
    return cache;
}

#include "app/device_option_ui.h"

#include <optional>

#include "device/page/control_lookup.h"
#include "device/page/led_button_tint.h"
#include "device/vornalix_usb_device.h"
#include "duilib/paint_manager.h"
#include "duilib/ui_button.h"
#include "platform/milestones.h"
#include "platform/window_messages.h"

using DuiLib::CDuiString;

namespace {

constexpr wchar_t kIconFolder[] = L"common/device_ico/";

// The icon stem of a device kind; none for a mouse pad of an unknown sub-kind, which
// keeps the icons it has.
std::optional<std::wstring> IconStem(int kind, int subKind) {
    switch (kind) {
        case 1:
            return L"kb";
        case 2:
            return L"ms";
        case 3:
            if (subKind == 0) {
                return L"hard_mp";
            }
            if (subKind == 1) {
                return L"soft_mp";
            }
            return std::nullopt;
        case 4:
        case 7:
            return L"hd";
        case 5:
            return L"hub";
        default:
            return L"unknow";
    }
}

CDuiString IconPath(const std::wstring& stem, const wchar_t* suffix) {
    return CDuiString(std::wstring(kIconFolder) + stem + suffix);
}

}  // namespace

DuiLib::CControlUI* CreateDeviceOptionUI() {
    return new CDeviceOptionUI();
}

CDeviceOptionUI::CDeviceOptionUI()
    : syncSelectedImage_(IconPath(L"unknow", L"_device_synchro_selected.png")),
      syncNormalImage_(IconPath(L"unknow", L"_device_synchro_normal.png")),
      selectedImage_(IconPath(L"unknow", L"_device_selected.png")),
      normalImage_(IconPath(L"unknow", L"_device_normal.png")) {}

CDeviceOptionUI::~CDeviceOptionUI() {
    if (listenedTo_ != nullptr && DuiLib::CPaintManagerUI::IsLive(listenedTo_)) {
        listenedTo_->RemoveMessageFilter(this);
    }
}

LRESULT CDeviceOptionUI::MessageHandler(UINT uMsg, WPARAM, LPARAM, bool&) {
    // Shown from the tray (WM_SHOWWINDOW) or restored from the task bar (WM_SIZE).
    if (uMsg == WM_SHOWWINDOW || uMsg == WM_SIZE) {
        WindowSightChanged();
    }
    return 0;
}

void CDeviceOptionUI::WindowSightChanged() {
    const bool seen = listenedTo_ != nullptr && listenedTo_->CanBeSeen();
    const bool cameIntoSight = seen && !windowSeen_;
    windowSeen_ = seen;
    // A resize of a window in sight, or a window shown minimised, shows nothing new.
    if (!cameIntoSight || device_ == nullptr) {
        return;
    }
    device_->ShowLedPreview();
    if (framesResting_) {
        framesResting_ = false;
        if (DeviceChannelOpen()) {
            Arm(kFrameTimer, kFramePeriodMs);
        }
    }
}

LPCTSTR CDeviceOptionUI::GetClass() const {
    return L"DeviceOption";
}

LPVOID CDeviceOptionUI::GetInterface(LPCTSTR pstrName) {
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

bool CDeviceOptionUI::Activate() {
    if (!CHorizontalLayoutUI::Activate()) {
        return false;
    }
    if (m_pManager) {
        m_pManager->SendNotify(this, DuiLib::DUI_MSGTYPE_SELECTCHANGED);
    }
    return true;
}

void CDeviceOptionUI::SetVisible(bool bVisible) {
    if (bVisible && !shown_) {
        platform::Milestone("entry-shown");
    }
    shown_ = bVisible;
    CHorizontalLayoutUI::SetVisible(bVisible);
}

void CDeviceOptionUI::DoEvent(DuiLib::TEventUI& event) {
    if (event.Type == DuiLib::UIEVENT_TIMER) {
        OnDeviceTimer(static_cast<UINT>(event.wParam));
    }
    CHorizontalLayoutUI::DoEvent(event);
}

void CDeviceOptionUI::SetDeviceKind(int kind, int subKind) {
    deviceKind_ = kind;
    subKind_ = subKind;
    const std::optional<std::wstring> stem = IconStem(kind, subKind);
    DuiLib::COptionUI* option = PageOption();
    if (!stem || !option) {
        return;
    }
    option->SetNormalImage(IconPath(*stem, L"_device_normal.png"));
    option->SetSelectedImage(IconPath(*stem, L"_device_selected.png"));
    option->SetDisabledImage(IconPath(*stem, L"_device_normal.png"));
    option->SetToolTip(CDuiString(*stem + L"_device_name_text"));
    syncSelectedImage_ = IconPath(*stem, L"_device_synchro_selected.png");
    syncNormalImage_ = IconPath(*stem, L"_device_synchro_normal.png");
    selectedImage_ = IconPath(*stem, L"_device_selected.png");
    normalImage_ = IconPath(*stem, L"_device_normal.png");
}

void CDeviceOptionUI::ShowSyncOption(bool show) {
    if (DuiLib::COptionUI* sync = SyncOption()) {
        sync->SetVisible(show);
        ReimagePageOption(sync->IsSelected());
    }
}

void CDeviceOptionUI::SetSyncSelected(bool selected) {
    if (DuiLib::COptionUI* sync = SyncOption()) {
        sync->Selected(selected, true);
    }
    ReimagePageOption(selected);
}

bool CDeviceOptionUI::IsSyncSelected() {
    DuiLib::COptionUI* sync = SyncOption();
    return sync && sync->IsSelected();
}

void CDeviceOptionUI::SetSelected(bool selected) {
    if (DuiLib::COptionUI* option = PageOption()) {
        option->Selected(selected, true);
    }
}

bool CDeviceOptionUI::IsSelected() {
    DuiLib::COptionUI* option = PageOption();
    return option && option->IsSelected();
}

void CDeviceOptionUI::SetOptionGroup(LPCTSTR group) {
    if (DuiLib::COptionUI* option = PageOption()) {
        option->SetGroup(group);
    }
}

void CDeviceOptionUI::BindTab(LPCTSTR layoutName, int index) {
    if (DuiLib::COptionUI* option = PageOption()) {
        option->BindTabLayoutName(layoutName);
        option->BindTabIndex(index);
    }
}

int CDeviceOptionUI::GetBindTabIndex() {
    DuiLib::COptionUI* option = PageOption();
    return option ? option->GetBindTabLayoutIndex() : -1;
}

CDuiString CDeviceOptionUI::GetBindTabName() {
    DuiLib::COptionUI* option = PageOption();
    return option ? option->GetBindTabLayoutName() : CDuiString();
}

void CDeviceOptionUI::SetPowerSwitch(LPCTSTR name, int index) {
    if (!name) {
        return;
    }
    powerSwitchName_ = name;
    if (index >= 0) {
        powerSwitchIndex_ = index;
    }
}

void CDeviceOptionUI::SetNameText(LPCTSTR text) {
    if (DuiLib::CLabelUI* label = NameLabel()) {
        label->SetText(text);
    }
}

void CDeviceOptionUI::SetDevice(CVornalixUSBDevice* device) {
    device_ = device;
    if (device_) {
        device_->SetDeviceOptionItem(this);
    }
    if (listenedTo_ == nullptr && m_pManager != nullptr) {
        listenedTo_ = m_pManager;
        listenedTo_->AddMessageFilter(this);
        windowSeen_ = listenedTo_->CanBeSeen();
    }
}

void CDeviceOptionUI::ArmStartTimer() {
    // Until the device is started its profile is not read: what a person changed on its
    // page meanwhile would be stored nowhere, so the page takes no input till then.
    if (device_) {
        device_->SetEnabled(false);
    }
    Arm(kStartTimer, kStartDelayMs);
}

void CDeviceOptionUI::OnDeviceTimer(UINT id) {
    if (id < kFrameTimer || id > kPowerTimer) {
        return;
    }
    if (m_pManager) {
        m_pManager->KillTimer(this, id);
    }
    if (!device_) {
        return;
    }
    switch (id) {
        case kFrameTimer:
            OnFrameTimer();
            break;
        case kStartTimer:
            OnStartTimer();
            break;
        case kResyncTimer:
            device_->ReadDeviceSettings();
            break;
        case kSpareTimer1003:
            device_->OnListTimer1003();
            break;
        case kSpareTimer1004:
            device_->OnListTimer1004();
            break;
        default:
            OnPowerTimer();
            break;
    }
}

void CDeviceOptionUI::OnFrameTimer() {
    device_->PushLightFrame();
    // A window hidden to the tray or minimised keeps the tints stored only: it is drawn
    // whole, with the tints of the moment, when it is shown again.
    if (previewControl_ && IsSelected() && device_->IsWindowActive() && m_pManager != nullptr &&
        m_pManager->CanBeSeen()) {
        device::ShowLedTints(previewControl_);
    }
    if (!DeviceChannelOpen()) {
        return;
    }
    // Nothing to send and nothing seen: the window's showing or restoring starts the frames
    // again, and the device catches its lights up to that moment (ShowLedPreview).
    framesResting_ = device_->FramesIdle();
    if (!framesResting_) {
        Arm(kFrameTimer, kFramePeriodMs);
    }
}

void CDeviceOptionUI::OnStartTimer() {
    device_->StartDevice();
    device_->SetEnabled(true);
    framesResting_ = false;
    Arm(kFrameTimer, kFirstFrameDelayMs);
    if (device_->GetShowPower() && DeviceChannelOpen()) {
        Arm(kPowerTimer, kPowerPeriodMs);
    }
}

void CDeviceOptionUI::OnPowerTimer() {
    device_->QueryPowerStatus();
    if (device_->GetShowPower() && DeviceChannelOpen()) {
        Arm(kPowerTimer, kPowerPeriodMs);
    }
}

bool CDeviceOptionUI::Arm(UINT id, UINT elapseMs) {
    return m_pManager && m_pManager->SetTimer(this, id, elapseMs);
}

bool CDeviceOptionUI::DeviceChannelOpen() const {
    return device_ && device_->CommandChannel().IsOpen() != 0;
}

void CDeviceOptionUI::ReimagePageOption(bool sync) {
    DuiLib::COptionUI* option = PageOption();
    if (!option || !SyncOption()) {
        return;
    }
    option->SetNormalImage(sync ? syncNormalImage_ : normalImage_);
    option->SetSelectedImage(sync ? syncSelectedImage_ : selectedImage_);
}

DuiLib::COptionUI* CDeviceOptionUI::SyncOption() {
    if (!syncOption_) {
        syncOption_ =
            device::FindControlAs<DuiLib::COptionUI>(this, L"synchro_device_select", L"Option");
    }
    return syncOption_;
}

DuiLib::COptionUI* CDeviceOptionUI::PageOption() {
    if (!pageOption_) {
        pageOption_ = device::FindControlAs<DuiLib::COptionUI>(this, L"device_select", L"Option");
    }
    return pageOption_;
}

DuiLib::CLabelUI* CDeviceOptionUI::NameLabel() {
    if (!nameLabel_) {
        nameLabel_ = device::FindControlAs<DuiLib::CLabelUI>(this, L"device_select_name", L"Label");
    }
    return nameLabel_;
}

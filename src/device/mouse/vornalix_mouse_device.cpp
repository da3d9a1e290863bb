#include "device/mouse/vornalix_mouse_device.h"

#include "device/page/control_lookup.h"
#include "duilib/ui_progress.h"
#include "profile/stored_file_id.h"

using DuiLib::CControlUI;
using DuiLib::CDuiString;

namespace {

constexpr int kDpiStageControls = 5;

}  // namespace

CControlUI* CreateMouseDevice() {
    return new CVornalixMouseDevice();
}

CVornalixMouseDevice::CVornalixMouseDevice() {
    SetDeviceType(kMouseKind, 0);
    ResetTrail();
    profile_.SetDefaultProfilePath(GetDefaultProfilePath());
    profile_.Load(GetDefaultProfilePath());
}

CVornalixMouseDevice::~CVornalixMouseDevice() {
    // The threads call this object's overrides: they must end before it is torn down.
    StopLightThread();
    StopSyncThread();
}

void CVornalixMouseDevice::StartDevice() {
    ReadDpiLimits();
    LoadProfile();
    RefreshPageControls();
    StartLightThread();
}

bool CVornalixMouseDevice::ProbeIfSlow() {
    return !commandChannel_.IsSlow() || commandChannel_.QueryDeviceStatus();
}

void CVornalixMouseDevice::ReadDpiLimits() {
    if (!commandChannel_.IsOpen() || !ProbeIfSlow()) {
        return;
    }
    commandChannel_.BeginSession();
    ReadKeyTable();
    // Closed whether or not the table came, so the mouse is never left in a session.
    commandChannel_.EndSession();
}

void CVornalixMouseDevice::ReadKeyTable() {
    if (!RefreshCapabilities()) {
        return;  // a block that did not come must not size the table
    }
    const size_t ledCount = capabilities_.LedCount();
    if (!commandChannel_.SetTableLength(static_cast<uint16_t>(ledCount * 3))) {
        return;
    }
    std::array<uint8_t, device::kMouseKeyTableBytes> table{};
    if (commandChannel_.ReadKeyCodeTable(table) != 1) {
        return;  // positions from a half-read table would send keys to the wrong places
    }
    keyCodeTable_ = table;
    keyTableRead_ = true;
    {
        platform::CriticalSectionLock lock(stateLock_);
        keyPositions_ = device::BuildMouseKeyPositions(
            std::span<const uint8_t>(table.data(), ledCount * 3), ledCount);
    }
    SetDpiRanges();
}

void CVornalixMouseDevice::SetDpiRanges() {
    const int maximum = capabilities_.MaxDpiSliderValue();
    dpiEditMaximum_ = maximum * capabilities_.DpiStepMultiplier();
    for (int n = 0; n < kDpiStageControls; ++n) {
        const std::wstring name = L"DPI_slider_" + std::to_wstring(n);
        if (auto* slider = device::FindControlAs<DuiLib::CSliderUI>(this, name, L"Slider")) {
            slider->SetMinValue(0);
            slider->SetMaxValue(maximum);
        }
    }
}

std::map<int, int> CVornalixMouseDevice::GetKeyPositions() const {
    platform::CriticalSectionLock lock(stateLock_);
    return keyPositions_;
}

int CVornalixMouseDevice::LoadProfile() {
    BuildProfilePath();
    profile_.Load(profile_.GetProfilePath());
    TakeProfileSettings();
    // A key on a macro the list no longer holds would reach the mouse as that number.
    RefreshKeyPage();
    ReselectKey();
    return 1;
}

void CVornalixMouseDevice::LoadDefaultProfile() {
    profile_.SetDefaultProfilePath(GetDefaultProfilePath());
    profile_.Load(GetDefaultProfilePath());
    TakeProfileSettings();
    ReselectKey();
    SaveProfile();
    RefreshPageControls();
}

void CVornalixMouseDevice::TakeProfileSettings() {
    keyAssignments_ = profile_.GetKeyList();
    ApplyProfileLight();
    dpiStages_ = profile_.GetDpiStages();
    systemStages_ = profile_.GetSystemStages();
    device::BoundStoredSettings(systemStages_, dpiStages_, capabilities_.MaxDpiSliderValue());
    // A current stage the profile does not hold is sent as stage 0: the page marks that one.
    const int current = profile_.GetCurrentDpiStage();
    const size_t stages = std::min(dpiStages_.size(), device::kMouseDpiStageCount);
    if (current != 0 && (current < 0 || static_cast<size_t>(current) >= stages)) {
        profile_.SetCurrentDpiStage(0);
    }
}

void CVornalixMouseDevice::RefreshPageControls() {
    LoadMacroAndLightLists();
    FillLightModes();
    RefreshKeySetInfoList();
    ShowLightSettings();
    const size_t stages = std::min(dpiStages_.size(), device::kMouseDpiStageCount);
    ShowDpiStageCount(static_cast<int>(stages));
    for (size_t n = 0; n < stages; ++n) {
        // A stage stored as off shows as off, as the mouse keeps it.
        EnableDpiStage(static_cast<int>(n), dpiStages_[n].enabled != 0 ? 1 : 0);
        SetDpiStageValue(static_cast<int>(n), dpiStages_[n].DpiX());
    }
    SetPointerSpeed(systemStages_.mouseSpeed);
    SetPointerPrecision(systemStages_.pointerPrecision);
    SetDoubleClickSpeed(systemStages_.doubleClickTime);
    SetScrollSettings(systemStages_.scrollPage, systemStages_.wheelScrollLines);
    SelectPollingRateOption(systemStages_.reportRate);
}

void CVornalixMouseDevice::BuildProfilePath() {
    const CDuiString folder = GetUserDataPath();
    profile_.SetDefaultProfilePath(GetDefaultProfilePath());
    // An id that could leave the folder keeps the previous path.
    profile_.SetProfilePath(
        CDuiString(StoredFilePath(folder.str(), deviceString1_.ToUtf8(), L".Json")));
    profile_.SetLightConfigPath(folder + deviceString2_ + L".config");
}

CDuiString CVornalixMouseDevice::GetProfilePath() {
    return profile_.GetProfilePath();
}

void CVornalixMouseDevice::SaveProfile() {
    profile_.Save();
}

void CVornalixMouseDevice::SetDeviceIndex(int index) {
    CVornalixUSBDevice::SetDeviceIndex(index);
    // Every kind keeps its settings in element 0 of its own profile file.
    profile_.SetDeviceIndex(0);
}

void CVornalixMouseDevice::SetDpiStages(std::vector<DpiStageRecord> stages) {
    profile_.SetDpiStages(stages);
    dpiStages_ = std::move(stages);
}

void CVornalixMouseDevice::SetSystemStages(MouseSystemStages stages) {
    systemStages_ = stages;
    profile_.SetSystemStages(stages);
}

void CVornalixMouseDevice::SetPageFunction(int function) {
    CVornalixUSBDevice::SetPageFunction(function);
    if (CControlUI* hint = device::FindControlByName(this, L"device_tishi_info")) {
        hint->SetVisible(false);
    }
}

void CVornalixMouseDevice::SelectKey(int key) {
    CVornalixUSBDevice::SelectKey(key);
    ShowKeyAssignment(key);
}

device::MouseSettingsState CVornalixMouseDevice::GetSettingsState() const {
    platform::CriticalSectionLock lock(stateLock_);
    return settingsState_;
}

void CVornalixMouseDevice::SetSettingsState(const device::MouseSettingsState& state) {
    // The ticks up to now are stepped in the mode and speed they had.
    CatchUpLight();
    {
        platform::CriticalSectionLock lock(stateLock_);
        settingsState_ = state;
    }
    // A custom mode counts passes: the thread takes up its pace at once.
    WakeLightLoop();
}

device::MouseSettingsBlock CVornalixMouseDevice::GetRawSettingsBlock() const {
    platform::CriticalSectionLock lock(stateLock_);
    return rawSettings_;
}

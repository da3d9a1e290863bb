#include "device/keyboard/vornalix_keyboard_device.h"

#include "device/record_words.h"
#include "profile/stored_file_id.h"

using DuiLib::CControlUI;
using DuiLib::CDuiString;

CControlUI* CreateKeyboardDevice() {
    return new CVornalixKeyboardDevice();
}

CVornalixKeyboardDevice::CVornalixKeyboardDevice() {
    SetDeviceType(kKeyboardKind, 0);
    keyMaps_.keyPosition.fill(device::kNoKeyPosition);
    keyMaps_.led.fill(device::kNoKeyPosition);
    profile_.SetDefaultProfilePath(GetDefaultProfilePath());
    profile_.Load(GetDefaultProfilePath());
}

CVornalixKeyboardDevice::~CVornalixKeyboardDevice() {
    // The threads call this object's overrides: they must end before it is torn down.
    StopLightThread();
    StopSyncThread();
}

LPCTSTR CVornalixKeyboardDevice::GetClass() const {
    return L"VornalixKeyboardDevice";
}

LPVOID CVornalixKeyboardDevice::GetInterface(LPCTSTR pstrName) {
    return CVornalixUSBDevice::GetInterface(pstrName);
}

void CVornalixKeyboardDevice::InitPage() {
    BuildDevicePage();
}

void CVornalixKeyboardDevice::StartDevice() {
    ReadDeviceInfo();
    LoadProfile();
    uint8_t slot = 0;
    ReadLightSettings(&slot, 0);
    RefreshPageControls();
    StartLightThread();
}

void CVornalixKeyboardDevice::ReadDeviceInfo() {
    if (!commandChannel_.IsOpen()) {
        return;
    }
    commandChannel_.BeginSession();
    ReadKeyboardTables();
    // The session is closed whether or not the tables could be read, so the keyboard is
    // never left expecting more writes.
    commandChannel_.EndSession();
}

void CVornalixKeyboardDevice::ReadKeyboardTables() {
    if (!RefreshCapabilities()) {
        return;  // a block that did not come must not size the tables
    }
    const size_t keyCount = capabilities_.LedCount();
    if (!commandChannel_.SetTableLength(static_cast<uint16_t>(keyCount * 3))) {
        return;
    }
    std::array<uint8_t, device::kKeyboardTableBytes> codes{};
    std::array<uint8_t, device::kKeyboardTableBytes> leds{};
    if (commandChannel_.ReadKeyCodeTable(codes) != 1 ||
        commandChannel_.ReadKeyLightTable(leds) != 1) {
        return;  // maps from a half-read table would send keys to the wrong positions
    }
    keyCodeTable_ = codes;
    ledTable_ = leds;
    keyTableRead_ = true;
    // The sync thread looks keys up in the maps while they are rebuilt.
    platform::CriticalSectionLock lock(stateLock_);
    device::BuildKeyMaps(keyCodeTable_, ledTable_, keyCount, keyMaps_);
}

device::KeyboardKeyMaps CVornalixKeyboardDevice::KeyMaps() const {
    platform::CriticalSectionLock lock(stateLock_);
    return keyMaps_;
}

int CVornalixKeyboardDevice::LoadProfile() {
    BuildProfilePath();
    profile_.Load(profile_.GetProfilePath());
    ReadKeyList();
    // A key on a macro the list no longer holds would reach the keyboard as that number.
    RefreshKeyPage();
    ReselectKey();
    TakeProfileLight();
    systemStages_ = profile_.GetSystemStages();
    return 1;
}

void CVornalixKeyboardDevice::LoadDefaultProfile() {
    profile_.SetDefaultProfilePath(GetDefaultProfilePath());
    profile_.Load(GetDefaultProfilePath());
    ReadKeyList();
    ReselectKey();
    TakeProfileLight();
    systemStages_ = profile_.GetSystemStages();
    SaveProfile();
    RefreshPageControls();
}

void CVornalixKeyboardDevice::ReadKeyList() {
    keyAssignments_ = profile_.GetKeyList();
}

void CVornalixKeyboardDevice::SaveKeyList() {
    profile_.SetKeyList(keyAssignments_);
}

void CVornalixKeyboardDevice::BuildProfilePath() {
    const CDuiString folder = GetUserDataPath();
    profile_.SetDefaultProfilePath(GetDefaultProfilePath());
    // An id that could leave the folder keeps the previous path.
    profile_.SetProfilePath(
        CDuiString(StoredFilePath(folder.str(), deviceString1_.ToUtf8(), L".Json")));
    profile_.SetLightConfigPath(folder + deviceString2_ + L".config");
}

CDuiString CVornalixKeyboardDevice::GetProfilePath() {
    return profile_.GetProfilePath();
}

void CVornalixKeyboardDevice::SaveProfile() {
    profile_.Save();
}

void CVornalixKeyboardDevice::SetDeviceIndex(int index) {
    CVornalixUSBDevice::SetDeviceIndex(index);
    profile_.SetDeviceIndex(index);
}

void CVornalixKeyboardDevice::SetLightParams(uint32_t first, uint32_t second, uint32_t third,
                                             uint8_t slot) {
    CVornalixUSBDevice::SetLightParams(first, second, third, slot);
    profile_.SetLightInfo(device::LightRecordOfWords(first, second, third, slot));
}

void CVornalixKeyboardDevice::SelectKey(int key) {
    CVornalixUSBDevice::SelectKey(key);
    ShowKeyAssignment(key);
}

void CVornalixKeyboardDevice::SetPageFunction(int function) {
    CVornalixUSBDevice::SetPageFunction(function);
    UpdateKeyChoice();
    constexpr int kFnKeyPosition = 110;
    if (CControlUI* button = GetKeyButton(kFnKeyPosition);
        button && (function == 1 || function == 2)) {
        button->SetVisible(function == 1);
    }
}

void CVornalixKeyboardDevice::SetSystemStages(uint32_t first, uint32_t second, uint32_t third) {
    KeyboardSystemStages stages;
    stages.repeat = static_cast<uint16_t>(first);
    stages.repeatDelay = static_cast<uint16_t>(first >> 16);
    stages.key6Flag = static_cast<uint16_t>(second);
    stages.pollingRate = static_cast<uint16_t>(second >> 16);
    stages.wFlag = static_cast<uint16_t>(third);
    stages.winFlag = static_cast<uint16_t>(third >> 16);
    systemStages_ = stages;
    profile_.SetSystemStages(stages);
}

KeyboardSystemStages CVornalixKeyboardDevice::GetSystemStages() {
    return systemStages_;
}

CVornalixKeyboardDevice::LightState CVornalixKeyboardDevice::GetLightState() const {
    platform::CriticalSectionLock lock(stateLock_);
    return lightState_;
}

void CVornalixKeyboardDevice::SetLightState(const LightState& state) {
    // The ticks up to now are stepped in the mode and speed they had.
    CatchUpLight();
    {
        platform::CriticalSectionLock lock(stateLock_);
        lightState_ = state;
    }
    // A custom light counts passes: the thread takes up its pace at once.
    WakeLightLoop();
}

uint32_t CVornalixKeyboardDevice::GetLedColor(int index) {
    CatchUpLight();
    return CVornalixUSBDevice::GetLedColor(index);
}

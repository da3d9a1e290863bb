#include "device/vornalix_usb_device.h"

#include <algorithm>
#include <span>

#include "controls/device_key_button.h"
#include "device/discovery/device_paths.h"
#include "device/lighting/led_frame.h"
#include "device/macro_image.h"
#include "device/page/control_lookup.h"
#include "device/page/function_tabs.h"
#include "device/page/led_button_tint.h"
#include "device/page/light_mode_rows.h"
#include "device/record_words.h"
#include "duilib/paint_manager.h"
#include "duilib/string_utils.h"
#include "pages/key_set_control_ui.h"
#include "pages/light_control_ui.h"
#include "pages/macro_key_numbers.h"
#include "pages/shoot_data_file.h"
#include "platform/clock.h"

using DuiLib::CControlUI;
using DuiLib::CDuiString;

namespace {

constexpr uint32_t kWhiteTint = 0xFFFFFF;
constexpr int kOpaque = 255;

// `text` split as "prefix_n"; -1 when the prefix differs or there is no number.
int IndexAfterPrefix(const CDuiString& text, std::wstring_view expected, bool ignoreCase) {
    CDuiString prefix;
    int number = -1;
    if (!SplitIndexedName(text, &prefix, &number)) {
        return -1;
    }
    const bool same = ignoreCase ? prefix.CompareNoCase(expected) == 0 : prefix == expected;
    return same ? number : -1;
}

void SelectTabItem(CControlUI* tab, int index) {
    if (index == device::kTabUnchanged) {
        return;
    }
    if (auto* layout = static_cast<DuiLib::CTabLayoutUI*>(tab->GetInterface(L"TabLayout"))) {
        layout->SelectItem(index);
    }
}

}  // namespace

CControlUI* CreateUSBDevice() {
    return new CVornalixUSBDevice();
}

CVornalixUSBDevice::CVornalixUSBDevice() = default;

CVornalixUSBDevice::~CVornalixUSBDevice() {
    // The device classes stop their threads in their own destructors; this is the last
    // resort for a base object.
    StopLightWorker();
    StopInputWorker();
}

LPCTSTR CVornalixUSBDevice::GetClass() const {
    return L"VornalixUSBDevice";
}

LPVOID CVornalixUSBDevice::GetInterface(LPCTSTR pstrName) {
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

void CVornalixUSBDevice::InitPage() {
    if (deviceName_.IsEmpty()) {
        keyCount_ = 0;
        ledCount_ = 0;
        keyButtons_.clear();
        ledButtons_.clear();
        ledColours_.Resize(0);
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        if (device::IsControlClass(GetItemAt(i), L"SelectPanel")) {
            selectPanel_ = GetItemAt(i);
            break;
        }
    }
    DuiLib::IContainerUI* panel = device::AsContainer(selectPanel_);
    if (!panel) {
        return;
    }
    for (int i = 0; i < panel->GetCount(); ++i) {
        CControlUI* child = panel->GetItemAt(i);
        if (device::IsControlClass(child, L"DeviceKeyButton")) {
            BindPageButton(child);
        }
    }
}

void CVornalixUSBDevice::BindPageButton(CControlUI* button) {
    const int key = IndexAfterPrefix(button->GetName(), L"key_", true);
    if (key >= 0 && key < keyCount_) {
        keyButtons_[static_cast<size_t>(key)] = button;
    }
    const int led = IndexAfterPrefix(button->GetUserData(), L"light_", false);
    if (led >= 0 && led < ledCount_) {
        ledButtons_[static_cast<size_t>(led)] = button;
        device::SetLedButtonTint(button, kWhiteTint, kOpaque, true);
    }
}

int CVornalixUSBDevice::ApplyProfileLight() {
    return 0;
}

void CVornalixUSBDevice::EffectBreathing() {
    platform::CriticalSectionLock lock(animationLock_);
    device::StepBreathing(CurrentLightParams(), animation_, ledColours_);
}

void CVornalixUSBDevice::EffectBreathingColors() {
    platform::CriticalSectionLock lock(animationLock_);
    device::StepBreathingColours(CurrentLightParams(), animation_, ledColours_);
}

void CVornalixUSBDevice::EffectStatic() {
    device::ApplyStatic(CurrentLightParams(), ledColours_);
}

void CVornalixUSBDevice::EffectSpectrum() {
    platform::CriticalSectionLock lock(animationLock_);
    device::StepSpectrum(CurrentLightParams(), animation_, ledColours_);
}

void CVornalixUSBDevice::EffectFlash() {
    platform::CriticalSectionLock lock(animationLock_);
    device::StepFlash(CurrentLightParams(), animation_, ledColours_, platform::TickCount());
}

void CVornalixUSBDevice::EffectFlashColors() {
    platform::CriticalSectionLock lock(animationLock_);
    device::StepFlashColours(CurrentLightParams(), animation_, ledColours_, platform::TickCount());
}

void CVornalixUSBDevice::EffectOff() {
    device::ClearLeds(ledColours_);
}

int CVornalixUSBDevice::PushLightFrame() {
    if (!HasLightControl()) {
        return 0;
    }
    PaintLedButtons();
    device::LightFrame frame;
    device::EncodeLightFrame(ledColours_, frame);
    // Sent by the channel's frame thread: the UI timer that pushes frames never waits on
    // the device.
    return commandChannel_.PostLightFrame(std::span(frame.bytes.data(), frame.length));
}

void CVornalixUSBDevice::OpenNotifyChannel(const wchar_t* path) {
    platform::CriticalSectionLock lock(notifyLock_);
    if (inputChannel_.IsOpen()) {
        return;
    }
    inputChannel_.OpenInterface(path, false);
    StartSyncThread();
}

void CVornalixUSBDevice::CloseNotifyChannel() {
    platform::CriticalSectionLock lock(notifyLock_);
    if (!inputChannel_.IsOpen()) {
        return;
    }
    StopSyncThread();
    inputChannel_.CloseInterface();
}

void CVornalixUSBDevice::PublishLightRecord(const LightRecord& light, uint8_t slot) {
    const std::array<uint32_t, 3> words = device::LightRecordWords(light);
    CVornalixUSBDevice::SetLightParams(words[0], words[1], words[2], slot);
}

void CVornalixUSBDevice::ShowKeyAssignmentIn(CKeySetControlUI* keySet, int key) {
    if (!keySet) {
        return;
    }
    // No key chosen (an assignment ended): nothing for the panel to assign.
    keySet->ShowKeySetLayout(key >= 0);
    if (key >= 0 && static_cast<size_t>(key) < keyAssignments_.size()) {
        keySet->SetKeyFunctions(keyAssignments_[static_cast<size_t>(key)]);
    }
}

void CVornalixUSBDevice::ShowLightModes(CLightControlUI* panel, int maxBrightness, int maxSpeed) {
    if (!panel) {
        return;
    }
    device::LightModeRows rows = device::LightModeRowsOf(pageLists_, deviceKind_);
    panel->InitLightModes(std::move(rows.names), std::move(rows.enabled), maxBrightness, maxSpeed,
                          std::move(rows.customNames));
}

bool CVornalixUSBDevice::RevertKeysOfDeletedMacros(int deletedMacro) {
    LoadMacroAndLightLists();
    const size_t macroCount = pageLists_.macroNames.size();
    bool changed = false;
    if (deletedMacro != kNoDeletedMacro) {
        FollowMacroDeletionInProfiles(GetUserDataPath().ToUtf8(), deviceString1_.ToUtf8(),
                                      deletedMacro);
        for (KeyAssignRecord& key : keyAssignments_) {
            changed = FollowMacroDeletion(key.current, key.defaults, deletedMacro) || changed;
        }
    }
    for (KeyAssignRecord& key : keyAssignments_) {
        // A gun past the four of the shoot image has nothing to fire either.
        const bool noGun = key.current.type == KeyFunctionType::kGunKey &&
                           key.current.p1 >= ShootDataFile::kGunCount;
        if ((PlaysMacro(key.current) && key.current.p1 >= macroCount) || noGun) {
            key.current = key.defaults;
            changed = true;
        }
    }
    return changed;
}

int CVornalixUSBDevice::PrepareMacroUpload(std::vector<uint8_t>* image) {
    return device::PrepareMacroImage(
        GetUserDataPath().str(),
        size_t{capabilities_.MacroMemoryUnits()} * device::kMacroMemoryUnit, image);
}

bool CVornalixUSBDevice::RefreshCapabilities() {
    DeviceInfoBlock info;
    if (commandChannel_.ReadDeviceInfo(info) != 1) {
        return false;
    }
    capabilities_ = info;
    return true;
}

int CVornalixUSBDevice::WriteMemoryInSession(std::span<const uint8_t> bytes, uint16_t offset,
                                             const std::function<bool()>& ready) {
    const auto isReady = [&ready] { return !ready || ready(); };
    if (!commandChannel_.IsOpen() || !isReady()) {
        return 0;
    }
    commandChannel_.BeginSession();
    if (!isReady()) {
        return 0;
    }
    const int written = commandChannel_.WriteMemory(bytes, offset);
    if (!isReady()) {
        return 0;
    }
    commandChannel_.EndSession();
    // A write the device refused is not reported as done.
    return written == 1 ? 1 : 0;
}

bool CVornalixUSBDevice::PageWindowShown() const {
    return m_pManager == nullptr || m_pManager->CanBeSeen();
}

void CVornalixUSBDevice::ShowLedPreview() {
    CatchUpLight();
    if (HasLightControl()) {
        PaintLedButtons();
    }
}

void CVornalixUSBDevice::PaintLedButtons() {
    // Nothing of a window hidden to the tray is seen: its page is tinted when it is shown
    // again (ShowLedPreview).
    if (!PageWindowShown()) {
        return;
    }
    for (size_t i = 0; i < ledButtons_.size(); ++i) {
        CControlUI* button = ledButtons_[i];
        if (button && button->IsVisible()) {
            const uint32_t colour = ledColours_.Get(i);
            device::SetLedButtonTint(button, device::LedTintColour(colour),
                                     device::LedBrightness(colour), true);
        }
    }
}

void CVornalixUSBDevice::SetLedColor(int index, uint32_t colour) {
    if (index >= 0 && index < ledCount_) {
        ledColours_.Set(static_cast<size_t>(index), colour);
    }
}

uint32_t CVornalixUSBDevice::GetLedColor(int index) {
    if (index < 0 || index >= ledCount_) {
        return 0;
    }
    return ledColours_.Get(static_cast<size_t>(index));
}

void CVornalixUSBDevice::StartDevice() {}
void CVornalixUSBDevice::ReadDeviceSettings() {}
void CVornalixUSBDevice::OnListTimer1003() {}
void CVornalixUSBDevice::OnListTimer1004() {}
void CVornalixUSBDevice::QueryPowerStatus() {}
int CVornalixUSBDevice::LoadProfile() {
    return 0;
}
void CVornalixUSBDevice::RefreshPageControls() {}
void CVornalixUSBDevice::RefreshKeyPage(int) {}
void CVornalixUSBDevice::LoadDefaultProfile() {}

int CVornalixUSBDevice::WriteKeyAssignments(int, std::vector<KeyAssignRecord>) {
    return 0;
}
int CVornalixUSBDevice::ApplyKeyAssignments(int) {
    return 0;
}
int CVornalixUSBDevice::UploadMacros() {
    return 0;
}
int CVornalixUSBDevice::WriteDeviceSettings(int, int, int, int, int) {
    return 0;
}
void CVornalixUSBDevice::LoadMacroAndLightLists() {
    device::PageNameSources sources;
    sources.userFolder = GetUserDataPath().str();
    sources.defaultFolder = GetDefaultDataPath().str();
    sources.macroListName = macroListName_;
    sources.deviceIndex = GetDeviceIndex();
    device::ReadPageNameLists(sources, pageLists_);
}
void CVornalixUSBDevice::SetAuxMap(DeviceAuxMap map) {
    auxMap_ = std::move(map);
}

void CVornalixUSBDevice::DecayKeyLevels(int key, int mode) {
    if (key < 0) {
        return;
    }
    platform::CriticalSectionLock lock(animationLock_);
    device::DecayKeyLevel(animation_, static_cast<size_t>(key), mode);
}

void CVornalixUSBDevice::MarkRingKeys() {
    platform::CriticalSectionLock lock(animationLock_);
    device::MarkRingKeys(animation_);
}

void CVornalixUSBDevice::RotateRing(int direction) {
    platform::CriticalSectionLock lock(animationLock_);
    device::RotateRing(animation_, direction != 0);
}

void CVornalixUSBDevice::ClearKeyLevels() {
    platform::CriticalSectionLock lock(animationLock_);
    device::ClearKeyLevels(animation_);
}

void CVornalixUSBDevice::SetPageFunction(int function) {
    pageFunction_ = function;
    MarkSelectedKey();
    if (!functionTab_) {
        functionTab_ = device::FindControlByName(this, L"device_function_switch");
    }
    if (!keyFunctionTab_) {
        keyFunctionTab_ = device::FindControlByName(this, L"device_key_function_switch");
    }
    if (!functionTab_ || !keyFunctionTab_) {
        return;
    }
    const device::PageFunctionTabs tabs = device::TabsForPageFunction(function, deviceKind_);
    SelectTabItem(functionTab_, tabs.outer);
    SelectTabItem(keyFunctionTab_, tabs.inner);
}

int CVornalixUSBDevice::GetPageFunction() {
    return pageFunction_;
}
void CVornalixUSBDevice::BuildProfilePath() {}
CDuiString CVornalixUSBDevice::GetProfilePath() {
    return CDuiString();
}
void CVornalixUSBDevice::SaveProfile() {}
void CVornalixUSBDevice::SetDeviceIndex(int index) {
    deviceIndex_ = index;
}
int CVornalixUSBDevice::GetDeviceIndex() {
    return deviceIndex_;
}

void CVornalixUSBDevice::SetLightParams(uint32_t first, uint32_t second, uint32_t third,
                                        uint8_t slot) {
    // The steps of the ticks up to now read the parameters as they were.
    CatchUpLight();
    lightParamWords_[0].store(first);
    lightParamWords_[1].store(second);
    lightParamWords_[2].store(third);
    activeSlot_.store(slot);
}

void CVornalixUSBDevice::SelectKey(int key) {
    selectedKey_ = key;
    MarkSelectedKey();
}

void CVornalixUSBDevice::ReselectKey() {
    if (selectedKey_ >= 0) {
        SelectKey(selectedKey_);
    }
}

void CVornalixUSBDevice::MarkSelectedKey() {
    // The keyboard's key buttons are its LED buttons too: away from the key-assignment
    // panel they show only their LEDs.
    const bool shown = pageFunction_ == device::kKeyAssignmentFunction;
    for (size_t k = 0; k < keyButtons_.size(); ++k) {
        if (auto* button = dynamic_cast<CDeviceKeyButtonUI*>(keyButtons_[k])) {
            button->SetKeySelected(shown && static_cast<int>(k) == selectedKey_);
        }
    }
}

void CVornalixUSBDevice::SetDeviceType(int kind, int subKind) {
    deviceKind_ = kind;
    subKind_ = subKind;
}

void CVornalixUSBDevice::SetSubType(int subKind) {
    if (subKind_ != subKind) {
        subKind_ = subKind;
    }
}

void CVornalixUSBDevice::SetKeyCount(int count) {
    count = std::max(count, 0);
    if (count != keyCount_) {
        keyCount_ = count;
        keyButtons_.resize(static_cast<size_t>(count), nullptr);
    }
}

void CVornalixUSBDevice::SetLedCount(int count) {
    // The count may come from the device; a frame holds no more than kMaxLedCount LEDs.
    count = std::clamp(count, 0, static_cast<int>(device::kMaxLedCount));
    if (count != ledCount_) {
        ledCount_ = count;
        ledButtons_.resize(static_cast<size_t>(count), nullptr);
        platform::CriticalSectionLock lock(overlayLock_);
        ledLightRecords_.resize(static_cast<size_t>(count));
    }
    ledColours_.Resize(static_cast<size_t>(count));
    platform::CriticalSectionLock lock(overlayLock_);
    std::fill(ledLightRecords_.begin(), ledLightRecords_.end(), LedLightRecord{});
}

void CVornalixUSBDevice::SetPowerItem(IDevicePowerView* item) {
    powerItem_ = item;
    if (powerItem_) {
        powerItem_->ShowPowerLayout(showPower_ != 0);
    }
}

void CVornalixUSBDevice::SetShowPower(int show) {
    showPower_ = show;
    if (powerItem_) {
        powerItem_->ShowPowerLayout(showPower_ != 0);
    }
}

void CVornalixUSBDevice::SetLightControl(int on) {
    lightControl_.store(on);
    if (on && deviceKind_ == kKeyboardKind) {
        commandChannel_.TakeLightControl();
    }
}

void CVornalixUSBDevice::SetDeviceIdentity(HidIdRecord record) {
    identity_ = record;
    SetDeviceType(identity_.deviceKind, 0);
    SetSubType(identity_.subKind);
}

bool CVornalixUSBDevice::ArmListTimer(UINT id, UINT elapseMs) {
    DuiLib::CPaintManagerUI* manager = optionItem_ ? optionItem_->GetManager() : nullptr;
    return manager && manager->SetTimer(optionItem_, id, elapseMs);
}

CControlUI* CVornalixUSBDevice::GetKeyButton(int key) const {
    return key >= 0 && key < keyCount_ ? keyButtons_[static_cast<size_t>(key)] : nullptr;
}

CControlUI* CVornalixUSBDevice::GetLedButton(int led) const {
    return led >= 0 && led < ledCount_ ? ledButtons_[static_cast<size_t>(led)] : nullptr;
}

uint8_t CVornalixUSBDevice::StepWrap(bool up, uint8_t limit, uint8_t value, uint8_t step) {
    return device::StepWrap(up, limit, value, step);
}

CDuiString CVornalixUSBDevice::GetDefaultDataPath() const {
    return CDuiString(device::DefaultDataFolder(DuiLib::CPaintManagerUI::GetInstancePath().str()));
}

CDuiString CVornalixUSBDevice::GetDefaultProfilePath() const {
    return GetDefaultDataPath() + deviceFileName_ + L".Json";
}

CDuiString CVornalixUSBDevice::GetUserDataPath() const {
    return CDuiString(device::DeviceUserDataFolder(deviceFileName_.str()));
}

device::LightParams CVornalixUSBDevice::CurrentLightParams() const {
    return device::LightParams::FromWords(lightParamWords_[0].load(), lightParamWords_[1].load(),
                                          lightParamWords_[2].load());
}

void CVornalixUSBDevice::StartLightWorker(device::LightLoopHooks hooks, std::wstring exitText) {
    // The hooks change only while no thread runs on them.
    StopLightWorker();
    hooks.channelOpen = [this] { return commandChannel_.IsOpen() != 0; };
    hooks.lightSyncActive = [this] { return commandChannel_.GetLightSync(); };
    lightHooks_ = std::move(hooks);
    lightTicks_.Start(lightHooks_);
    lightWake_.Reset();
    lightThread_.Start(
        [this](platform::Event& stop) {
            device::RunLightLoop(stop, lightWake_, lightHooks_, lightTicks_);
        },
        std::move(exitText));
}

void CVornalixUSBDevice::SetLightSync(bool on) {
    // The ticks up to now were counted with the flag as it was.
    CatchUpLight();
    commandChannel_.SetLightSync(on);
    WakeLightLoop();
}

bool CVornalixUSBDevice::OpenCommandChannel(const wchar_t* path, bool slow) {
    CatchUpLight();
    return commandChannel_.OpenInterface(path, slow);
}

void CVornalixUSBDevice::CloseCommandChannel() {
    CatchUpLight();
    commandChannel_.CloseInterface();
}

void CVornalixUSBDevice::StopLightWorker() {
    lightThread_.Stop();
    lightTicks_.Stop();
}

void CVornalixUSBDevice::StartInputWorker(
    std::function<void(const std::vector<uint8_t>& report)> onReport) {
    // A thread still running may wait in a read without end: it is stopped with the read
    // cancelled before the new one starts.
    StopInputWorker();
    device::InputLoopHooks hooks;
    hooks.channelOpen = [this] { return inputChannel_.IsOpen() != 0; };
    hooks.readReport = [this](std::vector<uint8_t>& report) { return ReadInputReport(report); };
    hooks.onReport = std::move(onReport);
    inputThread_.Start(
        [hooks = std::move(hooks)](platform::Event& stop) { device::RunInputLoop(stop, hooks); },
        device::kInputThreadExitText);
}

void CVornalixUSBDevice::StopInputWorker() {
    inputThread_.Stop([this] { inputChannel_.File().CancelPendingTransfer(); });
}

bool CVornalixUSBDevice::ReadInputReport(std::vector<uint8_t>& report) {
    CHidDeviceFile& file = inputChannel_.File();
    // The interface may be closed or reopened on the UI thread meanwhile.
    const size_t length = file.InputReportByteLength();
    if (length == 0) {
        return false;
    }
    report.assign(length, 0);
    DWORD bytesRead = 0;
    if (!file.Read(report.data(), static_cast<DWORD>(length), platform::kInfinite, &bytesRead) ||
        bytesRead == 0) {
        return false;
    }
    report.resize(std::min<size_t>(bytesRead, length));
    return true;
}

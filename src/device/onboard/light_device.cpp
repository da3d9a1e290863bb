#include "device/onboard/light_device.h"

#include <array>
#include <cstring>

#include "device/lighting/light_block_bytes.h"
#include "device/record_words.h"
#include "duilib/string_utils.h"
#include "pages/light_control_ui.h"
#include "platform/clock.h"
#include "platform/window_messages.h"
#include "profile/stored_file_id.h"

using DuiLib::CDuiString;

namespace {

constexpr size_t kPowerBlockSize = 6;
constexpr size_t kPowerSlowByte = 3;
constexpr size_t kPowerNotifyByte = 4;
// Offsets beyond this cannot carry a whole light block.
constexpr int kLastMemoryOffset = 0xFFFF;

}  // namespace

COnboardLightDevice::COnboardLightDevice(int kind, device::WaveShape wave) : wave_(wave) {
    SetDeviceType(kind, 0);
    macroListName_ = L"zentu_macro.config";
    // The trail runs one lit head around the ring.
    animation_.ring[0] = 1;
}

COnboardLightDevice::~COnboardLightDevice() {
    // The threads call this object's overrides: they end before it is torn down.
    StopLightThread();
    StopSyncThread();
}

int COnboardLightDevice::ApplyProfileLight() {
    // The passes up to now ran with the light, the area lights and the custom list before.
    CatchUpLight();
    CBasicProfiledata& profile = Profile();
    const LightRecord light = profile.GetLightInfo();
    PublishLightRecord(light, light.customGroup);
    {
        platform::CriticalSectionLock lock(blockLock_);
        device::PutHeldLightBytes(lightBlock_, light);
    }
    {
        platform::CriticalSectionLock lock(overlayLock_);
        areaList_ = profile.GetLightList();
        device::AreaBreathingStep(areaList_, true, areaState_, ledColours_);
        device::AreaFlashStep(areaList_, true, platform::TickCount(), areaState_, ledColours_);
        device::AreaSpectrumStep(areaList_, true, areaState_, ledColours_);
    }
    ++lightsTaken_;
    device::ReloadCustomEffects(profile, GetDeviceType(), GetDeviceIndex(), light.mode,
                                customEffects_);
    return 1;
}

int COnboardLightDevice::PushLightFrame() {
    CatchUpLight();
    return CVornalixUSBDevice::PushLightFrame();
}

uint32_t COnboardLightDevice::GetLedColor(int index) {
    CatchUpLight();
    return CVornalixUSBDevice::GetLedColor(index);
}

int COnboardLightDevice::ReadLightBlock(uint8_t* slot, int) {
    SetLightSync(false);
    device::OnboardLightBlock held = GetLightBlock();
    if (commandChannel_.IsOpen()) {
        std::array<uint8_t, device::kOnboardReadLength> buffer{};
        std::array<uint8_t, 1> active{};
        // A block that did not come whole must not replace the one held.
        if (commandChannel_.ReadMemory(active, 0) == 1 &&
            commandChannel_.ReadMemory(
                buffer, static_cast<uint16_t>(active[0] * device::kOnboardReadStride)) == 1) {
            buffer[device::kBlockSlot] = active[0];
            held = device::DecodeOnboardLightBlock(buffer);
            SetHeldBlock(held);
        }
    }
    if (slot != nullptr) {
        *slot = held[device::kBlockSlot];
    }
    return 1;
}

void COnboardLightDevice::SetHeldBlock(const device::OnboardLightBlock& block) {
    // The passes up to now ran in the mode and speed before.
    CatchUpLight();
    platform::CriticalSectionLock lock(blockLock_);
    lightBlock_ = block;
}

device::OnboardLightBlock COnboardLightDevice::GetLightBlock() const {
    platform::CriticalSectionLock lock(blockLock_);
    return lightBlock_;
}

void COnboardLightDevice::ReadDeviceSettings() {
    uint8_t slot = 0;
    ReadLightBlock(&slot, 10);
    if (notifyWindow_ != nullptr) {
        platform::SendMessage(notifyWindow_, kSlotMessage, slot, 0);
    }
}

int COnboardLightDevice::WriteDeviceSettings(int slot, int, int, int, int) {
    const int offset = slot * device::kOnboardWriteStride;
    if (slot < 0 || offset + static_cast<int>(device::kOnboardLightBlockSize) > kLastMemoryOffset) {
        return 0;  // no slot of the device lies there
    }
    const device::OnboardLightBlock bytes = device::EncodeOnboardLightBlock(GetLightBlock());
    return WriteMemoryInSession(bytes, static_cast<uint16_t>(offset));
}

int COnboardLightDevice::ApplyKeyAssignments(int) {
    return 1;
}

void COnboardLightDevice::QueryPowerStatus() {
    if (!commandChannel_.IsOpen()) {
        return;
    }
    std::array<uint8_t, kPowerBlockSize> block{};
    if (commandChannel_.ReadPowerStatus(block, block.size(), 0) != 1) {
        return;
    }
    block[kPowerSlowByte] = commandChannel_.IsSlow() ? 1 : 0;
    if (powerItem_ != nullptr) {
        powerItem_->UpdatePowerReport(block.data(), static_cast<uint32_t>(block.size()));
    }
    if (notifyWindow_ != nullptr) {
        platform::SendMessage(notifyWindow_, kPowerMessage, block[kPowerNotifyByte], 0);
    }
}

void COnboardLightDevice::RefreshPageControls() {
    LoadMacroAndLightLists();
    FillLightModes();
    if (lightPage_ != nullptr) {
        uint32_t words[3] = {};
        uint8_t slot = 0;
        GetLightParams(&words[0], &words[1], &words[2], &slot);
        LightPanelRecord record{};
        std::memcpy(record.data(), words, sizeof(words));
        record[12] = slot;
        lightPage_->ShowLightSettings(record);
    }
}

void COnboardLightDevice::TakeProfileSettings() {
    ApplyProfileLight();
}

void COnboardLightDevice::LoadDefaultProfile() {
    Profile().SetDefaultProfilePath(GetDefaultProfilePath());
    Profile().Load(GetDefaultProfilePath());
    TakeProfileSettings();
    SaveProfile();
    RefreshPageControls();
}

void COnboardLightDevice::MarkRingKeys() {
    platform::CriticalSectionLock lock(animationLock_);
    const size_t count = std::min<size_t>(
        {static_cast<size_t>(GetLedCount()), device::kKeyLevelCount, device::kRingLength});
    for (size_t i = 0; i < count; ++i) {
        if (animation_.ring[i] != 0) {
            animation_.keyLevels[i] = 255;
        }
    }
}

void COnboardLightDevice::BuildProfilePath() {
    const CDuiString folder = GetUserDataPath();
    CBasicProfiledata& profile = Profile();
    profile.SetDefaultProfilePath(GetDefaultProfilePath());
    // An id that could leave the folder keeps the previous path.
    profile.SetProfilePath(
        CDuiString(StoredFilePath(folder.str(), deviceString1_.ToUtf8(), L".Json")));
    profile.SetLightConfigPath(folder + deviceString2_ + L".config");
}

CDuiString COnboardLightDevice::GetProfilePath() {
    return Profile().GetProfilePath();
}

void COnboardLightDevice::SaveProfile() {
    Profile().Save();
}

void COnboardLightDevice::SetDeviceIndex(int index) {
    CVornalixUSBDevice::SetDeviceIndex(index);
    // The profile file keeps this device's record at "Device"[0].
    Profile().SetDeviceIndex(0);
}

void COnboardLightDevice::SetLightParams(uint32_t first, uint32_t second, uint32_t third,
                                         uint8_t slot) {
    CVornalixUSBDevice::SetLightParams(first, second, third, slot);
    Profile().SetLightInfo(device::LightRecordOfWords(first, second, third, slot));
}

void COnboardLightDevice::GetLightParams(uint32_t* first, uint32_t* second, uint32_t* third,
                                         uint8_t* slot) const {
    *first = lightParamWords_[0].load();
    *second = lightParamWords_[1].load();
    *third = lightParamWords_[2].load();
    *slot = ActiveSlot();
}

// The mouse's settings area: written whenever the user changes a mouse setting, read back
// when the mouse asks for a re-sync.

#include <span>

#include "device/mouse/vornalix_mouse_device.h"

int CVornalixMouseDevice::WriteDeviceSettings(int profile, int firstByte, int constantByte,
                                              int screenWidth, int screenHeight) {
    const long offset = long{profile} * device::kMouseProfileStride;
    if (profile < 0 || offset + static_cast<long>(device::kMouseSettingsWriteSize) > 0x10000) {
        return 0;  // no profile area of the mouse lies there
    }
    device::MouseSettingsSource source;
    source.firstByte = static_cast<uint8_t>(firstByte);
    source.constantByte = static_cast<uint8_t>(constantByte);
    source.screenWidth = static_cast<uint16_t>(screenWidth);
    source.screenHeight = static_cast<uint16_t>(screenHeight);
    source.light = profile_.GetLightInfo();
    source.stages = profile_.GetSystemStages();
    source.dpiStages = profile_.GetDpiStages();
    device::BoundStoredSettings(source.stages, source.dpiStages, capabilities_.MaxDpiSliderValue());
    source.currentDpiStage = profile_.GetCurrentDpiStage();
    source.corrections = profile_.GetCorrectInfo();
    const device::MouseSettingsBlock block = device::EncodeMouseSettings(source);

    return WriteMemoryInSession(
        std::span<const uint8_t>(block.data(), device::kMouseSettingsWriteSize),
        static_cast<uint16_t>(offset), [this] { return ProbeIfSlow(); });
}

int CVornalixMouseDevice::ReadDeviceProfile(uint8_t* activeProfile) {
    device::MouseSettingsState state = GetSettingsState();
    {
        platform::CriticalSectionLock lock(stateLock_);
        previousState_ = state;
    }
    if (!commandChannel_.IsOpen() || !ProbeIfSlow()) {
        return 0;
    }
    std::array<uint8_t, 1> index{};
    if (commandChannel_.ReadMemory(index, 0) != 1) {
        return 0;
    }
    state[device::kStateProfile] = index[0];
    SetSettingsState(state);
    device::MouseSettingsBlock block{};
    if (commandChannel_.ReadMemory(
            block, static_cast<uint16_t>(index[0] * device::kMouseProfileStride)) != 1) {
        return 0;  // a block that was not read must not reach the state or the profile
    }
    device::TakeMouseSettings(block, state);
    CatchUpLight();
    {
        platform::CriticalSectionLock lock(stateLock_);
        rawSettings_ = block;
        settingsState_ = state;
    }
    WakeLightLoop();
    TakeStateIntoLight(state);
    // A stage the mouse cannot have keeps the profile's own.
    if (block[12] < device::kMouseDpiStageCount) {
        profile_.SetCurrentDpiStage(block[12]);
    }
    profile_.Save();
    if (activeProfile != nullptr) {
        *activeProfile = index[0];
    }
    return 1;
}

void CVornalixMouseDevice::ReadDeviceSettings() {
    uint8_t profile = 0;
    ReadDeviceProfile(&profile);
    RefreshPageControls();
}

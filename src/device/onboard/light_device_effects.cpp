// The light effects of the mouse pad and the headset, run on their light thread.

#include "device/lighting/custom_light_modes.h"
#include "device/lighting/light_tables.h"
#include "device/onboard/light_device.h"
#include "platform/clock.h"

namespace {

constexpr uint8_t kTrailRotateEvery = 2;
constexpr int kTrailPairPlaces = 8;
constexpr int kTrail2Places = 23;
constexpr int kPassCountCeiling = 1000;

constexpr uint8_t kStaticMode = 3;
constexpr uint8_t kOffMode = 8;

// Held once past every threshold: the custom modes never reset it, and a count that
// wrapped would stop the timed effects.
void CountPass(int& passCount) {
    if (passCount < kPassCountCeiling) {
        ++passCount;
    }
}

}  // namespace

void COnboardLightDevice::EffectWave() {
    platform::CriticalSectionLock lock(animationLock_);
    device::OnboardWave(Params(), wave_, huePhase_, ledColours_);
}

void COnboardLightDevice::TrailStep(bool pairs, int ringPlaces, bool right) {
    const device::LightParams params = Params();
    huePhase_ = device::StepWrap(params.Forward(), device::kColourWheelLength, huePhase_, 1);
    if (trailCounter_ >= kTrailRotateEvery) {
        trailCounter_ = 0;
        MarkRingKeys();
        RotateRingPrefix(ringPlaces, right);
    }
    ++trailCounter_;
    platform::CriticalSectionLock lock(animationLock_);
    device::TrailPass(params, pairs, huePhase_, animation_, ledColours_);
}

void COnboardLightDevice::EffectTrail() {
    TrailStep(true, kTrailPairPlaces, Params().direction == 0);
}

void COnboardLightDevice::EffectTrail2() {
    TrailStep(false, kTrail2Places, Params().direction != 0);
}

void COnboardLightDevice::RotateRingPrefix(int n, bool right) {
    platform::CriticalSectionLock lock(animationLock_);
    device::RotateRingPrefix(animation_.ring, n, right);
}

void COnboardLightDevice::AreaLightStep(uint32_t now) {
    platform::CriticalSectionLock lock(overlayLock_);
    device::AreaBreathingStep(areaList_, false, areaState_, ledColours_);
    device::AreaStaticStep(areaList_, ledColours_);
    device::AreaSpectrumStep(areaList_, false, areaState_, ledColours_);
    device::AreaFlashStep(areaList_, false, now, areaState_, ledColours_);
    device::AreaOffStep(areaList_, ledColours_);
}

void COnboardLightDevice::EffectFlash() {
    platform::CriticalSectionLock lock(animationLock_);
    device::StepFlash(Params(), animation_, ledColours_, stepTick_.load());
}

void COnboardLightDevice::RunModeStep(uint8_t mode, uint32_t now) {
    // A pass run after its moment still flashes by the tick it belongs to.
    stepTick_.store(now);
    switch (mode) {
        case 0:
            EffectWave();
            break;
        case 1:
            EffectSpectrum();
            break;
        case 2:
            EffectBreathing();
            break;
        case 3:
            EffectStatic();
            break;
        case 4:
            EffectFlash();
            break;
        case 6:
            EffectTrail2();
            break;
        case 7:
            EffectTrail();
            break;
        case 8:
            EffectOff();
            break;
        default:
            break;
    }
}

void COnboardLightDevice::LightPass(int& passCount) {
    LightPass(passCount, platform::TickCount());
}

void COnboardLightDevice::LightPass(int& passCount, uint32_t now) {
    const device::OnboardLightBlock block = GetLightBlock();
    const uint8_t mode = block[device::kBlockMode];
    if (device::CustomLightOfMode(GetDeviceType(), mode) >= 0) {
        CountPass(passCount);
        device::PlayCustomEffect(customEffects_, customPlayer_, Params().speedIndex, now,
                                 ledColours_);
    } else if (StepDue(passCount, block)) {
        RunModeStep(mode, now);
    }
    AreaLightStep(now);
}

bool COnboardLightDevice::StepDue(int& passCount, const device::OnboardLightBlock& block) {
    CountPass(passCount);
    if (device::SpeedTicksForIndex(block[device::kBlockSpeed]) <= passCount) {
        passCount = 0;
        return true;
    }
    return false;
}

bool COnboardLightDevice::LightIsSteady(const device::OnboardLightBlock& block) {
    const uint8_t mode = block[device::kBlockMode];
    if (mode != kStaticMode && mode != kOffMode) {
        return false;
    }
    platform::CriticalSectionLock lock(overlayLock_);
    return !device::AreaEffectsArePassTimed(areaList_);
}

#pragma once
// Folder device/onboard: devices that run their lights from an onboard block: the mouse
// pad and the headset, with the headset's LED reports, EQ presets and audio binding.
//
// What the mouse pad and the headset share: lights only, driven from a 21-byte onboard
// light block per slot, the profile's light and per-LED light list, the custom light
// player, a power state read, and the two worker threads (a light thread that counts its
// own passes, and a sync thread on the second interface). The two classes differ in their
// stored-settings record, their wave and the way a frame reaches the device.

#include <atomic>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "device/device_threads.h"
#include "device/lighting/area_effects.h"
#include "device/lighting/custom_effect_player.h"
#include "device/onboard/light_block.h"
#include "device/onboard/light_effects.h"
#include "device/vornalix_usb_device.h"
#include "profile/basic_profiledata.h"

class COnboardLightDevice : public CVornalixUSBDevice {
  public:
    static constexpr UINT kResyncTimer = 1002;
    static constexpr UINT kResyncDelayMs = 500;
    static constexpr UINT kSlotMessage = 0xD00;
    static constexpr UINT kPowerMessage = 0xD01;

    ~COnboardLightDevice() override;

    int ApplyProfileLight() override;
    // The frames, the tints and the colours carry the passes up to now, whoever ran them.
    int PushLightFrame() override;
    uint32_t GetLedColor(int index) override;
    void ReadDeviceSettings() override;
    void QueryPowerStatus() override;
    void RefreshPageControls() override;
    void LoadDefaultProfile() override;
    // Takes the settings of the profile just loaded into the device: its light here, and
    // whatever else a kind keeps.
    virtual void TakeProfileSettings();
    int WriteDeviceSettings(int slot, int unused1, int unused2, int unused3, int unused4) override;
    // No keys to assign: there is nothing to write, and nothing failed. 1.
    int ApplyKeyAssignments(int bank) override;
    void MarkRingKeys() override;
    void BuildProfilePath() override;
    DuiLib::CDuiString GetProfilePath() override;
    void SaveProfile() override;
    void SetDeviceIndex(int index) override;
    void SetLightParams(uint32_t first, uint32_t second, uint32_t third, uint8_t slot) override;

    // Effects of their own slots.
    virtual void EffectWave();
    virtual void EffectTrail();
    virtual void EffectTrail2();
    // Timed by the tick of the pass under way.
    void EffectFlash() override;

    void GetLightParams(uint32_t* first, uint32_t* second, uint32_t* third, uint8_t* slot) const;
    // Reads the active slot's block; `slot` receives the slot number. Always 1.
    int ReadLightBlock(uint8_t* slot, int unused);
    device::OnboardLightBlock GetLightBlock() const;
    void RotateRingPrefix(int n, bool right);
    // The per-LED layers of every light-thread pass; `now`: the tick of the pass.
    void AreaLightStep(uint32_t now);

    // The threads and the second interface.
    void StartLightThread();
    void StopLightThread();
    void StartSyncThread() override;
    void StopSyncThread() override;
    void HandleNotifyReport(const std::vector<uint8_t>& report);
    bool IsLightThreadRunning() const { return IsLightWorkerStarted(); }
    bool IsSyncThreadRunning() const { return IsInputWorkerStarted(); }

  protected:
    COnboardLightDevice(int kind, device::WaveShape wave);

    virtual CBasicProfiledata& Profile() = 0;
    // The page's LED and key buttons under `containerName`, its profile list and its
    // lighting panel (onboard_light_device_page.cpp). False when the page has no device
    // or no such container: the rest of the page is then left alone.
    bool BuildLightPage(const wchar_t* containerName);
    // The device asked for its settings to be read again: the list entry's timer does it
    // on the UI thread.
    virtual void OnResyncRequest();
    // One light-thread pass by the block's mode; it counts itself in `passCount`. `now`:
    // the tick the pass belongs to (the present one when not given).
    void LightPass(int& passCount);
    void LightPass(int& passCount, uint32_t now);
    // Counts a pass of a timed mode; true, with the count started over, when its step is
    // due.
    static bool StepDue(int& passCount, const device::OnboardLightBlock& block);
    // Whether every step of the block's mode draws the same LEDs (static, off) and no area
    // effect counts passes: once drawn, such a light needs no pass until it changes.
    bool LightIsSteady(const device::OnboardLightBlock& block);
    void RunModeStep(uint8_t mode, uint32_t now);
    device::LightParams Params() const { return CurrentLightParams(); }

  private:
    // The page's key and LED buttons, then its profile list and lighting panel.
    void BindLightButtons(DuiLib::IContainerUI& container);
    void SetupLightPanels();
    // The lighting panel's mode rows from the page lists, custom lights included.
    void FillLightModes();
    void SetHeldBlock(const device::OnboardLightBlock& block);
    // One pass of the light thread at its moment `now`, the steady shortcut included.
    void PaceTimedPass(uint32_t now);
    void TrailStep(bool pairs, int ringPlaces, bool right);

    const device::WaveShape wave_;
    mutable platform::CriticalSection blockLock_;
    device::OnboardLightBlock lightBlock_{};  // guarded by blockLock_
    uint8_t trailCounter_ = 0;                // its passes only
    uint8_t huePhase_ = 0;                    // its passes only
    std::vector<LightRecord> areaList_;       // guarded by overlayLock_
    // Counts the profile lights taken: a steady light drawn before the last one was taken
    // may show LEDs of the list before.
    std::atomic<uint32_t> lightsTaken_{0};
    device::AreaEffectState areaState_;  // guarded by overlayLock_
    device::CustomEffectList customEffects_{lightLock_};
    device::CustomPlayerState customPlayer_;  // its passes only
    // The light thread's passes run one at a time, on the thread or on a reader catching
    // them up: these belong to them.
    int passCount_ = 0;
    // A steady block whose step has drawn the LEDs with the lights taken then: passes only
    // count until either changes.
    std::optional<std::pair<device::OnboardLightBlock, uint32_t>> drawn_;
    std::atomic<uint32_t> stepTick_{0};  // the tick of the pass under way
};

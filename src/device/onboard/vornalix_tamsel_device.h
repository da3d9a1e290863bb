#pragma once
// The headset: its lights (13 LEDs, the onboard light block, frames as twelve output
// reports) and its audio settings, which live in the audio driver and are mirrored in its
// stored-settings record. The audio page's relays call the audio operations; each reads
// its values from the audio panels, writes the driver's properties and saves the profile.

#include <cstdint>
#include <vector>

#include "device/onboard/audio_binding.h"
#include "device/onboard/light_device.h"
#include "profile/tamsel_profiledata.h"

class CVoiceTamselControlUI;
class CMagicControlUI;

class CVornalixTamselDevice : public COnboardLightDevice {
  public:
    static constexpr int kTamselKind = 7;

    CVornalixTamselDevice();
    ~CVornalixTamselDevice() override;

    LPCTSTR GetClass() const override;

    void InitPage() override;
    int PushLightFrame() override;
    void StartDevice() override;
    // Takes the selected profile and gives its audio settings to the driver, as the other
    // devices are given their profile's settings when it is chosen.
    int LoadProfile() override;
    // The defaults' settings, the user's own equaliser settings kept (as a reset keeps
    // them), shown, stored and given to the driver.
    void LoadDefaultProfile() override;
    void TakeProfileSettings() override;
    void RefreshPageControls() override;
    CBasicProfiledata& Profile() override { return profile_; }
    CTamselProfiledata& TamselProfile() { return profile_; }

    // The page's controls are bound by the page builder, which also hands over the audio
    // panels.
    virtual void BuildDevicePage();
    void SetAudioPanels(CVoiceTamselControlUI* voice, CMagicControlUI* magic);

    // The audio binding: started with the page, then the driver's values are read.
    void InitAudio();
    void InitAudioProperties();
    void ReadAudioValues(int unused);
    // The mirrored audio settings to the driver, each as its control shows it.
    void WriteAudioSettings();
    device::AudioBinding& Audio() { return audio_; }

    // The audio page's operations.
    void SelectEqPreset(int n);
    void SetEqBand(int band);
    void ApplyCustomEqSelection();
    // 1 saved, 0 a preset of that name exists, -1 nothing done.
    int SaveCustomEqPreset();
    void DeleteCustomEqPreset();
    void ApplyMicInVolume();
    void ToggleMicInMute();
    void ApplyMicMonitorVolume();
    void ToggleMicMonitorMute();
    void SetMagicVoiceEnabled();
    void SelectMagicVoice(int n);

    const TamselSystemSetStages& SystemSetStages() const { return stages_; }
    const std::vector<int32_t>& EqBandValues() const { return eqBands_; }
    const std::vector<DuiLib::CDuiString>& CustomEqNames() const { return customEqNames_; }
    uint32_t IsMicMuted() const { return micMuted_; }
    uint32_t IsMonitorMuted() const { return monitorMuted_; }

  private:
    // The selected profile into the device, nothing written anywhere.
    void TakeSelectedProfile();
    void SaveAudioSettings();
    // Shows the band vector on the sliders and writes it to the driver.
    void ApplyBands(bool write);
    void LoadSliderBands();
    bool ToggleMute(uint32_t& muted, const wchar_t* property);
    // The stored microphone and monitoring levels as their sliders show them.
    int ShownMicInValue();
    int ShownMicMonitorValue();
    void RefreshAudioPanels();

    CTamselProfiledata profile_;
    CVoiceTamselControlUI* voicePanel_ = nullptr;
    CMagicControlUI* magicPanel_ = nullptr;
    TamselSystemSetStages stages_;
    uint32_t monitorMuted_ = 0;
    uint32_t micMuted_ = 0;
    device::AudioBinding audio_;
    std::vector<int32_t> eqBands_;
    std::vector<DuiLib::CDuiString> customEqNames_;
};

DuiLib::CControlUI* CreateTamselDevice();

#include "device/onboard/vornalix_tamsel_device.h"

#include "device/lighting/led_frame.h"
#include "device/onboard/headset_eq_presets.h"
#include "device/onboard/headset_led_reports.h"
#include "pages/magic_control_ui.h"
#include "pages/voice_tamsel_control_ui.h"

DuiLib::CControlUI* CreateTamselDevice() {
    return new CVornalixTamselDevice();
}

CVornalixTamselDevice::CVornalixTamselDevice()
    : COnboardLightDevice(kTamselKind, device::kHeadsetWave) {
    profile_.SetDefaultProfilePath(GetDefaultProfilePath());
}

CVornalixTamselDevice::~CVornalixTamselDevice() {
    StopLightThread();
    StopSyncThread();
}

LPCTSTR CVornalixTamselDevice::GetClass() const {
    return L"VornalixTamselDevice";
}

void CVornalixTamselDevice::InitPage() {
    BuildDevicePage();
    InitAudio();
}

void CVornalixTamselDevice::SetAudioPanels(CVoiceTamselControlUI* voice, CMagicControlUI* magic) {
    voicePanel_ = voice;
    magicPanel_ = magic;
}

void CVornalixTamselDevice::StartDevice() {
    // At start the driver's own values are the ones shown: the profile's are not written.
    TakeSelectedProfile();
    ReadAudioValues(0);
    RefreshPageControls();
    StartLightThread();
}

int CVornalixTamselDevice::LoadProfile() {
    TakeSelectedProfile();
    WriteAudioSettings();
    return 1;
}

void CVornalixTamselDevice::TakeSelectedProfile() {
    BuildProfilePath();
    profile_.Load(GetProfilePath());
    TakeProfileSettings();
}

void CVornalixTamselDevice::LoadDefaultProfile() {
    const std::vector<DuiLib::CDuiString> names = profile_.GetCustomEqNames();
    std::vector<std::vector<int32_t>> bands;
    for (size_t i = 0; i < names.size(); ++i) {
        bands.push_back(profile_.GetCustomEqBands(static_cast<int>(i)));
    }
    profile_.SetDefaultProfilePath(GetDefaultProfilePath());
    profile_.Load(GetDefaultProfilePath());
    profile_.SetCustomEqNames(names);
    for (size_t i = 0; i < bands.size(); ++i) {
        profile_.SetCustomEqBands(static_cast<int>(i), bands[i]);
    }
    TakeProfileSettings();
    WriteAudioSettings();
    SaveProfile();
    RefreshPageControls();
}

void CVornalixTamselDevice::TakeProfileSettings() {
    ApplyProfileLight();
    stages_ = profile_.GetSystemSetStages();
    eqBands_ = stages_.eqType == device::kCustomEqPreset
                   ? profile_.GetCustomEqBands(stages_.customEqSelectIndex)
                   : profile_.GetEqPresetBands(stages_.eqType);
    customEqNames_ = profile_.GetCustomEqNames();
}

void CVornalixTamselDevice::RefreshPageControls() {
    COnboardLightDevice::RefreshPageControls();
    RefreshAudioPanels();
}

void CVornalixTamselDevice::RefreshAudioPanels() {
    if (magicPanel_ != nullptr) {
        magicPanel_->SetMagicEnabled(stages_.magicEnable != 0);
        magicPanel_->SelectMagicEffect(stages_.magicType);
    }
    if (voicePanel_ == nullptr) {
        return;
    }
    voicePanel_->SetMicInSelected(stages_.micInSelect != 0);
    voicePanel_->SetMicInValue(stages_.micInValue);
    voicePanel_->SetMicMonitorSelected(stages_.micMonitorSelect != 0);
    voicePanel_->SetMicMonitorValue(stages_.micMonitorValue);
    voicePanel_->SelectEqPreset(stages_.eqType);
    voicePanel_->ClearCustomEqItems();
    for (const DuiLib::CDuiString& name : customEqNames_) {
        voicePanel_->AddCustomEqItem(name);
    }
    voicePanel_->SelectCustomEqItem(stages_.customEqSelectIndex);
    voicePanel_->EnableCustomEqLayout(stages_.eqType == device::kCustomEqPreset);
    for (size_t i = 0; i < eqBands_.size(); ++i) {
        eqBands_[i] = voicePanel_->SetEqBandValue(static_cast<int>(i), eqBands_[i]);
    }
}

int CVornalixTamselDevice::PushLightFrame() {
    // The frame carries the colours of the passes up to now.
    CatchUpLight();
    if (!HasLightControl()) {
        return 0;
    }
    PaintLedButtons();
    const device::HeadsetLightFrame frame =
        device::BuildHeadsetLightFrame(device::ScaleHeadsetChannels(LedColours()));
    std::vector<std::vector<uint8_t>> reports;
    for (const device::HeadsetLightReport& report : frame) {
        reports.emplace_back(report.begin(), report.end());
    }
    return commandChannel_.PostOutputReports(std::move(reports));
}

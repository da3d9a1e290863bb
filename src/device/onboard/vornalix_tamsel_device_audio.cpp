// The headset's audio settings: the defaults given at start, the values read back from
// the driver, and the audio page's operations.

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "device/onboard/headset_eq_presets.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "pages/magic_control_ui.h"
#include "pages/voice_tamsel_control_ui.h"

namespace {

constexpr uint32_t kNoEndpointExtra = 0xFFFFFFFFu;  // the extra word -1
constexpr int kMagicEffectCount = 4;
// The volume sliders' top without a page to ask.
constexpr int kLevelSliderMax = 100;

struct DefaultProperty {
    bool capture;
    const wchar_t* name;
    std::vector<uint32_t> readExtra;
    std::vector<uint32_t> writeExtra;
};

// Every property the driver is asked for at start, in order; one that cannot be read is
// given the value 0.
const std::vector<DefaultProperty>& DefaultProperties() {
    static const std::vector<DefaultProperty> kTable = [] {
        const std::vector<uint32_t> surround = {4, kNoEndpointExtra, 0};
        std::vector<DefaultProperty> table = {
            {false, L"VirtualSurroundEffectControl", surround, surround},
            {true, L"Enable_ENC_LFX", {0}, {}},
            {true, L"VolumeControl", {kNoEndpointExtra}, {kNoEndpointExtra}},
            {false, L"Enable_EQ_GFX", {}, {}},
        };
        static const wchar_t* const kBands[] = {
            L"EQ_Slider1", L"EQ_Slider2", L"EQ_Slider3", L"EQ_Slider4", L"EQ_Slider5",
            L"EQ_Slider6", L"EQ_Slider7", L"EQ_Slider8", L"EQ_Slider9", L"EQ_Slider10"};
        for (const wchar_t* band : kBands) {
            table.push_back({false, band, {}, {}});
        }
        const std::vector<DefaultProperty> rest = {
            {false, L"Enable_RFX_GFX", {}, {}},
            {false, L"RFX_ENVIRONMENT", {}, {}},
            {false, L"RFX_ROOMSIZE", {}, {}},
            {true, L"MuteControl", {}, {}},
            {true, L"VolumeScalarControl", {kNoEndpointExtra}, {kNoEndpointExtra}},
            {true, L"AAVolumeControl", {0}, {0}},
            {true, L"AAMuteControl", {}, {}},
            {true, L"AAVolumeScalarControl", {0}, {0}},
            {true, L"Enable_MAGICVOICE", {}, {}},
            {true, L"MagicVoice_Selection", {}, {}},
        };
        table.insert(table.end(), rest.begin(), rest.end());
        return table;
    }();
    return kTable;
}

// A volume slider's value as the driver takes it.
float LevelOf(int sliderValue) {
    return static_cast<float>(sliderValue) / 100.0f;
}

std::wstring BandProperty(size_t band) {
    return L"EQ_Slider" + std::to_wstring(band + 1);
}

// A level read as text, in slider units (the text's float x 100, truncated). False for
// a value no slider can show.
bool SliderValueOf(float level, int32_t* value) {
    const double scaled = static_cast<double>(level) * 100.0;
    if (!std::isfinite(scaled) || scaled <= std::numeric_limits<int32_t>::min() ||
        scaled >= std::numeric_limits<int32_t>::max()) {
        return false;
    }
    *value = static_cast<int32_t>(scaled);
    return true;
}

}  // namespace

void CVornalixTamselDevice::InitAudio() {
    if (!audio_.Load()) {
        return;
    }
    audio_.Init();
    if (audio_.RefreshDeviceList() == 0) {
        return;
    }
    audio_.PickAudioEndpoints();
    InitAudioProperties();
    ReadAudioValues(0);
}

void CVornalixTamselDevice::InitAudioProperties() {
    for (const DefaultProperty& property : DefaultProperties()) {
        const AudioDeviceRecord& endpoint = property.capture ? audio_.Capture() : audio_.Render();
        std::wstring text;
        if (audio_.ReadText(endpoint, property.name, &text, property.readExtra) != 0) {
            audio_.WriteWord(endpoint, property.name, 0, property.writeExtra);
        }
    }
}

void CVornalixTamselDevice::ReadAudioValues(int) {
    const AudioDeviceRecord& capture = audio_.Capture();
    int32_t value = 0;
    float level = 0;
    if (audio_.ReadInt(capture, L"MuteControl", &value) == 0) {
        micMuted_ = static_cast<uint32_t>(value);
        stages_.micInSelect = value == 0 ? 1 : 0;
    }
    if (audio_.ReadFloat(capture, L"VolumeScalarControl", &level, {kNoEndpointExtra}) == 0) {
        SliderValueOf(level, &stages_.micInValue);
    }
    std::wstring text;
    if (audio_.ReadText(capture, L"GetAAMaxVol", &text) == 0) {
        if (audio_.ReadInt(capture, L"AAMuteControl", &value) == 0) {
            monitorMuted_ = static_cast<uint32_t>(value);
            stages_.micMonitorSelect = value == 0 ? 1 : 0;
        }
        if (audio_.ReadFloat(capture, L"AAVolumeScalarControl", &level, {0}) == 0) {
            SliderValueOf(level, &stages_.micMonitorValue);
        }
    }
    if ((capture.features[0] & device::kMagicVoiceFeature) != 0 &&
        audio_.ReadInt(capture, L"Enable_MAGICVOICE", &value) == 0) {
        stages_.magicEnable = value;
    }
    if (audio_.ReadInt(capture, L"MagicVoice_Selection", &value) == 0 && value >= 0 &&
        value < kMagicEffectCount) {
        stages_.magicType = value + 1;
    }
}

void CVornalixTamselDevice::WriteAudioSettings() {
    const AudioDeviceRecord& capture = audio_.Capture();
    if (!eqBands_.empty()) {
        audio_.WriteWord(audio_.Render(), L"Enable_EQ_GFX", 1);
        ApplyBands(true);
    }
    micMuted_ = stages_.micInSelect != 0 ? 0 : 1;
    audio_.WriteWord(capture, L"MuteControl", micMuted_);
    audio_.WriteFloat(capture, L"VolumeScalarControl", LevelOf(ShownMicInValue()),
                      {kNoEndpointExtra});
    monitorMuted_ = stages_.micMonitorSelect != 0 ? 0 : 1;
    audio_.WriteWord(capture, L"AAMuteControl", monitorMuted_);
    audio_.WriteFloat(capture, L"AAVolumeScalarControl", LevelOf(ShownMicMonitorValue()), {0});
    const bool magic = stages_.magicEnable != 0;
    audio_.WriteWord(capture, L"Enable_MAGICVOICE", magic ? 1 : 0);
    if (magic) {
        audio_.WriteWord(capture, L"Enable_MICECHO", 0);
    }
    if (stages_.magicType >= 1 && stages_.magicType <= kMagicEffectCount) {
        audio_.WriteWord(capture, L"MagicVoice_Selection",
                         static_cast<uint32_t>(stages_.magicType - 1));
    }
}

int CVornalixTamselDevice::ShownMicInValue() {
    if (voicePanel_ == nullptr) {
        return std::clamp(stages_.micInValue, 0, kLevelSliderMax);
    }
    voicePanel_->SetMicInValue(stages_.micInValue);
    return voicePanel_->GetMicInValue();
}

int CVornalixTamselDevice::ShownMicMonitorValue() {
    if (voicePanel_ == nullptr) {
        return std::clamp(stages_.micMonitorValue, 0, kLevelSliderMax);
    }
    voicePanel_->SetMicMonitorValue(stages_.micMonitorValue);
    return voicePanel_->GetMicMonitorValue();
}

void CVornalixTamselDevice::SaveAudioSettings() {
    profile_.SetSystemSetStages(
        stages_.magicEnable, stages_.magicType, stages_.eqType, stages_.customEqSelectIndex,
        stages_.micInSelect, stages_.micInValue, stages_.micMonitorSelect, stages_.micMonitorValue);
    SaveProfile();
}

void CVornalixTamselDevice::ApplyBands(bool write) {
    for (size_t i = 0; i < eqBands_.size(); ++i) {
        if (voicePanel_ != nullptr) {
            // A stored level past the slider's range goes to the driver as the slider shows it.
            eqBands_[i] = voicePanel_->SetEqBandValue(static_cast<int>(i), eqBands_[i]);
        }
        if (write) {
            audio_.WriteWord(audio_.Render(), BandProperty(i).c_str(),
                             static_cast<uint32_t>(eqBands_[i]));
        }
    }
}

void CVornalixTamselDevice::LoadSliderBands() {
    eqBands_.assign(device::kEqBandCount, 0);
    for (size_t i = 0; i < device::kEqBandCount; ++i) {
        eqBands_[i] = voicePanel_->GetEqBandValue(static_cast<int>(i));
    }
}

void CVornalixTamselDevice::SelectEqPreset(int n) {
    if (n < device::kFirstEqPreset || n > device::kCustomEqPreset || voicePanel_ == nullptr) {
        return;
    }
    if (n == device::kCustomEqPreset) {
        stages_.eqType = n;
        voicePanel_->SelectEqPreset(n);
        voicePanel_->EnableCustomEqLayout(true);
        ApplyCustomEqSelection();
        SaveAudioSettings();
        return;
    }
    audio_.WriteWord(audio_.Render(), L"Enable_EQ_GFX", 1);
    const device::EqBandLevels& levels = device::EqPresetLevels(n);
    // Every band, also before a profile has filled the band vector.
    eqBands_.assign(levels.begin(), levels.end());
    ApplyBands(true);
    stages_.eqType = n;
    voicePanel_->SelectEqPreset(n);
    voicePanel_->EnableCustomEqLayout(false);
    profile_.SetEqPresetBands(n, eqBands_);
    SaveAudioSettings();
}

void CVornalixTamselDevice::SetEqBand(int band) {
    if (band < 0 || band >= static_cast<int>(device::kEqBandCount) || voicePanel_ == nullptr) {
        return;
    }
    if (stages_.eqType != device::kCustomEqPreset) {
        stages_.eqType = device::kCustomEqPreset;
        voicePanel_->SelectEqPreset(device::kCustomEqPreset);
        voicePanel_->SelectCustomEqItem(-1);
        voicePanel_->EnableCustomEqLayout(true);
    }
    audio_.WriteWord(audio_.Render(), BandProperty(static_cast<size_t>(band)).c_str(),
                     static_cast<uint32_t>(voicePanel_->GetEqBandValue(band)));
}

void CVornalixTamselDevice::ApplyCustomEqSelection() {
    if (voicePanel_ == nullptr) {
        return;
    }
    const int selected = voicePanel_->GetCustomEqSelection();
    if (selected < 0) {
        return;
    }
    eqBands_ = profile_.GetCustomEqBands(selected);
    audio_.WriteWord(audio_.Render(), L"Enable_EQ_GFX", 1);
    ApplyBands(true);
    stages_.customEqSelectIndex = selected;
    SaveAudioSettings();
}

int CVornalixTamselDevice::SaveCustomEqPreset() {
    if (voicePanel_ == nullptr) {
        return -1;
    }
    const DuiLib::CDuiString name = voicePanel_->GetCustomEqName();
    if (name.IsEmpty()) {
        const int selected = voicePanel_->GetCustomEqSelection();
        if (selected < 0) {
            return -1;
        }
        LoadSliderBands();
        stages_.customEqSelectIndex = selected;
        profile_.SetCustomEqBands(selected, eqBands_);
        SaveAudioSettings();
        return 1;
    }
    const int count = voicePanel_->GetCustomEqCount();
    if (count >= device::kMaxCustomEqPresets) {
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        if (voicePanel_->GetCustomEqItemText(i) == name) {
            return 0;
        }
    }
    voicePanel_->AddCustomEqItem(name);
    customEqNames_.push_back(name);
    LoadSliderBands();
    const int added = voicePanel_->GetCustomEqCount() - 1;
    stages_.customEqSelectIndex = added;
    voicePanel_->SelectCustomEqItem(added);
    profile_.SetCustomEqBands(added, eqBands_);
    profile_.SetCustomEqNames(customEqNames_);
    SaveAudioSettings();
    return 1;
}

void CVornalixTamselDevice::DeleteCustomEqPreset() {
    if (voicePanel_ == nullptr) {
        return;
    }
    const int selected = voicePanel_->GetCustomEqSelection();
    if (selected < 0) {
        return;
    }
    const int before = voicePanel_->GetCustomEqCount();
    voicePanel_->RemoveCustomEqItem(selected);
    // The stored band values move up with the names, so each name keeps its own bands.
    for (int i = selected; i + 1 < before; ++i) {
        profile_.SetCustomEqBands(i, profile_.GetCustomEqBands(i + 1));
    }
    const int left = voicePanel_->GetCustomEqCount();
    customEqNames_.clear();
    if (left == 0) {
        profile_.SetCustomEqNames(customEqNames_);
        voicePanel_->SelectEqPreset(device::kFirstEqPreset);
        stages_.eqType = device::kFirstEqPreset;
        eqBands_ = profile_.GetEqPresetBands(device::kFirstEqPreset);
        ApplyBands(false);
        voicePanel_->EnableCustomEqLayout(false);
    } else {
        for (int i = 0; i < left; ++i) {
            customEqNames_.push_back(voicePanel_->GetCustomEqItemText(i));
        }
        voicePanel_->SelectCustomEqItem(0);
        stages_.customEqSelectIndex = 0;
        eqBands_ = profile_.GetCustomEqBands(0);
        ApplyBands(false);
        profile_.SetCustomEqNames(customEqNames_);
    }
    SaveAudioSettings();
}

void CVornalixTamselDevice::ApplyMicInVolume() {
    if (voicePanel_ == nullptr) {
        return;
    }
    const int value = voicePanel_->GetMicInValue();
    if (audio_.WriteFloat(audio_.Capture(), L"VolumeScalarControl", LevelOf(value),
                          {kNoEndpointExtra}) == 0) {
        stages_.micInValue = value;
        SaveAudioSettings();
    }
}

void CVornalixTamselDevice::ApplyMicMonitorVolume() {
    if (voicePanel_ == nullptr) {
        return;
    }
    const int value = voicePanel_->GetMicMonitorValue();
    if (audio_.WriteFloat(audio_.Capture(), L"AAVolumeScalarControl", LevelOf(value), {0}) == 0) {
        stages_.micMonitorValue = value;
        SaveAudioSettings();
    }
}

bool CVornalixTamselDevice::ToggleMute(uint32_t& muted, const wchar_t* property) {
    muted = muted != 0 ? 0 : 1;
    return audio_.WriteWord(audio_.Capture(), property, muted) == 0;
}

void CVornalixTamselDevice::ToggleMicInMute() {
    const bool written = ToggleMute(micMuted_, L"MuteControl");
    if (voicePanel_ != nullptr) {
        voicePanel_->SetMicInSelected(micMuted_ == 0);
    }
    if (written) {
        stages_.micInSelect = micMuted_ == 0 ? 1 : 0;
        SaveAudioSettings();
    }
}

void CVornalixTamselDevice::ToggleMicMonitorMute() {
    const bool written = ToggleMute(monitorMuted_, L"AAMuteControl");
    if (voicePanel_ != nullptr) {
        voicePanel_->SetMicMonitorSelected(monitorMuted_ == 0);
    }
    if (written) {
        stages_.micMonitorSelect = monitorMuted_ == 0 ? 1 : 0;
        SaveAudioSettings();
    }
}

void CVornalixTamselDevice::SetMagicVoiceEnabled() {
    if (magicPanel_ == nullptr) {
        return;
    }
    const bool enabled = magicPanel_->IsMagicEnabled();
    magicPanel_->EnableMagicOptions(enabled);
    audio_.WriteWord(audio_.Capture(), L"Enable_MAGICVOICE", enabled ? 1 : 0);
    if (enabled) {
        audio_.WriteWord(audio_.Capture(), L"Enable_MICECHO", 0);
    }
    stages_.magicEnable = enabled ? 1 : 0;
    SaveAudioSettings();
}

void CVornalixTamselDevice::SelectMagicVoice(int n) {
    if (n < 1 || n > kMagicEffectCount) {
        return;
    }
    audio_.WriteWord(audio_.Capture(), L"MagicVoice_Selection", static_cast<uint32_t>(n - 1));
    stages_.magicType = n;
    if (magicPanel_ != nullptr) {
        magicPanel_->SelectMagicEffect(n);
    }
    SaveAudioSettings();
}

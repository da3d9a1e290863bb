// The headset's audio settings against the simulated audio driver: the defaults given at
// start, the values read back, and the audio page's operations with the profile they save.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "device/onboard/headset_eq_presets.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "duilib/ui_edit.h"
#include "pages/magic_control_ui.h"
#include "pages/panel_builder.h"
#include "pages/voice_tamsel_control_ui.h"
#include "platform/audio/sim_audio_sdk.h"
#include "platform/user_notice.h"
#include "profile/json_file.h"
#include "support/temp_dir.h"

namespace {

using platform::audio::SimAudioCall;
using platform::audio::SimAudioSdk;

constexpr const wchar_t* kVoiceXml =
    LR"(<Window><VoiceTamselControl>
  <Option name="Tamsel_eq_option_1" group="eq"/><Option name="Tamsel_eq_option_5" group="eq"/>
  <Option name="Tamsel_eq_option_13" group="eq"/>
  <Slider name="Tamsel_eq_hz_slider_0" min="-20" max="20"/><Slider name="Tamsel_eq_hz_slider_1" min="-20" max="20"/>
  <Slider name="Tamsel_eq_hz_slider_2" min="-20" max="20"/><Slider name="Tamsel_eq_hz_slider_3" min="-20" max="20"/>
  <Slider name="Tamsel_eq_hz_slider_4" min="-20" max="20"/><Slider name="Tamsel_eq_hz_slider_5" min="-20" max="20"/>
  <Slider name="Tamsel_eq_hz_slider_6" min="-20" max="20"/><Slider name="Tamsel_eq_hz_slider_7" min="-20" max="20"/>
  <Slider name="Tamsel_eq_hz_slider_8" min="-20" max="20"/><Slider name="Tamsel_eq_hz_slider_9" min="-20" max="20"/>
  <HorizontalLayout name="custom_eq_layout">
    <Combo name="custom_eq_name_combo"/><Edit name="custom_eq_name_edit"/>
  </HorizontalLayout>
  <CheckBox name="Tamsel_MicIn_option"/><Slider name="Tamsel_MicIn_slider" min="0" max="100"/>
  <CheckBox name="Tamsel_MicMoniter_option"/><Slider name="Tamsel_MicMoniter_slider" min="0" max="100"/>
</VoiceTamselControl></Window>)";

constexpr const wchar_t* kMagicXml =
    LR"(<Window><MagicControl>
  <CheckBox name="magic_enable_option"/>
  <HorizontalLayout name="magic_option_layout">
    <Option name="magic_option_1" group="magic"/><Option name="magic_option_2" group="magic"/>
    <Option name="magic_option_3" group="magic"/><Option name="magic_option_4" group="magic"/>
  </HorizontalLayout>
</MagicControl></Window>)";

float AsFloat(uint32_t word) {
    float value = 0;
    std::memcpy(&value, &word, sizeof(value));
    return value;
}

std::vector<SimAudioCall> Writes(const std::vector<SimAudioCall>& calls) {
    std::vector<SimAudioCall> writes;
    for (const SimAudioCall& call : calls) {
        if (call.set) {
            writes.push_back(call);
        }
    }
    return writes;
}

class TamselAudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device_->SetDeviceFileName(L"HD");
        device_->SetDeviceString1(L"profile1");
        device_->SetDeviceString2(L"zentu_light");
        device_->SetLedCount(13);
        device_->SetAudioPanels(voice_.get(), magic_.get());
        device_->LoadProfile();
    }

    // The page's start: endpoints picked, defaults given; the calls so far forgotten.
    void StartAudio() {
        device_->InitAudio();
        sdk_.ClearCalls();
    }
    void SetName(const wchar_t* name) {
        voice_.Find<DuiLib::CEditUI>(L"custom_eq_name_edit")->SetText(name);
    }
    void SetSliders(int base) {
        for (int i = 0; i < 10; ++i) {
            voice_->SetEqBandValue(i, base + i);
        }
    }
    TamselSystemSetStages Saved() { return device_->TamselProfile().GetSystemSetStages(); }

    testing_support::ScopedUserFolders folders_;
    SimAudioSdk sdk_;
    platform::audio::ScopedAudioSdk useSdk_{&sdk_};
    BuiltPanel<CVoiceTamselControlUI> voice_{kVoiceXml};
    BuiltPanel<CMagicControlUI> magic_{kMagicXml};
    std::unique_ptr<CVornalixTamselDevice> device_ = std::make_unique<CVornalixTamselDevice>();
};

TEST_F(TamselAudioTest, StartGivesOnlyUnreadablePropertiesTheValueZero) {
    sdk_.SetWord(SimAudioSdk::kRenderId, L"EQ_Slider3", 7);
    device_->InitAudio();

    const std::vector<SimAudioCall> calls = sdk_.Calls();
    // The feature lists, then 24 reads, each unreadable one followed by its write of 0.
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, L"GetSupportFeature");
    EXPECT_EQ(calls[0].endpointId, SimAudioSdk::kCaptureId);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kRenderId, L"EQ_Slider3"), 7u);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kRenderId, L"EQ_Slider4"), 0u);

    const std::vector<SimAudioCall> writes = Writes(calls);
    ASSERT_EQ(writes.size(), 23u);
    EXPECT_EQ(writes[0].name, L"VirtualSurroundEffectControl");
    EXPECT_EQ(writes[0].extraWords, (std::vector<uint32_t>{4, 0xFFFFFFFF, 0}));
    EXPECT_EQ(writes[1].name, L"Enable_ENC_LFX");
    EXPECT_TRUE(writes[1].extraWords.empty()) << "read with an extra word, written without";
    EXPECT_EQ(writes[2].extraWords.at(0), 0xFFFFFFFFu);
    for (const SimAudioCall& write : writes) {
        EXPECT_EQ(write.word, 0u) << std::string(write.name.begin(), write.name.end());
    }
    EXPECT_EQ(writes.back().name, L"MagicVoice_Selection");
    EXPECT_EQ(writes.back().endpointId, SimAudioSdk::kCaptureId);
}

TEST_F(TamselAudioTest, FailuresOfTheAudioStartAreToldOnceAndTheStartGoesOn) {
    platform::UserNoticeCapture told;
    sdk_.SetInitResult(5);
    sdk_.SetText(SimAudioSdk::kCaptureId, L"GetSupportFeature", L"1,2");
    device_->InitAudio();
    EXPECT_GE(Writes(sdk_.Calls()).size(), 23u) << "the defaults were set all the same";
    device_->InitAudio();
    EXPECT_EQ(told.Notices(),
              (std::vector<platform::UserNotice>{{L"", device::kConfLibInitFailedText},
                                                 {L"", device::kFeatureQueryFailedText}}));
}

TEST_F(TamselAudioTest, ReadBackValuesGoToTheMirrorOnly) {
    const TamselSystemSetStages stored = Saved();
    sdk_.SetText(SimAudioSdk::kCaptureId, L"MuteControl", L"1");
    sdk_.SetText(SimAudioSdk::kCaptureId, L"VolumeScalarControl", L"0.57");
    sdk_.SetText(SimAudioSdk::kCaptureId, L"AAMuteControl", L"0");
    sdk_.SetText(SimAudioSdk::kCaptureId, L"AAVolumeScalarControl", L"0.5");
    sdk_.SetText(SimAudioSdk::kCaptureId, L"Enable_MAGICVOICE", L"1");
    sdk_.SetText(SimAudioSdk::kCaptureId, L"MagicVoice_Selection", L"2");
    device_->InitAudio();

    const TamselSystemSetStages& stages = device_->SystemSetStages();
    EXPECT_EQ(device_->IsMicMuted(), 1u);
    EXPECT_EQ(stages.micInSelect, 0);
    EXPECT_EQ(stages.micInValue, 56) << "the text as a float, times 100, truncated";
    EXPECT_EQ(stages.micMonitorSelect, 1);
    EXPECT_EQ(stages.micMonitorValue, 50);
    EXPECT_EQ(stages.magicEnable, 1);
    EXPECT_EQ(stages.magicType, 3);
    EXPECT_EQ(Saved(), stored) << "nothing is saved by reading";

    // A selection out of range, a voice effect that cannot be read back, and a volume
    // that is no number a slider can show all leave their values.
    sdk_.SetText(SimAudioSdk::kCaptureId, L"MagicVoice_Selection", L"7");
    sdk_.SetText(SimAudioSdk::kCaptureId, L"Enable_MAGICVOICE", L"0");
    sdk_.SetText(SimAudioSdk::kCaptureId, L"GetSupportFeature", L"0,0,0,0,0,0,0");
    sdk_.SetText(SimAudioSdk::kCaptureId, L"VolumeScalarControl", L"inf");
    device_->InitAudio();
    EXPECT_EQ(device_->SystemSetStages().magicType, 3);
    EXPECT_EQ(device_->SystemSetStages().magicEnable, 1);
    EXPECT_EQ(device_->SystemSetStages().micInValue, 56);
}

TEST_F(TamselAudioTest, BuiltInPresetWritesEveryBandAndStoresIt) {
    StartAudio();
    device_->SelectEqPreset(5);
    const std::vector<SimAudioCall> writes = Writes(sdk_.Calls());
    ASSERT_EQ(writes.size(), 11u);
    EXPECT_EQ(writes[0].name, L"Enable_EQ_GFX");
    EXPECT_EQ(writes[0].word, 1u);
    for (int band = 0; band < 10; ++band) {
        EXPECT_EQ(writes[band + 1].name, L"EQ_Slider" + std::to_wstring(band + 1));
        EXPECT_EQ(writes[band + 1].word, 0u);
        EXPECT_EQ(writes[band + 1].endpointId, SimAudioSdk::kRenderId);
    }
    EXPECT_EQ(Saved().eqType, 5);
    EXPECT_EQ(device_->TamselProfile().GetEqPresetBands(5), std::vector<int32_t>(10, 0));

    device_->SelectEqPreset(2);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kRenderId, L"EQ_Slider5"), static_cast<uint32_t>(-11));
    EXPECT_EQ(voice_->GetEqBandValue(9), 13);
    EXPECT_EQ(voice_->GetEqPreset(), 2);
}

TEST_F(TamselAudioTest, MovingABandSwitchesToCustomWithoutSaving) {
    StartAudio();
    device_->SelectEqPreset(1);
    voice_->SetEqBandValue(3, -6);
    device_->SetEqBand(3);
    EXPECT_EQ(device_->SystemSetStages().eqType, 13);
    EXPECT_EQ(voice_->GetEqPreset(), 13);
    EXPECT_EQ(voice_->GetCustomEqSelection(), -1);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kRenderId, L"EQ_Slider4"), static_cast<uint32_t>(-6));
    EXPECT_EQ(Saved().eqType, 1);
}

TEST_F(TamselAudioTest, CustomPresetsAreNamedOnceAndAtMostTwenty) {
    StartAudio();
    SetSliders(1);
    SetName(L"mine");
    EXPECT_EQ(device_->SaveCustomEqPreset(), 1);
    EXPECT_EQ(voice_->GetCustomEqSelection(), 0);
    EXPECT_EQ(device_->TamselProfile().GetCustomEqBands(0)[9], 10);
    EXPECT_EQ(device_->TamselProfile().GetCustomEqNames().size(), 1u);

    SetName(L"mine");
    EXPECT_EQ(device_->SaveCustomEqPreset(), 0);
    for (int i = 1; i < 20; ++i) {
        SetName((L"p" + std::to_wstring(i)).c_str());
        ASSERT_EQ(device_->SaveCustomEqPreset(), 1);
    }
    SetName(L"one too many");
    EXPECT_EQ(device_->SaveCustomEqPreset(), -1);
    EXPECT_EQ(voice_->GetCustomEqCount(), 20);

    // An empty name saves the sliders into the selected preset.
    voice_->SelectCustomEqItem(-1);
    EXPECT_EQ(device_->SaveCustomEqPreset(), -1);
}

TEST_F(TamselAudioTest, DeletingKeepsEachNameWithItsOwnBands) {
    StartAudio();
    SetSliders(1);
    SetName(L"first");
    device_->SaveCustomEqPreset();
    SetSliders(5);
    SetName(L"second");
    device_->SaveCustomEqPreset();
    voice_->SelectCustomEqItem(0);
    sdk_.ClearCalls();

    device_->DeleteCustomEqPreset();
    EXPECT_EQ(device_->CustomEqNames(), (std::vector<DuiLib::CDuiString>{L"second"}));
    EXPECT_EQ(device_->TamselProfile().GetCustomEqBands(0)[0], 5);
    EXPECT_EQ(voice_->GetEqBandValue(0), 5);
    EXPECT_EQ(Saved().customEqSelectIndex, 0);

    // The last one gone: back to preset 1 on the page, nothing sent to the driver.
    device_->DeleteCustomEqPreset();
    EXPECT_TRUE(device_->TamselProfile().GetCustomEqNames().empty());
    EXPECT_EQ(Saved().eqType, 1);
    EXPECT_EQ(voice_->GetEqPreset(), 1);
    EXPECT_TRUE(Writes(sdk_.Calls()).empty());
}

TEST_F(TamselAudioTest, MicrophoneLevelsAndMutesSaveOnlyWhatTheDriverTook) {
    StartAudio();
    voice_->SetMicInValue(37);
    device_->ApplyMicInVolume();
    ASSERT_TRUE(sdk_.Word(SimAudioSdk::kCaptureId, L"VolumeScalarControl"));
    EXPECT_FLOAT_EQ(AsFloat(*sdk_.Word(SimAudioSdk::kCaptureId, L"VolumeScalarControl")), 0.37f);
    EXPECT_EQ(Writes(sdk_.Calls()).back().extraWords.at(0), 0xFFFFFFFFu);
    EXPECT_EQ(Saved().micInValue, 37);

    device_->ToggleMicInMute();
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"MuteControl"), 1u);
    EXPECT_FALSE(voice_->IsMicInSelected());
    EXPECT_EQ(Saved().micInSelect, 0);

    sdk_.SetFailing(L"AAVolumeScalarControl", true);
    sdk_.SetFailing(L"AAMuteControl", true);
    const TamselSystemSetStages before = Saved();
    voice_->SetMicMonitorValue(80);
    device_->ApplyMicMonitorVolume();
    device_->ToggleMicMonitorMute();
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(device_->SystemSetStages().micMonitorValue, before.micMonitorValue);
    EXPECT_FALSE(voice_->IsMicMonitorSelected()) << "the page follows the click";
}

TEST_F(TamselAudioTest, VoiceEffectSwitchTurnsTheEchoOffOnlyWhenEnabling) {
    StartAudio();
    magic_->SetMagicEnabled(true);
    device_->SetMagicVoiceEnabled();
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"Enable_MAGICVOICE"), 1u);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"Enable_MICECHO"), 0u);

    sdk_.SetWord(SimAudioSdk::kCaptureId, L"Enable_MICECHO", 1);
    magic_->SetMagicEnabled(false);
    device_->SetMagicVoiceEnabled();
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"Enable_MICECHO"), 1u);
    EXPECT_EQ(Saved().magicEnable, 0);

    device_->SelectMagicVoice(3);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"MagicVoice_Selection"), 2u);
    EXPECT_EQ(Saved().magicType, 3);
    device_->SelectMagicVoice(0);
    device_->SelectMagicVoice(9);
    EXPECT_EQ(Saved().magicType, 3);
}

TEST_F(TamselAudioTest, ProfileGivesTheBandsOfTheCustomOrBuiltInPresetChosen) {
    CTamselProfiledata& profile = device_->TamselProfile();
    profile.SetCustomEqBands(1, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
    profile.SetEqPresetBands(4, {4, 4, 4, 4, 4, 4, 4, 4, 4, 4});
    profile.SetSystemSetStages(0, 1, 13, 1, 1, 20, 1, 30);
    ASSERT_TRUE(profile.Save());
    device_->LoadProfile();
    EXPECT_EQ(device_->EqBandValues()[0], 9);

    profile.SetSystemSetStages(0, 1, 4, 1, 1, 20, 1, 30);
    profile.Save();
    device_->LoadProfile();
    EXPECT_EQ(device_->EqBandValues()[0], 4);
    EXPECT_EQ(device_->SystemSetStages().micMonitorValue, 30);
}

TEST_F(TamselAudioTest, AStoredCustomIndexPastTheListShowsNoBandsAndStoresNoRows) {
    CTamselProfiledata& profile = device_->TamselProfile();
    profile.SetCustomEqBands(0, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    profile.SetSystemSetStages(0, 1, 13, 200, 1, 20, 1, 30);
    ASSERT_TRUE(profile.Save());
    device_->LoadProfile();
    device_->RefreshPageControls();
    EXPECT_EQ(device_->EqBandValues(), std::vector<int32_t>(10, 0));
    EXPECT_EQ(voice_->GetEqBandValue(0), 0);

    device_->SaveProfile();
    CJsonFile file;
    const Json::Value stored = file.LoadJsonFile(device_->GetProfilePath())["Device"][0];
    EXPECT_EQ(stored["CustomEQHzValueInfo"].size(), 1u) << "no rows of nothing up to 200";
}

TEST_F(TamselAudioTest, StoredBandsPastTheSlidersReachTheDriverAsTheSlidersShowThem) {
    CTamselProfiledata& profile = device_->TamselProfile();
    profile.SetCustomEqNames({L"loud"});
    profile.SetCustomEqBands(0, {5000, -5000, 3, 0, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(profile.Save());
    device_->LoadProfile();
    device_->RefreshPageControls();
    StartAudio();
    voice_->SelectCustomEqItem(0);
    device_->ApplyCustomEqSelection();
    EXPECT_EQ(voice_->GetEqBandValue(0), 20);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kRenderId, L"EQ_Slider1"), 20u);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kRenderId, L"EQ_Slider2"), static_cast<uint32_t>(-20));
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kRenderId, L"EQ_Slider3"), 3u);
    EXPECT_EQ(device_->EqBandValues()[0], 20);
}

TEST_F(TamselAudioTest, RestoringTheDefaultsShowsAndKeepsTheDefaultAudioSettings) {
    CTamselProfiledata& profile = device_->TamselProfile();
    profile.SetSystemSetStages(1, 3, 5, 0, 0, 20, 1, 30);
    ASSERT_TRUE(profile.Save());
    device_->LoadProfile();
    device_->RefreshPageControls();
    ASSERT_EQ(voice_->GetEqPreset(), 5);

    device_->LoadDefaultProfile();
    const TamselSystemSetStages shipped = device_->TamselProfile().GetSystemSetStages();
    EXPECT_EQ(device_->SystemSetStages(), shipped);
    EXPECT_EQ(voice_->GetEqPreset(), shipped.eqType);
    device_->SelectMagicVoice(2);
    TamselSystemSetStages expected = shipped;
    expected.magicType = 2;
    EXPECT_EQ(Saved(), expected) << "no setting of the profile restored from is stored back";
}

TEST_F(TamselAudioTest, AProfileChosenReachesTheDriverAsItsControlsShowIt) {
    StartAudio();
    CTamselProfiledata& profile = device_->TamselProfile();
    profile.SetSystemSetStages(1, 3, 5, 0, 0, 250, 1, 30);
    ASSERT_TRUE(profile.Save());
    device_->LoadProfile();
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kRenderId, L"Enable_EQ_GFX"), 1u);
    for (int band = 1; band <= 10; ++band) {
        EXPECT_EQ(sdk_.Word(SimAudioSdk::kRenderId, L"EQ_Slider" + std::to_wstring(band)), 0u);
    }
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"MuteControl"), 1u) << "microphone off";
    EXPECT_FLOAT_EQ(AsFloat(*sdk_.Word(SimAudioSdk::kCaptureId, L"VolumeScalarControl")), 1.0f)
        << "a stored level past the slider goes as the slider shows it";
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"AAMuteControl"), 0u);
    EXPECT_FLOAT_EQ(AsFloat(*sdk_.Word(SimAudioSdk::kCaptureId, L"AAVolumeScalarControl")), 0.3f);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"Enable_MAGICVOICE"), 1u);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"Enable_MICECHO"), 0u);
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"MagicVoice_Selection"), 2u);
    // The mutes follow what was written: the next click unmutes the microphone.
    device_->ToggleMicInMute();
    EXPECT_EQ(sdk_.Word(SimAudioSdk::kCaptureId, L"MuteControl"), 0u);

    // At start the driver's values are shown, not overwritten by the profile's.
    sdk_.SetWord(SimAudioSdk::kCaptureId, L"MagicVoice_Selection", 0);
    sdk_.ClearCalls();
    device_->StartDevice();
    device_->StopLightThread();
    EXPECT_TRUE(Writes(sdk_.Calls()).empty());
    EXPECT_EQ(device_->SystemSetStages().magicType, 1);
}

TEST_F(TamselAudioTest, RestoringTheDefaultsKeepsTheUsersOwnEqualiserSettings) {
    SetSliders(2);
    SetName(L"Mine");
    ASSERT_EQ(device_->SaveCustomEqPreset(), 1);
    SetSliders(-5);
    SetName(L"Other");
    ASSERT_EQ(device_->SaveCustomEqPreset(), 1);

    device_->LoadDefaultProfile();
    EXPECT_EQ(voice_->GetCustomEqCount(), 2);
    CTamselProfiledata stored;
    stored.SetDefaultProfilePath(device_->GetDefaultProfilePath());
    stored.Load(device_->GetProfilePath());
    EXPECT_EQ(stored.GetCustomEqNames(), (std::vector<DuiLib::CDuiString>{L"Mine", L"Other"}));
    EXPECT_EQ(stored.GetCustomEqBands(0), (std::vector<int32_t>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(stored.GetCustomEqBands(1)[0], -5);
    EXPECT_EQ(stored.GetSystemSetStages(), device_->SystemSetStages());
}

TEST(TamselAudioWithoutSdk, OperationsChangeThePageButSaveNothingGatedByAWrite) {
    testing_support::ScopedUserFolders folders;
    platform::audio::ScopedAudioSdk noSdk(nullptr);
    BuiltPanel<CVoiceTamselControlUI> voice(kVoiceXml);
    CVornalixTamselDevice device;
    device.SetDeviceFileName(L"HD");
    device.SetDeviceString1(L"p");
    device.SetAudioPanels(voice.get(), nullptr);
    device.LoadProfile();
    const TamselSystemSetStages stored = device.TamselProfile().GetSystemSetStages();

    device.InitAudio();
    voice->SetMicInValue(40);
    device.ApplyMicInVolume();
    device.ToggleMicInMute();
    EXPECT_EQ(device.TamselProfile().GetSystemSetStages(), stored);
    EXPECT_FALSE(voice->IsMicInSelected());
}

}  // namespace

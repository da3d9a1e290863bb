// The audio binding's endpoint choice, feature lists and buffer forms against the
// simulated audio driver.

#include "device/onboard/audio_binding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/audio/sim_audio_sdk.h"
#include "platform/user_notice.h"

namespace {

using platform::audio::SimAudioSdk;

class AudioBindingTest : public ::testing::Test {
  protected:
    // What the user was told, as texts shown as they stand.
    std::vector<std::wstring> Told() const {
        std::vector<std::wstring> texts;
        for (const platform::UserNotice& notice : told_.Notices()) {
            EXPECT_TRUE(notice.key.empty());
            texts.push_back(notice.detail);
        }
        return texts;
    }

    platform::UserNoticeCapture told_;
    SimAudioSdk sdk_;
    platform::audio::ScopedAudioSdk use_{&sdk_};
    device::AudioBinding binding_;
};

TEST_F(AudioBindingTest, RenderPrefersKindsInOrderAndOnlyActiveOnes) {
    sdk_.SetEndpoints(platform::audio::kRenderList,
                      {{10, 4, 0, 1}, {11, 1, 0, 0}, {12, 7, 9, 1}, {13, 12, 0, 0}});
    sdk_.SetEndpoints(platform::audio::kCaptureList, {{20, 3, 0, 1}, {21, 2, 5, 0}});
    ASSERT_TRUE(binding_.Load());
    EXPECT_EQ(binding_.RefreshDeviceList(), 4u);
    binding_.PickAudioEndpoints();
    EXPECT_EQ(binding_.Render().id, 12u) << "kind 1 and 12 are inactive, 7 comes before 4";
    EXPECT_EQ(binding_.Render().third, 9u);
    EXPECT_EQ(binding_.Capture().id, 21u) << "the capture endpoint may be in any state";
}

TEST_F(AudioBindingTest, FeatureListsSkipEmptyFieldsAndAShortListIsShown) {
    std::array<uint32_t, 3> words{};
    EXPECT_TRUE(device::ParseFeatureWords(L"131072,,1,2,,,3,4,5,6", &words));
    EXPECT_EQ(words, (std::array<uint32_t, 3>{131072, 4, 6}));
    EXPECT_FALSE(device::ParseFeatureWords(L",,1,2,3,4,5,6,", &words));

    sdk_.SetText(SimAudioSdk::kCaptureId, L"GetSupportFeature", L"1,2,3");
    binding_.Load();
    binding_.PickAudioEndpoints();
    EXPECT_EQ(Told(), (std::vector<std::wstring>{device::kFeatureQueryFailedText}));
    EXPECT_EQ(binding_.Capture().features[0], 0u);
    EXPECT_EQ(binding_.Render().features[0], 1u);
}

TEST_F(AudioBindingTest, FailedInitIsToldOnceAndNotFatal) {
    sdk_.SetInitResult(5);
    binding_.Load();
    binding_.Init();
    binding_.Init();  // a second start fails the same way: the user has heard it
    EXPECT_EQ(Told(), (std::vector<std::wstring>{device::kConfLibInitFailedText}));
    binding_.PickAudioEndpoints();
    EXPECT_EQ(binding_.WriteWord(binding_.Capture(), L"MuteControl", 1), 0);
}

TEST_F(AudioBindingTest, ReadsParseTextAndUnterminatedBuffersStayInside) {
    binding_.Load();
    binding_.PickAudioEndpoints();
    sdk_.SetText(SimAudioSdk::kCaptureId, L"MuteControl", L"-3 dB");
    int32_t value = 0;
    EXPECT_EQ(binding_.ReadInt(binding_.Capture(), L"MuteControl", &value), 0);
    EXPECT_EQ(value, -3);
    EXPECT_NE(binding_.ReadInt(binding_.Capture(), L"NoSuchProperty", &value), 0);

    std::vector<uint8_t> full(16, 0x41);  // no NUL anywhere
    EXPECT_EQ(device::WideTextOf(full.data(), full.size()).size(), full.size() / sizeof(wchar_t));
}

TEST(AudioBindingWithoutSdk, EveryCallFails) {
    platform::audio::ScopedAudioSdk none(nullptr);
    device::AudioBinding binding;
    EXPECT_FALSE(binding.Load());
    EXPECT_EQ(binding.RefreshDeviceList(), 0u);
    binding.PickAudioEndpoints();
    std::wstring text;
    EXPECT_NE(binding.ReadText(binding.Capture(), L"MuteControl", &text), 0);
    EXPECT_NE(binding.WriteFloat(binding.Capture(), L"VolumeScalarControl", 0.5f), 0);
}

}  // namespace

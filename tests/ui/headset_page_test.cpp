// The headset's page as a person uses it, over the simulated headset and audio driver: the
// equaliser's upright bands and presets, the user's own equaliser settings, microphone,
// monitoring and voice effects as the driver takes them, the surround page, the lights
// while the computer sleeps, and the picture of the headset with its LEDs.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <string>

#include "duilib/ui_control.h"
#include "platform/audio/sim_audio_sdk.h"
#include "platform/bus/sleep_watcher.h"
#include "sim/sim_headset.h"
#include "support/fake_logind.h"
#include "support/private_bus.h"
#include "ui/driver/modal_answers.h"
#include "ui/driver/text_fit.h"
#include "ui/driver/ui_driver.h"
#include "ui/headset_steps.h"

namespace {

using DuiLib::CControlUI;
using platform::audio::SimAudioSdk;

constexpr std::array<int, 10> kPopLevels = {7, 11, 6, -3, -11, -1, 6, 13, 6, 13};
constexpr std::array<int, 10> kDefaultLevels = {7, 11, 2, -3, -1, 4, 9, 12, 9, 5};

std::wstring Band(int i) {
    return L"Tamsel_eq_hz_slider_" + std::to_wstring(i);
}

std::optional<int32_t> DriverBand(const SimAudioSdk& sdk, int i) {
    const std::optional<uint32_t> word =
        sdk.Word(SimAudioSdk::kRenderId, L"EQ_Slider" + std::to_wstring(i + 1));
    return word ? std::optional<int32_t>(static_cast<int32_t>(*word)) : std::nullopt;
}

float AsFloat(uint32_t word) {
    float value = 0;
    std::memcpy(&value, &word, sizeof(value));
    return value;
}

TEST(HeadsetPageUi, APresetMovesTheTenBandThumbsAndADraggedBandTurnsCustom) {
    ui::HeadsetPage page;
    ui::UiDriver& ui = page.ui;
    page.OpenTab(L"Tamsel_voice_Op_tab");
    ui.Click(L"Tamsel_eq_option_2");
    for (int i = 0; i < 10; ++i) {
        const int shown = page.ThumbLevel(Band(i));
        EXPECT_NEAR(shown, kPopLevels[i], 1) << "the thumb of band " << i << " stands there";
        EXPECT_EQ(DriverBand(page.sdk, i), kPopLevels[i]);
    }
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"Tamsel_eq_option_2")));

    // A band dragged to the top of its rail takes the highest level and makes the
    // setting the user's own.
    CControlUI* band = ui.Find(Band(4));
    const RECT rc = ui.VisibleRect(band);
    const POINT thumb = page.ThumbCentre(Band(4));
    ui.Drag(ui.MainHwnd(), thumb, POINT{thumb.x, rc.top - 30});
    EXPECT_EQ(page.ThumbLevel(Band(4)), 18);
    EXPECT_EQ(DriverBand(page.sdk, 4), 18);
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"Tamsel_eq_option_13")));
    EXPECT_TRUE(ui.IsEnabled(ui.Find(L"custom_eq_layout")));

    // The wheel and the keys move it a step at a time.
    ui.Wheel(band, -2);
    EXPECT_EQ(DriverBand(page.sdk, 4), 16);
    ui.PressKey(SDLK_DOWN);
    EXPECT_EQ(DriverBand(page.sdk, 4), 15);
    EXPECT_EQ(page.ThumbLevel(Band(4)), 15);
}

TEST(HeadsetPageUi, TheCustomAreaWaitsForCustomThenKeepsNamedSettings) {
    ui::HeadsetPage page;
    ui::UiDriver& ui = page.ui;
    page.OpenTab(L"Tamsel_voice_Op_tab");
    CControlUI* combo = ui.Find(L"custom_eq_name_combo");
    CControlUI* name = ui.Find(L"custom_eq_name_edit");
    ASSERT_TRUE(ui.IsChecked(ui.Find(L"Tamsel_eq_option_1")));
    EXPECT_FALSE(ui.IsEnabled(ui.Find(L"custom_eq_layout")))
        << "a preset of the headset's own leaves nothing to name";
    ui.Click(name);
    ui.Type("x");
    EXPECT_EQ(ui.Text(name), L"");

    ui.Click(L"Tamsel_eq_option_13");
    ASSERT_TRUE(ui.IsEnabled(ui.Find(L"custom_eq_layout")));
    ui.Wheel(ui.Find(Band(0)), 3);
    ui.Click(name);
    ui.Type("Mine");
    ui.Click(L"hs_EQ_btn_save");
    EXPECT_EQ(ui.SelectedRow(combo), 0);
    EXPECT_EQ(ui.Text(combo), L"Mine");
    EXPECT_EQ(page.StoredProfile()["Device"][0]["CustomEQNameInfo"].size(), 1u);

    ui.Click(L"hs_EQ_btn_delete");
    EXPECT_EQ(ui.SelectedRow(combo), -1);
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"Tamsel_eq_option_1"))) << "back to the first preset";
    EXPECT_FALSE(ui.IsEnabled(ui.Find(L"custom_eq_layout")));
    EXPECT_EQ(page.StoredProfile()["Device"][0]["CustomEQNameInfo"].size(), 0u);
}

TEST(HeadsetPageUi, VoiceEffectsAreOfferedOnlyWhileSwitchedOn) {
    ui::HeadsetPage page;
    ui::UiDriver& ui = page.ui;
    page.OpenTab(L"magic_Op_tab");
    ASSERT_FALSE(ui.IsChecked(ui.Find(L"magic_enable_option")));
    EXPECT_FALSE(ui.IsEnabled(ui.Find(L"magic_option_layout")));
    ui.Click(L"magic_option_2");
    EXPECT_FALSE(ui.IsChecked(ui.Find(L"magic_option_2"))) << "an effect while they are off";

    ui.Click(L"magic_enable_option");
    EXPECT_TRUE(ui.IsEnabled(ui.Find(L"magic_option_layout")));
    EXPECT_EQ(page.sdk.Word(SimAudioSdk::kCaptureId, L"Enable_MAGICVOICE"), 1u);
    ui.Click(L"magic_option_4");
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"magic_option_4")));
    EXPECT_EQ(page.sdk.Word(SimAudioSdk::kCaptureId, L"MagicVoice_Selection"), 3u);
    EXPECT_EQ(page.StoredProfile()["Device"][0]["SystemSetStages"]["MagicType"].asInt(), 4);

    ui.Click(L"magic_enable_option");
    EXPECT_FALSE(ui.IsEnabled(ui.Find(L"magic_option_layout")));
    EXPECT_EQ(page.sdk.Word(SimAudioSdk::kCaptureId, L"Enable_MAGICVOICE"), 0u);
}

TEST(HeadsetPageUi, MicrophoneAndMonitoringReachTheDriver) {
    ui::HeadsetPage page;
    ui::UiDriver& ui = page.ui;
    page.OpenTab(L"Tamsel_voice_Op_tab");
    struct Row {
        const wchar_t* option;
        const wchar_t* slider;
        const wchar_t* mute;
        const wchar_t* level;
    };
    for (const Row& row : {Row{L"Tamsel_MicIn_option", L"Tamsel_MicIn_slider", L"MuteControl",
                               L"VolumeScalarControl"},
                           Row{L"Tamsel_MicMoniter_option", L"Tamsel_MicMoniter_slider",
                               L"AAMuteControl", L"AAVolumeScalarControl"}}) {
        const bool on = ui.IsChecked(ui.Find(row.option));
        ui.Click(row.option);
        EXPECT_EQ(ui.IsChecked(ui.Find(row.option)), !on);
        EXPECT_EQ(page.sdk.Word(SimAudioSdk::kCaptureId, row.mute), on ? 1u : 0u);

        CControlUI* slider = ui.Find(row.slider);
        const RECT rc = ui.VisibleRect(slider);
        ui.ClickAt(ui.MainHwnd(), POINT{rc.right - 1, (rc.top + rc.bottom) / 2});
        const std::optional<uint32_t> level = page.sdk.Word(SimAudioSdk::kCaptureId, row.level);
        ASSERT_TRUE(level.has_value());
        EXPECT_FLOAT_EQ(AsFloat(*level), 1.0f) << "the right end is the full level";
    }
}

TEST(HeadsetPageUi, TheSurroundPageOffersNoSwitchThatDoesNothing) {
    ui::HeadsetPage page;
    ui::UiDriver& ui = page.ui;
    page.OpenTab(L"Virtual7.1_Op_tab");
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"Virtual7.1_Op_tab")));
    EXPECT_EQ(ui.Find(L"virtual_enable_option"), nullptr);
}

// A new profile starts from the defaults, and its settings are the ones the driver must
// then apply, not those of the profile shown before.
TEST(HeadsetPageUi, AProfileChosenGivesItsAudioSettingsToTheDriver) {
    ui::HeadsetPage page;
    ui::UiDriver& ui = page.ui;
    page.OpenTab(L"Tamsel_voice_Op_tab");
    ui.Click(L"Tamsel_eq_option_2");
    if (ui.IsChecked(ui.Find(L"Tamsel_MicIn_option"))) {
        ui.Click(L"Tamsel_MicIn_option");
    }
    ASSERT_EQ(page.sdk.Word(SimAudioSdk::kCaptureId, L"MuteControl"), 1u);

    page.ChooseProfileMenuItem(L"device_add_btn");
    ASSERT_EQ(ui.Text(ui.Find(L"device_profile_combo")), L"Profile2");
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"Tamsel_eq_option_1")));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(DriverBand(page.sdk, i), kDefaultLevels[i]) << "band " << i;
    }
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"Tamsel_MicIn_option")));
    EXPECT_EQ(page.sdk.Word(SimAudioSdk::kCaptureId, L"MuteControl"), 0u);
    const std::optional<uint32_t> level =
        page.sdk.Word(SimAudioSdk::kCaptureId, L"VolumeScalarControl");
    ASSERT_TRUE(level.has_value());
    EXPECT_FLOAT_EQ(AsFloat(*level), 0.8f);
}

// The user's own equaliser settings are theirs, not the profile's: restoring the defaults
// keeps them, as resetting a profile does.
TEST(HeadsetPageUi, RestoringTheDefaultsKeepsTheUsersOwnEqualiserSettings) {
    ui::HeadsetPage page;
    ui::UiDriver& ui = page.ui;
    page.OpenTab(L"Tamsel_voice_Op_tab");
    ui.Click(L"Tamsel_eq_option_13");
    ui.Wheel(ui.Find(Band(2)), 1);
    ui.Click(L"custom_eq_name_edit");
    ui.Type("Mine");
    ui.Click(L"hs_EQ_btn_save");
    ASSERT_EQ(ui.Text(ui.Find(L"custom_eq_name_combo")), L"Mine");

    ui::ModalAnswers answers(ui);
    answers.When(L"MsgWnd", [&](HWND box) { ui.Click(ui.FindIn(box, L"confirm_btn")); });
    ui.Click(L"default_btn");
    ASSERT_TRUE(answers.AllGiven());
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"Tamsel_eq_option_1"))) << "the defaults' preset";
    EXPECT_EQ(DriverBand(page.sdk, 2), kDefaultLevels[2]);
    const Json::Value stored = page.StoredProfile()["Device"][0];
    ASSERT_EQ(stored["CustomEQNameInfo"].size(), 1u);
    EXPECT_EQ(stored["CustomEQHzValueInfo"][0][2]["value"].asInt(), kDefaultLevels[2] + 1);

    // Still there to choose.
    ui.Click(L"Tamsel_eq_option_13");
    EXPECT_EQ(ui.Text(ui.Find(L"custom_eq_name_combo")), L"Mine");
    EXPECT_EQ(DriverBand(page.sdk, 2), kDefaultLevels[2] + 1);
}

TEST(HeadsetPageUi, TheLightsStopWhileTheComputerSleepsAndComeBackOnWaking) {
    testing_support::PrivateBus systemBus(platform::bus::BusKind::kSystem);
    ASSERT_TRUE(systemBus.IsRunning());
    testing_support::FakeLogind logind;
    ASSERT_TRUE(logind.IsReady());
    ui::HeadsetPage page;
    ui::UiDriver& ui = page.ui;
    // As the program's start does: the window hears of sleep from logind.
    platform::bus::SleepWatcher watcher(ui.MainHwnd(), "Velkaro", "test");
    ASSERT_TRUE(ui.WaitFor([&] { return logind.LocksTaken() == 1; }));
    auto* headset = dynamic_cast<sim::SimHeadset*>(ui.Device("headset"));
    ASSERT_NE(headset, nullptr);
    ASSERT_TRUE(ui.WaitFor([&] { return !headset->LedReports().empty(); }));

    logind.AnnounceSleep(true);
    ASSERT_TRUE(ui.WaitFor([&] { return logind.LockReleased(0); }));
    headset->ClearLedReports();
    // Frames follow every 50 ms while the lights run: none may come in this while.
    EXPECT_FALSE(ui.WaitFor([&] { return !headset->LedReports().empty(); }, 600))
        << "LED frames reached the headset while the computer slept";

    logind.AnnounceSleep(false);
    EXPECT_TRUE(ui.WaitFor([&] { return !headset->LedReports().empty(); }));
}

TEST(HeadsetPageUi, EveryLedButtonSitsOnTheDrawnRingOfLights) {
    ui::HeadsetPage page;
    ui::UiDriver& ui = page.ui;
    page.ExpectLedButtonsOnTheDevice(13);
    ui.Click(L"Tamsel_voice_Op_tab");
    ui.Settle();
    page.Save("headset_audio_en");
}

TEST(HeadsetPageUi, EveryTabReadsWholeInEitherLanguage) {
    for (const char* language : {"en", "zh"}) {
        ui::HeadsetPage page(language);
        for (const wchar_t* tab :
             {L"deng_Op_tab", L"Tamsel_voice_Op_tab", L"magic_Op_tab", L"Virtual7.1_Op_tab"}) {
            page.OpenTab(tab);
            ui::TextFit fit;
            const std::vector<ui::LayoutProblem> problems = fit.Check(page.ui, page.ui.MainHwnd());
            EXPECT_TRUE(problems.empty())
                << language << ", tab " << DuiLib::CDuiString(tab).ToUtf8() << ":\n"
                << ui::Describe(problems);
        }
        page.OpenTab(L"Tamsel_voice_Op_tab");
        page.Save(std::string("headset_audio_") + language);
    }
}

}  // namespace

// Every kind's light-mode combo, row by row: a row's number is the mode the device is
// given, so the name the row shows must be the name of what that mode runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "device/keyboard/light_effects.h"
#include "device/keyboard/spread_effects.h"
#include "device/page/control_lookup.h"
#include "device/record_words.h"
#include "device/skin_page_builder.h"
#include "duilib/ui_combo.h"
#include "pages/light_control_ui.h"
#include "platform/fake_clock.h"
#include "platform/json_text.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CDuiString;

// The mode names of a page's combo, as its rows show them.
std::vector<CDuiString> ComboRows(CVornalixUSBDevice& page) {
    auto* combo = dynamic_cast<DuiLib::CComboUI*>(
        device::FindControlByName(&page, L"light_combo_modeSelect"));
    std::vector<CDuiString> rows;
    for (int i = 0; combo != nullptr && i < combo->GetCount(); ++i) {
        rows.push_back(combo->GetItemAt(i)->GetText());
    }
    return rows;
}

CDuiString Shown(const wchar_t* key) {
    return DuiLib::CResourceManager::GetInstance()->GetText(key);
}

// The mouse, pad and headset run their modes through virtual effect operations: the
// recorder notes the name of the one that ran.
template <class Device>
class EffectRecorder : public Device {
  public:
    void EffectWave() override { ran = L"light_mode_wave"; }
    void EffectTrail() override { ran = L"light_mode_trail"; }
    void EffectSpectrum() override { ran = L"light_mode_spectrum"; }
    void EffectBreathing() override { ran = L"light_mode_breathing"; }
    void EffectStatic() override { ran = L"light_mode_static"; }
    void EffectFlash() override { ran = L"light_mode_flash"; }
    void EffectBreathingColors() override { ran = L"light_mode_breathing_colours"; }
    void EffectFlashColors() override { ran = L"light_mode_flash_colours"; }
    void EffectOff() override { ran = L"light_mode_off"; }
    const wchar_t* ran = nullptr;
};

class OnboardRecorder : public EffectRecorder<CVornalixMousePadDevice> {
  public:
    void EffectTrail2() override { ran = L"light_mode_trail_2"; }

    // One light-thread pass in `mode`; what ran, or the custom player when the pass drew
    // the (empty) custom list.
    const wchar_t* Run(uint8_t mode) {
        LightRecord light;
        light.mode = mode;
        Profile().SetLightInfo(light);
        ApplyProfileLight();
        SetLedColor(0, 0xFF0000FF);
        ran = nullptr;
        int passes = 1000;  // due at once whatever the speed
        LightPass(passes);
        if (ran == nullptr && GetLedColor(0) == 0) {
            return L"light_mode_custom";
        }
        return ran;
    }
};

class LightModeNamesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(skin_.Loaded()); }

    template <class Device>
    std::unique_ptr<Device> Page(const wchar_t* layout, const wchar_t* fileName, int leds,
                                 int deviceIndex) {
        std::unique_ptr<Device> page = skin_.template Build<Device>(layout);
        if (page) {
            page->SetDeviceName(L"page");
            page->SetLedCount(leds);
            page->SetDeviceFileName(fileName);
            page->SetDeviceIndex(deviceIndex);
            page->SetDeviceString2(L"zentu_light");
            page->InitPage();
        }
        return page;
    }

    // Walks the rows of `page`'s combo; `ran` tells what mode `row` runs.
    void ExpectRowsNameTheirModes(CVornalixUSBDevice& page,
                                  const std::function<const wchar_t*(uint8_t)>& ran) {
        const std::vector<CDuiString> rows = ComboRows(page);
        ASSERT_FALSE(rows.empty());
        for (size_t row = 0; row < rows.size(); ++row) {
            const wchar_t* name = ran(static_cast<uint8_t>(row));
            ASSERT_NE(name, nullptr) << "row " << row << " runs nothing";
            EXPECT_EQ(rows[row], Shown(name)) << "row " << row;
            EXPECT_NE(rows[row].GetAt(0), L'[') << "row " << row << " has no text";
        }
    }

    testing_support::ScopedUserFolders folders_;
    SkinPageEnvironment skin_;
};

TEST_F(LightModeNamesTest, MouseRowsNameTheModesTheMouseRuns) {
    auto page = Page<CVornalixMouseDevice>(L"XML\\DeviceXml\\mousedevice.xml", L"mouse", 6, 1);
    ASSERT_TRUE(page);
    EffectRecorder<CVornalixMouseDevice> mouse;
    ExpectRowsNameTheirModes(*page, [&mouse](uint8_t mode) {
        mouse.ran = nullptr;
        mouse.RunModeStep(mode);
        return mouse.ran;
    });
}

TEST_F(LightModeNamesTest, PadAndHeadsetRowsNameTheModesTheyRun) {
    OnboardRecorder onboard;
    onboard.SetLedCount(15);
    const auto ran = [&onboard](uint8_t mode) { return onboard.Run(mode); };
    auto pad =
        Page<CVornalixMousePadDevice>(L"XML\\DeviceXml\\mousepaddevice.xml", L"MousePad", 15, 2);
    ASSERT_TRUE(pad);
    ExpectRowsNameTheirModes(*pad, ran);
    // The headset runs the pad's modes (one light class serves both).
    auto headset = Page<CVornalixTamselDevice>(L"XML\\DeviceXml\\tamseldevice.xml", L"HD", 13, 3);
    ASSERT_TRUE(headset);
    ExpectRowsNameTheirModes(*headset, ran);
}

// The user's custom lights, each a static colour, listed for the kind's own device index;
// every other index lists lights the kind must not play.
void WriteCustomLights(const std::string& folder, int deviceIndex) {
    std::filesystem::create_directories(folder);
    Json::Value config;
    for (int index = 0; index < 4; ++index) {
        Json::Value& lights = config["LightInfo"][index];
        for (int entry = 0; entry < 12; ++entry) {
            lights[entry]["LightName"] = "elsewhere";
            lights[entry]["Guid"] = "elsewhere";
        }
    }
    const char* names[] = {"Sunrise", "Forest", "Ocean"};
    const char* colours[] = {R"("red": 200)", R"("green": 200)", R"("blue": 200)"};
    Json::Value& own = config["LightInfo"][deviceIndex];
    own.clear();
    for (int n = 0; n < 3; ++n) {
        own[n]["LightName"] = names[n];
        own[n]["Guid"] = "light" + std::to_string(n);
        testing_support::WriteTextFile(
            folder + "light" + std::to_string(n) + ".light",
            std::string(
                R"({"LEDEffectList": [{"LEDREGMode": 1, "LEDSpeed": 5, "LEDBrightness": 4, )") +
                colours[n] + R"(, "Time": 1000}]})");
    }
    testing_support::WriteTextFile(
        folder + "elsewhere.light",
        R"({"LEDEffectList": [{"LEDREGMode": 1, "LEDSpeed": 5, "red": 9, "green": 9, "blue": 9,
                                "Time": 1000}]})");
    testing_support::WriteTextFile(folder + "zentu_light.config", platform::StyledJsonText(config));
}

// One pass of each kind's light thread.
class PlayingMouse : public CVornalixMouseDevice {
  public:
    void Pass() { PlayCustomStep(); }
};
template <class Device>
class PlayingOnboard : public Device {
  public:
    void Pass() {
        int passes = 1000;
        this->LightPass(passes);
    }
};

// Picks `row` of the page's mode combo as the lighting relay takes it, and plays a pass.
template <class Device>
uint32_t PlayRow(Device& page, int row) {
    auto* combo = dynamic_cast<DuiLib::CComboUI*>(
        device::FindControlByName(&page, L"light_combo_modeSelect"));
    combo->SelectItem(row, false, false);
    LightRecord light = page.Profile().GetLightInfo();
    light.mode = static_cast<uint8_t>(page.GetLightPage()->GetSelectedMode());
    const std::array<uint32_t, 3> words = device::LightRecordWords(light);
    page.SetLightParams(words[0], words[1], words[2], light.customGroup);
    page.SaveProfile();
    page.ApplyProfileLight();
    page.Pass();
    return page.GetLedColor(0);
}

template <class Device>
void ExpectEachCustomLightRowPlaysItsLight(Device& page, const wchar_t* kindName) {
    page.LoadProfile();  // as the device's start does
    const std::vector<CDuiString> rows = ComboRows(page);
    const wchar_t* names[] = {L"Sunrise", L"Forest", L"Ocean"};
    for (int n = 0; n < 3; ++n) {
        const auto row = std::find(rows.begin(), rows.end(), CDuiString(names[n]));
        ASSERT_NE(row, rows.end()) << kindName << " lists custom light " << n;
        const uint32_t played = PlayRow(page, static_cast<int>(row - rows.begin()));
        const uint8_t expected[3] = {n == 0 ? uint8_t{200} : uint8_t{0},
                                     n == 1 ? uint8_t{200} : uint8_t{0},
                                     n == 2 ? uint8_t{200} : uint8_t{0}};
        EXPECT_EQ(device::LedRed(played), expected[0]) << kindName << " light " << n;
        EXPECT_EQ(device::LedGreen(played), expected[1]) << kindName << " light " << n;
        EXPECT_EQ(device::LedBlue(played), expected[2]) << kindName << " light " << n;
    }
}

TEST_F(LightModeNamesTest, EachCustomLightRowPlaysTheLightItNames) {
    const std::string user = folders_.DataHome() + "Velkaro/";
    WriteCustomLights(user + "mouse/", 1);
    WriteCustomLights(user + "MousePad/", 2);
    WriteCustomLights(user + "HD/", 3);

    auto mouse = Page<PlayingMouse>(L"XML\\DeviceXml\\mousedevice.xml", L"mouse", 6, 1);
    ASSERT_TRUE(mouse);
    ExpectEachCustomLightRowPlaysItsLight(*mouse, L"mouse");
    // What is stored reads back as the light the user picked.
    mouse->LoadProfile();
    mouse->RefreshPageControls();
    EXPECT_EQ(mouse->GetLightPage()->GetSelectedMode(), 11);
    EXPECT_EQ(ComboRows(*mouse)[11], CDuiString(L"Ocean"));

    auto pad = Page<PlayingOnboard<CVornalixMousePadDevice>>(L"XML\\DeviceXml\\mousepaddevice.xml",
                                                             L"MousePad", 15, 2);
    ASSERT_TRUE(pad);
    ExpectEachCustomLightRowPlaysItsLight(*pad, L"pad");
    // The pad's own custom mode plays the first of its lights.
    EXPECT_EQ(device::LedRed(PlayRow(*pad, 5)), 200);

    auto headset = Page<PlayingOnboard<CVornalixTamselDevice>>(L"XML\\DeviceXml\\tamseldevice.xml",
                                                               L"HD", 13, 3);
    ASSERT_TRUE(headset);
    ExpectEachCustomLightRowPlaysItsLight(*headset, L"headset");
}

// The keyboard's modes are steps of its effect state: a row names the effect whose frames
// the mode's step draws.
using KeyboardStep = std::function<void(const device::KeyboardEffectContext&)>;

const std::map<std::wstring, KeyboardStep>& KeyboardEffects() {
    using Context = device::KeyboardEffectContext;
    static const std::map<std::wstring, KeyboardStep> effects = {
        {L"light_mode_wave", device::EffectColumnWave},
        {L"light_mode_fine_wave", device::EffectColumnWaveFine},
        {L"light_mode_snake", device::EffectSnakeWave},
        {L"light_mode_spectrum",
         [](const Context& c) { device::StepSpectrum(c.params, c.animation, c.leds); }},
        {L"light_mode_breathing",
         [](const Context& c) { device::StepBreathing(c.params, c.animation, c.leds); }},
        {L"light_mode_static", [](const Context& c) { device::ApplyStatic(c.params, c.leds); }},
        // Reactive, column and spread spread the same way; they differ in their answer to
        // key presses.
        {L"light_mode_reactive", device::EffectSpread},
        {L"light_mode_column", device::EffectSpread},
        {L"light_mode_spread", device::EffectSpread},
        {L"light_mode_rain", device::EffectRain},
        {L"light_mode_hue_drift", device::EffectHueDrift},
        {L"light_mode_row_wave", device::EffectRowWave},
        {L"light_mode_cross_flow", device::EffectCrossFlow},
        {L"light_mode_converge", device::EffectConverge},
        {L"light_mode_phase_pulse", device::EffectPhasePulse},
        {L"light_mode_edge_flow", device::EffectEdgeFlow},
        {L"light_mode_preset_colour", [](const Context& c) { device::EffectPresetColour(c, 0); }},
        {L"light_mode_rings", device::EffectRings},
        {L"light_mode_custom_brightness", device::EffectCustomBrightness},
    };
    return effects;
}

// A keyboard's effect state and LEDs in `mode`, started as the device starts a mode.
struct KeyboardRun {
    explicit KeyboardRun(uint8_t mode) {
        params.mode = mode;
        params.brightnessIndex = 4;
        params.speedIndex = 2;
        params.multiColour = 1;
        params.red = 200;
        params.green = 40;
        params.blue = 90;
        leds.Resize(126);
        device::StartKeyboardMode(Context());
    }
    device::KeyboardEffectContext Context() { return {params, animation, state, leds}; }

    device::LightParams params;
    device::LightAnimationState animation;
    device::KeyboardEffectState state;
    device::LedColourVector leds;
};

TEST_F(LightModeNamesTest, KeyboardRowsNameTheModesTheKeyboardRuns) {
    auto page =
        Page<CVornalixKeyboardDevice>(L"XML\\DeviceXml\\keyboarddevice.xml", L"keyboard", 126, 0);
    ASSERT_TRUE(page);
    const std::vector<CDuiString> rows = ComboRows(*page);
    ASSERT_EQ(rows.size(), page->PageLists().defaultLightNames.size());
    for (size_t row = 0; row < rows.size(); ++row) {
        const CDuiString key = page->PageLists().defaultLightNames[row];
        EXPECT_EQ(rows[row], Shown(key.GetData())) << "row " << row;
        KeyboardRun mode(static_cast<uint8_t>(row));
        const bool stepped = device::RunKeyboardModeStep(mode.Context(), 0, 0);
        if (!stepped) {
            EXPECT_EQ(key.Find(L"light_mode_custom"), 0)
                << "row " << row << " plays a custom light";
            continue;
        }
        const auto effect = KeyboardEffects().find(key.GetData());
        ASSERT_NE(effect, KeyboardEffects().end()) << "row " << row << " names no effect";
        KeyboardRun named(static_cast<uint8_t>(row));
        for (int step = 0; step < 6; ++step) {
            if (step > 0) {
                device::RunKeyboardModeStep(mode.Context(), 0, 0);
            }
            effect->second(named.Context());
            ASSERT_EQ(mode.leds.Snapshot(), named.leds.Snapshot())
                << "row " << row << " step " << step;
        }
    }
}

}  // namespace

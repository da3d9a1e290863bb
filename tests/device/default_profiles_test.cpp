// The default profiles shipped in DefaultData, met as a new user meets them: an empty
// per-user folder. Each kind starts with its factory keys, settings and lights (the
// mouse's first settings write and key table: mouse_page_test).

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "device/keyboard/layout_table.h"
#include "device/mouse/factory_key_codes.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "device/onboard/headset_eq_presets.h"
#include "device/onboard/vornalix_mousepad_device.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "device/page/control_lookup.h"
#include "device/skin_page_builder.h"
#include "duilib/ui_progress.h"
#include "platform/paths.h"
#include "platform/text_convert.h"
#include "profile/json_file.h"
#include "profile/keyboard_profiledata.h"
#include "support/temp_dir.h"

namespace {

// Every kind keeps its section at "Device"[0] of its own profile files.
Json::Value ShippedSection(const char* file) {
    CJsonFile json;
    const Json::Value document = json.LoadJsonFile(
        DuiLib::CDuiString(platform::Utf8Decode(platform::InstancePath() + "DefaultData/" + file)));
    return document["Device"][0];
}

TEST(DefaultProfiles, KeysShipWithTheCodesTheDevicesShipWith) {
    testing_support::ScopedUserFolders folders;
    CKeyboardProfiledata keyboard;
    keyboard.SetDefaultProfilePath(DuiLib::CDuiString(
        platform::Utf8Decode(platform::InstancePath() + "DefaultData/keyboard.Json")));
    keyboard.Load(DuiLib::CDuiString(platform::Utf8Decode(folders.DataHome() + "k.Json")));
    const std::vector<KeyAssignRecord> keys = keyboard.GetKeyList();
    ASSERT_EQ(keys.size(), device::kKeyboardLayoutKeys);
    for (size_t k = 0; k < keys.size(); ++k) {
        const device::KeyCode& code = device::KeyboardLayoutTable[k];
        EXPECT_EQ(keys[k].current, keys[k].defaults) << "key " << k;
        EXPECT_EQ(keys[k].current.type, code.category) << "key " << k;
        EXPECT_EQ(keys[k].current.p1, code.modifier) << "key " << k;
        EXPECT_EQ(keys[k].current.p2, code.usage) << "key " << k;
    }

    const Json::Value mouse = ShippedSection("mouse.Json")["KeyList"];
    ASSERT_EQ(mouse.size(), static_cast<unsigned>(device::kMouseKeyCount));
    for (Json::ArrayIndex k = 0; k < mouse.size(); ++k) {
        const device::MouseKeyCode& code = device::kMouseFactoryKeyCodes[k];
        const int packed = code[0] << 16 | code[1] << 8 | code[2];
        EXPECT_EQ(mouse[k]["Assignment"].asInt(), packed) << "mouse key " << k;
        EXPECT_EQ(mouse[k]["DefaultAssignment"].asInt(), packed) << "mouse key " << k;
    }
}

TEST(FirstStartAccessories, PadAndHeadsetStartLitAndTheHeadsetWithEveryEqualiserPreset) {
    testing_support::ScopedUserFolders folders;
    CVornalixMousePadDevice pad;
    pad.SetDeviceFileName(L"MousePad");
    pad.SetDeviceIndex(2);
    pad.SetDeviceString1(L"first");
    pad.LoadProfile();
    const LightRecord padLight = pad.Profile().GetLightInfo();
    EXPECT_NE(padLight.mode, 0) << "not off";
    EXPECT_NE(padLight.brightness, 0);

    CVornalixTamselDevice headset;
    headset.SetDeviceFileName(L"HD");
    headset.SetDeviceIndex(3);
    headset.SetDeviceString1(L"first");
    headset.LoadProfile();
    EXPECT_NE(headset.Profile().GetLightInfo().brightness, 0);
    CTamselProfiledata& profile = headset.TamselProfile();
    const TamselSystemSetStages stages = profile.GetSystemSetStages();
    EXPECT_GE(stages.eqType, device::kFirstEqPreset);
    EXPECT_LE(stages.eqType, device::kLastEqPreset);
    // Every preset row is there with the levels the headset applies when it is chosen.
    const Json::Value rows = ShippedSection("HD.Json")["EQHzValueInfo"];
    for (int preset = device::kFirstEqPreset; preset <= device::kLastEqPreset; ++preset) {
        ASSERT_EQ(rows[preset].size(), device::kEqBandCount) << "preset " << preset;
        const device::EqBandLevels& levels = device::EqPresetLevels(preset);
        EXPECT_EQ(profile.GetEqPresetBands(preset),
                  std::vector<int32_t>(levels.begin(), levels.end()))
            << "preset " << preset;
    }
    EXPECT_TRUE(profile.GetCustomEqNames().empty());
    EXPECT_TRUE(ShippedSection("HD.Json")["CustomEQHzValueInfo"].isArray());
}

// A profile saved before its kind had a default holds only what was changed then.
TEST(FirstStartAccessories, OlderMouseAndHeadsetProfilesTakeWhatTheirDefaultsShip) {
    testing_support::ScopedUserFolders folders;
    const std::string lightOnly = R"({"Device": [{"LightInfo": {"SelectItem": 3, "Light": 2}}]})";
    for (const char* kind : {"mouse", "HD"}) {
        const std::string folder = folders.DataHome() + "Velkaro/" + kind + "/";
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(testing_support::WriteTextFile(folder + "old.Json", lightOnly));
    }

    CVornalixMouseDevice mouse;
    mouse.SetDeviceFileName(L"mouse");
    mouse.SetDeviceIndex(1);
    mouse.SetDeviceString1(L"old");
    mouse.LoadProfile();
    EXPECT_EQ(mouse.Profile().GetLightInfo().mode, 3) << "the profile's own light stays";
    EXPECT_EQ(mouse.GetKeyAssignments().size(), static_cast<size_t>(device::kMouseKeyCount));
    const Json::Value stages = ShippedSection("mouse.Json")["DPIStages"]["StageDPIs"];
    const std::vector<DpiStageRecord> dpi = mouse.Profile().GetDpiStages();
    ASSERT_EQ(dpi.size(), stages.size());
    EXPECT_EQ(dpi.back().DpiX(), stages[stages.size() - 1]["StageDPIX"].asInt());

    CVornalixTamselDevice headset;
    headset.SetDeviceFileName(L"HD");
    headset.SetDeviceIndex(3);
    headset.SetDeviceString1(L"old");
    headset.LoadProfile();
    for (int preset = device::kFirstEqPreset; preset <= device::kLastEqPreset; ++preset) {
        const device::EqBandLevels& levels = device::EqPresetLevels(preset);
        EXPECT_EQ(headset.TamselProfile().GetEqPresetBands(preset),
                  std::vector<int32_t>(levels.begin(), levels.end()))
            << "preset " << preset;
    }
}

}  // namespace

TEST(FirstStartAccessories, TheEqualiserSlidersShowEveryPresetLevelWhole) {
    testing_support::ScopedUserFolders folders;
    SkinPageEnvironment skin;
    std::unique_ptr<CVornalixTamselDevice> page =
        skin.Build<CVornalixTamselDevice>(L"XML\\DeviceXml\\tamseldevice.xml");
    ASSERT_TRUE(page);
    for (size_t band = 0; band < device::kEqBandCount; ++band) {
        const std::wstring name = L"Tamsel_eq_hz_slider_" + std::to_wstring(band);
        auto* slider =
            dynamic_cast<DuiLib::CSliderUI*>(device::FindControlByName(page.get(), name.c_str()));
        ASSERT_NE(slider, nullptr) << "band " << band;
        for (int preset = device::kFirstEqPreset; preset <= device::kLastEqPreset; ++preset) {
            const int level = device::EqPresetLevels(preset)[band];
            EXPECT_LE(slider->GetMinValue(), level) << "preset " << preset << " band " << band;
            EXPECT_GE(slider->GetMaxValue(), level) << "preset " << preset << " band " << band;
        }
    }
}

#include <gtest/gtest.h>

#include <string>

#include "duilib/ui_combo.h"
#include "pages/device_profile_ui.h"
#include "pages/key_set_control_ui.h"
#include "pages/light_control_ui.h"
#include "pages/macro_control_ui.h"
#include "pages/magic_control_ui.h"
#include "pages/shoot_control_ui.h"
#include "pages/voice_tamsel_control_ui.h"
#include "panel_builder.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

// The panels as the program builds them: from the layouts the skin ships.
namespace {

std::wstring SkinLayout(const char* file) {
    const std::string text = testing_support::ReadTextFile(platform::InstancePath() +
                                                           "skin/XML/CustomControlXML/" + file);
    return DuiLib::CDuiString::FromUtf8(text).str();
}

#define SKIP_WITHOUT_SKIN(xml) \
    if ((xml).empty())         \
    GTEST_SKIP() << "no skin beside the test program"

}  // namespace

TEST(SkinPanels, EachLayoutBuildsItsPanelClass) {
    const std::wstring light = SkinLayout("LightControl.xml");
    SKIP_WITHOUT_SKIN(light);
    EXPECT_NE(BuiltPanel<CLightControlUI>(light.c_str()).get(), nullptr);
    EXPECT_NE(BuiltPanel<CMacroControlUI>(SkinLayout("MacroControl.xml").c_str()).get(), nullptr);
    EXPECT_NE(BuiltPanel<CShootControlUI>(SkinLayout("ShootControl.xml").c_str()).get(), nullptr);
    EXPECT_NE(BuiltPanel<CMagicControlUI>(SkinLayout("MagicControl.xml").c_str()).get(), nullptr);
}

TEST(SkinPanels, ShippedLayoutsCarryEveryControlThePanelsUse) {
    const std::wstring voiceXml = SkinLayout("VoiceTamselControl.xml");
    SKIP_WITHOUT_SKIN(voiceXml);
    BuiltPanel<CVoiceTamselControlUI> voice(voiceXml.c_str());
    for (int band = 0; band < CVoiceTamselControlUI::kBandCount; ++band)
        EXPECT_NE(voice->GetEqBandValue(band), -1) << "band " << band;
    voice->SelectEqPreset(13);
    EXPECT_EQ(voice->GetEqPreset(), 13);

    BuiltPanel<CKeySetControlUI> keys(SkinLayout("KeySetControl.xml").c_str());
    keys->InitControls();
    keys->SetDeviceKind(2);
    KeyFunctionRecord media;
    media.type = 0x30;
    media.p2 = 0xE9;
    keys->SetKeyFunctions({media, media});
    EXPECT_EQ(keys->GetKeyFunctions().current, media);

    testing_support::TempDir dir;
    const std::string folder = dir.path() + "HD/";
    platform::EnsureDirectory(folder);
    BuiltPanel<CDeviceProfileUI> profiles(SkinLayout("DeviceProfile.xml").c_str());
    profiles->SetDeviceKind(7);
    profiles->SetPaths(DuiLib::CDuiString::FromUtf8(folder),
                       DuiLib::CDuiString::FromUtf8(dir.File("HD.Json")));
    profiles->LoadProfileList();
    EXPECT_EQ(profiles.Find<DuiLib::CComboUI>(L"device_profile_combo")->GetCount(), 1);
    EXPECT_TRUE(profiles.Find<DuiLib::CControlUI>(L"magic_Op_tab")->IsVisible());
    EXPECT_FALSE(profiles.Find<DuiLib::CControlUI>(L"key_Op_tab")->IsVisible());
}

// The mouse pad's and the headset's pages built from the skin's own layouts: their LED
// buttons, profile list and lighting panel, and the headset's audio panels filled from
// the device.

#include <gtest/gtest.h>

#include <memory>

#include "controls/device_key_button.h"
#include "device/page/control_lookup.h"
#include "device/skin_page_builder.h"
#include "duilib/ui_combo.h"
#include "pages/device_profile_ui.h"
#include "pages/magic_control_ui.h"
#include "pages/voice_tamsel_control_ui.h"
#include "platform/audio/sim_audio_sdk.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/sim_headset.h"
#include "support/temp_dir.h"

namespace {

using DuiLib::CControlUI;

template <class T>
T* Find(CControlUI* page, const wchar_t* name) {
    return dynamic_cast<T*>(device::FindControlByName(page, name));
}

// Sets a page up as the main window does.
template <class Device>
void Prepare(Device& page, const wchar_t* fileName, int leds, int deviceIndex) {
    page.SetDeviceName(L"page");
    page.SetLedCount(leds);
    page.SetKeyCount(0);
    page.SetDeviceFileName(fileName);
    page.SetDeviceIndex(deviceIndex);
    page.SetDeviceString2(L"zentu_light");
}

class OnboardLightPageTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(skin_.Loaded()); }

    testing_support::ScopedUserFolders folders_;
    platform::audio::SimAudioSdk sdk_;
    platform::audio::ScopedAudioSdk useSdk_{&sdk_};
    SkinPageEnvironment skin_;
};

TEST_F(OnboardLightPageTest, MousePadBindsItsFifteenLedsAndItsPanels) {
    auto pad = skin_.Build<CVornalixMousePadDevice>(L"XML\\DeviceXml\\mousepaddevice.xml");
    ASSERT_TRUE(pad);
    Prepare(*pad, L"MousePad", 15, 2);
    pad->InitPage();

    EXPECT_EQ(pad->GetPreviewControl(), Find<CControlUI>(pad.get(), L"mousepad_device_key_light"));
    for (int led = 0; led < 15; ++led) {
        auto* button = dynamic_cast<CDeviceKeyButtonUI*>(pad->GetLedButton(led));
        ASSERT_NE(button, nullptr) << "LED " << led;
        EXPECT_TRUE(button->IsTintOn());
    }
    ASSERT_NE(pad->GetProfilePage(), nullptr);
    EXPECT_EQ(pad->GetProfilePage()->GetProfileCount(), 1);
    auto* modes = Find<DuiLib::CComboUI>(pad.get(), L"light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    EXPECT_EQ(static_cast<size_t>(modes->GetCount()), pad->PageLists().defaultLightNames.size());
    EXPECT_GT(modes->GetCount(), 0);
}

TEST_F(OnboardLightPageTest, HeadsetHandsItsAudioPanelsTheStoredValues) {
    auto headset = skin_.Build<CVornalixTamselDevice>(L"XML\\DeviceXml\\tamseldevice.xml");
    ASSERT_TRUE(headset);
    Prepare(*headset, L"HD", 13, 3);
    headset->InitPage();
    ASSERT_NE(headset->GetLedButton(12), nullptr);
    EXPECT_NE(headset->GetLightPage(), nullptr);

    // The selected profile holds the voice effect on with effect 3, preset 5 and the
    // microphone at 42.
    headset->LoadProfile();
    headset->TamselProfile().SetSystemSetStages(1, 3, 5, 0, 1, 42, 0, 17);
    headset->SaveProfile();
    headset->LoadProfile();
    headset->RefreshPageControls();
    auto* magic = Find<CMagicControlUI>(headset.get(), L"MagicControlItem");
    auto* voice = Find<CVoiceTamselControlUI>(headset.get(), L"VoiceTamselControlItem");
    ASSERT_NE(magic, nullptr);
    ASSERT_NE(voice, nullptr);
    EXPECT_TRUE(magic->IsMagicEnabled());
    EXPECT_EQ(voice->GetEqPreset(), 5);
    EXPECT_EQ(voice->GetMicInValue(), 42);
    EXPECT_EQ(voice->GetMicMonitorValue(), 17);
}

TEST_F(OnboardLightPageTest, APageWithoutItsContainerBindsNothing) {
    // Without its LED container the build stops before the panels.
    auto wrong = skin_.Build<CVornalixTamselDevice>(L"XML\\DeviceXml\\tamseldevice.xml");
    ASSERT_TRUE(wrong);
    Prepare(*wrong, L"HD", 13, 3);
    Find<CControlUI>(wrong.get(), L"tamsel_device_key_light")->SetName(L"renamed");
    wrong->InitPage();
    EXPECT_EQ(wrong->GetLedButton(0), nullptr);
    EXPECT_EQ(wrong->GetProfilePage(), nullptr);
    EXPECT_EQ(wrong->GetPreviewControl(), nullptr);
}

}  // namespace
